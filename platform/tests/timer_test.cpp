#include "platform/dialogs.h"
#include "platform/timer.h"
#include "platform/types.h"

#include <QElapsedTimer>
#include <QTest>
#include <gtest/gtest.h>

using namespace lanterna;

TEST(TTimer, IntervalRulesAndFloor) {
    TTimer timer(nullptr, 1, false);
    EXPECT_FALSE(timer.Active());
    timer.SetEnabled(true);
    EXPECT_TRUE(timer.Active());
    EXPECT_EQ(timer.Period(), TTimer::kMinimumPeriod);
    timer.SetInterval(0);
    EXPECT_FALSE(timer.Active()) << "interval 0 never fires";
    timer.SetInterval(250);
    EXPECT_TRUE(timer.Active());
    EXPECT_EQ(timer.Period(), 250);
    timer.SetEnabled(false);
    EXPECT_FALSE(timer.Active());
}

TEST(TTimer, TicksAtTheFloorAndSurvivesErrors) {
    TTimer timer(nullptr, 1, true);
    int ticks = 0;
    timer.OnTimer = [&](TTimer* sender) {
        EXPECT_EQ(sender, &timer);
        ++ticks;
        if (ticks == 1)
            throw Exception(QStringLiteral("boom"));
    };
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 5; }, 5000));
    // Five ticks at a 16 ms floor cannot come sooner than about 64 ms after the start.
    EXPECT_GE(clock.elapsed(), 4 * TTimer::kMinimumPeriod - 2);
}

TEST(TTimer, ChangingTheIntervalRestartsThePeriod) {
    // Periods of a second, so that a loaded machine's stalls stay well inside the margins.
    TTimer timer(nullptr, 1000, true);
    int ticks = 0;
    timer.OnTimer = [&](TTimer*) { ++ticks; };
    QTest::qWait(750);
    timer.SetInterval(1001); // restarts: no tick may come at the old 1000 ms mark
    QTest::qWait(600);
    EXPECT_EQ(ticks, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks == 1; }, 10000));
}
