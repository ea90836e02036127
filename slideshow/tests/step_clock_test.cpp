#include "slideshow/step_clock.h"

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

} // namespace
} // namespace lanterna
