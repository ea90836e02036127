#include "slideshow/tests/slide_show_test_support.h"

#include "drawing/fill.h"

#include <gtest/gtest.h>

namespace lanterna::testing {
namespace {

TEST(Appearance, ColorTonesColourTheBackgroundAndSelectionFills) {
    TStillShow still;
    TColorTones tones;
    tones.Background = {clNavy, clTeal, clWhite};
    tones.Selected = {clOlive, clMaroon, clWhite};
    tones.Hover = {clRed, clRed, clRed};
    still.Show.SetColorTones(tones);
    for (const TFill* fill :
         {still.Show.Fill(), still.Show.ThumbNailHolderFill(), still.Show.PlaceHolderFill()}) {
        EXPECT_EQ(fill->Color(), clNavy);
        EXPECT_EQ(fill->ColorTo(), clNavy);
        EXPECT_EQ(fill->BorderColor(), clTeal);
    }
    const TFill* selected = still.Show.ThumbNailSelectedFill();
    EXPECT_EQ(selected->Color(), clOlive);
    EXPECT_EQ(selected->ColorMirrorTo(), clOlive);
    EXPECT_EQ(selected->BorderColor(), clMaroon);
    EXPECT_EQ(still.Show.DescriptionFill()->Color(), clWhite);
}

TEST(Appearance, ComponentStylesComeFromTheBuiltInTable) {
    TStillShow still;
    TSlideShow& show = still.Show;
    show.SetComponentStyle(4);
    const TColor dark = show.Fill()->Color();
    EXPECT_NE(dark, clWhite);
    EXPECT_EQ(show.ThumbNailSelectedFill()->Glow(), gmGradient);
    EXPECT_EQ(show.ThumbNailSelectedFill()->Rounding(), 2);
    show.SetComponentStyle(1);
    EXPECT_NE(show.Fill()->Color(), dark);
    show.SetComponentStyle(99);
    show.SetComponentStyle(-1);
    EXPECT_NE(show.Fill()->Color(), dark);
    show.SetComponentStyle(4);
    EXPECT_EQ(show.Fill()->Color(), dark);
}

TEST(Appearance, AssignedFillsAreCopiesAndRepaintTheControl) {
    TStillShow still;
    TFill fill;
    fill.SetColor(clRed);
    fill.SetGradientType(gtSolid);
    fill.SetColorTo(clNone);
    still.Show.SetFill(fill);
    EXPECT_NE(still.Show.Fill(), &fill);
    EXPECT_EQ(still.Show.Fill()->Color(), clRed);
    fill.SetColor(clBlue);
    EXPECT_EQ(still.Show.Fill()->Color(), clRed);

    still.Show.resize(60, 40);
    still.Show.SetThumbNails(false);
    const QImage painted = still.Show.grab().toImage();
    EXPECT_EQ(painted.pixel(30, 20), QColor(Qt::red).rgb());
}

TEST(Appearance, SettledSlideIsPaintedOverItsPlaceholder) {
    QTemporaryDir dir;
    WritePicture(dir.filePath("p.png"), 100, 80, Qt::red);
    TStillShow still;
    TSlideShow& show = still.Show;
    show.SetThumbNails(false);
    show.Fill()->SetColor(clBlue);
    show.Items()->Add()->SetLocation(dir.filePath("p.png"));
    ASSERT_TRUE(WaitLoaded(show));
    ASSERT_EQ(show.Items()->Items(0)->ItemRect(), (TGPRectF{200, 160, 100, 80}));
    const QImage painted = show.grab().toImage();
    EXPECT_EQ(painted.pixel(250, 200), QColor(Qt::red).rgb());
    EXPECT_EQ(painted.pixel(180, 200), QColor(Qt::white).rgb());
    EXPECT_EQ(painted.pixel(250, 100), QColor(Qt::blue).rgb());

    show.SetPlaceHolder(false);
    EXPECT_EQ(show.grab().toImage().pixel(180, 200), QColor(Qt::blue).rgb());
}

} // namespace
} // namespace lanterna::testing
