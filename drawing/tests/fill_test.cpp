#include "drawing/fill.h"
#include "drawing/tests/drawing_test_support.h"

#include <functional>

using namespace lanterna;
using namespace lanterna::testing;

namespace {

constexpr ARGB kSilver = 0xFFC0C0C0, kGrey = 0xFF808080;

// Paints a fill into a transparent w x h image with anti-aliasing on, as the controls do.
QImage Painted(TFill& fill, int w, int h, TGPRectF* returned = nullptr, std::uint8_t borderOpacity = 255,
               std::uint8_t opacity = 255, std::uint8_t opacityTo = 255, std::uint8_t opacityMirror = 255) {
    QImage image = Blank(w, h);
    TGPGraphics g(image);
    g.SetSmoothingMode(SmoothingModeAntiAlias);
    const TGPRectF r =
        fill.Fill(g, {0, 0, float(w), float(h)}, borderOpacity, opacity, opacityTo, opacityMirror);
    if (returned)
        *returned = r;
    return image;
}

TGPPicture PictureOf(const QImage& image, const char* format = "png") {
    TGPPicture picture;
    QBuffer in;
    in.setData(Encode(image, format));
    in.open(QIODevice::ReadOnly);
    picture.LoadFromStream(&in);
    return picture;
}

QImage Solid(int w, int h, QRgb color) {
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(color);
    return image;
}

int Blue(ARGB c) {
    return Channel(c, 0);
}

} // namespace

TEST(TFill, Defaults) {
    TFill f;
    EXPECT_EQ(f.Color(), clSilver);
    EXPECT_EQ(f.ColorTo(), clGray);
    EXPECT_EQ(f.ColorMirror(), clNone);
    EXPECT_EQ(f.ColorMirrorTo(), clNone);
    EXPECT_EQ(f.GradientType(), gtVertical);
    EXPECT_EQ(f.GradientMirrorType(), gtSolid);
    EXPECT_EQ(f.HatchStyle(), HatchStyleHorizontal);
    EXPECT_EQ(f.HatchStyleMirror(), HatchStyleHorizontal);
    EXPECT_EQ(f.Opacity(), 255);
    EXPECT_EQ(f.OpacityTo(), 255);
    EXPECT_EQ(f.OpacityMirror(), 255);
    EXPECT_EQ(f.OpacityMirrorTo(), 255);
    EXPECT_EQ(f.Angle(), 0);
    EXPECT_EQ(f.BorderColor(), clNone);
    EXPECT_EQ(f.BorderWidth(), 1);
    EXPECT_EQ(f.BorderOpacity(), 255);
    EXPECT_EQ(f.Rounding(), 0);
    EXPECT_EQ(f.RoundingType(), rtBoth);
    EXPECT_EQ(f.ShadowOffset(), 0);
    EXPECT_EQ(f.ShadowColor(), clGray);
    EXPECT_EQ(f.ShadowType(), stRightBottom);
    EXPECT_EQ(f.Glow(), gmNone);
    EXPECT_EQ(f.GlowGradientColor(), clWhite);
    EXPECT_EQ(f.GlowRadialColor(), clWhite);
    EXPECT_TRUE(f.Picture().Empty());
    EXPECT_EQ(f.PicturePosition(), ppTopLeft);
    EXPECT_EQ(f.PictureLeft(), 0);
    EXPECT_EQ(f.PictureTop(), 0);
    EXPECT_EQ(f.PictureSize(), psOriginal);
    EXPECT_EQ(f.PictureWidth(), 50);
    EXPECT_EQ(f.PictureHeight(), 50);
    EXPECT_FALSE(f.PictureAspectRatio());
    EXPECT_EQ(f.PictureAspectMode(), pmStretch);
    EXPECT_TRUE(f.BackGroundPicture().Empty());
    EXPECT_EQ(f.BackGroundPicturePosition(), ppTopLeft);
    EXPECT_EQ(f.BackGroundPictureMode(), pmOutsideFill);
    EXPECT_FALSE(f.BackGroundPictureAspectRatio());
    EXPECT_EQ(f.BackGroundPictureAspectMode(), pmStretch);
    EXPECT_FALSE(f.Focus());
    EXPECT_EQ(f.FocusColor(), clBlack);
    EXPECT_EQ(f.FocusRect(), TGPRectF{});
    EXPECT_EQ(int(gtNone), 10);
    EXPECT_EQ(int(ppCustom), 11);
}

TEST(TFill, SettersAnnounceChangesOutsideUpdates) {
    TFill f;
    int changes = 0;
    f.OnChange = [&](TPersistent* sender) {
        EXPECT_EQ(sender, &f);
        ++changes;
    };
    f.SetColor(clRed);
    EXPECT_EQ(changes, 1);
    f.SetColor(clRed);
    EXPECT_EQ(changes, 1) << "the same value announces nothing";
    f.BeginUpdate();
    f.BeginUpdate();
    f.SetRounding(4);
    f.SetGlow(gmRadial);
    f.EndUpdate();
    f.SetAngle(30);
    f.EndUpdate();
    EXPECT_EQ(changes, 1) << "nothing inside the bracket, and EndUpdate itself is silent";
    f.EndUpdate(); // below zero it stays at zero
    f.SetAngle(31);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(f.Rounding(), 4);
}

TEST(TFill, PicturesAreOwnedCopiesAndForwardTheirChanges) {
    TFill f;
    int changes = 0;
    f.OnChange = [&](TPersistent*) { ++changes; };
    TGPPicture source = PictureOf(Solid(4, 4, 0xFFFF0000));
    f.SetPicture(&source);
    EXPECT_GE(changes, 1);
    EXPECT_EQ(f.Picture().Data(), source.Data());
    source.Assign(nullptr);
    EXPECT_FALSE(f.Picture().Empty()) << "a copy, not the caller's picture";
    changes = 0;
    QBuffer in;
    in.setData(Encode(Solid(2, 2, 0xFF00FF00), "png"));
    in.open(QIODevice::ReadOnly);
    f.BackGroundPicture().LoadFromStream(&in);
    EXPECT_EQ(changes, 1) << "loading an owned picture announces the fill's change";
}

TEST(TFill, AssignCopiesThePublishedPropertiesOnly) {
    TFill source;
    source.SetColor(clRed);
    source.SetColorTo(clBlue);
    source.SetColorMirror(clLime);
    source.SetColorMirrorTo(clNavy);
    source.SetGradientType(gtAngle);
    source.SetGradientMirrorType(gtHorizontal);
    source.SetHatchStyle(HatchStyleWeave);
    source.SetHatchStyleMirror(HatchStyleSphere);
    source.SetOpacity(10);
    source.SetOpacityTo(20);
    source.SetOpacityMirror(30);
    source.SetOpacityMirrorTo(40);
    source.SetAngle(33);
    source.SetBorderColor(clMaroon);
    source.SetBorderWidth(3);
    source.SetBorderOpacity(50);
    source.SetRounding(6);
    source.SetRoundingType(rtLeft);
    source.SetShadowOffset(5);
    source.SetShadowColor(clTeal);
    source.SetShadowType(stSurround);
    source.SetGlow(gmRadialGradient);
    source.SetGlowGradientColor(clYellow);
    source.SetGlowRadialColor(clAqua);
    source.SetPicturePosition(ppCustom);
    source.SetPictureLeft(7);
    source.SetPictureTop(8);
    source.SetPictureSize(psCustom);
    source.SetPictureWidth(9);
    source.SetPictureHeight(11);
    source.SetPictureAspectRatio(true);
    source.SetPictureAspectMode(pmNormal);
    source.SetBackGroundPicturePosition(ppTiled);
    source.SetBackGroundPictureLeft(12);
    source.SetBackGroundPictureTop(13);
    source.SetBackGroundPictureMode(pmInsideFill);
    source.SetBackGroundPictureAspectRatio(true);
    source.SetBackGroundPictureAspectMode(pmNormal);
    TGPPicture red = PictureOf(Solid(3, 3, 0xFFFF0000));
    source.SetPicture(&red);
    source.SetBackGroundPicture(&red);
    source.SetFocus(true);
    source.SetFocusColor(clRed);

    TFill target;
    int changes = 0;
    target.OnChange = [&](TPersistent*) { ++changes; };
    target.Assign(&source);
    EXPECT_EQ(changes, 3) << "each picture assignment, then the fill's own";
    EXPECT_EQ(target.Color(), clRed);
    EXPECT_EQ(target.ColorTo(), clBlue);
    EXPECT_EQ(target.ColorMirror(), clLime);
    EXPECT_EQ(target.ColorMirrorTo(), clNavy);
    EXPECT_EQ(target.GradientType(), gtAngle);
    EXPECT_EQ(target.GradientMirrorType(), gtHorizontal);
    EXPECT_EQ(target.HatchStyle(), HatchStyleWeave);
    EXPECT_EQ(target.HatchStyleMirror(), HatchStyleSphere);
    EXPECT_EQ(target.Opacity(), 10);
    EXPECT_EQ(target.OpacityTo(), 20);
    EXPECT_EQ(target.OpacityMirror(), 30);
    EXPECT_EQ(target.OpacityMirrorTo(), 40);
    EXPECT_EQ(target.Angle(), 33);
    EXPECT_EQ(target.BorderColor(), clMaroon);
    EXPECT_EQ(target.BorderWidth(), 3);
    EXPECT_EQ(target.BorderOpacity(), 50);
    EXPECT_EQ(target.Rounding(), 6);
    EXPECT_EQ(target.RoundingType(), rtLeft);
    EXPECT_EQ(target.ShadowOffset(), 5);
    EXPECT_EQ(target.ShadowColor(), clTeal);
    EXPECT_EQ(target.ShadowType(), stSurround);
    EXPECT_EQ(target.Glow(), gmRadialGradient);
    EXPECT_EQ(target.GlowGradientColor(), clYellow);
    EXPECT_EQ(target.GlowRadialColor(), clAqua);
    EXPECT_EQ(target.PicturePosition(), ppCustom);
    EXPECT_EQ(target.PictureLeft(), 7);
    EXPECT_EQ(target.PictureTop(), 8);
    EXPECT_EQ(target.PictureSize(), psCustom);
    EXPECT_EQ(target.PictureWidth(), 9);
    EXPECT_EQ(target.PictureHeight(), 11);
    EXPECT_TRUE(target.PictureAspectRatio());
    EXPECT_EQ(target.PictureAspectMode(), pmNormal);
    EXPECT_EQ(target.BackGroundPicturePosition(), ppTiled);
    EXPECT_EQ(target.BackGroundPictureLeft(), 12);
    EXPECT_EQ(target.BackGroundPictureTop(), 13);
    EXPECT_EQ(target.BackGroundPictureMode(), pmInsideFill);
    EXPECT_TRUE(target.BackGroundPictureAspectRatio());
    EXPECT_EQ(target.BackGroundPictureAspectMode(), pmNormal);
    EXPECT_EQ(target.Picture().Data(), red.Data());
    EXPECT_EQ(target.BackGroundPicture().Data(), red.Data());
    EXPECT_FALSE(target.Focus()) << "focus is not copied";
    EXPECT_EQ(target.FocusColor(), clBlack);

    TBitmap notAFill;
    changes = 0;
    target.Assign(&notAFill);
    target.Assign(nullptr);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(target.Color(), clRed);
}

TEST(CreateRoundRectPath, EachRoundingTypeRoundsItsCorners) {
    struct Case {
        TFillRoundingType type;
        bool tl, tr, bl, br; // rounded corners
    };
    const Case cases[] = {{rtNone, false, false, false, false}, {rtTop, true, true, false, false},
                          {rtBottom, false, false, true, true}, {rtBoth, true, true, true, true},
                          {rtLeft, true, false, true, false},   {rtRight, false, true, false, true}};
    for (const Case& c : cases) {
        const TGPGraphicsPath path = CreateRoundRectPath({10, 20, 100, 50}, 10, c.type);
        const QPainterPath& p = path.QtPath();
        EXPECT_EQ(path.GetFillMode(), FillModeAlternate);
        EXPECT_EQ(p.contains(QPointF(11, 21)), !c.tl) << int(c.type);
        EXPECT_EQ(p.contains(QPointF(109, 21)), !c.tr) << int(c.type);
        EXPECT_EQ(p.contains(QPointF(11, 69)), !c.bl) << int(c.type);
        EXPECT_EQ(p.contains(QPointF(109, 69)), !c.br) << int(c.type);
        EXPECT_TRUE(p.contains(QPointF(60, 45)));
        EXPECT_TRUE(p.contains(QPointF(60, 20.5)));
        EXPECT_FALSE(p.contains(QPointF(60, 19.5)));
        const QRectF bounds = p.boundingRect();
        EXPECT_NEAR(bounds.left(), 10, 1e-3);
        EXPECT_NEAR(bounds.bottom(), 70, 1e-3);
    }
    const TGPGraphicsPath plain = CreateRoundRectPath({0, 0, 10, 10}, 0, rtBoth);
    EXPECT_TRUE(plain.QtPath().contains(QPointF(0.2, 0.2)));
}

TEST(AspectFit, KeepsProportionsAndNeverEnlargesInNormalMode) {
    EXPECT_EQ(AspectFit(100, 50, 50, 50, pmStretch), (std::pair<double, double>(50, 25)));
    EXPECT_EQ(AspectFit(50, 100, 50, 50, pmStretch), (std::pair<double, double>(25, 50)));
    EXPECT_EQ(AspectFit(10, 5, 100, 100, pmStretch), (std::pair<double, double>(100, 50)));
    EXPECT_EQ(AspectFit(10, 5, 100, 100, pmNormal), (std::pair<double, double>(10, 5)));
    EXPECT_EQ(AspectFit(10, 5, 10, 100, pmNormal), (std::pair<double, double>(10, 5)));
    EXPECT_EQ(AspectFit(0, 5, 10, 10, pmStretch), (std::pair<double, double>(0, 0)));
    EXPECT_EQ(AspectFit(5, 5, 10, -1, pmStretch), (std::pair<double, double>(0, 0)));
}

TEST(TFill, DefaultIsSilverAtTheTopAndGreyAtTheBottomWithoutBorder) {
    TFill f;
    TGPRectF r;
    const QImage image = Painted(f, 100, 50, &r);
    EXPECT_EQ(r, (TGPRectF{0, 0, 100, 50}));
    EXPECT_TRUE(Near(Px(image, 50, 0), kSilver, 4));
    EXPECT_TRUE(Near(Px(image, 50, 49), kGrey, 4));
    EXPECT_TRUE(Near(Px(image, 0, 0), kSilver, 4)) << "no border, square corners";
    EXPECT_EQ(Px(image, 0, 25), Px(image, 99, 25)) << "a vertical gradient";
    for (int y = 1; y < 50; ++y)
        EXPECT_LE(Channel(Px(image, 50, y), 16), Channel(Px(image, 50, y - 1), 16)) << y;
    // Gamma correction keeps the middle lighter than the plain average of 0xC0 and 0x80.
    EXPECT_GT(Channel(Px(image, 50, 25), 16), 0xA0);
}

TEST(TFill, ColorToNonePaintsSolidAndColorNonePaintsNoBody) {
    for (TGradientType type :
         {gtVertical, gtHorizontal, gtForwardDiagonal, gtBackwardDiagonal, gtAngle, gtHatch}) {
        TFill f;
        f.SetColor(RGBColor(0x12, 0x34, 0x56));
        f.SetColorTo(clNone);
        f.SetGradientType(type);
        f.SetAngle(30);
        const QImage image = Painted(f, 40, 30);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x)
                ASSERT_EQ(Px(image, x, y), 0xFF123456u) << int(type) << " at " << x << "," << y;
    }
    TFill none;
    none.SetColor(clNone);
    none.SetBorderColor(clRed);
    const QImage image = Painted(none, 40, 30);
    EXPECT_EQ(Px(image, 20, 15), 0u);
    EXPECT_EQ(qRed(Px(image, 20, 0)), 255) << "the border still comes";
    EXPECT_GT(qAlpha(Px(image, 20, 0)), 100);
}

TEST(TFill, MirrorSplitsTheBodyAndMarksTheLowerHalf) {
    TFill f;
    f.SetColor(clWhite);
    f.SetColorTo(clSilver);
    f.SetColorMirror(RGBColor(0, 0, 200));
    f.SetColorMirrorTo(RGBColor(0, 0, 100));
    f.SetGradientMirrorType(gtVertical);
    const QImage image = Painted(f, 60, 100);
    // h = 50: the lower half starts at 49 with a 1-pixel line of ColorMirror.
    for (int x = 0; x < 60; ++x)
        ASSERT_EQ(Px(image, x, 49), 0xFF0000C8u) << x;
    EXPECT_TRUE(Near(Px(image, 30, 0), 0xFFFFFFFF, 3));
    EXPECT_TRUE(Near(Px(image, 30, 47), kSilver, 6));
    EXPECT_TRUE(Near(Px(image, 30, 50), 0xFF0000C8, 4));
    EXPECT_TRUE(Near(Px(image, 30, 99), 0xFF000064, 8));

    TFill solidLower;
    solidLower.SetColorMirror(clRed);
    solidLower.SetColorMirrorTo(clBlue);
    const QImage solid = Painted(solidLower, 60, 100);
    EXPECT_EQ(Px(solid, 30, 80), 0xFFFF0000u) << "gtSolid lower half: ColorMirror only";
}

TEST(TFill, RoundedCornersStayTransparentOutsideTheBody) {
    TFill f;
    f.SetColorTo(clNone);
    f.SetRounding(10);
    QImage image = Painted(f, 80, 40);
    EXPECT_EQ(Px(image, 0, 0), 0u);
    EXPECT_EQ(Px(image, 79, 0), 0u);
    EXPECT_EQ(Px(image, 0, 39), 0u);
    EXPECT_EQ(Px(image, 79, 39), 0u);
    EXPECT_EQ(Px(image, 40, 20), kSilver);
    EXPECT_EQ(Px(image, 40, 0), kSilver);
    EXPECT_GT(qAlpha(Px(image, 2, 2)), 0) << "anti-aliased arc";
    EXPECT_LT(qAlpha(Px(image, 2, 2)), 255);

    f.SetRoundingType(rtTop);
    image = Painted(f, 80, 40);
    EXPECT_EQ(Px(image, 0, 0), 0u);
    EXPECT_EQ(Px(image, 0, 39), kSilver);

    // Mirrored: each half rounds only its outer corners.
    f.SetRoundingType(rtBoth);
    f.SetColorMirror(clRed);
    image = Painted(f, 80, 40);
    EXPECT_EQ(Px(image, 0, 0), 0u);
    EXPECT_EQ(Px(image, 0, 39), 0u);
    EXPECT_EQ(Px(image, 0, 17), kSilver);
    EXPECT_EQ(Px(image, 0, 19), 0xFFFF0000u) << "the halves overlap by 2 rows; the lower is painted last";

    // A border follows the rounded outline.
    TFill bordered;
    bordered.SetColor(clWhite);
    bordered.SetColorTo(clNone);
    bordered.SetRounding(10);
    bordered.SetBorderColor(clBlack);
    image = Painted(bordered, 80, 40);
    EXPECT_EQ(Px(image, 0, 0), 0u);
    EXPECT_LT(qRed(Px(image, 40, 0)), 140);
    EXPECT_LT(qRed(Px(image, 3, 3)), 250) << "the border passes near the corner's arc";
    EXPECT_EQ(Px(image, 40, 20), 0xFFFFFFFFu);
}

TEST(TFill, ShadowsReturnTheBodyRectangle) {
    TFill f;
    f.SetShadowOffset(4);
    TGPRectF r;
    Painted(f, 100, 50, &r);
    EXPECT_EQ(r, (TGPRectF{0, 0, 96, 46}));
    f.SetShadowType(stSurround);
    Painted(f, 100, 50, &r);
    EXPECT_EQ(r, (TGPRectF{4, 4, 92, 42}));
    f.SetShadowType(stBottom);
    Painted(f, 100, 50, &r);
    EXPECT_EQ(r, (TGPRectF{0, 0, 100, 46}));
    f.SetShadowColor(clNone);
    f.SetShadowType(stRightBottom);
    Painted(f, 100, 50, &r);
    EXPECT_EQ(r, (TGPRectF{0, 0, 100, 50}));
}

TEST(TFill, ShadowsShowAsSoftEdgesWhereTheBodyMovedAway) {
    TFill f;
    f.SetColor(clWhite);
    f.SetColorTo(clNone);
    f.SetShadowOffset(6);
    f.SetShadowColor(clBlack);
    QImage image = Painted(f, 100, 60);
    EXPECT_EQ(Px(image, 50, 30), 0xFFFFFFFFu);
    const ARGB inner = Px(image, 96, 30), outer = Px(image, 99, 30);
    EXPECT_EQ(qRed(inner), 0) << "shadow colour";
    // From the centre (50, 30) the outline is 50 away and this pixel 46.5: position 0.07 of the
    // fade from clear (0) to 180 (0.1).
    EXPECT_NEAR(qAlpha(inner), 126, 6);
    EXPECT_LT(qAlpha(outer), qAlpha(inner)) << "fading towards the outline";
    EXPECT_GT(qAlpha(Px(image, 50, 57)), 100);

    f.SetShadowType(stSurround);
    image = Painted(f, 100, 60);
    EXPECT_GT(qAlpha(Px(image, 2, 30)), 0);
    EXPECT_EQ(qRed(Px(image, 2, 30)), 0);
    EXPECT_EQ(Px(image, 50, 30), 0xFFFFFFFFu);

    f.SetShadowType(stBottom);
    image = Painted(f, 100, 60);
    // The strip's light spreads from the middle of its top edge, under the body; below the body it fades out.
    EXPECT_GT(qAlpha(Px(image, 50, 55)), qAlpha(Px(image, 50, 59)));
    EXPECT_GT(qAlpha(Px(image, 50, 55)), qAlpha(Px(image, 5, 55)));
    EXPECT_EQ(Px(image, 50, 30), 0xFFFFFFFFu);
}

TEST(TFill, RadialBodyIsBrightestAtTheMiddleOfTheTopEdge) {
    TFill f;
    f.SetColor(clBlack);
    f.SetColorTo(RGBColor(0x00, 0x40, 0x80));
    f.SetGradientType(gtRadial);
    const QImage image = Painted(f, 200, 100);
    const ARGB top = Px(image, 100, 0);
    EXPECT_TRUE(Near(top, 0xFF004080, 6));
    EXPECT_GT(Blue(top), Blue(Px(image, 100, 50)));
    EXPECT_GT(Blue(Px(image, 100, 50)), Blue(Px(image, 100, 99)));
    EXPECT_GT(Blue(top), Blue(Px(image, 20, 0)));
    EXPECT_TRUE(Near(Px(image, 0, 99), 0xFF000000, 2)) << "the base colour outside the ellipse";
    EXPECT_EQ(qAlpha(Px(image, 0, 0)), 255);

    f.SetColorTo(clNone);
    const QImage plain = Painted(f, 200, 100);
    EXPECT_EQ(Px(plain, 100, 0), 0xFF000000u);
    EXPECT_EQ(Px(plain, 100, 50), 0xFF000000u);
}

TEST(TFill, ALineForABodyOnePixelThin) {
    TFill f;
    f.SetBorderColor(clRed);
    QImage image = Blank(50, 10);
    {
        TGPGraphics g(image);
        f.Fill(g, {0, 4, 50, 1});
    }
    EXPECT_EQ(qRed(Px(image, 25, 4)), 255);
    EXPECT_EQ(Px(image, 25, 6), 0u) << "no body";
    f.SetBorderWidth(0);
    QImage none = Blank(50, 10);
    {
        TGPGraphics g(none);
        f.Fill(g, {0, 4, 50, 1});
    }
    EXPECT_EQ(BoxOf(none, 0), QRect(0, 0, 50, 10));
}

TEST(TFill, AnOpaqueBodyIsClaimedOnlyWhereEveryPixelInsideIsPaintedOpaque) {
    // Painted with antialiasing between pixels: every pixel wholly inside the rectangle must be opaque
    // wherever the fill says its body is.
    const TGPRectF r{3.4f, 2.6f, 40.3f, 25.7f};
    const auto opaqueInside = [&](TFill& fill) {
        QImage image = Blank(50, 32);
        {
            TGPGraphics g(image);
            g.SetSmoothingMode(SmoothingModeAntiAlias);
            fill.Fill(g, r);
        }
        for (int y = 3; y < 28; ++y)
            for (int x = 4; x < 43; ++x)
                if (qAlpha(Px(image, x, y)) != 255)
                    return false;
        return true;
    };
    TFill solid;
    solid.SetGradientType(gtSolid);
    solid.SetColor(clWhite);
    solid.SetBorderColor(clSilver);
    EXPECT_TRUE(solid.PaintsOpaqueBody());
    EXPECT_TRUE(opaqueInside(solid));

    const auto claimed = [&](const std::function<void(TFill&)>& change) {
        TFill fill;
        fill.Assign(&solid);
        change(fill);
        return fill.PaintsOpaqueBody();
    };
    EXPECT_FALSE(claimed([](TFill& f) { f.SetOpacity(254); }));
    EXPECT_FALSE(claimed([](TFill& f) { f.SetColor(clNone); }));
    EXPECT_FALSE(claimed([](TFill& f) { f.SetRounding(6); }));
    EXPECT_FALSE(claimed([](TFill& f) { f.SetShadowOffset(4); }));
    EXPECT_FALSE(claimed([](TFill& f) { f.SetColorMirror(clRed); }));
    EXPECT_FALSE(claimed([](TFill& f) { f.SetGradientType(gtHatch); }));
    TFill rounded;
    rounded.Assign(&solid);
    rounded.SetRounding(6);
    EXPECT_FALSE(opaqueInside(rounded)) << "its corners are not painted";
}

TEST(TFill, OpacityArgumentsOverrideThePropertiesForOneCall) {
    TFill f;
    f.SetBorderColor(clRed);
    QImage hidden = Painted(f, 40, 30, nullptr, 0, 0, 0, 0);
    EXPECT_EQ(BoxOf(hidden, 0), QRect(0, 0, 40, 30));
    EXPECT_EQ(f.Opacity(), 255);
    QImage shown = Painted(f, 40, 30, nullptr, 255, 255, 255, 255);
    EXPECT_EQ(qAlpha(Px(shown, 20, 15)), 255);
    f.SetOpacity(128);
    f.SetOpacityTo(128);
    shown = Painted(f, 40, 30);
    EXPECT_NEAR(qAlpha(Px(shown, 20, 15)), 128, 1);
}

TEST(TFill, FocusOutlineIsDottedInsideTheBorderWithoutAntiAliasing) {
    TFill f;
    f.SetColor(clWhite);
    f.SetColorTo(clNone);
    f.SetBorderWidth(2);
    f.SetFocus(true);
    f.SetFocusColor(clBlack);
    QImage image = Painted(f, 60, 40);
    EXPECT_EQ(f.FocusRect(), (TGPRectF{2, 2, 56, 36}));
    int dots = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x) {
            const QRgb c = Px(image, x, y);
            ASSERT_TRUE(c == 0xFFFFFFFF || c == 0xFF000000) << "crisp: " << x << "," << y;
            dots += c == 0xFF000000;
        }
    EXPECT_GT(dots, 40);
    EXPECT_LT(dots, 2 * (56 + 36));
    EXPECT_EQ(Px(image, 30, 20), 0xFFFFFFFFu);
    // The focus rectangle is kept even without Focus.
    TFill plain;
    plain.SetBorderWidth(3);
    Painted(plain, 60, 40);
    EXPECT_EQ(plain.FocusRect(), (TGPRectF{3, 3, 54, 34}));
}

TEST(TFill, TextureBodiesAndBackgroundPictures) {
    // Every other texel is transparent, so what lies beneath the texture shows.
    QImage tile = Pattern(6, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x)
            if ((x + y) % 2)
                tile.setPixel(x, y, 0);
    TGPPicture texture = PictureOf(tile);
    TFill f;
    f.SetGradientType(gtTexture);
    f.SetBackGroundPicture(&texture);
    f.SetBackGroundPicturePosition(ppTiled);
    QImage image = Blank(40, 30);
    {
        TGPGraphics g(image);
        f.Fill(g, {3, 4, 30, 20});
    }
    for (int y = 4; y < 24; ++y)
        for (int x = 3; x < 33; ++x)
            ASSERT_EQ(Px(image, x, y), tile.pixel(x % 6, y % 5)) << x << "," << y;

    // ColorTo clNone: the body is solid Color; the tiled background picture still comes over it.
    f.SetColorTo(clNone);
    image = Painted(f, 40, 30);
    EXPECT_EQ(Px(image, 0, 0), tile.pixel(0, 0));
    EXPECT_EQ(Px(image, 1, 0), kSilver);

    // Another position: no texture in the body, the picture once where it is placed.
    f.SetColorTo(clGray);
    f.SetBackGroundPicturePosition(ppBottomRight);
    image = Painted(f, 40, 30);
    EXPECT_EQ(Px(image, 1, 0), 0u) << "a texture body without the tiled position paints nothing";
    EXPECT_EQ(Px(image, 34, 25), tile.pixel(0, 0));
    EXPECT_EQ(Px(image, 39, 29), tile.pixel(5, 4));

    // Inside the fill: clipped to the rounded body.
    f.SetBackGroundPictureMode(pmInsideFill);
    f.SetBackGroundPicturePosition(ppStretched);
    f.SetRounding(12);
    const QImage opaqueTile = Pattern(6, 5);
    TGPPicture opaque = PictureOf(opaqueTile);
    f.SetBackGroundPicture(&opaque);
    image = Painted(f, 40, 30);
    EXPECT_EQ(Px(image, 0, 0), 0u);
    EXPECT_EQ(qAlpha(Px(image, 20, 15)), 255);
}

TEST(TFill, PicturePositionsFollowTheTable) {
    TGPPicture red = PictureOf(Solid(10, 6, 0xFFFF0000));
    struct Case {
        TFillPicturePosition position;
        QRect expected;
    };
    // The rectangle is (5, 5, 100, 60): L 5, T 5, Rt 105, B 65.
    const Case cases[] = {
        {ppTopLeft, {5, 5, 10, 6}},     {ppTopCenter, {50, 5, 10, 6}},     {ppTopRight, {95, 5, 10, 6}},
        {ppBottomLeft, {5, 59, 10, 6}}, {ppBottomCenter, {50, 59, 10, 6}}, {ppBottomRight, {95, 59, 10, 6}},
        {ppCenterLeft, {5, 32, 10, 6}}, {ppCenterCenter, {50, 32, 10, 6}}, {ppCenterRight, {95, 32, 10, 6}},
        {ppCustom, {70, 2, 10, 6}},     {ppStretched, {5, 5, 100, 60}}};
    for (const Case& c : cases) {
        TFill f;
        f.SetColor(clNone);
        f.SetPicture(&red);
        f.SetPicturePosition(c.position);
        f.SetPictureLeft(70);
        f.SetPictureTop(2);
        QImage image = Blank(120, 80);
        TGPGraphics g(image);
        f.Fill(g, {5, 5, 100, 60});
        EXPECT_EQ(BoxOf(image, 0xFFFF0000), c.expected) << int(c.position);
    }
    TFill tiled;
    tiled.SetColor(clNone);
    tiled.SetPicture(&red);
    tiled.SetPicturePosition(ppTiled);
    QImage image = Blank(120, 80);
    {
        TGPGraphics g(image);
        tiled.Fill(g, {5, 5, 100, 60});
    }
    EXPECT_EQ(BoxOf(image, 0xFFFF0000), QRect(5, 5, 100, 60));

    // Keeping proportions: a 10 x 6 picture in a 100 x 60 box fills it; pmNormal keeps it small.
    TFill aspect;
    aspect.SetColor(clNone);
    aspect.SetPicture(&red);
    aspect.SetPicturePosition(ppStretched);
    aspect.SetPictureAspectRatio(true);
    image = Blank(120, 80);
    {
        TGPGraphics g(image);
        aspect.Fill(g, {5, 5, 100, 30});
    }
    EXPECT_EQ(BoxOf(image, 0xFFFF0000), QRect(30, 5, 50, 30));
    aspect.SetPictureAspectMode(pmNormal);
    image = Blank(120, 80);
    {
        TGPGraphics g(image);
        aspect.Fill(g, {5, 5, 100, 30});
    }
    EXPECT_EQ(BoxOf(image, 0xFFFF0000), QRect(50, 17, 10, 6));
}

TEST(TFill, CustomSizedPictureLandsCentredOverBorderAndGlow) {
    TGPPicture blue = PictureOf(Solid(8, 8, 0xFF0000FF));
    TFill f;
    f.SetBorderColor(clRed);
    f.SetGlow(gmGradient);
    f.SetShadowOffset(4);
    f.SetPicture(&blue);
    f.SetPictureSize(psCustom);
    f.SetPictureWidth(32);
    f.SetPictureHeight(32);
    f.SetPicturePosition(ppCenterCenter);
    TGPRectF r;
    const QImage image = Painted(f, 104, 54, &r);
    EXPECT_EQ(r, (TGPRectF{0, 0, 100, 50}));
    EXPECT_EQ(BoxOf(image, 0xFF0000FF), QRect(34, 9, 32, 32));
}

TEST(TFill, GlowsLightTheTopAndRiseFromTheBottom) {
    TFill f;
    f.SetColor(RGBColor(0, 0, 128));
    f.SetColorTo(clNone);
    f.SetGlow(gmGradient);
    QImage image = Painted(f, 100, 40);
    const ARGB body = 0xFF000080;
    EXPECT_GT(qRed(Px(image, 50, 2)), qRed(body)) << "top highlight";
    EXPECT_GT(qRed(Px(image, 50, 37)), qRed(body)) << "bottom highlight";
    EXPECT_EQ(Px(image, 50, 20), body);

    f.SetGlow(gmRadial);
    f.SetGlowRadialColor(clWhite);
    image = Painted(f, 100, 40);
    EXPECT_GT(qRed(Px(image, 50, 37)), qRed(Px(image, 50, 20)));
    EXPECT_GT(qRed(Px(image, 50, 20)), qRed(Px(image, 50, 2)));
    EXPECT_GT(qRed(Px(image, 50, 37)), qRed(Px(image, 15, 37)));
    EXPECT_EQ(Px(image, 2, 2), body) << "outside the glow's ellipse";
}

TEST(TFill, TheSurfaceIsUnclippedAfterwards) {
    auto check = [](TFill& f) {
        QImage image = Blank(60, 40);
        TGPGraphics g(image);
        g.SetClip(TGPRectF{0, 0, 5, 5});
        f.Fill(g, {0, 0, 60, 40});
        EXPECT_FALSE(g.IsClipped());
    };
    TFill glow;
    glow.SetGlow(gmRadialGradient);
    check(glow);
    TFill radial;
    radial.SetGradientType(gtRadial);
    check(radial);
    TFill bottom;
    bottom.SetShadowOffset(3);
    bottom.SetShadowType(stBottom);
    check(bottom);
    TFill inside;
    TGPPicture picture = PictureOf(Solid(4, 4, 0xFF00FF00));
    inside.SetGradientType(gtTexture);
    inside.SetBackGroundPicture(&picture);
    inside.SetBackGroundPictureMode(pmInsideFill);
    check(inside);
}

TEST(TFill, HatchBodiesFollowTheirPattern) {
    TFill f;
    f.SetGradientType(gtHatch);
    f.SetHatchStyle(HatchStyleDiagonalCross);
    f.SetColor(clRed);
    f.SetColorTo(clWhite);
    f.SetColorMirror(clBlue); // a hatch body is never split
    const QImage image = Painted(f, 32, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            ASSERT_EQ(Px(image, x, y),
                      TGPHatchBrush::IsForeground(HatchStyleDiagonalCross, x, y) ? 0xFFFF0000u : 0xFFFFFFFFu)
                << x << "," << y;
}

TEST(TFill, AngleAndDiagonalBodies) {
    TFill f;
    f.SetColor(clBlack);
    f.SetColorTo(clWhite);
    f.SetGradientType(gtAngle);
    f.SetAngle(0);
    QImage image = Painted(f, 100, 20);
    EXPECT_LT(qRed(Px(image, 2, 10)), qRed(Px(image, 97, 10))) << "0 degrees runs left to right";
    EXPECT_EQ(Px(image, 50, 0), Px(image, 50, 19));
    f.SetGradientType(gtForwardDiagonal);
    image = Painted(f, 100, 20);
    EXPECT_LT(qRed(Px(image, 1, 1)), qRed(Px(image, 98, 18)));
    f.SetGradientType(gtHorizontal);
    image = Painted(f, 100, 20);
    EXPECT_LT(qRed(Px(image, 1, 10)), qRed(Px(image, 98, 10)));
    f.SetGradientType(gtPath);
    image = Painted(f, 100, 20);
    EXPECT_EQ(BoxOf(image, 0), QRect(0, 0, 100, 20)) << "gtPath paints no body";
}

TEST(ColorToRGB, ResolvesSystemColours) {
    EXPECT_EQ(ColorToRGB(clRed), clRed);
    EXPECT_EQ(ColorToRGB(0x8000000F), RGBColor(0xF0, 0xF0, 0xF0)) << "button face";
    EXPECT_EQ(ColorToRGB(0x80000005), clWhite) << "window";
}
