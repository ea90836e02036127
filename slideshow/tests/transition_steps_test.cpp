#include "slideshow/internal/transition_steps.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace lanterna {
namespace {

// The incoming opacity after every moving step of a fade from 0 to 255, until a step no longer moves.
std::vector<int> IncomingOpacities(int factor) {
    TFadeOpacities fade;
    std::vector<int> seen;
    while (MoveOpacities(fade, factor)) {
        EXPECT_EQ(fade.Current + fade.Next, 255) << "the two opacities run as mirror images";
        seen.push_back(fade.Next);
        if (seen.size() > 300)
            break;
    }
    EXPECT_EQ(fade.Current, 0);
    EXPECT_EQ(fade.Next, 255);
    return seen;
}

std::vector<int> Prefix(const std::vector<int>& v, std::size_t n) {
    return std::vector<int>(v.begin(), v.begin() + std::min(n, v.size()));
}

TEST(FadeSteps, FactorTenRisesByATenthRoundedHalfToEvenAndArrivesAtTheFortyFirstStep) {
    const std::vector<int> seen = IncomingOpacities(10);
    EXPECT_EQ(Prefix(seen, 12), (std::vector<int>{26, 49, 70, 88, 105, 120, 134, 146, 157, 167, 176, 184}));
    ASSERT_EQ(seen.size(), 41u) << "the 42nd tick finds nothing to move and ends the fade";
    EXPECT_EQ(seen.back(), 255);
}

TEST(FadeSteps, FactorSixTakesTwentySevenSteps) {
    const std::vector<int> seen = IncomingOpacities(6);
    EXPECT_EQ(Prefix(seen, 5), (std::vector<int>{42, 78, 108, 132, 152}));
    EXPECT_EQ(seen.size(), 27u);
}

TEST(FadeSteps, AFactorOfOneOrLessCompletesInOneStep) {
    for (int factor : {1, 0, -5}) {
        SCOPED_TRACE(factor);
        EXPECT_EQ(IncomingOpacities(factor), (std::vector<int>{255}));
    }
}

TEST(AnimateByte, SnapsStrictlyWithinTheMarginAndStepsAtLeastOneOtherwise) {
    std::uint8_t b = 254;
    EXPECT_TRUE(AnimateByte(b, 255, 0, 1)) << "a margin of one holds only the target itself";
    EXPECT_EQ(b, 255);
    EXPECT_FALSE(AnimateByte(b, 255, 0, 1));
    EXPECT_EQ(b, 255);

    b = 100;
    EXPECT_TRUE(AnimateByte(b, 0, 30, 1));
    EXPECT_EQ(b, 70);

    b = 100;
    EXPECT_FALSE(AnimateByte(b, 95, 1, 10)) << "a wide margin snaps from afar";
    EXPECT_EQ(b, 95);

    b = 250;
    EXPECT_TRUE(AnimateByte(b, 255, 40, 1));
    EXPECT_EQ(b, 255) << "a step larger than the room left stops at the end of the byte";
}

TEST(AnimateSingle, SnapsStrictlyWithinTheMarginAndStepsAtLeastOnePixel) {
    float v = 10.99f;
    EXPECT_FALSE(AnimateSingle(v, 10, 5, 1));
    EXPECT_EQ(v, 10.0f);

    v = 11.0f;
    EXPECT_TRUE(AnimateSingle(v, 10, 0.25f, 1)) << "exactly one away is not strictly within the margin";
    EXPECT_EQ(v, 10.0f);

    v = 0;
    EXPECT_TRUE(AnimateSingle(v, 50, 12.5f, 1));
    EXPECT_EQ(v, 12.5f);

    v = 50;
    EXPECT_TRUE(AnimateSingle(v, 0, 0.1f, 1));
    EXPECT_EQ(v, 49.0f);
}

// Moving steps for one edge to travel `distance` pixels.
int EdgeSteps(float distance, int factor) {
    TGPRectF current{0, 0, 0, 0};
    const TGPRectF target{distance, 0, 0, 0};
    int steps = 0;
    while (MovePlaceHolder(current, target, factor) && steps < 1000)
        ++steps;
    EXPECT_EQ(current, target);
    return steps;
}

TEST(PlaceHolderSteps, StepCountsGrowWithTheLogarithmOfTheDistance) {
    EXPECT_EQ(EdgeSteps(100, 6), 21);
    EXPECT_EQ(EdgeSteps(1000, 6), 34);
    EXPECT_EQ(EdgeSteps(10, 6), 8);
    EXPECT_EQ(EdgeSteps(-100, 6), 21) << "shrinking takes as long as growing";
}

TEST(PlaceHolderSteps, EveryEdgeCoversItsShareOfItsOwnDistance) {
    TGPRectF current{0, 0, 0, 0};
    EXPECT_TRUE(MovePlaceHolder(current, {60, -120, 600, 3}, 6));
    EXPECT_EQ(current, (TGPRectF{10, -20, 100, 1}));
}

TEST(PlaceHolderSteps, APlaceHolderAtItsTargetOrWithinAPixelArrivesAtOnce) {
    TGPRectF current{5, 6, 7, 8};
    EXPECT_FALSE(MovePlaceHolder(current, {5, 6, 7, 8}, 6));
    EXPECT_EQ(current, (TGPRectF{5, 6, 7, 8}));

    current = {5.5f, 6, 7.9f, 8};
    EXPECT_FALSE(MovePlaceHolder(current, {5, 6, 7, 8}, 6));
    EXPECT_EQ(current, (TGPRectF{5, 6, 7, 8})) << "the remainders snap onto the target";
}

TEST(PlaceHolderSteps, AFactorBelowOneJumpsInOneStep) {
    TGPRectF current{0, 0, 10, 10};
    const TGPRectF target{300, 200, 900, 700};
    EXPECT_TRUE(MovePlaceHolder(current, target, 0));
    EXPECT_EQ(current, target);
    EXPECT_FALSE(MovePlaceHolder(current, target, 0));
}

TEST(AnimationChoice, MembersAreCountedAndPickedInOrdinalOrder) {
    const TSlideShowAnimations set{saTearRotate, saLeftToRight, saEllipse};
    EXPECT_EQ(AnimationCount(set), 3);
    EXPECT_EQ(AnimationMember(set, 0), int(saLeftToRight));
    EXPECT_EQ(AnimationMember(set, 1), int(saEllipse));
    EXPECT_EQ(AnimationMember(set, 2), int(saTearRotate));
    EXPECT_EQ(AnimationMember(set, 3), -1);
    EXPECT_EQ(AnimationMember(set, -1), -1);
    EXPECT_EQ(AnimationCount({}), 0);
    EXPECT_EQ(RandomAnimation({}), -1) << "an empty set chooses no animation";
}

TEST(AnimationChoice, RandomChoicesComeFromTheSetAndReachEveryMember) {
    const TSlideShowAnimations set{saBottomLeftToTopRight, saSpiral, saTearVertical};
    std::set<int> chosen;
    for (int i = 0; i < 300; ++i) {
        const int a = RandomAnimation(set);
        ASSERT_TRUE(a >= 0 && set.Contains(static_cast<TSlideShowAnimation>(a))) << a;
        chosen.insert(a);
    }
    EXPECT_EQ(chosen.size(), 3u);
    EXPECT_EQ(RandomAnimation({saSpin}), int(saSpin));
}

} // namespace
} // namespace lanterna
