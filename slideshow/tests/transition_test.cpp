#include "slideshow/transition.h"

#include <gtest/gtest.h>

namespace lanterna {
namespace {

// A change from slide 0 to slide 2: the placeholder glides from (0, 0, 100, 100) to (100, 0, 100, 100).
class Transition : public ::testing::Test {
protected:
    void SetUp() override {
        Change.SetCurrentPlaceHolder(kFrom);
        Change.Leave(0);
        Change.Start(2, 5, false);
    }
    static constexpr TGPRectF kFrom{0, 0, 100, 100};
    static constexpr TGPRectF kTo{100, 0, 100, 100};
    TTransition Change{16};
};

TEST_F(Transition, StartsRunningWithTheOutgoingPictureOpaqueAndTheOldSlideShown) {
    EXPECT_TRUE(Change.Running());
    EXPECT_EQ(Change.Effect(), 5);
    EXPECT_EQ(Change.PreviousItemIndex(), 0);
    EXPECT_EQ(Change.CurrentItemIndex(), 0)
        << "without a cut the old slide shows until the placeholder arrives";
    EXPECT_EQ(Change.CurrentOpacity(), 255);
    EXPECT_EQ(Change.NextOpacity(), 0);

    TTransition cut(16);
    cut.Start(3, -1, true);
    EXPECT_EQ(cut.CurrentItemIndex(), 3);
}

TEST_F(Transition, ThePlaceHolderGlidesByAShareOfTheWayAndThenTheNewSlideIsCurrent) {
    EXPECT_FALSE(Change.StepPlaceHolder(kTo, 2, 2));
    EXPECT_TRUE(Change.AnimatingPlaceHolder());
    EXPECT_FLOAT_EQ(Change.CurrentPlaceHolder().X, 50);
    EXPECT_EQ(Change.CurrentItemIndex(), 0);
    int steps = 1;
    while (!Change.StepPlaceHolder(kTo, 2, 2) && steps < 100)
        ++steps;
    EXPECT_LT(steps, 100);
    EXPECT_FALSE(Change.AnimatingPlaceHolder());
    EXPECT_EQ(Change.CurrentPlaceHolder(), kTo);
    EXPECT_EQ(Change.CurrentItemIndex(), 2);
}

TEST_F(Transition, TheCrossFadeRunsFromThePreviousSlideToTheNewOneAndEndsAtFullOpacity) {
    ASSERT_TRUE(Change.StepPlaceHolder(kFrom, 6, 2)) << "a placeholder in place arrives at once";
    ASSERT_EQ(Change.CurrentItemIndex(), 2);
    EXPECT_FALSE(Change.StepOpacity(6, 2));
    EXPECT_TRUE(Change.AnimatingImage());
    EXPECT_EQ(Change.CurrentItemIndex(), 0) << "the outgoing slide";
    EXPECT_EQ(Change.NextItemIndex(), 2);
    EXPECT_EQ(Change.NextOpacity(), 42);
    EXPECT_EQ(Change.CurrentOpacity(), 255 - 42);
    int steps = 1;
    while (!Change.StepOpacity(6, 2) && steps < 100)
        ++steps;
    EXPECT_EQ(steps, 27) << "a factor of six takes 27 moving steps";
    EXPECT_FALSE(Change.AnimatingImage());
    EXPECT_EQ(Change.CurrentItemIndex(), 2);
    EXPECT_EQ(Change.CurrentOpacity(), 0);
    EXPECT_EQ(Change.NextOpacity(), 255);
    EXPECT_TRUE(Change.Running()) << "only the show ends a change";
}

TEST_F(Transition, FinishInterruptAndRenumberSetTheSlidesShown) {
    Change.StepOpacity(6, 2);
    Change.Finish(2);
    EXPECT_FALSE(Change.Running() || Change.AnimatingImage() || Change.AnimatingPlaceHolder());
    EXPECT_EQ(Change.CurrentItemIndex(), 2);
    EXPECT_EQ(Change.NextItemIndex(), 2);
    EXPECT_EQ(Change.NextOpacity(), 255);

    Change.Interrupt(7);
    EXPECT_EQ(Change.CurrentItemIndex(), 2) << "a change that is not running is not interrupted";
    Change.Start(4, 1, false);
    Change.Interrupt(4);
    EXPECT_FALSE(Change.Running());
    EXPECT_EQ(Change.CurrentItemIndex(), 4);

    Change.Renumber(1, 3, 5);
    EXPECT_EQ(Change.CurrentItemIndex(), 1);
    EXPECT_EQ(Change.NextItemIndex(), 3);
    EXPECT_EQ(Change.PreviousItemIndex(), 5);
}

TEST_F(Transition, StartingSetsTheClocksOriginToNow) {
    double now = 500;
    Change.Clock().SetSource([&] { return now; });
    Change.Start(2, 5, false);
    now += 16 * 4;
    EXPECT_EQ(Change.Clock().Tick(), 4);
}

} // namespace
} // namespace lanterna
