#include "widgets/integer_format.h"
#include "widgets/level_progress_bar.h"
#include "widgets/tests/widget_test_support.h"

#include <QTest>

using namespace lanterna;
using namespace lanterna::testing;

namespace {

constexpr ARGB kWhite = 0xFFFFFFFF;

// The updater's bar: 417 x 18, Verdana 13 px.
struct UpdaterBar {
    TLevelProgressBar bar;
    explicit UpdaterBar(int position, bool text = false) {
        bar.resize(417, 18);
        bar.SetShowPosition(text);
        bar.SetPosition(position);
    }
    QImage Shot() { return Grabbed(bar); }
};

// The runs of non-background pixels along a line: [start, end) pairs.
std::vector<std::pair<int, int>> Runs(const QImage& shot, int from, int to, bool vertical, int across) {
    std::vector<std::pair<int, int>> runs;
    int start = -1;
    for (int i = from; i <= to; ++i) {
        const bool filled = i < to && Px(shot, vertical ? across : i, vertical ? i : across) != kWhite;
        if (filled && start < 0)
            start = i;
        if (!filled && start >= 0) {
            runs.emplace_back(start, i);
            start = -1;
        }
    }
    return runs;
}

} // namespace

TEST(TLevelProgressBar, TheUpdatersBarAtHalfShowsTwentyThreeGreenTubeBlocks) {
    UpdaterBar f(50);
    const QImage shot = f.Shot();
    const auto runs = Runs(shot, 1, 416, false, 9);
    ASSERT_EQ(runs.size(), 23u);
    EXPECT_EQ(runs.front(), std::make_pair(2, 9));
    EXPECT_EQ(runs[1], std::make_pair(11, 18)) << "7 pixels long, 2-pixel gaps";
    EXPECT_EQ(runs.back(), std::make_pair(200, 207)) << "the remainder of one pixel draws nothing";
    // The tube: the light colour at both outer rows, the full colour at the middle.
    EXPECT_EQ(Px(shot, 4, 2), Opaque(0xE1FFE1));
    EXPECT_EQ(Px(shot, 4, 9), Opaque(clLime));
    EXPECT_EQ(Px(shot, 4, 15), Opaque(RGBColor(0xC5, 0xFF, 0xC5))) << "band 7 of 8 towards the edge";
    EXPECT_EQ(Px(shot, 4, 1), kWhite) << "one white row inside the frame";
    EXPECT_EQ(Px(shot, 208, 0), Opaque(clGray)) << "the frame";
    EXPECT_EQ(qAlpha(Px(shot, 0, 0)), 0) << "rounded: the corner shows the parent";
    EXPECT_EQ(qAlpha(Px(shot, 416, 17)), 0);

    f.bar.SetShowPosition(true);
    EXPECT_EQ(f.bar.Text(), QStringLiteral("50%"));
    const QRect ink = InkBox(f.Shot());
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_NEAR(ink.center().x(), 208, 2) << "centred";
    EXPECT_NEAR(ink.center().y(), 8.5, 2.5);
    EXPECT_GT(ink.width(), 20);
}

TEST(TLevelProgressBar, TheRoundedFrameHasTheSameCornerAtAllFour) {
    UpdaterBar f(0);
    const QImage shot = f.Shot();
    // Each corner mirrored onto the top left one: three clear pixels, and the frame around them.
    const auto at = [&](int corner, int dx, int dy) {
        return Px(shot, corner & 1 ? 416 - dx : dx, corner & 2 ? 17 - dy : dy);
    };
    int clear = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            clear += qAlpha(Px(shot, x, y)) == 0;
    EXPECT_EQ(clear, 12);
    for (int corner = 0; corner < 4; ++corner) {
        for (const QPoint& outside : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1)})
            EXPECT_EQ(qAlpha(at(corner, outside.x(), outside.y())), 0) << corner;
        for (const QPoint& frame : {QPoint(2, 0), QPoint(1, 1), QPoint(0, 2), QPoint(3, 0), QPoint(0, 3)})
            EXPECT_EQ(at(corner, frame.x(), frame.y()), Opaque(clGray)) << corner;
        EXPECT_EQ(at(corner, 2, 1), kWhite) << corner;
        EXPECT_EQ(at(corner, 1, 2), kWhite) << corner;
    }
}

TEST(TLevelProgressBar, TheColourChangesAtTheThresholdsAndAtTheEnd) {
    const std::pair<int, TColor> cases[] = {{69, clLime},   {70, clYellow}, {89, clYellow},
                                            {90, 0x53A9FF}, {99, 0x53A9FF}, {100, clRed}};
    for (auto [percent, color] : cases) {
        UpdaterBar f(percent);
        const QImage shot = f.Shot();
        EXPECT_EQ(Px(shot, 4, 9), Opaque(color)) << percent << "%";
        const auto runs = Runs(shot, 1, 416, false, 9);
        const int e = int(Round(415 * percent / 100.0));
        // A remainder of 2 begins and ends at the same place: it shows nothing.
        EXPECT_EQ(int(runs.size()), e / 9 + (e % 9 > 2)) << percent << "%";
    }
    UpdaterBar raised(80);
    raised.bar.SetLevel1Perc(85);
    EXPECT_EQ(Px(raised.Shot(), 4, 9), Opaque(clLime)) << "the thresholds are the bar's own";
    raised.bar.SetLevelColors(0, {clBlue, clBlue});
    EXPECT_EQ(Px(raised.Shot(), 4, 2), Opaque(clBlue));
    EXPECT_THROW(raised.bar.SetLevelColors(4, {clBlue, clBlue}), EListError);
    EXPECT_THROW(raised.bar.LevelBkColor(3), EListError);
}

TEST(TLevelProgressBar, PaintsAtOnceOnlyWhenThePictureCanHaveChanged) {
    TLevelProgressBar bar;
    bar.resize(417, 18);
    bar.SetShowPosition(false);
    bar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
    PaintCounter paints(&bar);

    // A file under 30 000 bytes: a range of 2 has a step unit of 0, so every change paints.
    bar.SetMax(2);
    bar.SetPosition(1);
    EXPECT_EQ(paints.count, 1) << "painted at once, not queued";
    bar.SetPosition(1);
    EXPECT_EQ(paints.count, 2);
    EXPECT_EQ(bar.Percentage(), 50);
    EXPECT_EQ(Runs(Grabbed(bar), 1, 416, false, 9).size(), 23u);

    // Step unit 100: positions that change neither the percentage nor the unit paint nothing.
    bar.SetMax(10000);
    bar.SetPosition(0);
    const int before = paints.count;
    for (int v = 1; v < 50; ++v)
        bar.SetPosition(v);
    EXPECT_EQ(paints.count, before) << "still 0 % and within the first unit";
    bar.SetPosition(100);
    EXPECT_EQ(paints.count, before + 1) << "a whole unit";
    bar.SetPosition(151);
    EXPECT_EQ(paints.count, before + 2) << "the percentage rounds to 2 %";

    // Outside the range the position is clamped and nothing is painted.
    bar.SetPosition(20000);
    EXPECT_EQ(bar.Position(), 10000);
    bar.SetPosition(-5);
    EXPECT_EQ(bar.Position(), 0);
    EXPECT_EQ(paints.count, before + 2);
}

TEST(TLevelProgressBar, AnEmptyBarOrAnEmptyRangeShowsOnlyTheFrameAndZeroPercent) {
    UpdaterBar empty(0);
    EXPECT_TRUE(Runs(empty.Shot(), 1, 416, false, 9).empty());
    empty.bar.SetShowPosition(true);
    EXPECT_EQ(empty.bar.Text(), QStringLiteral("0%"));

    UpdaterBar same(50);
    same.bar.SetMax(0);
    same.bar.SetMin(0);
    same.bar.SetMax(0);
    same.bar.SetPosition(0);
    EXPECT_EQ(same.bar.Percentage(), 0);
    EXPECT_TRUE(Runs(same.Shot(), 1, 416, false, 9).empty());

    // With Min above 0 the percentage of the position passes 100 %: the fill stays within the frame.
    UpdaterBar high(0);
    high.bar.SetMin(50);
    high.bar.SetPosition(100);
    EXPECT_EQ(high.bar.Percentage(), 200);
    const QImage shot = high.Shot();
    EXPECT_EQ(Px(shot, 416, 9), Opaque(clGray)) << "the frame is not painted over";
}

TEST(TLevelProgressBar, SmoothVerticalAndStackedBarsFillAsDesigned) {
    TLevelProgressBar smooth;
    smooth.resize(100, 18);
    smooth.SetShowPosition(false);
    smooth.SetCompletionSmooth(true);
    smooth.SetPosition(33);
    EXPECT_EQ(Runs(Grabbed(smooth), 1, 99, false, 9), (std::vector<std::pair<int, int>>{{2, 32}}));

    TLevelProgressBar vertical;
    vertical.resize(18, 100);
    vertical.SetShowPosition(false);
    vertical.SetOrientation(goVertical);
    vertical.SetPosition(50);
    QImage shot = Grabbed(vertical);
    const auto runs = Runs(shot, 1, 99, true, 9);
    ASSERT_EQ(runs.size(), 6u) << "E = 49: five blocks and a remainder of 4";
    EXPECT_EQ(runs.back(), std::make_pair(91, 98)) << "the first block sits at the bottom";
    EXPECT_EQ(runs[4], std::make_pair(82, 89));
    EXPECT_EQ(runs.front(), std::make_pair(51, 53)) << "the last one is the remainder, 2 above the block";
    // Cut into left and right halves.
    EXPECT_EQ(Px(shot, 2, 95), Opaque(0xE1FFE1));
    EXPECT_EQ(Px(shot, 9, 95), Opaque(clLime));

    TLevelProgressBar stacked;
    stacked.resize(202, 18);
    stacked.SetShowPosition(false);
    stacked.SetStacked(true);
    stacked.SetPosition(95);
    shot = Grabbed(stacked);
    // len 200: 140 green, 40 yellow and 10 orange pixels end to end, from row 1 to row 16.
    EXPECT_EQ(Runs(shot, 1, 201, false, 9), (std::vector<std::pair<int, int>>{{2, 192}}));
    EXPECT_EQ(Px(shot, 141, 9), Opaque(clLime));
    EXPECT_EQ(Px(shot, 142, 9), Opaque(clYellow));
    EXPECT_EQ(Px(shot, 191, 9), Opaque(0x53A9FF));
    EXPECT_EQ(Px(shot, 50, 1), Opaque(0xE1FFE1)) << "pieces run from the row under the frame";
    stacked.SetPosition(100);
    shot = Grabbed(stacked);
    EXPECT_EQ(Px(shot, 198, 9), Opaque(0x53A9FF)) << "stacked, the last level is never red";

    TLevelProgressBar solid;
    solid.resize(100, 18);
    solid.SetShowPosition(false);
    solid.SetShowGradient(false);
    solid.SetRounded(false);
    solid.SetPosition(50);
    shot = Grabbed(solid);
    EXPECT_EQ(Px(shot, 4, 2), Opaque(clLime));
    EXPECT_EQ(Px(shot, 0, 0), Opaque(clGray)) << "square corners are the frame's";
}

TEST(TLevelProgressBar, ZoneBackgroundsSplitTheBarAtTheThresholds) {
    TLevelProgressBar bar;
    bar.resize(102, 18);
    bar.SetShowPosition(false);
    bar.SetPosition(0);
    bar.SetLevelBkColor(1, clSilver);
    bar.SetLevelBkColor(2, clAqua);
    const QImage shot = Grabbed(bar);
    // len 100: zone 0 ends at 70, zone 1 runs 20 pixels, zone 2 the rest.
    EXPECT_EQ(Px(shot, 69, 5), kWhite);
    EXPECT_EQ(Px(shot, 70, 5), Opaque(clSilver));
    EXPECT_EQ(Px(shot, 89, 5), Opaque(clSilver));
    EXPECT_EQ(Px(shot, 90, 5), Opaque(clAqua));
    EXPECT_EQ(Px(shot, 80, 1), Opaque(clSilver)) << "from the row under the frame";
}

TEST(TLevelProgressBar, TheBusyWindowCrossesTheBarInTwentyFiveTicksAndTurns) {
    UpdaterBar f(0);
    f.bar.SetInfinite(true);
    EXPECT_FALSE(f.bar.BusyTimerRunning()) << "not animated yet";
    f.bar.SetShowPosition(true);
    EXPECT_EQ(f.bar.Text(), QStringLiteral("100%")) << "drawn as a full bar";
    f.bar.SetShowPosition(false);
    // The whole bar is full and green; only a window of it shows.
    auto window = [&] {
        const auto runs = Runs(f.Shot(), 1, 416, false, 9);
        return runs.empty() ? std::make_pair(-1, -1) : std::make_pair(runs.front().first, runs.back().second);
    };
    EXPECT_EQ(window(), std::make_pair(2, 12)) << "at the start, up to 12 pixels from the left";
    for (int n = 0; n < 12; ++n)
        f.bar.Tick();
    // At 48 %: 198 into the bar, the window from 188 to 210.
    EXPECT_EQ(window(), std::make_pair(188, 210));
    for (int n = 12; n < 25; ++n)
        f.bar.Tick();
    EXPECT_EQ(window(), std::make_pair(403, 414)) << "at the far end after 25 ticks (blocks end at 414)";
    f.bar.Tick();
    EXPECT_EQ(window(), std::make_pair(386, 408)) << "and on its way back";

    f.bar.SetAnimated(true);
    EXPECT_TRUE(f.bar.BusyTimerRunning());
    f.bar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f.bar));
    PaintCounter paints(&f.bar);
    EXPECT_TRUE(QTest::qWaitFor([&] { return paints.count >= 3; }, 10000)) << "the timer moves the window";
    f.bar.SetInfinite(false);
    EXPECT_FALSE(f.bar.BusyTimerRunning());
    f.bar.SetInfinite(true);
    EXPECT_EQ(window(), std::make_pair(2, 12)) << "switching busy mode on starts at the left";
}

TEST(TLevelProgressBar, TheTextIsThePercentageThePositionOrTheFormat) {
    UpdaterBar f(42, true);
    f.bar.SetMax(200);
    f.bar.SetPosition(42);
    EXPECT_EQ(f.bar.Text(), QStringLiteral("21%"));
    f.bar.SetShowPercentage(false);
    EXPECT_EQ(f.bar.Text(), QStringLiteral("42"));
    f.bar.SetFormat(QStringLiteral("%d of %d"));
    EXPECT_EQ(f.bar.Text(), QStringLiteral("42 of 200"));
    EXPECT_THROW(f.bar.SetFormat(QStringLiteral("%d %s")), Exception);
    EXPECT_EQ(f.bar.Format(), QStringLiteral("%d of %d")) << "a bad format loses nothing";
    f.bar.SetShowPosition(false);
    EXPECT_TRUE(f.bar.Text().isEmpty());

    // Turned for a vertical bar: the text is taller than wide.
    TLevelProgressBar vertical;
    vertical.resize(18, 120);
    vertical.SetOrientation(goVertical);
    vertical.SetPosition(0);
    const QRect ink = InkBox(Grabbed(vertical));
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_GT(ink.height(), ink.width());
    EXPECT_NEAR(ink.center().y(), 60, 3);
}

TEST(FormatIntegers, FormatsWholeNumbersAndRejectsWhatItCannotFormat) {
    const int args[] = {7, 255, -3};
    EXPECT_EQ(FormatIntegers(QStringLiteral("%d/%d = 100%%"), args), QStringLiteral("7/255 = 100%"));
    EXPECT_EQ(FormatIntegers(QStringLiteral("[%4d][%-4d][%.3d][%1:x]"), args),
              QStringLiteral("[   7][255 ][-003][FF]"));
    EXPECT_EQ(FormatIntegers(QStringLiteral("%1:d %0:d %d"), args), QStringLiteral("255 7 255"));
    EXPECT_EQ(FormatIntegers(QStringLiteral("%2:.2d %2:u"), args), QStringLiteral("-03 4294967293"));
    for (const char* bad : {"%", "%d %d %d %d", "%s", "%:d", "%9999999d", "%5"})
        EXPECT_THROW(FormatIntegers(QString::fromLatin1(bad), args), Exception) << bad;
}
