#include "drawing/gp_graphics.h"
#include "drawing/tests/drawing_test_support.h"

#include <QFontDatabase>
#include <QWidget>

#include <set>

using namespace lanterna;
using namespace lanterna::testing;

namespace {

constexpr ARGB kRed = 0xFFFF0000, kBlue = 0xFF0000FF, kGreen = 0xFF00FF00, kWhite = 0xFFFFFFFF;

} // namespace

TEST(TGPGraphicsPath, ArcsRunClockwiseFromTheStartAngle) {
    TGPGraphicsPath path;
    path.AddArc(0, 0, 20, 20, 180, 90); // the top-left quarter of the circle
    const QPainterPath& p = path.QtPath();
    EXPECT_NEAR(p.pointAtPercent(0).x(), 0, 1e-3);
    EXPECT_NEAR(p.pointAtPercent(0).y(), 10, 1e-3);
    EXPECT_NEAR(p.pointAtPercent(1).x(), 10, 1e-3);
    EXPECT_NEAR(p.pointAtPercent(1).y(), 0, 1e-3);
    EXPECT_LT(p.pointAtPercent(0.5).x(), 5);
    EXPECT_EQ(path.AddArc(0, 0, 0, 10, 0, 90), InvalidParameter);
    EXPECT_EQ(path.GetLastStatus(), InvalidParameter);
    EXPECT_EQ(path.GetLastStatus(), Ok) << "reading the status resets it";
}

TEST(TGPGraphicsPath, LinesJoinIntoOneFigureUntilClosed) {
    TGPGraphicsPath path;
    path.AddLine(0, 0, 10, 0);
    path.AddLine(10, 10, 0, 10); // joined to the previous end by a straight line
    path.CloseFigure();
    EXPECT_TRUE(path.QtPath().contains(QPointF(5, 5)));
    TGPRectF bounds;
    path.GetBounds(bounds);
    EXPECT_EQ(bounds, (TGPRectF{0, 0, 10, 10}));
    EXPECT_FALSE(path.SingleEllipse());
    TGPGraphicsPath ellipse;
    ellipse.AddEllipse(1, 2, 3, 4);
    ASSERT_TRUE(ellipse.SingleEllipse());
    EXPECT_EQ(*ellipse.SingleEllipse(), QRectF(1, 2, 3, 4));
}

TEST(TGPGraphics, AlternateAndWindingFillModes) {
    for (FillMode mode : {FillModeAlternate, FillModeWinding}) {
        QImage image = Blank(40, 40);
        TGPGraphics g(image);
        TGPGraphicsPath path(mode);
        path.AddRectangle({0, 0, 40, 40});
        path.AddRectangle({10, 10, 20, 20}); // same direction: a hole only under the alternate rule
        g.FillPath(TGPSolidBrush(kRed), path);
        EXPECT_EQ(Px(image, 2, 2), kRed);
        EXPECT_EQ(Px(image, 20, 20), mode == FillModeAlternate ? 0u : kRed) << int(mode);
    }
}

TEST(TGPGraphics, ClipReplaceIntersectExcludeAndReset) {
    QImage image = Blank(40, 40);
    TGPGraphics g(image);
    g.SetClip(TGPRectF{0, 0, 30, 30});
    g.SetClip(TGPRectF{10, 10, 30, 30}, CombineModeIntersect);
    g.SetClip(TGPRectF{15, 15, 5, 5}, CombineModeExclude);
    EXPECT_TRUE(g.IsClipped());
    g.FillRectangle(TGPSolidBrush(kRed), 0, 0, 40, 40);
    EXPECT_EQ(Px(image, 5, 5), 0u);
    EXPECT_EQ(Px(image, 12, 12), kRed);
    EXPECT_EQ(Px(image, 17, 17), 0u) << "excluded";
    EXPECT_EQ(Px(image, 35, 35), 0u);
    g.SetClip(TGPRectF{0, 0, 5, 5}); // replaces
    g.FillRectangle(TGPSolidBrush(kBlue), 0, 0, 40, 40);
    EXPECT_EQ(Px(image, 2, 2), kBlue);
    EXPECT_EQ(Px(image, 12, 12), kRed);
    g.ResetClip();
    EXPECT_FALSE(g.IsClipped());
    g.FillRectangle(TGPSolidBrush(kGreen), 0, 0, 40, 40);
    EXPECT_EQ(Px(image, 35, 35), kGreen);
}

TEST(TGPGraphics, ClipFromRegionsAndPaths) {
    QImage image = Blank(40, 40);
    TGPGraphics g(image);
    TGPRegion region(TGPRectF{0, 0, 20, 40});
    TGPGraphicsPath hole;
    hole.AddEllipse(5, 5, 10, 10);
    region.Exclude(TGPRegion(hole));
    g.SetClip(region);
    g.FillRectangle(TGPSolidBrush(kRed), 0, 0, 40, 40);
    EXPECT_EQ(Px(image, 2, 30), kRed);
    EXPECT_EQ(Px(image, 10, 10), 0u);
    EXPECT_EQ(Px(image, 30, 30), 0u);
    g.SetClip(TGPRegion()); // the infinite region lifts the clip
    EXPECT_FALSE(g.IsClipped());
    TGPRegion infinite;
    infinite.Exclude(TGPRectF{0, 0, 10, 10});
    EXPECT_FALSE(infinite.IsVisible(5, 5));
    EXPECT_TRUE(infinite.IsVisible(500, 500));
}

TEST(TGPMatrix, PrependAndAppendOrders) {
    TGPMatrix prepend;
    prepend.Translate(10, 0);
    prepend.Scale(2, 2); // applied before the translation
    EXPECT_EQ(prepend.QtTransform().map(QPointF(1, 0)), QPointF(12, 0));
    TGPMatrix append;
    append.Translate(10, 0);
    append.Scale(2, 2, MatrixOrderAppend);
    EXPECT_EQ(append.QtTransform().map(QPointF(1, 0)), QPointF(22, 0));
    TGPMatrix rotate;
    rotate.Rotate(90);
    const QPointF p = rotate.QtTransform().map(QPointF(1, 0));
    EXPECT_NEAR(p.x(), 0, 1e-6);
    EXPECT_NEAR(p.y(), 1, 1e-6) << "clockwise on the screen";
    float e[6];
    append.GetElements(e);
    EXPECT_FLOAT_EQ(e[0], 2);
    EXPECT_FLOAT_EQ(e[4], 20);
    TGPMatrix singular(0, 0, 0, 0, 0, 0);
    EXPECT_EQ(singular.Invert(), InvalidParameter);
}

TEST(TGPGraphics, WorldTransformMovesDrawingAndResets) {
    QImage image = Blank(100, 100);
    TGPGraphics g(image);
    g.TranslateTransform(50, 50);
    g.RotateTransform(90); // prepended: rotate first, then move
    g.FillRectangle(TGPSolidBrush(kRed), 0, 0, 20, 10);
    EXPECT_EQ(Px(image, 45, 60), kRed);
    EXPECT_EQ(Px(image, 55, 55), 0u);
    g.ResetTransform();
    g.FillRectangle(TGPSolidBrush(kBlue), 0, 0, 5, 5);
    EXPECT_EQ(Px(image, 2, 2), kBlue);
    TGPMatrix m(2, 0, 0, 2, 10, 10);
    g.SetTransform(m);
    g.FillRectangle(TGPSolidBrush(kGreen), 0, 0, 5, 5);
    EXPECT_EQ(Px(image, 19, 19), kGreen);
    EXPECT_EQ(Px(image, 21, 21), 0u);
    TGPMatrix back;
    g.GetTransform(back);
    EXPECT_EQ(back.QtTransform(), m.QtTransform());
}

TEST(TGPGraphics, SmoothingModeDecidesAntiAliasing) {
    auto edgeColors = [](SmoothingMode mode) {
        QImage image = Blank(40, 40);
        TGPGraphics g(image);
        EXPECT_EQ(g.SetSmoothingMode(mode), Ok);
        EXPECT_EQ(g.GetSmoothingMode(), mode);
        g.FillEllipse(TGPSolidBrush(kRed), {0, 0, 40, 40});
        std::set<QRgb> colors;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x)
                colors.insert(image.pixel(x, y));
        return colors.size();
    };
    EXPECT_EQ(edgeColors(SmoothingModeDefault), 2u);
    EXPECT_EQ(edgeColors(SmoothingModeNone), 2u);
    EXPECT_GT(edgeColors(SmoothingModeAntiAlias), 2u);
    EXPECT_GT(edgeColors(SmoothingModeHighQuality), 2u);
    QImage image = Blank(4, 4);
    TGPGraphics g(image);
    EXPECT_EQ(g.SetSmoothingMode(SmoothingModeInvalid), InvalidParameter);
}

TEST(TGPPen, SolidAndDottedLines) {
    QImage image = Blank(20, 10);
    TGPGraphics g(image);
    TGPPen pen(kRed, 1);
    g.DrawLine(pen, 0, 2.5f, 20, 2.5f);
    for (int x = 0; x < 20; ++x)
        EXPECT_EQ(Px(image, x, 2), kRed) << x;
    pen.SetDashStyle(DashStyleDot);
    EXPECT_EQ(pen.GetDashStyle(), DashStyleDot);
    g.DrawLine(pen, 0, 6.5f, 20, 6.5f);
    int on = 0;
    for (int x = 0; x < 20; ++x) {
        on += Px(image, x, 6) == kRed;
        if (x > 0) {
            EXPECT_NE(Px(image, x, 6), Px(image, x - 1, 6)) << "dots alternate with gaps at " << x;
        }
    }
    EXPECT_EQ(on, 10);
    QImage wide = Blank(20, 20);
    TGPGraphics w(wide);
    w.DrawRectangle(TGPPen(kBlue, 4), {4, 4, 12, 12}); // centred on the outline
    EXPECT_EQ(Px(wide, 2, 10), kBlue);
    EXPECT_EQ(Px(wide, 5, 10), kBlue);
    EXPECT_EQ(Px(wide, 10, 10), 0u);
}

TEST(TGPLinearGradientBrush, ModesRunAcrossTheRectangle) {
    QImage image = Blank(200, 50);
    {
        TGPGraphics g(image);
        g.FillRectangle(TGPLinearGradientBrush({0, 0, 200, 50}, kRed, kBlue, LinearGradientModeHorizontal), 0,
                        0, 200, 50);
    }
    EXPECT_TRUE(Near(Px(image, 0, 25), kRed, 3));
    EXPECT_TRUE(Near(Px(image, 199, 25), kBlue, 3));
    EXPECT_EQ(Px(image, 100, 0), Px(image, 100, 49)) << "horizontal: columns are uniform";
    {
        TGPGraphics g(image);
        g.FillRectangle(TGPLinearGradientBrush({0, 0, 200, 50}, kRed, kBlue, LinearGradientModeVertical), 0,
                        0, 200, 50);
    }
    EXPECT_TRUE(Near(Px(image, 100, 0), kRed, 8));
    EXPECT_TRUE(Near(Px(image, 100, 49), kBlue, 8));
    EXPECT_EQ(Px(image, 0, 20), Px(image, 199, 20));
    {
        TGPGraphics g(image);
        g.FillRectangle(
            TGPLinearGradientBrush({0, 0, 200, 50}, kRed, kBlue, LinearGradientModeForwardDiagonal), 0, 0,
            200, 50);
    }
    // Corner to corner: the other diagonal is the middle colour, however long the rectangle.
    EXPECT_TRUE(Near(Px(image, 0, 0), kRed, 6));
    EXPECT_TRUE(Near(Px(image, 199, 49), kBlue, 6));
    EXPECT_TRUE(Near(Px(image, 199, 0), Px(image, 0, 49), 4));
    EXPECT_TRUE(Near(Px(image, 100, 25), 0xFF800080, 4));
    {
        TGPGraphics g(image);
        g.FillRectangle(
            TGPLinearGradientBrush({0, 0, 200, 50}, kRed, kBlue, LinearGradientModeBackwardDiagonal), 0, 0,
            200, 50);
    }
    EXPECT_TRUE(Near(Px(image, 199, 0), kRed, 6));
    EXPECT_TRUE(Near(Px(image, 0, 49), kBlue, 6));
}

TEST(TGPLinearGradientBrush, ScalableAndFixedAngles) {
    QImage scaled = Blank(200, 50), fixed = Blank(200, 50);
    {
        TGPGraphics g(scaled);
        g.FillRectangle(TGPLinearGradientBrush({0, 0, 200, 50}, kRed, kBlue, 45.0f, true), 0, 0, 200, 50);
        TGPGraphics f(fixed);
        f.FillRectangle(TGPLinearGradientBrush({0, 0, 200, 50}, kRed, kBlue, 45.0f, false), 0, 0, 200, 50);
    }
    EXPECT_TRUE(Near(Px(scaled, 199, 0), Px(scaled, 0, 49), 4));
    // A fixed 45 degrees: equal colours lie on true 45-degree lines.
    EXPECT_TRUE(Near(Px(fixed, 60, 10), Px(fixed, 40, 30), 3));
    EXPECT_FALSE(Near(Px(fixed, 199, 0), Px(fixed, 0, 49), 4));
    EXPECT_TRUE(Near(Px(fixed, 0, 0), kRed, 6));
    EXPECT_TRUE(Near(Px(fixed, 199, 49), kBlue, 6));
}

TEST(TGPLinearGradientBrush, GammaCorrectionLightensTheMiddle) {
    EXPECT_EQ(TGPLinearGradientBrush::Interpolate(0xFF000000, 0xFFFFFFFF, 0.5, false), 0xFF808080u);
    EXPECT_EQ(TGPLinearGradientBrush::Interpolate(0xFF000000, 0xFFFFFFFF, 0.5, true), 0xFFBABABAu);
    EXPECT_EQ(TGPLinearGradientBrush::Interpolate(0x00000000, 0xFF000000, 0.5, true) >> 24, 0x80u)
        << "opacity runs linearly";
    QImage image = Blank(101, 4);
    TGPGraphics g(image);
    TGPLinearGradientBrush brush({0, 0, 101, 4}, 0xFF000000, 0xFFFFFFFF, LinearGradientModeHorizontal);
    EXPECT_FALSE(brush.GetGammaCorrection());
    brush.SetGammaCorrection(true);
    g.FillRectangle(brush, 0, 0, 101, 4);
    EXPECT_TRUE(Near(Px(image, 50, 2), 0xFFBABABA, 3));
    EXPECT_EQ(brush.SetWrapMode(WrapModeClamp), InvalidParameter);
}

TEST(TGPLinearGradientBrush, AnEmptyRectanglePaintsNothing) {
    QImage image = Blank(10, 10);
    TGPGraphics g(image);
    TGPLinearGradientBrush brush({0, 0, 0, 10}, kRed, kBlue, LinearGradientModeVertical);
    EXPECT_NE(brush.GetLastStatus(), Ok);
    EXPECT_EQ(g.FillRectangle(brush, 0, 0, 10, 10), InvalidParameter);
    EXPECT_EQ(Px(image, 5, 5), 0u);
}

TEST(TGPHatchBrush, EveryStyleFollowsItsPatternFromTheDeviceOrigin) {
    std::set<std::uint64_t> patterns;
    for (int s = 0; s < HatchStyleTotal; ++s) {
        const auto style = HatchStyle(s);
        QImage image = Blank(24, 24);
        TGPGraphics g(image);
        g.TranslateTransform(3, 5); // the pattern stays aligned to the device, not to the world
        g.FillRectangle(TGPHatchBrush(style, kRed, kWhite), -3, -5, 24, 24);
        std::uint64_t bits = 0;
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 24; ++x) {
                const bool fore = TGPHatchBrush::IsForeground(style, x, y);
                ASSERT_EQ(Px(image, x, y), fore ? kRed : kWhite) << "style " << s << " at " << x << "," << y;
                if (x < 8 && y < 8 && fore)
                    bits |= std::uint64_t(1) << (y * 8 + x);
            }
        patterns.insert(bits);
    }
    EXPECT_EQ(patterns.size(), std::size_t(HatchStyleTotal)) << "53 different patterns";
}

TEST(TGPHatchBrush, PatternsMeanWhatTheirNamesSay) {
    auto share = [](HatchStyle style) {
        int n = 0;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                n += TGPHatchBrush::IsForeground(style, x, y);
        return n;
    };
    const HatchStyle percents[] = {HatchStyle05Percent, HatchStyle10Percent, HatchStyle20Percent,
                                   HatchStyle25Percent, HatchStyle30Percent, HatchStyle40Percent,
                                   HatchStyle50Percent, HatchStyle60Percent, HatchStyle70Percent,
                                   HatchStyle75Percent, HatchStyle80Percent, HatchStyle90Percent};
    for (std::size_t i = 1; i < std::size(percents); ++i)
        EXPECT_LT(share(percents[i - 1]), share(percents[i])) << i;
    EXPECT_EQ(share(HatchStyle25Percent), 16);
    EXPECT_EQ(share(HatchStyle50Percent), 32);
    EXPECT_EQ(share(HatchStyle75Percent), 48);
    for (int x = 0; x < 8; ++x) {
        EXPECT_TRUE(TGPHatchBrush::IsForeground(HatchStyleHorizontal, x, 0));
        EXPECT_FALSE(TGPHatchBrush::IsForeground(HatchStyleHorizontal, x, 3));
        EXPECT_TRUE(TGPHatchBrush::IsForeground(HatchStyleVertical, 0, x));
        EXPECT_TRUE(TGPHatchBrush::IsForeground(HatchStyleForwardDiagonal, x, x))
            << "top-left to bottom-right";
        EXPECT_TRUE(TGPHatchBrush::IsForeground(HatchStyleBackwardDiagonal, 7 - x, x));
        EXPECT_TRUE(TGPHatchBrush::IsForeground(HatchStyleCross, x, 0));
        EXPECT_TRUE(TGPHatchBrush::IsForeground(HatchStyleCross, 0, x));
    }
    EXPECT_EQ(HatchStyleLargeGrid, HatchStyleCross);
    EXPECT_EQ(int(HatchStyleSolidDiamond), 52);
    TGPHatchBrush invalid(HatchStyleTotal, kRed, kWhite);
    EXPECT_FALSE(invalid.Valid());
}

TEST(TGPPathGradientBrush, CentreAndSurroundColoursOnAnEllipse) {
    QImage image = Blank(101, 61);
    TGPGraphicsPath path;
    path.AddEllipse(0, 0, 101, 61);
    TGPPathGradientBrush brush(path);
    TGPPointF centre;
    brush.GetCenterPoint(centre);
    EXPECT_FLOAT_EQ(centre.X, 50.5f);
    EXPECT_FLOAT_EQ(centre.Y, 30.5f);
    brush.SetCenterColor(kRed);
    ARGB surround = kBlue;
    int one = 1;
    EXPECT_EQ(brush.SetSurroundColors(&surround, one), Ok);
    EXPECT_EQ(brush.GetWrapMode(), WrapModeClamp);
    TGPGraphics g(image);
    g.FillRectangle(brush, 0, 0, 101, 61);
    EXPECT_TRUE(Near(Px(image, 50, 30), kRed, 8));
    EXPECT_TRUE(Near(Px(image, 1, 30), kBlue, 12)) << "the outline is the surround colour";
    EXPECT_TRUE(Near(Px(image, 25, 30), 0xFF800080, 8)) << "half way along the ray";
    EXPECT_EQ(Px(image, 1, 1), 0u) << "nothing outside the path";
}

TEST(TGPPathGradientBrush, OffCentrePointAndInterpolationColours) {
    QImage image = Blank(100, 100);
    TGPGraphicsPath path;
    path.AddRectangle({0, 0, 100, 100});
    TGPPathGradientBrush brush(path);
    brush.SetCenterPoint({50, 20});
    const ARGB colors[] = {kBlue, kGreen, kRed};
    const float positions[] = {0.0f, 0.25f, 1.0f};
    EXPECT_EQ(brush.SetInterpolationColors(colors, positions, 3), Ok);
    EXPECT_EQ(brush.GetInterpolationColorCount(), 3);
    TGPGraphics g(image);
    g.FillPath(brush, path);
    EXPECT_TRUE(Near(Px(image, 50, 20), kRed, 8)) << "the last interpolation colour at the centre point";
    // Straight down from the centre the outline is 80 away; position 0.25 lies 60 along.
    EXPECT_TRUE(Near(Px(image, 50, 80), kGreen, 10));
    // Straight up it is 20 away; position 0.25 lies 15 along.
    EXPECT_TRUE(Near(Px(image, 50, 5), kGreen, 25));
    EXPECT_TRUE(Near(Px(image, 50, 99), kBlue, 25));
    EXPECT_TRUE(Near(brush.ColorAt(50, 20), kRed, 1));
    EXPECT_EQ(brush.ColorAt(150, 20), 0u);
    const float bad[] = {0.1f, 1.0f};
    EXPECT_EQ(brush.SetInterpolationColors(colors, bad, 2), InvalidParameter) << "positions run from 0 to 1";
}

TEST(TGPPathGradientBrush, NonConvexOutline) {
    const TGPPointF ell[] = {{0, 0}, {60, 0}, {60, 20}, {20, 20}, {20, 60}, {0, 60}};
    TGPPathGradientBrush brush(ell, 6);
    brush.SetCenterPoint({10, 10});
    brush.SetCenterColor(kRed);
    ARGB surround = kBlue;
    int one = 1;
    brush.SetSurroundColors(&surround, one);
    EXPECT_TRUE(Near(brush.ColorAt(10, 10), kRed, 1));
    EXPECT_TRUE(Near(brush.ColorAt(59.5f, 10), kBlue, 4));
    EXPECT_TRUE(Near(brush.ColorAt(10, 59.5f), kBlue, 4));
    EXPECT_EQ(brush.ColorAt(40, 40), 0u);
}

TEST(TGPTextureBrush, TilesFromTheSurfaceOrigin) {
    const TGPImage tile(Pattern(4, 3));
    QImage image = Blank(30, 30);
    TGPGraphics g(image);
    g.FillRectangle(TGPTextureBrush(&tile), 5, 7, 20, 20);
    EXPECT_EQ(Px(image, 2, 2), 0u);
    for (int y = 7; y < 27; ++y)
        for (int x = 5; x < 25; ++x)
            ASSERT_EQ(Px(image, x, y), tile.QtImage().pixel(x % 4, y % 3)) << x << "," << y;
    TGPTextureBrush none(nullptr);
    EXPECT_FALSE(none.Valid());
}

TEST(TGPGraphics, DrawsImagesAtAPointStretchedAndThroughAttributes) {
    const TGPImage picture(Pattern(8, 6));
    QImage image = Blank(40, 40);
    TGPGraphics g(image);
    EXPECT_EQ(g.DrawImage(&picture, 3, 4), Ok);
    EXPECT_EQ(Px(image, 3, 4), picture.QtImage().pixel(0, 0));
    EXPECT_EQ(Px(image, 10, 9), picture.QtImage().pixel(7, 5));
    EXPECT_EQ(Px(image, 11, 9), 0u);

    QImage stretched = Blank(40, 40);
    TGPGraphics s(stretched);
    QImage redPixels(2, 2, QImage::Format_ARGB32);
    redPixels.fill(kRed);
    const TGPImage red(redPixels);
    s.DrawImage(&red, 0, 0, 20, 10);
    EXPECT_EQ(Px(stretched, 19, 9), kRed);
    EXPECT_EQ(Px(stretched, 21, 5), 0u);

    // A colour matrix carrying an opacity of one half.
    TColorMatrix half;
    half.m[3][3] = 0.5f;
    EXPECT_TRUE(half.IsOpacityOnly());
    TGPImageAttributes attributes;
    attributes.SetColorMatrix(half);
    QImage faded = Blank(10, 10);
    TGPGraphics f(faded);
    f.DrawImage(&red, {0, 0, 10, 10}, 0, 0, 2, 2, UnitPixel, &attributes);
    EXPECT_TRUE(Near(Px(faded, 5, 5), 0x80FF0000, 2));
    EXPECT_EQ(f.DrawImage(&red, {0, 0, 10, 10}, 0, 0, 2, 2, UnitPoint, &attributes), NotImplemented);

    // A source rectangle picks the pixels.
    QImage part = Blank(10, 10);
    TGPGraphics p(part);
    p.DrawImage(&picture, {0, 0, 2, 2}, 5, 3, 2, 2, UnitPixel);
    EXPECT_EQ(Px(part, 0, 0), picture.QtImage().pixel(5, 3));
    EXPECT_EQ(Px(part, 1, 1), picture.QtImage().pixel(6, 4));

    EXPECT_EQ(g.DrawImage(nullptr, 0, 0), InvalidParameter);
    EXPECT_EQ(g.GetLastStatus(), InvalidParameter);
    EXPECT_EQ(g.GetLastStatus(), Ok);
}

TEST(TGPImageAttributes, ColourKeyAndGeneralMatrix) {
    QImage source(4, 1, QImage::Format_ARGB32);
    source.setPixel(0, 0, 0xFFFF00FF);
    source.setPixel(1, 0, 0xFFFE01FE);
    source.setPixel(2, 0, 0xFF102030);
    source.setPixel(3, 0, 0xFFFF00FF);
    const TGPImage picture(source);
    TGPImageAttributes keyed;
    keyed.SetColorKey(0xFFFE00FE, 0xFFFF01FF);
    EXPECT_FALSE(keyed.PlainOpacity());
    QImage image = Blank(4, 1, kGreen);
    TGPGraphics g(image);
    g.DrawImage(&picture, {0, 0, 4, 1}, 0, 0, 4, 1, UnitPixel, &keyed);
    EXPECT_EQ(Px(image, 0, 0), kGreen) << "inside the key's range: left out";
    EXPECT_EQ(Px(image, 1, 0), kGreen);
    EXPECT_EQ(Px(image, 2, 0), 0xFF102030u);
    EXPECT_EQ(Px(image, 3, 0), kGreen);

    TColorMatrix swap; // red and blue change places
    swap.m[0][0] = swap.m[2][2] = 0;
    swap.m[0][2] = swap.m[2][0] = 1;
    TGPImageAttributes swapped;
    swapped.SetColorMatrix(swap);
    const QImage out = swapped.Apply(source);
    EXPECT_EQ(out.pixel(2, 0), 0xFF302010u);
    swapped.ClearColorMatrix();
    EXPECT_EQ(*swapped.PlainOpacity(), 1.0f);
}

TEST(TGPGraphics, TextIsDrawnMeasuredAlignedAndTrimmed) {
    const auto font = TGPGraphics::MakeFont(QFont(QStringLiteral("DejaVu Sans"), 12));
    QImage image = Blank(200, 60);
    TGPGraphics g(image);
    TGPRectF small, large;
    g.MeasureString(QStringLiteral("Ab"), *font, {0, 0, 0, 0}, nullptr, small);
    g.MeasureString(QStringLiteral("Abcdefghij"), *font, {0, 0, 0, 0}, nullptr, large);
    EXPECT_GT(large.Width, small.Width);
    EXPECT_NEAR(small.Height, large.Height, 0.5);
    EXPECT_GT(small.Height, 10);

    TGPStringFormat format;
    format.SetAlignment(StringAlignmentFar);
    format.SetLineAlignment(StringAlignmentCenter);
    g.DrawString(QStringLiteral("Xy"), *font, {0, 0, 200, 60}, &format, TGPSolidBrush(0xFF000000));
    const QRect ink = BoxOf(image, 0xFF000000);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_GT(ink.left(), 150) << "far alignment puts the text on the right";
    EXPECT_NEAR(ink.center().y(), 30, 8) << "line alignment centre";

    // Without wrapping, an ellipsis keeps a long line within the layout width.
    TGPStringFormat trimmed(StringFormatFlagsNoWrap);
    trimmed.SetTrimming(StringTrimmingEllipsisWord);
    TGPRectF box;
    const QString longText = QStringLiteral("one two three four five six seven eight nine ten");
    g.MeasureString(longText, *font, {0, 0, 100, 40}, &trimmed, box);
    EXPECT_LE(box.Width, 100.5f);
    EXPECT_LT(box.Height, 25) << "one line";
    TGPStringFormat wrapped;
    g.MeasureString(longText, *font, {0, 0, 100, 400}, &wrapped, box);
    EXPECT_GT(box.Height, 40) << "wrapping makes several lines";
}

TEST(TGPGraphics, MakeFontKeepsStylesAndFallsBackToArial) {
    QFont vcl(QStringLiteral("No Such Family 123"), 10);
    vcl.setBold(true);
    vcl.setItalic(true);
    vcl.setUnderline(true);
    vcl.setStrikeOut(true);
    const auto font = TGPGraphics::MakeFont(vcl);
    EXPECT_EQ(font->GetFamily(), QStringLiteral("Arial"));
    EXPECT_EQ(font->GetStyle(), FontStyleBold | FontStyleItalic | FontStyleUnderline);
    EXPECT_FALSE(font->QtFont().strikeOut());
    EXPECT_FLOAT_EQ(font->GetSize(), 10);
    EXPECT_EQ(font->QtFont().pixelSize(), 13) << "points at 96 dots per inch";
    QFont pixels(QStringLiteral("DejaVu Sans"));
    pixels.setPixelSize(16);
    EXPECT_FLOAT_EQ(TGPGraphics::MakeFont(pixels)->GetSize(), 12);
}

namespace {

class TPaintedWidget : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override {
        TGPGraphics g(this);
        g.FillRectangle(TGPSolidBrush(kBlue), 0, 0, 10, 10);
    }
};

} // namespace

TEST(TGPGraphics, SurfaceOnAWidgetAndOnACanvas) {
    TPaintedWidget widget;
    widget.resize(20, 20);
    const QImage shot = widget.grab().toImage();
    EXPECT_EQ(shot.pixel(5, 5), kBlue);

    QImage image = Blank(10, 10);
    QPainter canvas(&image);
    canvas.setOpacity(0.5);
    {
        TGPGraphics g(canvas);
        g.SetSmoothingMode(SmoothingModeAntiAlias);
        g.TranslateTransform(2, 2);
    }
    EXPECT_FALSE(canvas.testRenderHint(QPainter::Antialiasing)) << "the canvas gets its state back";
    EXPECT_EQ(canvas.worldTransform(), QTransform());
    EXPECT_EQ(canvas.opacity(), 0.5);
}

TEST(TGPGraphics, ClearFillsTheWholeSurface) {
    QImage image = Blank(5, 5, kRed);
    TGPGraphics g(image);
    g.SetClip(TGPRectF{0, 0, 1, 1});
    g.Clear(0x00000000);
    EXPECT_EQ(Px(image, 0, 0), 0u);
    EXPECT_EQ(Px(image, 4, 4), kRed) << "within the clip only";
    g.ResetClip();
    g.Clear(0x80123456);
    EXPECT_TRUE(Near(Px(image, 4, 4), 0x80123456, 1)) << "replaced, not blended";
    QImage none;
    TGPGraphics broken(none);
    EXPECT_EQ(broken.GetLastStatus(), InvalidParameter);
    EXPECT_EQ(broken.FillRectangle(TGPSolidBrush(kRed), 0, 0, 1, 1), InvalidParameter);
}
