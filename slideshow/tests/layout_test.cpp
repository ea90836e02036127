#include "slideshow/tests/slide_show_test_support.h"

#include "slideshow/internal/aspect_fit.h"

#include <QWheelEvent>
#include <gtest/gtest.h>

namespace lanterna::testing {
namespace {

TEST(AspectSize, FitsByModeRatioAndPercentage) {
    const TAspectRule normal{true, imNormal}, stretch{true, imStretch};
    EXPECT_EQ(AspectSize(normal, 400, 300, 1000, 700, 100), (TSizeD{400, 300}));
    const TSizeD stretched = AspectSize(stretch, 400, 300, 1000, 700, 100);
    EXPECT_NEAR(stretched.Width, 933.33, 0.01);
    EXPECT_DOUBLE_EQ(stretched.Height, 700);
    for (TSlideShowItemMode mode : {imNormal, imStretch})
        EXPECT_EQ(AspectSize({false, mode}, 400, 300, 1000, 700, 100), (TSizeD{1000, 700}));
    // A relatively taller box fits the width; a picture larger than the box shrinks in any mode.
    EXPECT_EQ(AspectSize(normal, 2000, 1000, 1000, 700, 100), (TSizeD{1000, 500}));
    EXPECT_EQ(AspectSize(normal, 2000, 1000, 1000, 700, 50), (TSizeD{500, 250}));
    EXPECT_EQ(AspectSize(stretch, 400, 300, 800, 600, 100), (TSizeD{800, 600}));
    EXPECT_EQ(AspectSize(normal, 0, 300, 1000, 700, 100), (TSizeD{}));
    EXPECT_EQ(AspectSize(normal, 400, 300, 1000, -1, 100), (TSizeD{}));
}

TEST(ContentRect, MarginsSpacingAndTheThumbnailBandOnEachSide) {
    TStillShow still;
    TSlideShow& show = still.Show;
    show.resize(1920, 1080);
    show.SetThumbNails(false);
    EXPECT_EQ(show.ContentRect(), (TGPRectF{50, 50, 1820, 980}));

    show.SetThumbNails(true);
    // Band thickness: holder margins 3 + 3, spacing 2 x 10, thumbnail 100.
    EXPECT_EQ(show.ContentRect(), (TGPRectF{50, 50, 1820, 854}));
    show.SetThumbNailPosition(tpTop);
    EXPECT_EQ(show.ContentRect(), (TGPRectF{50, 176, 1820, 854}));
    show.SetThumbNailPosition(tpLeft);
    show.SetThumbNailWidth(60);
    EXPECT_EQ(show.ContentRect(), (TGPRectF{136, 50, 1734, 980}));
    show.SetThumbNailPosition(tpRight);
    EXPECT_EQ(show.ContentRect(), (TGPRectF{50, 50, 1734, 980}));
    show.SetThumbNailsFloating(true);
    EXPECT_EQ(show.ContentRect(), (TGPRectF{50, 50, 1820, 980}));

    show.Margin()->SetBounds(1, 2, 3, 4);
    show.SetPlaceHolderSpacing(0);
    EXPECT_EQ(show.ContentRect(), (TGPRectF{1, 2, 1916, 1074}));
}

TEST(ContentRect, BandRectangleOnEachSide) {
    TStillShow still;
    TSlideShow& show = still.Show;
    show.resize(1000, 800);
    EXPECT_EQ(show.Band().HolderRect(), (TGPRectF{13, 667, 974, 120}));
    show.SetThumbNailPosition(tpTop);
    EXPECT_EQ(show.Band().HolderRect(), (TGPRectF{13, 13, 974, 120}));
    show.SetThumbNailPosition(tpLeft);
    EXPECT_EQ(show.Band().HolderRect(), (TGPRectF{13, 13, 120, 774}));
    show.SetThumbNailPosition(tpRight);
    EXPECT_EQ(show.Band().HolderRect(), (TGPRectF{867, 13, 120, 774}));
}

TEST(SlideShowProperties, DefaultsAndStretchPercentageClamping) {
    TStillShow still;
    TSlideShow& show = still.Show;
    EXPECT_EQ(show.size(), QSize(500, 400));
    EXPECT_EQ(show.PlaceHolderSpacing(), 40);
    EXPECT_EQ(show.Margin()->Left() + show.Margin()->Bottom(), 20);
    EXPECT_EQ(show.ThumbNailHolderMargin()->Top(), 3);
    EXPECT_EQ(show.ItemMode(), imNormal);
    EXPECT_EQ(show.RotationInterval(), 3500);
    EXPECT_EQ(show.Transitions(), (TSlideShowTransitions{stFade, stPlaceHolder}));
    EXPECT_EQ(show.Animations(), TSlideShowAnimations{saLeftToRight});
    EXPECT_EQ(show.FadeAnimationFactor(), 6);
    EXPECT_EQ(show.ThumbNailPosition(), tpBottom);
    EXPECT_EQ(show.ThumbNailHandles()->Size(), 35);
    EXPECT_EQ(show.Version(), "1.1.0.0");
    show.SetVersion("2");
    EXPECT_EQ(show.Version(), "1.1.0.0");

    show.SetStretchPercentage(30);
    EXPECT_EQ(show.StretchPercentage(), 50);
    show.SetStretchPercentage(120);
    EXPECT_EQ(show.StretchPercentage(), 100);
    show.SetStretchPercentage(75);
    EXPECT_EQ(show.StretchPercentage(), 75);

    show.SetRotationInterval(6000);
    EXPECT_EQ(show.RotateTimer()->Interval(), 6000);
    show.SetRotation(true);
    EXPECT_TRUE(show.RotateTimer()->Enabled());
}

// Slides of different picture sizes in a 1100 x 800 control, whose content box is 1000 x 700.
class Layout : public ::testing::Test {
protected:
    void Load(int count) {
        Show().resize(1100, 800);
        Show().SetThumbNails(false);
        for (int i = 0; i < count; ++i) {
            const QString path = Dir.filePath(QString("p%1.png").arg(i, 2, 10, QChar('0')));
            WritePicture(path, 400 - 10 * i, 300);
            Show().Items()->Add()->SetLocation(path);
        }
        ASSERT_TRUE(WaitLoaded(Show()));
    }
    TSlideShow& Show() { return Still.Show; }
    const TSlideShowItem& Item(int i) { return *Show().Items()->Items(i); }
    QTemporaryDir Dir;
    TStillShow Still;
};

TEST_F(Layout, PictureCentredAndFramedByThePlaceholder) {
    Load(1);
    EXPECT_EQ(Item(0).ItemRect(), (TGPRectF{350, 250, 400, 300}));
    EXPECT_EQ(Item(0).PlaceHolderRect(), (TGPRectF{310, 210, 480, 380}));
    EXPECT_EQ(Show().Transition().CurrentPlaceHolder(), Item(0).PlaceHolderRect());

    Show().SetItemMode(imStretch);
    EXPECT_NEAR(Item(0).ItemRect().Width, 933.33, 0.01);
    EXPECT_FLOAT_EQ(Item(0).ItemRect().Height, 700);

    Show().SetAspectRatio(false);
    EXPECT_EQ(Item(0).ItemRect(), (TGPRectF{50, 50, 1000, 700}));

    Show().SetPlaceHolderSpacing(20);
    EXPECT_EQ(Item(0).ItemRect(), (TGPRectF{30, 30, 1040, 740}));
    EXPECT_EQ(Item(0).PlaceHolderRect(), (TGPRectF{10, 10, 1080, 780}));
}

TEST_F(Layout, HiddenSlidesAndUpdatesKeepTheirRectangles) {
    Load(2);
    const TGPRectF before = Item(1).ItemRect();
    Show().Items()->Items(1)->SetVisible(false);
    Show().BeginUpdate();
    Show().Margin()->SetLeft(30);
    EXPECT_EQ(Item(0).ItemRect(), (TGPRectF{350, 250, 400, 300}));
    Show().EndUpdate();
    EXPECT_EQ(Item(0).ItemRect(), (TGPRectF{360, 250, 400, 300}));
    EXPECT_EQ(Item(1).ItemRect(), before);
}

TEST_F(Layout, ThumbnailCellsAndTheLongestScroll) {
    Load(10);
    Show().resize(626, 800);
    Show().SetThumbNails(true);
    ASSERT_TRUE(WaitLoaded(Show()));
    EXPECT_DOUBLE_EQ(Show().MaxScrollPos(), 510);
    EXPECT_EQ(Item(0).ThumbItemRect(), (TGPRectF{23, 677, 100, 100}));
    EXPECT_EQ(Item(3).ThumbItemRect(), (TGPRectF{353, 677, 100, 100}));
    // A 370 x 300 picture fitted into 100 x 100 is 100 x 81; the image is drawn 3 pixels smaller,
    // centred in what is left of the cell after 3 pixels.
    EXPECT_EQ(Item(3).Thumbnail().size(), QSize(100, 81));
    EXPECT_EQ(Item(3).ThumbRect(), (TGPRectF{353 + 3 - 1.5f, 677 + 3 + 8, 97, 78}));

    Show().ScrollTo(1000);
    EXPECT_DOUBLE_EQ(Show().ScrollPos(), 510);
    EXPECT_EQ(Item(0).ThumbItemRect().X, 23 - 510);
    Show().ScrollTo(-5);
    EXPECT_DOUBLE_EQ(Show().ScrollPos(), 0);

    // The wheel scrolls by its delta, one notch being 120 pixels; with a modifier key it does not.
    const auto wheel = [&](Qt::KeyboardModifiers modifiers) {
        QWheelEvent event(QPointF(300, 700), QPointF(300, 700), QPoint(), QPoint(0, -120), Qt::NoButton,
                          modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&Show(), &event);
    };
    wheel(Qt::NoModifier);
    EXPECT_DOUBLE_EQ(Show().ScrollPos(), 120);
    wheel(Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(Show().ScrollPos(), 120);
    Show().ScrollTo(0);

    // Selecting slide 7 scrolls until its cell ends one spacing before the band's end.
    Show().SetItemIndex(7);
    const TGPRectF band = Show().Band().HolderRect();
    EXPECT_FLOAT_EQ(Item(7).ThumbItemRect().X + 100 + 10, band.X + band.Width);
}

TEST_F(Layout, SelectionScrollsTheBandGeometryEvenWithThumbnailsOff) {
    Load(18);
    Show().resize(1920, 1080);
    EXPECT_EQ(Item(0).ThumbItemRect().X, 10);
    EXPECT_EQ(Item(17).ThumbItemRect().X, 1880);

    // Slide 5 lies inside the band: no scroll, so the placeholder stays for the transition to move.
    const TGPRectF start = Show().Transition().CurrentPlaceHolder();
    Show().SetItemIndex(5);
    EXPECT_DOUBLE_EQ(Show().ScrollPos(), 0);
    EXPECT_EQ(Show().Transition().CurrentPlaceHolder(), start);

    // Slide 0's cell starts left of the band (x 10 < 13): the scroll to 0 lays out again and the
    // placeholder stands at its target at once.
    Show().SetItemIndex(0);
    EXPECT_DOUBLE_EQ(Show().ScrollPos(), 0);
    EXPECT_EQ(Show().Transition().CurrentPlaceHolder(), Item(0).PlaceHolderRect());

    Show().SetItemIndex(16);
    EXPECT_DOUBLE_EQ(Show().ScrollPos(), 0);
    Show().SetItemIndex(17);
    EXPECT_DOUBLE_EQ(Show().ScrollPos(), 83);
    EXPECT_EQ(Show().Transition().CurrentPlaceHolder(), Item(17).PlaceHolderRect());
}

} // namespace
} // namespace lanterna::testing
