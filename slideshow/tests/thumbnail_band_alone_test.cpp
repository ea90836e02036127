// The thumbnail band on a plain widget, without a slide show around it.
#include "slideshow/slide_show_items.h"
#include "slideshow/thumbnail_band.h"

#include <QWidget>
#include <gtest/gtest.h>

namespace lanterna {
namespace {

// A 626 x 800 widget with margins of 10 and none around the band: the bottom band is (10, 670, 606, 120), its
// cells 100 wide at x = 20 + 110 n, and six slides laid out in it reach 7 * 10 + 6 * 100 = 670, 64 past its
// end.
class BandAlone : public ::testing::Test {
protected:
    void SetUp() override {
        Control.resize(626, 800);
        Margin.SetBounds(10, 10, 10, 10);
        Band.HolderMargin()->SetBounds(0, 0, 0, 0);
        Band.OnChange = [this] { ++Changes; };
        Band.OnScroll = [this] { LayOut(); };
        for (int i = 0; i < 6; ++i)
            Items.Add();
        LayOut();
    }
    // What the show's layout does with the band's cells.
    void LayOut() {
        for (int i = 0; i < Items.Count(); ++i) {
            const TGPRectF cell = Band.Cell(i);
            Items.Items(i)->SetLayout({}, {}, cell, TThumbnailBand::ThumbRect(cell, QSize(80, 40)));
        }
        Band.SetCellCount(Items.Count());
    }
    QWidget Control;
    TMargins Margin;
    TSlideShowItems Items;
    TThumbnailBand Band{&Control, Margin, Items};
    int Changes = 0;
};

TEST_F(BandAlone, LiesAlongTheSideItIsPutAtAndTakesItsRoomUnlessFloating) {
    EXPECT_EQ(Band.HolderRect(), (TGPRectF{10, 670, 606, 120}));
    EXPECT_DOUBLE_EQ(Band.Reserved(), 120);
    EXPECT_EQ(Band.Cell(2), (TGPRectF{240, 680, 100, 100}));
    EXPECT_EQ(TThumbnailBand::ThumbRect(Band.Cell(0), QSize(80, 40)), (TGPRectF{31.5f, 711.5f, 77, 37}));

    Band.SetPosition(tpRight);
    Band.SetWidth(60);
    EXPECT_EQ(Band.HolderRect(), (TGPRectF{536, 10, 80, 780}));
    EXPECT_DOUBLE_EQ(Band.Reserved(), 80);
    EXPECT_EQ(Band.Cell(1), (TGPRectF{546, 130, 60, 100}));
    Band.SetFloating(true);
    EXPECT_DOUBLE_EQ(Band.Reserved(), 0);
    Band.SetFloating(false);
    EXPECT_FALSE(Band.SetVisible(true)) << "no change";
    EXPECT_TRUE(Band.SetVisible(false));
    EXPECT_DOUBLE_EQ(Band.Reserved(), 0);
    EXPECT_EQ(Band.Cell(0), (TGPRectF{10, 10, 60, 100})) << "hidden, the cells start at the corner";
    EXPECT_EQ(Changes, 5) << "each change announced once, none for a value kept";
}

TEST_F(BandAlone, ScrollsWithinItsRangeAndMovesTheCellsWithIt) {
    EXPECT_DOUBLE_EQ(Band.MaxScrollPos(), 64);
    EXPECT_TRUE(Band.CanScrollRight());
    EXPECT_FALSE(Band.CanScrollLeft() || Band.CanScrollUp() || Band.CanScrollDown());
    Band.ScrollTo(500);
    EXPECT_DOUBLE_EQ(Band.ScrollPos(), 64);
    EXPECT_FLOAT_EQ(Items.Items(0)->ThumbItemRect().X, 20 - 64);
    EXPECT_TRUE(Band.CanScrollLeft());
    EXPECT_FALSE(Band.CanScrollRight());
    Band.ScrollTo(-5);
    EXPECT_DOUBLE_EQ(Band.ScrollPos(), 0);

    // The last cell (570 .. 670) comes in to end 10 before the band's end at 616; the first back to 20.
    Band.ScrollToCell(Items.Items(5)->ThumbItemRect());
    EXPECT_DOUBLE_EQ(Band.ScrollPos(), 64);
    Band.ScrollToCell(Items.Items(0)->ThumbItemRect());
    EXPECT_DOUBLE_EQ(Band.ScrollPos(), 0);
}

TEST_F(BandAlone, AHeldHandleRepeatsFromTheTenthTickAndAClickScrollsOneCell) {
    const TGPRectF right = Band.HandleRect(hsRight);
    const QPointF centre(right.X + right.Width / 2, right.Y + right.Height / 2);
    EXPECT_TRUE(Band.HoverHandles(centre));
    EXPECT_TRUE(Band.HandleHover(hsRight));
    Band.PressHandles(centre);
    EXPECT_TRUE(Band.HandleDown(hsRight));
    for (int tick = 1; tick < 10; ++tick)
        Band.HandleTimerEvent();
    EXPECT_DOUBLE_EQ(Band.ScrollPos(), 0);
    Band.HandleTimerEvent();
    EXPECT_DOUBLE_EQ(Band.ScrollPos(), 64) << "one cell of 110, held at the end";
    EXPECT_TRUE(Band.ReleaseHandles());
    EXPECT_DOUBLE_EQ(Band.ScrollPos(), 64) << "the hold has scrolled already";
    EXPECT_FALSE(Band.HandleDown(hsRight));

    const TGPRectF left = Band.HandleRect(hsLeft);
    Band.PressHandles(QPointF(left.X + left.Width / 2, left.Y + left.Height / 2));
    EXPECT_TRUE(Band.ReleaseHandles());
    EXPECT_DOUBLE_EQ(Band.ScrollPos(), 0) << "a click scrolls one cell back";
    EXPECT_FALSE(Band.ReleaseHandles()) << "no handle held";
}

TEST_F(BandAlone, FindsTheSelectableThumbnailUnderAPointInsideTheBand) {
    EXPECT_EQ(Band.ItemAt(240, 680), 2);
    EXPECT_EQ(Band.ItemAt(340, 780), 2) << "edges included";
    EXPECT_EQ(Band.ItemAt(345, 700), -1) << "between two cells";
    EXPECT_EQ(Band.ItemAt(600, 700), 5);
    Items.Items(4)->SetLayout({}, {}, Band.Cell(4), TGPRectF{700, 711.5f, 77, 37});
    EXPECT_EQ(Band.ItemAt(500, 700), -1) << "a thumbnail that does not show in the band";
    Items.Items(2)->SetEnabled(false);
    EXPECT_EQ(Band.ItemAt(300, 700), -1);
    EXPECT_TRUE(Band.SetHoveredItem(3));
    EXPECT_FALSE(Band.SetHoveredItem(3));
    EXPECT_EQ(Band.HoveredItem(), 3);
}

} // namespace
} // namespace lanterna
