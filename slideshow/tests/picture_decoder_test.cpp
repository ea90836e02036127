#include "slideshow/internal/picture_decoder.h"
#include "slideshow/internal/text_render.h"

#include <gtest/gtest.h>

namespace lanterna {
namespace {

TEST(PictureDecoder, FitWithinShrinksKeepingProportionsButNeverEnlarges) {
    EXPECT_EQ(FitWithin(QSize(4000, 3000), QSize(1920, 1080)), QSize(1440, 1080));
    EXPECT_EQ(FitWithin(QSize(3000, 1000), QSize(1920, 1080)), QSize(1920, 640));
    EXPECT_EQ(FitWithin(QSize(640, 480), QSize(1920, 1080)), QSize(640, 480));
    EXPECT_EQ(FitWithin(QSize(10000, 1), QSize(100, 100)), QSize(100, 1));
}

TEST(PictureDecoder, APictureIsDecodedAtItsDrawnSizeWhenThatFitsAndIsOpaqueWhenItCanBe) {
    EXPECT_EQ(DecodeSize(QSize(4000, 3000), QSize(1920, 1080), QSize(1420, 1065)), QSize(1420, 1065));
    EXPECT_EQ(DecodeSize(QSize(4000, 3000), QSize(1920, 1080), QSize()), QSize(1440, 1080));
    EXPECT_EQ(DecodeSize(QSize(4000, 3000), QSize(1920, 1080), QSize(1441, 1000)), QSize(1440, 1080))
        << "never wider than the bound allows";
    EXPECT_EQ(DecodeSize(QSize(400, 300), QSize(1920, 1080), QSize(800, 600)), QSize(400, 300))
        << "never enlarged";

    QImage translucent(8, 6, QImage::Format_ARGB32);
    translucent.fill(QColor(10, 20, 30, 255));
    EXPECT_EQ(DrawableBitmap(translucent).format(), QImage::Format_RGB32);
    translucent.setPixelColor(7, 5, QColor(10, 20, 30, 254));
    EXPECT_EQ(DrawableBitmap(translucent).format(), QImage::Format_ARGB32_Premultiplied);
}

TEST(PictureDecoder, BytesThatHoldNoPictureHaveNoSize) {
    EXPECT_EQ(PictureSize(QByteArray()), QSize());
    EXPECT_EQ(PictureSize(QByteArray("plain text, no picture")), QSize());
    EXPECT_TRUE(DecodePicture(QByteArray("plain text"), QSize(), QSize(100, 100)).isNull());
}

TEST(ImageTextLayout, TextOnEachSideOfThePicture) {
    const QSize picture(100, 50), text(30, 20);
    const TImageTextLayout top = LayoutImageText(picture, text, tlTop);
    EXPECT_EQ(top.Bitmap, QSize(100, 74));
    EXPECT_EQ(top.TextRect, (TGPRectF{2, 2, 96, 20}));
    EXPECT_EQ(top.PictureRect, (TGPRectF{0, 22, 100, 50}));
    const TImageTextLayout bottom = LayoutImageText(picture, text, tlBottom);
    EXPECT_EQ(bottom.TextRect, (TGPRectF{2, 52, 96, 20}));
    EXPECT_EQ(bottom.PictureRect, (TGPRectF{0, 0, 100, 50}));
    const TImageTextLayout left = LayoutImageText(picture, text, tlLeft);
    EXPECT_EQ(left.Bitmap, QSize(134, 50));
    EXPECT_EQ(left.TextRect, (TGPRectF{2, 2, 30, 46}));
    EXPECT_EQ(left.PictureRect, (TGPRectF{32, 0, 100, 50}));
    const TImageTextLayout right = LayoutImageText(picture, text, tlRight);
    EXPECT_EQ(right.TextRect, (TGPRectF{102, 2, 30, 46}));
    EXPECT_EQ(right.PictureRect, (TGPRectF{0, 0, 100, 50}));
    // A text wider or taller than the picture widens the bitmap; the picture is centred across.
    const TImageTextLayout wide = LayoutImageText(QSize(10, 10), QSize(30, 80), tlBottom);
    EXPECT_EQ(wide.Bitmap, QSize(34, 94));
    EXPECT_EQ(wide.PictureRect, (TGPRectF{12, 0, 10, 10}));
    EXPECT_EQ(LayoutImageText(QSize(10, 10), QSize(30, 80), tlRight).Bitmap, QSize(44, 84));
}

} // namespace
} // namespace lanterna
