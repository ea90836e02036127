#include "slideshow/animation_geometry.h"

#include "paint_test_support.h"
#include "slideshow/slide_show_types.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace lanterna {
namespace {

using namespace lanterna::testing;

// A 400 x 300 picture drawn into its own size in the middle of a 1000 x 800 canvas, so that whatever
// moves out of the picture rectangle stays on the canvas.
constexpr double X = 300, Y = 250, W = 400, H = 300;
const TGPRectF kRect{float(X), float(Y), float(W), float(H)};
const QRectF kPictureRect(0, 0, W, H);

QImage Render(int effect, float p, const QImage& picture = Quadrants(int(W), int(H)),
              const QImage& coarse = QImage()) {
    QImage canvas = Canvas(1000, 800);
    {
        TGPGraphics g(canvas);
        DrawAnimation(g, TGPImage(picture), kRect, p, effect, nullptr, coarse);
    }
    return canvas;
}

// The picture translated by (dx, dy), unclipped.
Model Shifted(double dx, double dy) {
    return [=](QPointF pt) {
        const QPointF local = pt - QPointF(X + dx, Y + dy);
        return Seen{Depth(kPictureRect, local), local};
    };
}

// The picture in place, seen through the union of `clips`.
Model Through(std::vector<QRectF> clips) {
    return [clips](QPointF pt) {
        double inClip = -1e9;
        for (const QRectF& c : clips)
            inClip = std::max(inClip, Depth(c, pt));
        return Seen{std::min(inClip, Depth(QRectF(X, Y, W, H), pt)), pt - QPointF(X, Y)};
    };
}

// The picture turned clockwise by `degrees` and scaled by `scale` about the rectangle's centre.
Model Turned(double degrees, double scale) {
    return [=](QPointF pt) {
        const double a = -degrees * std::numbers::pi / 180;
        const QPointF v = pt - QPointF(X + W / 2, Y + H / 2);
        const QPointF back((v.x() * std::cos(a) - v.y() * std::sin(a)) / scale,
                           (v.x() * std::sin(a) + v.y() * std::cos(a)) / scale);
        const QPointF local = back + QPointF(W / 2, H / 2);
        return Seen{Depth(kPictureRect, local) * scale, local};
    };
}

// Where the model sees the picture, limited to a clip rectangle.
Model Clipped(const QRectF& clip, const Model& model) {
    return [=](QPointF pt) {
        Seen seen = model(pt);
        seen.Depth = std::min(seen.Depth, Depth(clip, pt));
        return seen;
    };
}

Model Either(const Model& a, const Model& b) {
    return [=](QPointF pt) {
        const Seen sa = a(pt), sb = b(pt);
        return sa.Depth >= sb.Depth ? sa : sb;
    };
}

QSize PictureSize() {
    return QSize(int(W), int(H));
}

// An animation and the signs of the direction in which it moves or clips.
struct Case {
    TSlideShowAnimation effect;
    int sx, sy;
};

TEST(AnimationGeometry, SlideInsMoveThePictureByWhatIsLeftOfItsWay) {
    const Case cases[] = {
        {saBottomLeftToTopRight, -1, 1}, {saBottomRightToTopLeft, 1, 1}, {saTopLeftToBottomRight, -1, -1},
        {saTopRightToBottomLeft, 1, -1}, {saBottomToTop, 0, 1},          {saTopToBottom, 0, -1},
        {saLeftToRight, -1, 0},          {saRightToLeft, 1, 0}};
    for (float p : {0.25f, 0.75f})
        for (const Case& c : cases) {
            SCOPED_TRACE(::testing::Message() << int(c.effect) << " at " << p);
            EXPECT_TRUE(
                Shows(Render(c.effect, p), PictureSize(), Shifted(c.sx * W * (1 - p), c.sy * H * (1 - p))));
        }
}

TEST(AnimationGeometry, APictureLargerThanItsRectangleIsScaledIntoTheSameGeometry) {
    // As a slide's picture is drawn while its scaled copy is still being made.
    const QImage large = Quadrants(int(2 * W), int(2 * H));
    for (float p : {0.3f, 0.97f}) {
        SCOPED_TRACE(p);
        EXPECT_TRUE(Shows(Render(saBottomToTop, p, large), PictureSize(), Shifted(0, H * (1 - p))));
        EXPECT_TRUE(Shows(Render(saWipeLeftToRight, p, large), PictureSize(),
                          Through({QRectF(X + W * (1 - p), Y, W, H)})));
        EXPECT_TRUE(Shows(Render(saFadeInOut, p, large), PictureSize(), Shifted(0, 0)));
    }
}

TEST(AnimationGeometry, WipesRevealThePictureInPlaceThroughAMovingClip) {
    const Case cases[] = {{saWipeBottomToTop, 0, -1},          {saWipeTopToBottom, 0, 1},
                          {saWipeLeftToRight, 1, 0},           {saWipeRightToLeft, -1, 0},
                          {saWipeBottomLeftToTopRight, 1, -1}, {saWipeBottomRightToTopLeft, -1, -1},
                          {saWipeTopLeftToBottomRight, 1, 1},  {saWipeTopRightToBottomLeft, -1, 1}};
    const float p = 0.6f;
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.effect));
        const QRectF clip(X + c.sx * W * (1 - p), Y + c.sy * H * (1 - p), W, H);
        EXPECT_TRUE(Shows(Render(c.effect, p), PictureSize(), Through({clip})));
    }
}

TEST(AnimationGeometry, CheckBoardGrowsACentredSquareInEveryCell) {
    for (float p : {0.3f, 0.8f}) {
        SCOPED_TRACE(p);
        std::vector<QRectF> cells;
        for (int row = 0; row < 4; ++row)
            for (int col = 0; col < 4; ++col)
                cells.emplace_back(X + col * W / 4 + W / 8 - W * p / 8, Y + row * H / 4 + H / 8 - H * p / 8,
                                   W * p / 4, H * p / 4);
        EXPECT_TRUE(Shows(Render(saCheckBoard, p), PictureSize(), Through(cells)));
    }
}

// The bars of the vertical checkerboard, written out along columns; `swap` turns them into the rows of
// the horizontal one.
std::vector<QRectF> Bars(float p, bool horizontal) {
    const double along = horizontal ? W : H, across = horizontal ? H : W;
    std::vector<QRectF> bars;
    for (int k = 0; k < 4; ++k)
        for (int j = 0; j < 4; ++j) {
            const double shift = k % 2 ? along / 8 : 0;
            std::vector<double> starts{j * along / 4 + shift};
            if (j == 0 && k % 2 && p * 100 >= 50)
                starts.push_back(shift - along / 4);
            for (double s : starts)
                bars.push_back(horizontal ? QRectF(X + s, Y + k * across / 4, along * p / 4, across / 4)
                                          : QRectF(X + k * across / 4, Y + s, across / 4, along * p / 4));
        }
    return bars;
}

TEST(AnimationGeometry, StripedCheckBoardsOffsetOddLanesAndCloseTheirStartPastHalfWay) {
    for (float p : {0.3f, 0.7f}) {
        SCOPED_TRACE(p);
        EXPECT_TRUE(Shows(Render(saVerticalCheckBoard, p), PictureSize(), Through(Bars(p, false))));
        EXPECT_TRUE(Shows(Render(saHorizontalCheckBoard, p), PictureSize(), Through(Bars(p, true))));
    }
    // Past half way the top of an odd column is open only above its first bar's shifted copy.
    const QImage late = Render(saVerticalCheckBoard, 0.7f);
    EXPECT_EQ(late.pixel(int(X + W / 4 + 20), int(Y + 3)), kTopLeft);
    const QImage early = Render(saVerticalCheckBoard, 0.3f);
    EXPECT_EQ(early.pixel(int(X + W / 4 + 20), int(Y + 3)), kBlank);
}

TEST(AnimationGeometry, EllipseAndRectangleUseTheDecimalReachConstant) {
    const std::vector<TAnimationDraw> ellipse = AnimationDraws(saEllipse, 0.5f, kRect);
    ASSERT_EQ(ellipse.size(), 1u);
    ASSERT_TRUE(ellipse[0].Clip.has_value());
    TGPRectF b;
    ellipse[0].Clip->GetBounds(b);
    EXPECT_NEAR(b.Width / 2, 282.8, 1e-3);
    EXPECT_NEAR(b.Height / 2, 106.05, 1e-3);
    EXPECT_NEAR(b.X + b.Width / 2, X + W / 2, 1e-3);
    EXPECT_NEAR(b.Y + b.Height / 2, Y + H / 2, 1e-3);

    const Model inEllipse = [](QPointF pt) {
        const double dx = (pt.x() - (X + W / 2)) / 282.8, dy = (pt.y() - (Y + H / 2)) / 106.05;
        const double inside = (1 - std::hypot(dx, dy)) * 106.05;
        return Seen{std::min(inside, Depth(QRectF(X, Y, W, H), pt)), pt - QPointF(X, Y)};
    };
    EXPECT_TRUE(Shows(Render(saEllipse, 0.5f), PictureSize(), inEllipse));

    const QRectF square(X + W / 2 - 141.4, Y + H / 2 - 106.05, 282.8, 212.1);
    EXPECT_TRUE(Shows(Render(saRectangle, 0.5f), PictureSize(), Through({square})));
}

TEST(AnimationGeometry, RotateTurnsAboutTheCentreAndSpinAlsoShrinks) {
    EXPECT_TRUE(Shows(Render(saRotate, 0.5f), PictureSize(), Turned(180, 1))) << "upside down half way";
    EXPECT_TRUE(Shows(Render(saRotate, 0.25f), PictureSize(), Turned(90, 1), 3))
        << "a quarter turn clockwise";
    EXPECT_TRUE(Shows(Render(saSpin, 0.5f), PictureSize(), Turned(180, 0.5), 4));
    EXPECT_TRUE(Shows(Render(saSpin, 0.25f), PictureSize(), Turned(90, 0.25), 6));
}

TEST(AnimationGeometry, SpiralWindsOutToItsProgressAndClipsWithTheWindingRule) {
    const float p = 0.5f;
    const std::vector<TAnimationDraw> draws = AnimationDraws(saSpiral, p, kRect);
    ASSERT_EQ(draws.size(), 1u);
    ASSERT_TRUE(draws[0].Clip.has_value());
    EXPECT_EQ(draws[0].Clip->GetFillMode(), FillModeWinding);
    const QPainterPath& path = draws[0].Clip->QtPath();
    const QPointF centre(X + W / 2, Y + H / 2);
    const double reach = 50 * std::max(W, H) / 100; // pct times a hundredth of the longer side
    ASSERT_GT(path.elementCount(), 400);
    EXPECT_NEAR(QLineF(path.elementAt(0), centre).length(), 0, 1e-3) << "the path starts at the centre";
    double farthest = 0;
    for (int i = 1; i < path.elementCount(); ++i) {
        const double d = QLineF(QPointF(path.elementAt(i)), centre).length();
        // At parameter t the point lies t hundredths of the longer side out.
        farthest = std::max(farthest, d);
    }
    EXPECT_LE(farthest, reach + 1e-3);
    EXPECT_GE(farthest, reach - 0.1 * std::max(W, H) / 100 - 1e-3);

    const QImage canvas = Render(saSpiral, p);
    int shown = 0;
    for (int y = 0; y < canvas.height(); y += 5)
        for (int x = 0; x < canvas.width(); x += 5) {
            const bool beyond = QLineF(QPointF(x, y), centre).length() > reach + 2;
            if (beyond)
                ASSERT_EQ(canvas.pixel(x, y), kBlank) << x << ", " << y;
            else if (canvas.pixel(x, y) != kBlank)
                ++shown;
        }
    EXPECT_GT(shown, 100);

    EXPECT_TRUE(Shows(Render(saSpiral, 1.0f), PictureSize(), Through({QRectF(X, Y, W, H)})))
        << "at full progress the spiral no longer clips";
}

TEST(AnimationGeometry, TearsSplitThePictureAndPullTheHalvesApart) {
    const float p = 0.5f;
    const double wq = W * (1 - p), hq = H * (1 - p);
    const Model horizontal = Either(Clipped(QRectF(X - wq, Y, W / 2, H), Shifted(-wq, 0)),
                                    Clipped(QRectF(X + W / 2 + wq, Y, W / 2, H), Shifted(wq, 0)));
    EXPECT_TRUE(Shows(Render(saTearHorizontal, p), PictureSize(), horizontal));
    const Model vertical = Either(Clipped(QRectF(X, Y - hq, W, H / 2), Shifted(0, -hq)),
                                  Clipped(QRectF(X, Y + H / 2 + hq, W, H / 2), Shifted(0, hq)));
    EXPECT_TRUE(Shows(Render(saTearVertical, p), PictureSize(), vertical));
}

TEST(AnimationGeometry, TearRotateTurnsThePictureBehindTheTearClips) {
    const float p = 0.9f;
    const double wq = W * (1 - p);
    const Model turned = Turned(360 * p, 1);
    const Model model = Either(Clipped(QRectF(X - wq, Y, W / 2, H), turned),
                               Clipped(QRectF(X + W / 2 + wq, Y, W / 2, H), turned));
    EXPECT_TRUE(Shows(Render(saTearRotate, p), PictureSize(), model, 3));

    // Half way the turned picture lies wholly between the two clips.
    const QImage half = Render(saTearRotate, 0.5f);
    EXPECT_EQ(half, Canvas(1000, 800));
}

TEST(AnimationGeometry, AnEffectThatNamesNoAnimationDrawsNothing) {
    for (int effect : {-1, kAnimationMemberCount}) {
        SCOPED_TRACE(effect);
        EXPECT_TRUE(AnimationDraws(effect, 0.5f, kRect).empty());
        EXPECT_EQ(Render(effect, 0.5f), Canvas(1000, 800));
    }
}

TEST(AnimationGeometry, OnlyTheTurningAnimationsTurnOrScaleThePicture) {
    for (int effect = 0; effect < kAnimationMemberCount; ++effect)
        EXPECT_EQ(TurnsOrScales(effect), effect == saRotate || effect == saSpin || effect == saTearRotate)
            << effect;
    EXPECT_FALSE(TurnsOrScales(-1));
}

TEST(AnimationGeometry, ACoarseCopyIsReadOnlyWhereThePictureIsSampledFromItsNearestPixels) {
    // A coarse copy of another colour shows which of the two a frame was drawn from.
    QImage picture(int(W), int(H), QImage::Format_ARGB32_Premultiplied);
    picture.fill(qRgb(0, 200, 0));
    QImage coarse(int(W) / 2, int(H) / 2, QImage::Format_ARGB32_Premultiplied);
    coarse.fill(qRgb(200, 0, 200));
    const QPoint centre(int(X + W / 2), int(Y + H / 2));
    EXPECT_EQ(Render(saRotate, 0.5f, picture, coarse).pixel(centre), qRgb(200, 0, 200)) << "turning fast";
    EXPECT_EQ(Render(saSpin, 0.5f, picture, coarse).pixel(centre), qRgb(200, 0, 200));
    EXPECT_EQ(Render(saRotate, 0.97f, picture, coarse).pixel(centre), qRgb(0, 200, 0)) << "slowing down";
    EXPECT_EQ(Render(saRotate, 0.995f, picture, coarse).pixel(centre), qRgb(0, 200, 0))
        << "filtered at the end";
    EXPECT_EQ(Render(saRotate, 0.5f, picture).pixel(centre), qRgb(0, 200, 0)) << "without a coarse copy";
    EXPECT_EQ(Render(saBottomToTop, 0.5f, picture, coarse).pixel(centre + QPoint(0, 100)), qRgb(0, 200, 0))
        << "a picture that only moves is copied";

    // The coarse copy is drawn into the picture's own rectangle, turned alike.
    const QImage fine = Render(saRotate, 0.5f, Quadrants(int(W), int(H)));
    const QImage fromCoarse =
        Render(saRotate, 0.5f, Quadrants(int(W), int(H)),
               Quadrants(int(W), int(H))
                   .scaled(int(W) / 2, int(H) / 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    int differing = 0;
    for (int y = 0; y < fine.height(); ++y)
        for (int x = 0; x < fine.width(); ++x)
            differing += bool(Near(fine.pixel(x, y), fromCoarse.pixel(x, y), 40)) ? 0 : 1;
    EXPECT_LT(differing, int(W + H) * 6) << "only along the quadrants' and picture's edges";
}

TEST(AnimationGeometry, ClipAndTransformAreResetAfterTheDrawAndCheckBoardsIntersect) {
    QImage canvas = Canvas(1000, 800);
    const QImage picture = Quadrants(int(W), int(H));
    {
        TGPGraphics g(canvas);
        DrawAnimation(g, TGPImage(picture), kRect, 0.4f, saTearRotate, nullptr);
        EXPECT_FALSE(g.IsClipped());
        TGPMatrix m;
        g.GetTransform(m);
        EXPECT_TRUE(m.IsIdentity());
    }
    // A clip already on the surface limits a checkerboard, which intersects, but not a wipe, which
    // replaces the clip.
    const auto drawnWithin = [&](TSlideShowAnimation effect) {
        QImage c = Canvas(1000, 800);
        {
            TGPGraphics g(c);
            g.SetClip(TGPRectF{0, 0, float(X + W / 2), 800});
            DrawAnimation(g, TGPImage(picture), kRect, 0.999f, effect, nullptr);
        }
        return c.pixel(int(X + W - 30), int(Y + 30)) == kBlank;
    };
    EXPECT_TRUE(drawnWithin(saCheckBoard));
    EXPECT_FALSE(drawnWithin(saWipeLeftToRight));
}

} // namespace
} // namespace lanterna
