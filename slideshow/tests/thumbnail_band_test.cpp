#include "slideshow/tests/paint_test_support.h"
#include "slideshow/tests/slide_show_test_support.h"

#include <QApplication>
#include <QHelpEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QToolTip>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace lanterna::testing {
namespace {

TEST(HandleColours, LighterAndDarkerMoveEachChannel) {
    // 192 + 63 * 30 / 100 (18.9, rounded to 19); 192 - 192 * 30 / 100 (57.6, rounded to 58).
    EXPECT_EQ(Lighter(clSilver, 30), RGBColor(211, 211, 211));
    EXPECT_EQ(Darker(clSilver, 30), RGBColor(134, 134, 134));
    EXPECT_EQ(Lighter(RGBColor(0, 100, 255), 50), RGBColor(128, 178, 255));
    EXPECT_EQ(Darker(RGBColor(0, 101, 255), 50), RGBColor(0, 50, 127));
}

TEST(HandleAppearance, SettersAnnounceChangesAndAssignCopiesQuietly) {
    THandleAppearance look;
    EXPECT_EQ(look.Opacity(), 200);
    EXPECT_EQ(look.Size(), 35);
    EXPECT_EQ(look.Color(), clSilver);
    EXPECT_EQ(look.BorderColor(), clSilver);
    EXPECT_EQ(look.ArrowColor(), clBlack);
    int changes = 0;
    look.OnChange = [&] { ++changes; };
    look.SetSize(35);
    EXPECT_EQ(changes, 0);
    look.SetSize(40);
    look.SetColor(clRed);
    look.SetArrowColor(clWhite);
    EXPECT_EQ(changes, 3);

    THandleAppearance copy;
    int copyChanges = 0;
    copy.OnChange = [&] { ++copyChanges; };
    look.SetOpacity(90);
    look.SetBorderColor(clBlue);
    copy.Assign(look);
    EXPECT_EQ(copyChanges, 0);
    EXPECT_EQ(copy.Size(), 40);
    EXPECT_EQ(copy.Color(), clRed);
    EXPECT_EQ(copy.ArrowColor(), clWhite);
    EXPECT_EQ(copy.Opacity(), 90);
    EXPECT_EQ(copy.BorderColor(), clBlue);
}

// Ten slides in a 626 x 800 control: the bottom band (13, 667, 600, 120) has cells of 100 at
// x = 23 + 110 i, y = 677, and scrolls at most 11 * 10 + 10 * 100 - 600 = 510. The pictures are twice
// as wide as high, so each thumbnail leaves a strip of its cell free above and below it.
class ThumbnailBand : public ::testing::Test {
protected:
    void SetUp() override {
        Show().resize(626, 800);
        for (int i = 0; i < 10; ++i) {
            const QString path = Dir.filePath(QString("p%1.png").arg(i));
            WritePicture(path, 300, 150, PictureColour(i));
            Show().Items()->Add()->SetLocation(path);
        }
        ASSERT_TRUE(WaitLoaded(Show()));
        ASSERT_DOUBLE_EQ(Show().MaxScrollPos(), 510);
    }
    static QColor PictureColour(int i) { return QColor(20 * i, 100, 200); }
    void Mouse(QEvent::Type type, QPointF p) {
        const bool move = type == QEvent::MouseMove;
        const Qt::MouseButtons held = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick
                                          ? Qt::LeftButton
                                          : Qt::NoButton;
        QMouseEvent event(type, p, Show().mapToGlobal(p), move ? Qt::NoButton : Qt::LeftButton, held,
                          Qt::NoModifier);
        QApplication::sendEvent(&Show(), &event);
    }
    void Click(QPointF p) {
        Mouse(QEvent::MouseButtonPress, p);
        Mouse(QEvent::MouseButtonRelease, p);
    }
    QPointF Centre(THandleSide side) {
        const TGPRectF r = Show().Band().HandleRect(side);
        return {r.X + r.Width / 2, r.Y + r.Height / 2};
    }
    const TGPRectF& Cell(int i) { return Show().Items()->Items(i)->ThumbItemRect(); }
    TSlideShow& Show() { return Still.Show; }
    QTemporaryDir Dir;
    TStillShow Still;
};

TEST_F(ThumbnailBand, HandlesShowWhereTheBandCanScroll) {
    EXPECT_EQ(Show().Band().HandleRect(hsLeft), (TGPRectF{13 - 17.5f, 667 + 42.5f, 35, 35}));
    EXPECT_EQ(Show().Band().HandleRect(hsRight), (TGPRectF{613 - 17.5f - 1, 667 + 42.5f, 35, 35}));
    EXPECT_FALSE(Show().Band().CanScrollLeft());
    EXPECT_TRUE(Show().Band().CanScrollRight());
    Show().ScrollTo(510);
    EXPECT_TRUE(Show().Band().CanScrollLeft());
    EXPECT_FALSE(Show().Band().CanScrollRight());
    EXPECT_FALSE(Show().Band().CanScrollUp() || Show().Band().CanScrollDown());
    EXPECT_FLOAT_EQ(Cell(0).X, 23 - 510);

    // Along the left side the band runs down: 11 * 10 + 1000 - 774.
    Show().SetThumbNailPosition(tpLeft);
    Show().ScrollTo(0);
    EXPECT_DOUBLE_EQ(Show().MaxScrollPos(), 336);
    EXPECT_TRUE(Show().Band().CanScrollDown());
    EXPECT_FALSE(Show().Band().CanScrollUp() || Show().Band().CanScrollLeft() ||
                 Show().Band().CanScrollRight());
    EXPECT_EQ(Show().Band().HandleRect(hsTop), (TGPRectF{13 + 42.5f, 13 - 17.5f, 35, 35}));
    EXPECT_EQ(Show().Band().HandleRect(hsBottom), (TGPRectF{13 + 42.5f, 13 + 774 - 1 - 17.5f, 35, 35}));
    Show().ScrollTo(100);
    EXPECT_EQ(Cell(2), (TGPRectF{23, 23 + 220 - 100, 100, 100}));
    EXPECT_TRUE(Show().Band().CanScrollUp() && Show().Band().CanScrollDown());

    // Without the band there is no handle to press.
    Show().SetThumbNails(false);
    EXPECT_FALSE(Show().Band().CanScrollUp() || Show().Band().CanScrollDown());
}

TEST_F(ThumbnailBand, HoldingAHandleRepeatsFromTheTenthTickAndAClickScrollsOneCell) {
    Mouse(QEvent::MouseButtonPress, Centre(hsRight));
    EXPECT_TRUE(Show().Band().HandleDown(hsRight));
    for (int tick = 1; tick <= 9; ++tick)
        Show().Band().HandleTimerEvent();
    EXPECT_DOUBLE_EQ(Show().ScrollPos(), 0);
    Show().Band().HandleTimerEvent();
    EXPECT_DOUBLE_EQ(Show().ScrollPos(), 110);
    Show().Band().HandleTimerEvent();
    EXPECT_DOUBLE_EQ(Show().ScrollPos(), 220);
    Mouse(QEvent::MouseButtonRelease, Centre(hsRight));
    EXPECT_DOUBLE_EQ(Show().ScrollPos(), 220);
    EXPECT_FALSE(Show().Band().HandleDown(hsRight));
    EXPECT_EQ(Show().ItemIndex(), 0); // a press on a handle selects no thumbnail under it

    Click(Centre(hsRight));
    EXPECT_DOUBLE_EQ(Show().ScrollPos(), 330);
    Click(Centre(hsLeft));
    EXPECT_DOUBLE_EQ(Show().ScrollPos(), 220);
    Click(Centre(hsRight));
    Click(Centre(hsRight));
    Click(Centre(hsRight)); // 550 would be past the end
    EXPECT_DOUBLE_EQ(Show().ScrollPos(), 510);
    Show().Band().HandleTimerEvent(); // no handle held: nothing
    EXPECT_DOUBLE_EQ(Show().ScrollPos(), 510);

    // Held at the end, a handle that has vanished scrolls no further.
    Mouse(QEvent::MouseButtonPress, Centre(hsLeft));
    for (int tick = 1; tick <= 20; ++tick)
        Show().Band().HandleTimerEvent();
    EXPECT_DOUBLE_EQ(Show().ScrollPos(), 0);
    Mouse(QEvent::MouseButtonRelease, Centre(hsLeft));
    EXPECT_DOUBLE_EQ(Show().ScrollPos(), 0);
}

TEST_F(ThumbnailBand, TheHandleTimerRunsWhileAHandleIsHeld) {
    Mouse(QEvent::MouseButtonPress, Centre(hsRight));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Show().ScrollPos() >= 220; }, 30000))
        << "scroll position " << Show().ScrollPos();
    Mouse(QEvent::MouseButtonRelease, Centre(hsRight));
    EXPECT_FALSE(Show().Band().HandleDown(hsRight));
}

TEST_F(ThumbnailBand, WheelScrollingStopsAtBothEnds) {
    const auto wheel = [&](int delta) {
        QWheelEvent event(QPointF(300, 700), QPointF(300, 700), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&Show(), &event);
    };
    wheel(120);
    EXPECT_DOUBLE_EQ(Show().ScrollPos(), 0);
    wheel(-120);
    EXPECT_DOUBLE_EQ(Show().ScrollPos(), 120);
    EXPECT_FLOAT_EQ(Cell(1).X, 133 - 120);
    for (int i = 0; i < 4; ++i)
        wheel(-120);
    EXPECT_DOUBLE_EQ(Show().ScrollPos(), 510);
    wheel(-120);
    EXPECT_DOUBLE_EQ(Show().ScrollPos(), 510);
    wheel(600);
    EXPECT_DOUBLE_EQ(Show().ScrollPos(), 0);
}

TEST_F(ThumbnailBand, TheSelectionScrollsItsCellIntoTheBand) {
    Show().SetItemIndex(7);
    // Cell 7 spans 793 .. 893 unscrolled; it ends 10 before the band's end at 613.
    EXPECT_DOUBLE_EQ(Show().ScrollPos(), 893 + 10 - 613);
    EXPECT_FLOAT_EQ(Cell(7).X + Cell(7).Width, 613 - 10);
    Show().SetItemIndex(5); // in view already
    EXPECT_DOUBLE_EQ(Show().ScrollPos(), 290);
    Show().SetItemIndex(1); // starts 10 after the band's start
    EXPECT_FLOAT_EQ(Cell(1).X, 13 + 10);
    EXPECT_DOUBLE_EQ(Show().ScrollPos(), 110);
}

TEST_F(ThumbnailBand, ClicksAndDoubleClicksOnThumbnails) {
    // Cell 3 spans 353 .. 453 across and 677 .. 777 down, edges included; the gap after it is empty.
    EXPECT_EQ(Show().Band().ItemAt(353, 677), 3);
    EXPECT_EQ(Show().Band().ItemAt(453, 777), 3);
    EXPECT_EQ(Show().Band().ItemAt(458, 700), -1);
    EXPECT_EQ(Show().Band().ItemAt(400, 778), -1);
    // Cells beyond the band's end are not hit.
    EXPECT_EQ(Show().Band().ItemAt(683 + 10, 700), -1);
    // A disabled slide keeps its cell (once loaded again after the change) but is not hit.
    Show().Items()->Items(3)->SetEnabled(false);
    ASSERT_TRUE(WaitLoaded(Show()));
    EXPECT_EQ(Show().Band().ItemAt(400, 700), -1);
    EXPECT_EQ(Show().Band().ItemAt(480, 700), 4);
    Show().Items()->Items(3)->SetEnabled(true);
    ASSERT_TRUE(WaitLoaded(Show()));

    int clicked = -1, clicks = 0, doubleClicked = -1;
    Show().OnThumbClick = [&](TSlideShow*, int index) {
        clicked = index;
        ++clicks;
    };
    Show().OnThumbDblClick = [&](TSlideShow*, int index) { doubleClicked = index; };
    Click({400, 700});
    EXPECT_EQ(Show().ItemIndex(), 3);
    EXPECT_EQ(clicked, 3);
    Click({458, 700}); // between two cells
    EXPECT_EQ(Show().ItemIndex(), 3);
    EXPECT_EQ(clicks, 1);
    Mouse(QEvent::MouseButtonDblClick, {180, 700});
    EXPECT_EQ(doubleClicked, 1);

    // Hovering a thumbnail shows the hand, also when the mouse comes back to the same one.
    Mouse(QEvent::MouseMove, {290, 700});
    EXPECT_EQ(Show().Band().HoveredItem(), 2);
    EXPECT_EQ(Show().cursor().shape(), Qt::PointingHandCursor);
    Mouse(QEvent::MouseMove, {290, 300});
    EXPECT_EQ(Show().cursor().shape(), Qt::ArrowCursor);
    Mouse(QEvent::MouseMove, {300, 710});
    EXPECT_EQ(Show().cursor().shape(), Qt::PointingHandCursor);
    Mouse(QEvent::MouseMove, Centre(hsRight));
    EXPECT_EQ(Show().cursor().shape(), Qt::ArrowCursor);

    // Without the band clicks never select, but a selection still scrolls the band's geometry.
    Show().SetThumbNails(false);
    ASSERT_TRUE(WaitLoaded(Show()));
    Click({170, 60}); // slide 1's cell, laid out from the control's corner
    Click({180, 700});
    EXPECT_EQ(Show().ItemIndex(), 3);
    EXPECT_EQ(clicks, 1);
    Show().SetItemIndex(9);
    EXPECT_GT(Show().ScrollPos(), 0);
}

TEST_F(ThumbnailBand, HintsComeFromTheThumbnailUnderThePoint) {
    Show().setToolTip(QStringLiteral("control"));
    Show().Items()->Items(3)->SetHint(QStringLiteral("three"));
    ASSERT_TRUE(WaitLoaded(Show()));
    EXPECT_EQ(Show().ThumbnailHint(400, 700), QStringLiteral("three"));
    EXPECT_EQ(Show().ThumbnailHint(300, 700), QStringLiteral("control")); // slide 2 has none
    EXPECT_EQ(Show().ThumbnailHint(300, 300), QStringLiteral("control"));
    Show().OnThumbHint = [](TSlideShow*, int index, QString& hint) { hint += QString(" %1").arg(index); };
    EXPECT_EQ(Show().ThumbnailHint(400, 700), QStringLiteral("three 3"));
    EXPECT_EQ(Show().ThumbnailHint(300, 700), QStringLiteral("control 2"));
    EXPECT_EQ(Show().ThumbnailHint(300, 300), QStringLiteral("control"));

    // The platform's hint request shows the text; moving on to another thumbnail takes it away.
    Show().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Show()));
    const QPoint at(400, 700);
    Mouse(QEvent::MouseMove, at);
    QHelpEvent request(QEvent::ToolTip, at, Show().mapToGlobal(at));
    QApplication::sendEvent(&Show(), &request);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("three 3"));
    Mouse(QEvent::MouseMove, {180, 700});
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 20000));
}

// The pixel of a handle below its arrow: the handle's colour under a white gloss of some strength.
// The gloss is worked out from the handle's plain colour and must be the same in the other states.
TEST_F(ThumbnailBand, HoveredHandleIsLighterAndPressedDarkerInPixels) {
    const TColor color = RGBColor(0x20, 0x40, 0x60);
    Show().ThumbNailHandles()->SetColor(color);
    Show().ThumbNailHandles()->SetOpacity(255);
    Show().ScrollTo(200);
    const auto pixel = [&](double x, double y) {
        return QColor(Show().grab().toImage().pixel(int(x), int(y)));
    };
    const auto sample = [&](THandleSide side) {
        const TGPRectF r = Show().Band().HandleRect(side);
        return pixel(side == hsRight ? r.X + 0.3 * r.Width : r.X + 0.7 * r.Width, r.Y + 0.85 * r.Height);
    };
    // The gloss fades across each handle, so it is worked out for each one from its plain colour.
    const auto glossOf = [&](THandleSide side) { return (sample(side).red() - 0x20) / double(255 - 0x20); };
    const double gloss[] = {glossOf(hsLeft), glossOf(hsRight)};
    for (double g : gloss) {
        ASSERT_GT(g, 0.05);
        ASSERT_LT(g, 0.5);
    }
    const auto expect = [&](THandleSide side, TColor c) {
        const QColor seen = sample(side);
        for (auto [actual, channel] :
             {std::pair{seen.red(), GetRValue(c)}, std::pair{seen.green(), GetGValue(c)},
              std::pair{seen.blue(), GetBValue(c)}})
            EXPECT_NEAR(actual, channel + (255 - channel) * gloss[side], 2) << int(side);
    };
    expect(hsRight, color);
    expect(hsLeft, color);
    // Each half-disc lies inside the band: outside it, beyond the band's end, no handle is drawn.
    const TGPRectF left = Show().Band().HandleRect(hsLeft), right = Show().Band().HandleRect(hsRight);
    EXPECT_GT(pixel(left.X + 0.25 * left.Width, left.Y + 0.5 * left.Height).blue(), 0xC0);
    EXPECT_GT(pixel(right.X + 0.8 * right.Width, right.Y + 0.5 * right.Height).blue(), 0xC0);

    Mouse(QEvent::MouseMove, Centre(hsRight));
    EXPECT_TRUE(Show().Band().HandleHover(hsRight));
    expect(hsRight, Lighter(color, 30));
    expect(hsLeft, color);

    // The left one hovered, the right one pressed.
    Mouse(QEvent::MouseMove, Centre(hsLeft));
    Mouse(QEvent::MouseButtonPress, Centre(hsRight));
    expect(hsRight, Darker(color, 30));
    expect(hsLeft, Lighter(color, 30));
    Mouse(QEvent::MouseButtonRelease, Centre(hsRight));
}

TEST_F(ThumbnailBand, TheBandShowsTheThumbnailsClippedAndTheSelectedCellHighlighted) {
    Show().SetItemIndex(2);
    const QImage shot = Show().grab().toImage();
    const auto at = [&](double x, double y) { return shot.pixel(int(x), int(y)); };
    // Each thumbnail is 100 x 50 in the middle of its cell; the strip above it shows the cell's fill.
    for (int i : {0, 2, 4}) {
        const TGPRectF& thumb = Show().Items()->Items(i)->ThumbRect();
        EXPECT_TRUE(
            SameColour(at(thumb.X + thumb.Width / 2, thumb.Y + thumb.Height / 2), PictureColour(i).rgb(), 3))
            << i;
    }
    const QColor selected(at(Cell(2).X + 50, Cell(2).Y + 10)), plain(at(Cell(1).X + 50, Cell(1).Y + 10));
    EXPECT_GT(selected.red() - selected.blue(), 60) << selected.name().toStdString();
    EXPECT_LT(std::abs(plain.red() - plain.blue()), 12) << plain.name().toStdString();
    EXPECT_GT(plain.red(), 200);
    // Cell 5 runs on past the band's end at 613; nothing of it is drawn there. (Above the right handle.)
    const TGPRectF& cut = Show().Items()->Items(5)->ThumbRect();
    ASSERT_GT(cut.X + cut.Width, 620);
    EXPECT_FALSE(SameColour(at(618, cut.Y + 2), PictureColour(5).rgb(), 30));
    EXPECT_TRUE(SameColour(at(605, cut.Y + 2), PictureColour(5).rgb(), 3));

    // Without the band its place shows the slide show's own background.
    Show().SetThumbNails(false);
    ASSERT_TRUE(WaitLoaded(Show()));
    EXPECT_TRUE(SameColour(Show().grab().toImage().pixel(400, 700), qRgb(255, 255, 255), 3));
}

// The control in a window beside a line edit, the window active and the control focused.
struct TFocusWindow {
    TFocusWindow() {
        auto* layout = new QVBoxLayout(&Window);
        Show = new TSlideShow(&Window);
        Show->SetRotation(false);
        layout->addWidget(Show);
        Field = new QLineEdit(&Window);
        layout->addWidget(Field);
        Window.show();
        QApplication::setActiveWindow(&Window);
    }
    bool Focus(QWidget* widget) {
        widget->setFocus(Qt::OtherFocusReason);
        return QTest::qWaitFor([&] { return widget->hasFocus(); }, 20000);
    }
    QWidget Window;
    TSlideShow* Show;
    QLineEdit* Field;
};

TEST(SlideShowKeys, WithTabStopOnTabAndTheArrowsReachTheControl) {
    TFocusWindow w;
    for (int i = 0; i < 3; ++i)
        w.Show->Items()->Add();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w.Window));
    EXPECT_TRUE(w.Show->TabStop());
    ASSERT_TRUE(w.Focus(w.Show));
    QTest::keyClick(w.Show, Qt::Key_Tab);
    EXPECT_TRUE(w.Show->hasFocus());
    QTest::keyClick(w.Show, Qt::Key_Backtab);
    EXPECT_TRUE(w.Show->hasFocus());
    QTest::keyClick(w.Show, Qt::Key_Right);
    EXPECT_EQ(w.Show->ItemIndex(), 1);
    QTest::keyClick(w.Show, Qt::Key_Left);
    EXPECT_EQ(w.Show->ItemIndex(), 0);

    // Off, Tab moves on to the next field, the arrows page no more, and Tab no longer comes back.
    w.Show->SetTabStop(false);
    QTest::keyClick(w.Show, Qt::Key_Right);
    EXPECT_EQ(w.Show->ItemIndex(), 0);
    QTest::keyClick(w.Show, Qt::Key_Tab);
    EXPECT_TRUE(w.Field->hasFocus());
    QTest::keyClick(w.Field, Qt::Key_Tab);
    EXPECT_TRUE(w.Field->hasFocus());
    QTest::keyClick(w.Show, Qt::Key_End); // Home and End still select
    EXPECT_EQ(w.Show->ItemIndex(), 2);
}

} // namespace
} // namespace lanterna::testing
