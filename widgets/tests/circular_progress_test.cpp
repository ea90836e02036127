#include "widgets/circular_progress.h"
#include "widgets/tests/widget_test_support.h"

#include <QTest>

#include <numbers>

using namespace lanterna;
using namespace lanterna::testing;

namespace {

constexpr TColor kActive = 0xFF9F9F, kHead = 0xA00000, kProgress = 0x400080;

// A pixel of a w x h ring at `degrees` clockwise from three o'clock, `fraction` of the way out.
ARGB At(const QImage& shot, double degrees, double fraction = 0.77) {
    const double a = degrees * std::numbers::pi / 180;
    const double cx = shot.width() / 2.0, cy = shot.height() / 2.0;
    return Px(shot, int(cx + fraction * cx * std::cos(a)), int(cy + fraction * cy * std::sin(a)));
}

// The middle of segment i (1..12) of a ring of the given sweep.
ARGB Segment(const QImage& shot, int i, double sweep = 24) {
    return At(shot, (i - 1) * 30 - 90 + sweep / 2);
}

// A stopped ring at the updater's size, on a parent so that it shows nothing where it paints nothing.
struct Ring {
    QWidget parent;
    TCircularProgress* ring = new TCircularProgress(&parent);
    Ring() {
        ring->setEnabled(false);
        ring->SetInterval(1000000); // only the test moves the head
        parent.resize(100, 100);
        ring->move(8, 8);
    }
    QImage Shot() { return Grabbed(*ring); }
    void Ticks(int n) {
        for (int k = 0; k < n; ++k)
            ring->Tick();
    }
};

} // namespace

TEST(TCircularProgress, TheHeadFillsTheRingInTwelveTicksAndEmptiesItInTwelveMore) {
    Ring f;
    EXPECT_FALSE(f.ring->TimerRunning()) << "stopped while disabled";
    f.ring->setEnabled(true);
    EXPECT_TRUE(f.ring->TimerRunning());
    f.Ticks(1);
    QImage shot = f.Shot();
    EXPECT_EQ(Segment(shot, 2), Opaque(kHead));
    EXPECT_EQ(Segment(shot, 1), Opaque(kActive));
    for (int i = 3; i <= 12; ++i)
        EXPECT_EQ(Segment(shot, i), Opaque(clSilver)) << "segment " << i;
    EXPECT_EQ(qAlpha(At(shot, -90 + 27)), 0) << "a gap between segments";
    EXPECT_EQ(qAlpha(Px(shot, 30, 30)), 0) << "the hole in the middle";
    EXPECT_EQ(qAlpha(At(shot, -78, 0.5)), 0) << "the hole is 16/30 of the ring";
    EXPECT_EQ(At(shot, -78, 0.6), Opaque(kActive));

    f.Ticks(11);
    EXPECT_EQ(f.ring->Head(), 1);
    EXPECT_FALSE(f.ring->Filling());
    shot = f.Shot();
    EXPECT_EQ(Segment(shot, 1), Opaque(kHead));
    for (int i = 2; i <= 12; ++i)
        EXPECT_EQ(Segment(shot, i), Opaque(kActive)) << "segment " << i;
    f.Ticks(6);
    shot = f.Shot();
    EXPECT_EQ(Segment(shot, 6), Opaque(clSilver)) << "emptied behind the head";
    EXPECT_EQ(Segment(shot, 8), Opaque(kActive)) << "still full ahead of it";
    f.Ticks(6);
    EXPECT_TRUE(f.ring->Filling()) << "24 ticks make one cycle";

    // Disabled, the ring stands still but still reports the tick.
    int updates = 0;
    f.ring->OnProgressUpdate = [&](TCircularProgress*) { ++updates; };
    f.ring->setEnabled(false);
    EXPECT_FALSE(f.ring->TimerRunning());
    f.Ticks(1);
    EXPECT_EQ(f.ring->Head(), 1);
    EXPECT_EQ(updates, 1);
}

TEST(TCircularProgress, ItsTimerMovesTheHeadWhileEnabled) {
    Ring f;
    f.ring->SetInterval(100);
    int updates = 0;
    f.ring->OnProgressUpdate = [&](TCircularProgress* sender) {
        EXPECT_EQ(sender, f.ring);
        ++updates;
    };
    f.parent.show();
    f.ring->setEnabled(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return updates >= 2; }, 10000));
    EXPECT_EQ(f.ring->Head(), 1 + updates);
    f.ring->setEnabled(false);
    const int stopped = updates;
    QTest::qWait(300);
    EXPECT_EQ(updates, stopped) << "no tick once disabled";
}

TEST(TCircularProgress, TheLargerSideSetsTheSweep) {
    const std::pair<QSize, float> sizes[] = {{{30, 30}, 22}, {{39, 20}, 22},   {{40, 40}, 23},
                                             {{60, 60}, 24}, {{199, 199}, 25}, {{250, 100}, 26}};
    for (auto [size, sweep] : sizes) {
        TCircularProgress ring;
        ring.resize(size);
        EXPECT_EQ(ring.Sweep(), sweep) << size.width() << "x" << size.height();
    }
    // Drawn: at 200 x 200 segment 2 reaches 26 degrees round, at 199 x 199 only 25.
    for (int side : {200, 199}) {
        Ring f;
        f.ring->resize(side, side);
        f.ring->Appearance().SetInActiveSegmentColor(clRed);
        const QImage shot = f.Shot();
        EXPECT_EQ(At(shot, -60 + 24, 0.95), Opaque(clRed)) << side;
        const int edge = qAlpha(At(shot, -60 + 25.5, 0.95));
        if (side == 200)
            EXPECT_GT(edge, 180);
        else
            EXPECT_LT(edge, 80);
    }
}

TEST(TCircularProgress, APositionShowsAsSegmentsAndBecomesTheHead) {
    Ring f;
    f.ring->setEnabled(true);
    f.ring->SetPosition(50);
    EXPECT_EQ(f.ring->PositionSegments(), 6);
    // A head beyond the twelfth segment: every segment is full until the next tick.
    QImage shot = f.Shot();
    for (int i = 1; i <= 12; ++i)
        EXPECT_EQ(Segment(shot, i), Opaque(kActive)) << "segment " << i;
    f.Ticks(1);
    EXPECT_EQ(f.ring->Head(), 1);
    EXPECT_FALSE(f.ring->Filling());
    f.Ticks(12);
    shot = f.Shot();
    EXPECT_EQ(Segment(shot, 1), Opaque(kHead));
    for (int i = 2; i <= 6; ++i)
        EXPECT_EQ(Segment(shot, i), Opaque(kProgress)) << "within the position: " << i;
    for (int i = 7; i <= 12; ++i)
        EXPECT_EQ(Segment(shot, i), Opaque(clSilver)) << "beyond it: " << i;

    f.ring->SetPosition(100);
    EXPECT_EQ(f.ring->PositionSegments(), 12);
    f.ring->SetPosition(0);
    EXPECT_EQ(f.ring->PositionSegments(), -1);
    f.ring->SetPosition(4);
    EXPECT_EQ(f.ring->Head(), 4);
    EXPECT_TRUE(f.ring->Filling());
    EXPECT_EQ(f.ring->PositionSegments(), 0) << "4 of 100 rounds to no segment";
}

TEST(TCircularProgress, TheRangeSettersKeepMinPositionAndMaxInOrder) {
    TCircularProgress ring;
    ring.SetPosition(80);
    ring.SetPosition(101);
    EXPECT_EQ(ring.Position(), 80) << "outside the range: ignored";
    ring.SetMax(-1);
    EXPECT_EQ(ring.Max(), 100);
    ring.SetMax(60);
    EXPECT_EQ(ring.Position(), 60) << "lowered with Max";
    EXPECT_EQ(ring.Head(), 60);
    ring.SetMin(61);
    EXPECT_EQ(ring.Min(), 0) << "a Min above Max is ignored";
    ring.SetMin(-2);
    EXPECT_EQ(ring.Min(), 0);
    ring.SetPosition(10);
    ring.SetMin(20);
    EXPECT_EQ(ring.Position(), 20) << "raised with Min";
    ring.SetMax(20);
    EXPECT_EQ(ring.PositionSegments(), 12) << "an empty range at its end is full";
}

TEST(TCircularProgress, TheBorderTakesAPixelFromTheRingAndTheBackgroundFillsTheControl) {
    Ring f;
    f.ring->Appearance().SetInActiveSegmentColor(clRed);
    EXPECT_TRUE(Near(Px(f.Shot(), 59, 30), Opaque(clRed), 8)) << "without a border the ring reaches the edge";
    f.ring->Appearance().SetBorderColor(clBlack);
    f.ring->Appearance().SetBackGroundColor(clWhite);
    const QImage shot = f.Shot();
    for (QPoint p : {QPoint(0, 0), QPoint(59, 30), QPoint(30, 59), QPoint(59, 59)})
        EXPECT_EQ(Px(shot, p.x(), p.y()), Opaque(clBlack)) << p.x() << "," << p.y();
    EXPECT_EQ(Px(shot, 29, 29), Opaque(clWhite)) << "the hole shows the background";
    EXPECT_EQ(Px(shot, 3, 3), Opaque(clWhite));

    // The appearance is copied, not shared.
    TProgressAppearance look;
    look.SetInActiveSegmentColor(clLime);
    f.ring->SetAppearance(look);
    look.SetInActiveSegmentColor(clBlue);
    EXPECT_EQ(f.ring->Appearance().InActiveSegmentColor(), clLime);
    EXPECT_EQ(f.ring->Appearance().BorderColor(), clNone) << "all six colours are copied";
    EXPECT_EQ(Segment(f.Shot(), 7), Opaque(clLime));
}

TEST(TCircularProgress, EachTickRepaintsEveryPixelThatChanged) {
    Ring f;
    f.ring->Appearance().SetBackGroundColor(clWhite);
    f.ring->SetPosition(50);
    f.parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f.parent));
    f.ring->setEnabled(true);
    QCoreApplication::processEvents(); // the repaint that enabling asks for
    PaintCounter paints(f.ring);
    for (int tick = 1; tick <= 26; ++tick) {
        const QImage before = f.Shot();
        paints.count = 0;
        paints.painted = QRegion();
        f.ring->Tick();
        ASSERT_TRUE(QTest::qWaitFor([&] { return paints.count > 0; }, 10000)) << "tick " << tick;
        const QRegion painted = paints.painted;
        const QImage after = f.Shot();
        int changed = 0;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 60; ++x)
                if (Px(before, x, y) != Px(after, x, y)) {
                    ++changed;
                    ASSERT_TRUE(painted.contains(QPoint(x, y)))
                        << "tick " << tick << " head " << f.ring->Head() << " left " << x << "," << y;
                }
        EXPECT_GT(changed, 0) << "tick " << tick;
        EXPECT_LT(painted.boundingRect().width() * painted.boundingRect().height(), 60 * 60)
            << "only a part of the control, tick " << tick;
    }
}
