#include "slideshow/internal/scaled_pictures.h"

#include <gtest/gtest.h>

#include <memory>

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

    // A copy is marked opaque only when every pixel is: one translucent corner keeps it premultiplied.
    EXPECT_EQ(first.format(), QImage::Format_RGB32);
    QImage corner = Solid(400, 300, qRgb(10, 200, 30));
    for (int y = 290; y < 300; ++y)
        for (int x = 390; x < 400; ++x)
            corner.setPixel(x, y, qRgba(0, 50, 0, 100));
    const QImage translucent = cache.Scaled(corner, {0, 0, 200, 150});
    EXPECT_EQ(translucent.format(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(qAlpha(translucent.pixel(198, 148)), 100);
    EXPECT_EQ(translucent.pixel(100, 75), qRgb(10, 200, 30));
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

TEST(ScaledPictures, MakesACopyAheadThatScaledThenHandsOut) {
    TScaledPictures cache;
    QImage picture = Solid(800, 600, qRgb(200, 40, 90));
    const TGPRectF r{0, 0, 320, 240};
    cache.Prepare(picture, r);
    // The owner changes its picture while the copy is being made: the copy is of the picture as it was,
    // and the changed picture gets a copy of its own.
    const QImage before = picture;
    picture.fill(qRgb(5, 100, 250));
    cache.Finish();
    EXPECT_FALSE(cache.Preparing());
    const QImage made = cache.Scaled(before, r);
    ASSERT_EQ(made.size(), QSize(320, 240));
    EXPECT_EQ(made.pixel(160, 120), qRgb(200, 40, 90));
    EXPECT_EQ(made.format(), QImage::Format_RGB32) << "the copy of an opaque picture says it is opaque";
    EXPECT_EQ(cache.Scaled(before, r).cacheKey(), made.cacheKey());
    EXPECT_EQ(cache.Scaled(picture, r).pixel(10, 10), qRgb(5, 100, 250));

    // What is kept, or needs no scaling and no coarse copy, starts no work.
    cache.Prepare(before, r);
    cache.Prepare(picture, {0, 0, 800, 600}, false);
    cache.Prepare(QImage(), r);
    EXPECT_FALSE(cache.Preparing());
    EXPECT_EQ(cache.Scaled(before, r).cacheKey(), made.cacheKey());
}

TEST(ScaledPictures, APictureDecodedAtItsDrawnSizeGetsOnlyACoarseCopy) {
    TScaledPictures cache;
    const QImage picture = Solid(400, 300, qRgb(30, 60, 90));
    const TGPRectF drawn{5, 5, 400, 300};
    EXPECT_TRUE(cache.Kept(picture, drawn)) << "drawn as it is";
    EXPECT_FALSE(cache.Kept(picture, drawn, true));
    cache.Prepare(picture, drawn);
    EXPECT_TRUE(cache.Kept(picture, drawn, true));
    cache.Finish();
    EXPECT_EQ(cache.Coarse(picture, drawn).size(), QSize(200, 150));
    EXPECT_EQ(cache.Scaled(picture, drawn).cacheKey(), picture.cacheKey()) << "no scaled copy beside it";
    EXPECT_TRUE(cache.Kept(picture, drawn, true));
    cache.Prepare(picture, drawn);
    EXPECT_FALSE(cache.Preparing()) << "the coarse copy is kept";
}

TEST(ScaledPictures, ACopyMadeAheadComesWithACoarseOneAndAKeptCopyGetsItsOwnLater) {
    TScaledPictures cache;
    // Columns of two colours: the coarse copy averages each pair of them.
    QImage picture(801, 600, QImage::Format_ARGB32_Premultiplied);
    for (int x = 0; x < picture.width(); ++x)
        for (int y = 0; y < picture.height(); ++y)
            picture.setPixel(x, y, x % 4 < 2 ? qRgb(200, 0, 0) : qRgb(0, 0, 200));
    const TGPRectF ahead{0, 0, 401, 300};
    EXPECT_TRUE(cache.Coarse(picture, ahead).isNull()) << "nothing asked for yet";
    cache.Prepare(picture, ahead);
    cache.Finish();
    const QImage coarse = cache.Coarse(picture, ahead);
    ASSERT_EQ(coarse.size(), QSize(201, 150)) << "half of 401 x 300, rounded up";
    EXPECT_EQ(coarse.format(), QImage::Format_RGB32);
    EXPECT_EQ(coarse.pixel(100, 75), cache.Scaled(picture, ahead)
                                         .scaled(201, 150, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                         .pixel(100, 75));

    // A copy made on the spot has no coarse copy until one is asked for; then the copy stays as it is.
    const TGPRectF spot{0, 0, 200, 150};
    const qint64 made = cache.Scaled(picture, spot).cacheKey();
    EXPECT_TRUE(cache.Coarse(picture, spot).isNull());
    cache.Prepare(picture, spot);
    EXPECT_EQ(cache.Scaled(picture, spot).cacheKey(), made) << "the kept copy is handed out meanwhile";
    cache.Finish();
    EXPECT_EQ(cache.Coarse(picture, spot).size(), QSize(100, 75));
    EXPECT_EQ(cache.Scaled(picture, spot).cacheKey(), made);
    cache.Prepare(picture, spot);
    EXPECT_FALSE(cache.Preparing()) << "both copies are kept";

    // Without a coarse copy asked for, none is made; asked for later, it is made alone.
    const TGPRectF plain{0, 0, 300, 200};
    cache.Prepare(picture, plain, false);
    cache.Finish();
    const qint64 plainCopy = cache.Scaled(picture, plain).cacheKey();
    EXPECT_TRUE(cache.Coarse(picture, plain).isNull());
    cache.Prepare(picture, plain, false);
    EXPECT_FALSE(cache.Preparing());
    cache.Prepare(picture, plain, true);
    cache.Finish();
    EXPECT_EQ(cache.Coarse(picture, plain).size(), QSize(150, 100));
    EXPECT_EQ(cache.Scaled(picture, plain).cacheKey(), plainCopy);
}

TEST(ScaledPictures, DroppingCopiesStillBeingMadeIsSafe) {
    // More copies ahead than are kept, and the cache gone before they are done.
    auto cache = std::make_unique<TScaledPictures>(2);
    for (int i = 0; i < 4; ++i)
        cache->Prepare(Solid(1200, 900, qRgb(i * 60, 0, 0)), {0, 0, 300, 200});
    cache.reset();
    TScaledPictures kept(1);
    const QImage picture = Solid(1200, 900, qRgb(0, 0, 70));
    kept.Prepare(picture, {0, 0, 300, 200});
    kept.Clear();
    EXPECT_FALSE(kept.Preparing());
    EXPECT_EQ(kept.Scaled(picture, {0, 0, 300, 200}).pixel(5, 5), qRgb(0, 0, 70));
}

} // namespace
} // namespace lanterna
