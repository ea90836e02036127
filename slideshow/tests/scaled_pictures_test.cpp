#include "slideshow/scaled_pictures.h"

#include <gtest/gtest.h>

namespace lanterna {
namespace {

QImage Solid(int w, int h, QRgb color) {
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(color);
    return image;
}

TEST(ScaledPictures, ScalesToTheRoundedRectangleAndReusesTheCopy) {
    TScaledPictures cache;
    const QImage picture = Solid(400, 300, qRgb(10, 200, 30));
    const QImage first = cache.Scaled(picture, {12.3f, 4.5f, 200.4f, 149.6f});
    EXPECT_EQ(first.size(), QSize(200, 150));
    EXPECT_EQ(first.pixel(100, 75), qRgb(10, 200, 30));
    EXPECT_EQ(cache.Scaled(picture, {0, 0, 199.6f, 150.2f}).cacheKey(), first.cacheKey())
        << "the same picture at the same size is not scaled again";
    EXPECT_NE(cache.Scaled(picture, {0, 0, 100, 75}).cacheKey(), first.cacheKey());
}

TEST(ScaledPictures, HandsBackThePictureWhenThereIsNothingToScale) {
    TScaledPictures cache;
    const QImage picture = Solid(40, 30, qRgb(1, 2, 3));
    EXPECT_EQ(cache.Scaled(picture, {5, 5, 40, 30}).cacheKey(), picture.cacheKey());
    EXPECT_EQ(cache.Scaled(picture, {5, 5, 0.4f, 30}).cacheKey(), picture.cacheKey());
    EXPECT_TRUE(cache.Scaled(QImage(), {0, 0, 10, 10}).isNull());
}

TEST(ScaledPictures, KeepsTheMostRecentlyUsedAndFollowsChangedPictures) {
    TScaledPictures cache(2);
    const TGPRectF r{0, 0, 20, 10};
    QImage a = Solid(40, 20, qRgb(255, 0, 0));
    const QImage b = Solid(40, 20, qRgb(0, 255, 0));
    const QImage c = Solid(40, 20, qRgb(0, 0, 255));
    const qint64 a1 = cache.Scaled(a, r).cacheKey();
    const qint64 b1 = cache.Scaled(b, r).cacheKey();
    EXPECT_EQ(cache.Scaled(a, r).cacheKey(), a1);
    cache.Scaled(c, r);
    EXPECT_EQ(cache.Scaled(a, r).cacheKey(), a1) << "used last, so kept";
    EXPECT_NE(cache.Scaled(b, r).cacheKey(), b1) << "used least recently, so dropped";

    a.fill(qRgb(9, 9, 9));
    const QImage changed = cache.Scaled(a, r);
    EXPECT_EQ(changed.pixel(5, 5), qRgb(9, 9, 9));
}

} // namespace
} // namespace lanterna
