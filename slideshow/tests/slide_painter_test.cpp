#include "slideshow/slide_painter.h"

#include "paint_test_support.h"

#include <QFontMetricsF>
#include <gtest/gtest.h>

namespace lanterna {
namespace {

using namespace lanterna::testing;

void SolidFill(TFill& fill, TColor color) {
    fill.SetGradientType(gtSolid);
    fill.SetColor(color);
    fill.SetColorTo(color);
    fill.SetBorderColor(clNone);
}

TEST(BackgroundCache, RendersOnceAndAgainOnlyAfterInvalidation) {
    TFill fill;
    SolidFill(fill, clRed);
    TBackgroundCache cache;
    EXPECT_FALSE(cache.Valid());

    const auto paint = [&](int w, int h) {
        QImage canvas = Canvas(w, h, qRgb(0, 0, 0));
        {
            TGPGraphics g(canvas);
            cache.Draw(g, w, h, fill);
        }
        return canvas;
    };
    QImage first = paint(200, 100);
    EXPECT_TRUE(cache.Valid());
    EXPECT_EQ(first.pixel(10, 10), qRgb(255, 0, 0));
    EXPECT_EQ(first.pixel(198, 98), qRgb(255, 0, 0));
    EXPECT_EQ(first.pixel(199, 50), qRgb(0, 0, 0)) << "the fill covers the size less one pixel";
    EXPECT_EQ(first.pixel(50, 99), qRgb(0, 0, 0));

    SolidFill(fill, clBlue);
    EXPECT_EQ(paint(200, 100).pixel(10, 10), qRgb(255, 0, 0)) << "copied from the cache, not filled again";

    cache.Invalidate();
    const QImage resized = paint(300, 150);
    EXPECT_EQ(resized.pixel(10, 10), qRgb(0, 0, 255));
    EXPECT_EQ(resized.pixel(290, 140), qRgb(0, 0, 255)) << "rendered at the new size";
    ASSERT_NE(cache.Bitmap(), nullptr);
    EXPECT_EQ(cache.Bitmap()->GetWidth(), 300);
}

TEST(BackgroundCache, LeavesTheCoveredPixelsAloneAndCopiesAllOthers) {
    TFill fill;
    SolidFill(fill, clRed);
    TBackgroundCache cache;
    const auto paint = [&](const QRect& covered) {
        QImage canvas = Canvas(120, 80, qRgb(0, 0, 0));
        {
            TGPGraphics g(canvas);
            cache.Draw(g, 120, 80, fill, covered);
        }
        return canvas;
    };
    const QImage whole = paint({});
    for (const QRect& covered : {QRect(30, 20, 50, 40), QRect(0, 0, 120, 30), QRect(100, 50, 60, 60)}) {
        const QImage spared = paint(covered);
        for (int y = 0; y < 80; ++y)
            for (int x = 0; x < 120; ++x)
                ASSERT_EQ(spared.pixel(x, y), covered.contains(x, y) ? qRgb(0, 0, 0) : whole.pixel(x, y))
                    << x << ", " << y;
    }
}

TEST(BackgroundCache, AControlWithoutAreaHasNoBitmapAndDrawsNothing) {
    TFill fill;
    SolidFill(fill, clRed);
    TBackgroundCache cache;
    QImage canvas = Canvas(50, 50, qRgb(0, 0, 0));
    {
        TGPGraphics g(canvas);
        cache.Draw(g, 0, 50, fill);
    }
    EXPECT_TRUE(cache.Valid());
    EXPECT_EQ(cache.Bitmap(), nullptr);
    EXPECT_EQ(canvas, Canvas(50, 50, qRgb(0, 0, 0)));
}

TEST(SlidePicture, OnlyPicturesBelowFullOpacityThatAreOutgoingOrLoadingWithEffectAnimate) {
    const TPictureAnimation withEffect{true, true, saBottomToTop};
    const TPictureAnimation withoutEffect{true, false, saBottomToTop};
    EXPECT_FALSE(Animates(255, true, withEffect));
    EXPECT_TRUE(Animates(254, false, withEffect));
    EXPECT_TRUE(Animates(0, true, withoutEffect));
    EXPECT_FALSE(Animates(100, false, withoutEffect)) << "the incoming picture is shown whole at once";
}

struct Drawn {
    QImage Canvas;
    bool More;
};

Drawn Draw(const QImage& picture, std::uint8_t opacity, bool animated, const TPictureAnimation& animation) {
    Drawn d{Canvas(300, 300), false};
    {
        TGPGraphics g(d.Canvas);
        d.More = DrawSlidePicture(g, picture, TGPRectF{50, 50, 200, 200}, opacity, animated, animation);
    }
    return d;
}

TEST(SlidePicture, APlainPictureIsStretchedAtFullAlphaWhateverItsOpacity) {
    QImage picture = Canvas(20, 10, kTopLeft);
    const Drawn d = Draw(picture, 60, false, {true, false, saBottomToTop});
    EXPECT_TRUE(d.More);
    EXPECT_EQ(d.Canvas.pixel(55, 55), kTopLeft);
    EXPECT_EQ(d.Canvas.pixel(245, 245), kTopLeft);
    EXPECT_EQ(d.Canvas.pixel(45, 150), kBlank);
    EXPECT_EQ(d.Canvas.pixel(255, 150), kBlank);
}

TEST(SlidePicture, FadingTurnsTheOpacityIntoAlphaAndMovementFollowsIt) {
    const QImage picture = Canvas(200, 200, qRgb(0, 0, 0));
    const Drawn faded = Draw(picture, 102, true, {true, true, saBottomToTop});
    // 40 % black over white, shifted down by 60 % of the height.
    EXPECT_TRUE(SameColour(faded.Canvas.pixel(150, 200), qRgb(153, 153, 153), 2));
    EXPECT_EQ(faded.Canvas.pixel(150, 150), kBlank);

    const Drawn solid = Draw(picture, 102, true, {false, true, saBottomToTop});
    EXPECT_EQ(solid.Canvas.pixel(150, 200), qRgb(0, 0, 0)) << "without fading the alpha stays whole";
    EXPECT_EQ(solid.Canvas.pixel(150, 150), kBlank);
}

TEST(SlidePicture, ProgressZeroNoEffectAndNoPictureDrawNothing) {
    const QImage picture = Canvas(20, 20, qRgb(0, 0, 0));
    const Drawn gone = Draw(picture, 0, true, {true, true, saFadeInOut});
    EXPECT_FALSE(gone.More) << "a picture at progress 0 takes its description with it";
    EXPECT_EQ(gone.Canvas, Canvas(300, 300));

    const Drawn none = Draw(picture, 128, true, {true, true, -1});
    EXPECT_TRUE(none.More);
    EXPECT_EQ(none.Canvas, Canvas(300, 300));

    for (bool animated : {true, false}) {
        const Drawn missing = Draw(QImage(), 128, animated, {true, true, saFadeInOut});
        EXPECT_TRUE(missing.More);
        EXPECT_EQ(missing.Canvas, Canvas(300, 300));
    }
}

// The rows and columns of the canvas that hold the band colour and the text colour.
struct Band {
    QRect Fill, Ink;
};

Band DescribeInto(TDescriptionPosition position, const QString& text) {
    TFill fill;
    SolidFill(fill, clRed);
    TTextFont font;
    font.Font = QFont(QStringLiteral("DejaVu Sans"));
    font.Font.setPixelSize(20);
    font.Color = clBlack;
    QImage canvas = Canvas(500, 400);
    {
        TGPGraphics g(canvas);
        DrawDescription(g, text, font, position, TGPRectF{50, 60, 400, 300}, fill);
    }
    Band band;
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x) {
            const QRgb c = canvas.pixel(x, y);
            if (c == qRgb(255, 0, 0))
                band.Fill |= QRect(x, y, 1, 1);
            else if (c != kBlank && qRed(c) < 128)
                band.Ink |= QRect(x, y, 1, 1);
        }
    return band;
}

TEST(Description, ABottomCentredBandSpansThePictureAndFitsTheTextWithFivePixelsAboveAndBelow) {
    const Band band = DescribeInto(dpBottomCenter, QStringLiteral("Holiday"));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(20);
    const double lineHeight = QFontMetricsF(font).height();
    EXPECT_EQ(band.Fill.left(), 50);
    EXPECT_EQ(band.Fill.right(), 449);
    EXPECT_EQ(band.Fill.bottom(), 359);
    EXPECT_NEAR(band.Fill.height(), lineHeight + 10, 2);
    ASSERT_FALSE(band.Ink.isEmpty());
    EXPECT_TRUE(band.Fill.contains(band.Ink));
    EXPECT_NEAR(band.Ink.center().x(), 250, 3) << "centred across";
    EXPECT_NEAR(band.Ink.center().y(), band.Fill.center().y(), 4) << "centred up and down";
}

TEST(Description, TopBandsAlignTheTextNearOrFar) {
    const Band left = DescribeInto(dpTopLeft, QStringLiteral("Left"));
    EXPECT_EQ(left.Fill.top(), 60);
    EXPECT_LT(left.Ink.left() - 50, 6);

    const Band right = DescribeInto(dpTopRight, QStringLiteral("Right"));
    EXPECT_EQ(right.Fill.top(), 60);
    EXPECT_LT(449 - right.Ink.right(), 6);

    const Band bottomLeft = DescribeInto(dpBottomLeft, QStringLiteral("Low"));
    EXPECT_EQ(bottomLeft.Fill.bottom(), 359);
    EXPECT_LT(bottomLeft.Ink.left() - 50, 6);
}

TEST(Description, AnEmptyDescriptionDrawsNoBand) {
    const Band band = DescribeInto(dpBottomCenter, QString());
    EXPECT_TRUE(band.Fill.isEmpty());
    EXPECT_TRUE(band.Ink.isEmpty());
}

} // namespace
} // namespace lanterna
