#include "slideshow/step_clock.h"
#include "slideshow/transition_steps.h"

#include <gtest/gtest.h>

namespace lanterna {
namespace {

struct FakeTime {
    double Now = 1000;
    TStepClock::TSource Source() {
        return [this] { return Now; };
    }
};

TEST(StepClock, OnTimeAndJitteryTicksTakeOneStepEach) {
    FakeTime time;
    TStepClock clock(16, time.Source());
    clock.Start();
    const double jitter[] = {0, 5, -5, 7, -7, 0, 3};
    for (int i = 1; i <= 7; ++i) {
        time.Now = 1000 + 16 * i + jitter[i - 1];
        EXPECT_EQ(clock.Tick(), 1) << "tick " << i;
    }
}

TEST(StepClock, ALateTickCatchesUpThePeriodsItMissed) {
    FakeTime time;
    TStepClock clock(16, time.Source());
    clock.Start();
    time.Now += 16;
    EXPECT_EQ(clock.Tick(), 1);
    time.Now += 16 * 5;
    EXPECT_EQ(clock.Tick(), 5);
    time.Now += 16;
    EXPECT_EQ(clock.Tick(), 1) << "caught up, back to one step per period";
}

TEST(StepClock, EarlyTicksAndABackwardClockStillAdvanceOneStep) {
    FakeTime time;
    TStepClock clock(16, time.Source());
    clock.Start();
    time.Now += 2;
    EXPECT_EQ(clock.Tick(), 1);
    time.Now += 2;
    EXPECT_EQ(clock.Tick(), 1);
    time.Now -= 500;
    EXPECT_EQ(clock.Tick(), 1);
}

TEST(StepClock, StartingAgainCountsFromTheNewStart) {
    FakeTime time;
    TStepClock clock(16, time.Source());
    clock.Start();
    time.Now += 160;
    EXPECT_EQ(clock.Tick(), 10);
    clock.Start();
    time.Now += 16;
    EXPECT_EQ(clock.Tick(), 1);
}

// A player-style slide change driven by a timer that ticks every `tickMs`: the placeholder grows from a
// landscape to a portrait frame with factor 6, then the fade runs with factor 10. Returns the elapsed
// time until the change is over.
double TransitionLength(double tickMs) {
    FakeTime time;
    TStepClock clock(16, time.Source());
    TGPRectF holder{360, 140, 1200, 800};
    const TGPRectF target{660, 40, 600, 1000};
    TFadeOpacities fade;
    bool placed = false, done = false;
    clock.Start();
    while (!done && time.Now < 100000) {
        time.Now += tickMs;
        for (int steps = clock.Tick(); steps > 0 && !done; --steps) {
            if (!placed) {
                placed = !MovePlaceHolder(holder, target, 6);
                if (!placed)
                    continue;
            }
            done = !MoveOpacities(fade, 10);
        }
    }
    return time.Now - 1000;
}

TEST(StepClock, APlayerTransitionKeepsItsLengthOnASlowTimer) {
    const double atSixty = TransitionLength(1000.0 / 60);
    EXPECT_GT(atSixty, 800);
    EXPECT_LT(atSixty, 1400);
    for (double slowTick : {40.0, 100.0}) {
        SCOPED_TRACE(slowTick);
        EXPECT_NEAR(TransitionLength(slowTick), atSixty, slowTick + 1000.0 / 60);
    }
}

} // namespace
} // namespace lanterna
