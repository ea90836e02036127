#include "slideshow/picture_blit.h"
#include "slideshow/picture_blit_vector.h"

#include <QPainter>
#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace lanterna {
namespace {

QImage Noise(int w, int h, bool opaque) {
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    std::mt19937 random(w * 31 + h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int a = opaque ? 255 : int(random() % 256);
            image.setPixel(
                x, y, qRgba(int(random() % (a + 1)), int(random() % (a + 1)), int(random() % (a + 1)), a));
        }
    return image;
}

QImage Target(int w, int h) {
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(0xdeadbeef); // every pixel must be written over
    return image;
}

TEST(PictureBlit, AnUntransformedPictureIsCopiedExactlyAndOpacityScalesEveryChannel) {
    const QImage picture = Noise(37, 23, false);
    for (TSampling sampling : {smNearest, smBilinear}) {
        QImage target = Target(37, 23);
        ASSERT_TRUE(RenderTransformed(target, picture, QTransform(), 255, {.Sampling = sampling}));
        EXPECT_EQ(target, picture) << int(sampling);
        ASSERT_TRUE(RenderTransformed(target, picture, QTransform(), 128, {.Sampling = sampling}));
        for (int y = 0; y < 23; ++y)
            for (int x = 0; x < 37; ++x) {
                const QRgb a = picture.pixel(x, y), b = target.pixel(x, y);
                ASSERT_NEAR(qAlpha(b), qAlpha(a) * 128 / 255.0, 1) << x << ", " << y;
                ASSERT_NEAR(qGreen(b), qGreen(a) * 128 / 255.0, 1) << x << ", " << y;
            }
    }
}

TEST(PictureBlit, AQuarterTurnMovesEveryPixelWhereTheTurnTakesIt) {
    const int w = 29, h = 17;
    const QImage picture = Noise(w, h, true);
    // (u, v) goes to (h - v, u): clockwise by 90 degrees into an h x w target.
    const QTransform turn(0, 1, -1, 0, h, 0);
    for (bool vector : {false, true}) {
        QImage target = Target(h, w);
        ASSERT_TRUE(RenderTransformed(target, picture, turn, 255,
                                      {.Sampling = smNearest, .Antialiased = false, .Vector = vector}));
        for (int y = 0; y < w; ++y)
            for (int x = 0; x < h; ++x)
                ASSERT_EQ(target.pixel(x, y), picture.pixel(y, h - 1 - x)) << x << ", " << y << " " << vector;
    }
}

TEST(PictureBlit, TheVectorLoopGivesTheSamePixelsAsThePortableOne) {
    if (!VectorBlitAvailable())
        GTEST_SKIP() << "this processor has no wide vector loop";
    const QImage picture = Noise(150, 97, false);
    for (double degrees : {0.0, 17.0, 90.0, 143.5, 200.0, 331.0})
        for (double scale : {1.0, 0.37, 1.9})
            for (TSampling sampling : {smNearest, smBilinear}) {
                QTransform t;
                t.translate(101.3, 78.6).rotate(degrees).scale(scale, scale).translate(-75, -48.5);
                QImage portable = Target(203, 157), wide = Target(203, 157);
                ASSERT_TRUE(
                    RenderTransformed(portable, picture, t, 200, {.Sampling = sampling, .Vector = false}));
                ASSERT_TRUE(RenderTransformed(wide, picture, t, 200, {.Sampling = sampling, .Vector = true}));
                ASSERT_EQ(portable, wide)
                    << degrees << " degrees, scale " << scale << ", sampling " << int(sampling);
            }
}

TEST(PictureBlit, BlocksTakeThePixelAtTheirCentreAndLeaveNoTargetPixelUnwritten) {
    const QImage picture = Noise(40, 30, false);
    // At twice its size a block's centre lies in the middle of one picture pixel: every block is that
    // pixel, as nearest sampling gives it.
    const QTransform twice = QTransform::fromScale(2, 2);
    for (bool vector : {false, true}) {
        QImage blocks = Target(80, 61), nearest = Target(80, 61);
        ASSERT_TRUE(RenderTransformed(blocks, picture, twice, 255,
                                      {.Sampling = smBlocks, .Antialiased = false, .Vector = vector}));
        ASSERT_TRUE(RenderTransformed(nearest, picture, twice, 255,
                                      {.Sampling = smNearest, .Antialiased = false, .Vector = vector}));
        EXPECT_EQ(blocks, nearest) << "vector " << vector;
    }
    // Turned, the inside is made of 2 x 2 blocks of one pixel each.
    QTransform t;
    t.translate(60, 50).rotate(23).scale(1.7, 1.7).translate(-20, -15);
    QImage target = Target(120, 101);
    ASSERT_TRUE(RenderTransformed(target, picture, t, 255, {.Sampling = smBlocks}));
    const QTransform inverse = t.inverted();
    int inside = 0;
    for (int y = 0; y + 1 < target.height(); y += 2)
        for (int x = 0; x + 1 < target.width(); x += 2) {
            const QRectF block = inverse.mapRect(QRectF(x - 1, y - 1, 4, 4));
            if (!QRectF(0, 0, 40, 30).contains(block))
                continue;
            ++inside;
            const QPointF centre = inverse.map(QPointF(x + 1, y + 1));
            const QRgb expected = picture.pixel(int(centre.x()), int(centre.y()));
            for (int dy : {0, 1})
                for (int dx : {0, 1})
                    ASSERT_EQ(target.pixel(x + dx, y + dy), expected) << x + dx << ", " << y + dy;
        }
    EXPECT_GT(inside, 300);
    for (int y = 0; y < target.height(); ++y)
        for (int x = 0; x < target.width(); ++x)
            ASSERT_NE(target.pixel(x, y), 0xdeadbeefu) << x << ", " << y;
}

TEST(PictureBlit, AnOpaquePictureIsMixedWithTheTargetAsItWouldGoOverIt) {
    const QImage translucent = Noise(70, 45, true);
    // The same pixels, known to be opaque.
    const QImage opaque = translucent.convertToFormat(QImage::Format_RGB32);
    QTransform t;
    t.translate(50, 40).rotate(-41).scale(1.3, 1.3).translate(-35, -22.5);
    for (QImage::Format format : {QImage::Format_ARGB32_Premultiplied, QImage::Format_RGB32})
        for (TSampling sampling : {smNearest, smBilinear, smBlocks}) {
            SCOPED_TRACE(testing::Message() << "format " << int(format) << ", sampling " << int(sampling));
            QImage under(100, 85, format);
            for (int y = 0; y < 85; ++y)
                for (int x = 0; x < 100; ++x)
                    under.setPixel(x, y, qRgb(x * 2, y * 3, 200 - x));
            QImage over = under, mixed = under;
            ASSERT_TRUE(RenderTransformed(over, translucent, t, 150, {.Sampling = sampling, .Blend = true}));
            ASSERT_TRUE(RenderTransformed(mixed, opaque, t, 150, {.Sampling = sampling, .Blend = true}));
            for (int y = 0; y < 85; ++y)
                for (int x = 0; x < 100; ++x) {
                    const QRgb a = over.pixel(x, y), b = mixed.pixel(x, y);
                    ASSERT_EQ(qAlpha(b), 255) << x << ", " << y;
                    // Both round, in different places.
                    ASSERT_NEAR(qRed(b), qRed(a), 2) << x << ", " << y;
                    ASSERT_NEAR(qGreen(b), qGreen(a), 2) << x << ", " << y;
                    ASSERT_NEAR(qBlue(b), qBlue(a), 2) << x << ", " << y;
                }
        }
}

// Every sampling, both kinds of picture, blended or not, turned and scaled: the vector loops draw exactly
// the portable loop's pixels.
void ExpectVectorLoopsDrawThePortablePixels() {
    const QImage translucent = Noise(150, 97, false);
    const QImage opaque = Noise(150, 97, true).convertToFormat(QImage::Format_RGB32);
    QImage under(203, 157, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < under.height(); ++y)
        for (int x = 0; x < under.width(); ++x)
            under.setPixel(x, y, qRgb(x, y, (x * y) % 256));
    for (double degrees : {0.0, 17.0, 90.0, 143.5, 331.0})
        for (double scale : {1.0, 0.37, 1.9})
            for (TSampling sampling : {smNearest, smBilinear, smBlocks})
                for (const QImage* picture : {&translucent, &opaque})
                    for (bool blend : {false, true}) {
                        QTransform t;
                        t.translate(101.3, 78.6).rotate(degrees).scale(scale, scale).translate(-75, -48.5);
                        QImage portable = under, wide = under;
                        const TBlitOptions options{.Sampling = sampling, .Blend = blend};
                        TBlitOptions portableOptions = options;
                        portableOptions.Vector = false;
                        ASSERT_TRUE(RenderTransformed(portable, *picture, t, 200, portableOptions));
                        ASSERT_TRUE(RenderTransformed(wide, *picture, t, 200, options));
                        ASSERT_EQ(portable, wide)
                            << degrees << " degrees, scale " << scale << ", sampling " << int(sampling)
                            << ", opaque " << (picture == &opaque) << ", blend " << blend;
                    }
}

TEST(PictureBlit, BlocksAndMixingGiveTheSamePixelsInTheVectorAndThePortableLoop) {
    if (!VectorBlitAvailable())
        GTEST_SKIP() << "this processor has no wide vector loop";
    ExpectVectorLoopsDrawThePortablePixels();
}

// Each instruction set the processor has, not only the best one, which a sign's processor may lack.
TEST(PictureBlit, EveryInstructionSetDrawsThePortablePixels) {
    const std::vector<std::int64_t> targets = VectorTargets();
    if (targets.empty())
        GTEST_SKIP() << "this processor has no wide vector loop";
    for (std::int64_t target : targets) {
        UseVectorTarget(target);
        SCOPED_TRACE(VectorTargetName());
        ExpectVectorLoopsDrawThePortablePixels();
        if (HasFatalFailure())
            break;
    }
    UseVectorTarget(0);
}

TEST(PictureBlit, OnlyThePictureIsDrawnAndItsEdgesAreWeightedByCoverage) {
    QImage picture(40, 40, QImage::Format_RGB32);
    picture.fill(qRgb(200, 100, 50));
    QTransform t;
    t.translate(50, 50).rotate(30).translate(-20, -20);
    QImage smooth = Target(100, 100), hard = Target(100, 100);
    ASSERT_TRUE(RenderTransformed(smooth, picture, t, 255));
    ASSERT_TRUE(RenderTransformed(hard, picture, t, 255, {.Antialiased = false}));
    int partial = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x) {
            const QPointF local = t.inverted().map(QPointF(x + 0.5, y + 0.5));
            const double depth = std::min({local.x(), 40 - local.x(), local.y(), 40 - local.y()});
            const int a = qAlpha(smooth.pixel(x, y));
            if (depth < -1)
                ASSERT_EQ(smooth.pixel(x, y), 0u) << x << ", " << y;
            else if (depth > 1)
                ASSERT_EQ(smooth.pixel(x, y), qRgb(200, 100, 50)) << x << ", " << y;
            else if (a > 0 && a < 255)
                ++partial;
            ASSERT_TRUE(qAlpha(hard.pixel(x, y)) == 0 || qAlpha(hard.pixel(x, y)) == 255) << x << ", " << y;
        }
    EXPECT_GT(partial, 100) << "the turned edges are smoothed";
}

TEST(PictureBlit, BlendingPutsThePictureOverTheTargetAndLeavesWhatItDoesNotReach) {
    const QImage picture = Noise(60, 40, false);
    QTransform t;
    t.translate(50, 45).rotate(37).translate(-30, -20);
    for (QImage::Format format : {QImage::Format_ARGB32_Premultiplied, QImage::Format_RGB32})
        for (bool vector : {false, true}) {
            SCOPED_TRACE(testing::Message() << "format " << int(format) << ", vector " << vector);
            QImage under(100, 90, format);
            for (int y = 0; y < 90; ++y)
                for (int x = 0; x < 100; ++x)
                    under.setPixel(x, y, qRgb(x * 2, y * 2, 90));
            // What the picture alone renders to, put over the target by the painting library.
            QImage alone = Target(100, 90);
            ASSERT_TRUE(RenderTransformed(alone, picture, t, 180, {.Vector = vector}));
            QImage expected = under;
            QPainter(&expected).drawImage(0, 0, alone);
            QImage blended = under;
            ASSERT_TRUE(RenderTransformed(blended, picture, t, 180, {.Vector = vector, .Blend = true}));
            for (int y = 0; y < 90; ++y)
                for (int x = 0; x < 100; ++x) {
                    const QRgb a = expected.pixel(x, y), b = blended.pixel(x, y);
                    if (qAlpha(alone.pixel(x, y)) == 0) {
                        ASSERT_EQ(b, under.pixel(x, y)) << x << ", " << y;
                    }
                    ASSERT_EQ(qAlpha(b), 255) << x << ", " << y;
                    ASSERT_NEAR(qRed(b), qRed(a), 2) << x << ", " << y;
                    ASSERT_NEAR(qGreen(b), qGreen(a), 2) << x << ", " << y;
                    ASSERT_NEAR(qBlue(b), qBlue(a), 2) << x << ", " << y;
                }
        }
}

TEST(PictureBlit, WhatItCannotDrawItRefusesAndLeavesTheTargetAlone) {
    const QImage picture = Noise(8, 8, true);
    QImage target = Target(8, 8);
    const QImage before = target;
    EXPECT_FALSE(RenderTransformed(target, picture, QTransform(0, 0, 0, 0, 1, 1), 255)) << "a flat transform";
    EXPECT_FALSE(RenderTransformed(target, picture, QTransform(1, 0, 0.01, 0, 1, 0, 0, 0, 1), 255))
        << "perspective";
    EXPECT_FALSE(
        RenderTransformed(target, picture.convertToFormat(QImage::Format_RGB888), QTransform(), 255));
    EXPECT_FALSE(RenderTransformed(target, QImage(), QTransform(), 255));
    QImage wrongTarget(8, 8, QImage::Format_RGB32);
    EXPECT_FALSE(RenderTransformed(wrongTarget, picture, QTransform(), 255))
        << "an opaque target unless blending";
    QImage wrongFormat(8, 8, QImage::Format_RGB16);
    EXPECT_FALSE(RenderTransformed(wrongFormat, picture, QTransform(), 255, {.Blend = true}));
    EXPECT_EQ(target, before);
}

} // namespace
} // namespace lanterna
