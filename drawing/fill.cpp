#include "drawing/fill.h"

#include <cmath>

namespace lanterna {

namespace {

// Windows' default system colours, #RRGGBB, by index.
constexpr std::uint32_t kSystemColors[] = {
    0xC8C8C8, 0x000000, 0x99B4D1, 0xBFCDDB, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000,
    0x000000, 0x000000, 0xB4B4B4, 0xF4F7FC, 0xABABAB, 0x3399FF, 0xFFFFFF, 0xF0F0F0,
    0xA0A0A0, 0x6D6D6D, 0x000000, 0x434E54, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000,
    0xFFFFE1, 0xB5B5B5, 0x0066CC, 0xB9D1EA, 0xD7E4F2, 0x3399FF, 0xF0F0F0};

// The colour with opacity that every brush and pen is made of.
ARGB Argb(std::uint8_t opacity, TColor color) {
    return AlphaColor(ColorToRGB(color), opacity);
}

bool IsLinear(TGradientType type) {
    return type == gtVertical || type == gtHorizontal || type == gtForwardDiagonal ||
           type == gtBackwardDiagonal;
}

TGPRectF Grown(const TGPRectF& r) {
    return {r.X - 1, r.Y - 1, r.Width + 2, r.Height + 2};
}

// Sets a smoothing mode for the life of the object.
class TSmoothingScope {
public:
    TSmoothingScope(TGPGraphics& graphics, SmoothingMode mode)
        : FGraphics(graphics), FPrevious(graphics.GetSmoothingMode()) {
        graphics.SetSmoothingMode(mode);
    }
    ~TSmoothingScope() { FGraphics.SetSmoothingMode(FPrevious); }

private:
    TGPGraphics& FGraphics;
    SmoothingMode FPrevious;
};

// The body painter: one brush of the gradient type, filling the path when there is one, else the rectangle.
void DrawGradient(TGPGraphics& graphics, const TGPGraphicsPath* path, const TGPRectF& r, TGradientType type,
                  TColor c, std::uint8_t o, TColor cTo, std::uint8_t oTo, HatchStyle hatch, int angle,
                  TGPPicture* texture, bool mirror) {
    auto fill = [&](const TGPBrush& brush) {
        if (path)
            graphics.FillPath(brush, *path);
        else
            graphics.FillRectangle(brush, r);
    };
    switch (type) {
    case gtSolid:
        fill(TGPSolidBrush(Argb(o, c)));
        break;
    case gtVertical:
    case gtHorizontal:
    case gtForwardDiagonal:
    case gtBackwardDiagonal: {
        static constexpr LinearGradientMode kModes[] = {
            LinearGradientModeVertical, LinearGradientModeHorizontal, LinearGradientModeForwardDiagonal,
            LinearGradientModeBackwardDiagonal};
        TGPLinearGradientBrush brush(Grown(r), Argb(o, c), Argb(oTo, cTo), kModes[type - gtVertical]);
        brush.SetGammaCorrection(true);
        fill(brush);
        break;
    }
    case gtAngle: {
        TGPLinearGradientBrush brush(Grown(r), Argb(o, c), Argb(oTo, cTo), float(angle), true);
        brush.SetGammaCorrection(true);
        fill(brush);
        break;
    }
    case gtHatch:
        fill(TGPHatchBrush(hatch, Argb(o, c), Argb(oTo, cTo)));
        break;
    case gtTexture:
        if (texture) {
            if (path)
                texture->FillPath(graphics, *path);
            else
                texture->FillRect(graphics, r);
        }
        break;
    default:
        break;
    }
    if (mirror && IsLinear(type))
        graphics.FillRectangle(TGPSolidBrush(Argb(o, c)), TGPRectF{r.X, r.Y, r.Width, 1});
}

// The brush of the two path-shaped shadows: clear at the outline, 180 of 255 from a tenth of the way in.
void FillShadow(TGPGraphics& graphics, const TGPGraphicsPath& path, TColor color) {
    TGPPathGradientBrush brush(path);
    brush.SetWrapMode(WrapModeClamp);
    const ARGB colors[] = {0, Argb(180, color), Argb(180, color)};
    const float positions[] = {0.0f, 0.1f, 1.0f};
    brush.SetInterpolationColors(colors, positions, 3);
    graphics.FillPath(brush, path);
}

// A body whose light (c2 at `top`, else c1) spreads from the middle of its top (or bottom) edge.
void DrawRadialGradient(TGPGraphics& graphics, const TGPRectF& s, TColor c1, TColor c2, std::uint8_t o1,
                        std::uint8_t o2, bool top, int radius, TFillRoundingType type) {
    const TGPGraphicsPath outline = CreateRoundRectPath(s, float(radius), type);
    graphics.FillPath(TGPSolidBrush(top ? Argb(o1, c1) : Argb(o2, c2)), outline);
    graphics.SetClip(outline, CombineModeReplace);
    TGPGraphicsPath ellipse;
    ellipse.AddEllipse(s.X, top ? s.Y - s.Height / 2 : s.Y, s.Width, 1.5f * s.Height);
    TGPPathGradientBrush brush(ellipse);
    brush.SetCenterPoint({s.X + s.Width / 2, top ? s.Y : s.Y + s.Height});
    ARGB surround = top ? Argb(o1, c1) : Argb(o2, c2);
    int one = 1;
    brush.SetCenterColor(top ? Argb(o2, c2) : Argb(o1, c1));
    brush.SetSurroundColors(&surround, one);
    graphics.FillRectangle(brush, s);
    graphics.ResetClip();
}

TRect Rounded(const TGPRectF& r) {
    const int left = int(Round(r.X)), top = int(Round(r.Y));
    return {left, top, left + int(Round(r.Width)), top + int(Round(r.Height))};
}

} // namespace

TColor ColorToRGB(TColor color) {
    if ((color & 0xFF000000u) == 0x80000000u) {
        const std::uint32_t index = color & 0xFF;
        const std::uint32_t rgb = index < std::size(kSystemColors) ? kSystemColors[index] : 0;
        return RGBColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
    }
    return color;
}

TGPGraphicsPath CreateRoundRectPath(const TGPRectF& rect, float radius, TFillRoundingType type) {
    TGPGraphicsPath path(FillModeAlternate);
    const float x = rect.X, y = rect.Y, w = rect.Width, h = rect.Height, r = radius, d = 2 * radius;
    if (r <= 0)
        type = rtNone;
    auto arc = [&](float left, float top, float start) { path.AddArc(left, top, d, d, start, 90); };
    switch (type) {
    case rtNone:
        path.AddLine(x, y, x + w, y);
        path.AddLine(x + w, y, x + w, y + h);
        path.AddLine(x + w, y + h, x, y + h);
        path.AddLine(x, y + h, x, y);
        break;
    case rtTop:
        arc(x, y, 180);
        path.AddLine(x + r, y, x + w - r, y);
        arc(x + w - d, y, 270);
        path.AddLine(x + w, y + r, x + w, y + h);
        path.AddLine(x + w, y + h, x, y + h);
        path.AddLine(x, y + h, x, y + r);
        break;
    case rtBottom:
        path.AddLine(x, y, x + w, y);
        path.AddLine(x + w, y, x + w, y + h - r);
        arc(x + w - d, y + h - d, 0);
        path.AddLine(x + w - r, y + h, x + r, y + h);
        arc(x, y + h - d, 90);
        path.AddLine(x, y + h - r, x, y);
        break;
    case rtBoth:
        arc(x, y, 180);
        path.AddLine(x + r, y, x + w - r, y);
        arc(x + w - d, y, 270);
        path.AddLine(x + w, y + r, x + w, y + h - r);
        arc(x + w - d, y + h - d, 0);
        path.AddLine(x + w - r, y + h, x + r, y + h);
        arc(x, y + h - d, 90);
        path.AddLine(x, y + h - r, x, y + r);
        break;
    case rtLeft:
        arc(x, y, 180);
        path.AddLine(x + r, y, x + w - r, y);
        path.AddLine(x + w, y, x + w, y + h);
        path.AddLine(x + w - r, y + h, x + r, y + h);
        arc(x, y + h - d, 90);
        path.AddLine(x, y + h - r, x, y + r);
        break;
    case rtRight:
        path.AddLine(x, y, x + w - r, y);
        arc(x + w - d, y, 270);
        path.AddLine(x + w, y + r, x + w, y + h - r);
        arc(x + w - d, y + h - d, 0);
        path.AddLine(x + w - r, y + h, x, y + h);
        path.AddLine(x, y + h - r, x, y + r);
        break;
    }
    path.CloseFigure();
    return path;
}

std::pair<double, double> AspectFit(double w, double h, double boxW, double boxH, TPictureMode mode) {
    if (w <= 0 || h <= 0 || boxW <= 0 || boxH <= 0)
        return {0, 0};
    if (w < boxW && h < boxH && mode == pmNormal)
        return {w, h};
    if (boxW / boxH > w / h)
        return {w * boxH / h, boxH};
    return {boxW, h * boxW / w};
}

TFill::TFill()
    : FPicture(std::make_unique<TGPPicture>()), FBackGroundPicture(std::make_unique<TGPPicture>()) {
    FPicture->OnChange = [this](TPersistent*) { Changed(); };
    FBackGroundPicture->OnChange = [this](TPersistent*) { Changed(); };
}

TFill::~TFill() = default;

void TFill::Changed() {
    if (OnChange && FUpdateCount == 0)
        OnChange(this);
}

void TFill::SetPicture(const TGPPicture* value) {
    FPicture->Assign(value);
    Changed();
}

void TFill::SetBackGroundPicture(const TGPPicture* value) {
    FBackGroundPicture->Assign(value);
    Changed();
}

void TFill::Assign(const TPersistent* source) {
    const auto* s = dynamic_cast<const TFill*>(source);
    if (!s)
        return;
    FPictureAspectRatio = s->FPictureAspectRatio;
    FPictureAspectMode = s->FPictureAspectMode;
    FBackGroundPictureAspectRatio = s->FBackGroundPictureAspectRatio;
    FBackGroundPictureAspectMode = s->FBackGroundPictureAspectMode;
    FColor = s->FColor;
    FColorTo = s->FColorTo;
    FColorMirror = s->FColorMirror;
    FColorMirrorTo = s->FColorMirrorTo;
    FGradientType = s->FGradientType;
    FGradientMirrorType = s->FGradientMirrorType;
    FHatchStyle = s->FHatchStyle;
    FHatchStyleMirror = s->FHatchStyleMirror;
    FBackGroundPicture->Assign(s->FBackGroundPicture.get());
    FBackGroundPicturePosition = s->FBackGroundPicturePosition;
    FBackGroundPictureLeft = s->FBackGroundPictureLeft;
    FBackGroundPictureTop = s->FBackGroundPictureTop;
    FPicture->Assign(s->FPicture.get());
    FPicturePosition = s->FPicturePosition;
    FPictureLeft = s->FPictureLeft;
    FPictureTop = s->FPictureTop;
    FPictureSize = s->FPictureSize;
    FPictureWidth = s->FPictureWidth;
    FPictureHeight = s->FPictureHeight;
    FOpacity = s->FOpacity;
    FOpacityTo = s->FOpacityTo;
    FOpacityMirror = s->FOpacityMirror;
    FOpacityMirrorTo = s->FOpacityMirrorTo;
    FBorderColor = s->FBorderColor;
    FBorderWidth = s->FBorderWidth;
    FRounding = s->FRounding;
    FRoundingType = s->FRoundingType;
    FShadowColor = s->FShadowColor;
    FShadowOffset = s->FShadowOffset;
    FShadowType = s->FShadowType;
    FAngle = s->FAngle;
    FBorderOpacity = s->FBorderOpacity;
    FBackGroundPictureMode = s->FBackGroundPictureMode;
    FGlowGradientColor = s->FGlowGradientColor;
    FGlowRadialColor = s->FGlowRadialColor;
    FGlow = s->FGlow;
    Changed();
}

void TFill::DrawGradientBackGround(TGPGraphics& graphics, const TGPRectF& r, bool mirror, std::uint8_t oc,
                                   std::uint8_t octo, std::uint8_t ocmr, std::uint8_t ocmrto) {
    TColor c = mirror ? FColorMirror : FColor;
    TColor cTo = mirror ? FColorMirrorTo : FColorTo;
    TGradientType type = mirror ? FGradientMirrorType : FGradientType;
    const lanterna::HatchStyle hatch = mirror ? FHatchStyleMirror : FHatchStyle;
    const std::uint8_t o = mirror ? ocmr : oc, oTo = mirror ? ocmrto : octo;
    if (c == clNone)
        type = gtNone;
    else if (cTo == clNone)
        type = gtSolid;

    std::optional<TGPGraphicsPath> path;
    if (FRounding != 0) {
        TFillRoundingType rounding = FRoundingType;
        if (FColorMirror != clNone) {
            // Each half rounds only its outer corners.
            if (rounding == rtBoth)
                rounding = mirror ? rtBottom : rtTop;
            else if ((rounding == rtTop && mirror) || (rounding == rtBottom && !mirror))
                rounding = rtNone;
        }
        path = CreateRoundRectPath(r, float(FRounding), rounding);
    }
    TGPPicture* texture = FBackGroundPicturePosition == ppTiled ? FBackGroundPicture.get() : nullptr;
    if (path) {
        TSmoothingScope smooth(graphics, SmoothingModeAntiAlias);
        DrawGradient(graphics, &*path, r, type, c, o, cTo, oTo, hatch, FAngle, texture, mirror);
    } else {
        DrawGradient(graphics, nullptr, r, type, c, o, cTo, oTo, hatch, FAngle, texture, mirror);
    }
}

void TFill::DrawFillPicture(TGPGraphics& graphics, TGPPicture& picture, int w, int h, const TRect& r,
                            TFillPicturePosition position, int customLeft, int customTop, bool aspect,
                            TPictureMode mode) {
    if (picture.Empty())
        return;
    const int l = r.Left, t = r.Top, rt = r.Right, b = r.Bottom;
    const int lc = l + (rt - l - w) / 2, tc = t + (b - t - h) / 2;
    TRect place;
    switch (position) {
    case ppTopLeft:
        place = {l, t, l + w, t + h};
        break;
    case ppTopCenter:
        place = {lc, t, lc + w, t + h};
        break;
    case ppTopRight:
        place = {rt - w, t, rt, t + h};
        break;
    case ppBottomLeft:
        place = {l, b - h, l + w, b};
        break;
    case ppBottomCenter:
        place = {lc, b - h, lc + w, b};
        break;
    case ppBottomRight:
        place = {rt - w, b - h, rt, b};
        break;
    case ppCenterLeft:
        place = {l, tc, l + w, tc + h};
        break;
    case ppCenterCenter:
        place = {lc, tc, lc + w, tc + h};
        break;
    case ppCenterRight:
        place = {rt - w, tc, rt, tc + h};
        break;
    case ppCustom:
        place = {customLeft, customTop, customLeft + w, customTop + h};
        break;
    case ppStretched: {
        const auto [fw, fh] =
            aspect ? AspectFit(w, h, rt - l, b - t, mode) : std::pair<double, double>(rt - l, b - t);
        const int left = int(Round(l + ((rt - l) - fw) / 2)), top = int(Round(t + ((b - t) - fh) / 2));
        place = {left, top, left + int(Round(fw)), top + int(Round(fh))};
        break;
    }
    case ppTiled:
        DrawGradient(graphics, nullptr, TGPRectF{float(l), float(t), float(rt - l), float(b - t)}, gtTexture,
                     0, 0, 0, 0, HatchStyleHorizontal, 0, &picture, false);
        return;
    }
    picture.GPDraw(graphics, place);
}

void TFill::PlaceBackGroundPicture(TGPGraphics& graphics, const TGPRectF& r) {
    FBackGroundPicture->GetImageSizes();
    DrawFillPicture(graphics, *FBackGroundPicture, FBackGroundPicture->Width(), FBackGroundPicture->Height(),
                    Rounded(r), FBackGroundPicturePosition, FBackGroundPictureLeft, FBackGroundPictureTop,
                    FBackGroundPictureAspectRatio, FBackGroundPictureAspectMode);
}

bool TFill::PaintsOpaqueBody() const {
    const bool shadow = FShadowOffset > 0 && FShadowColor != clNone;
    return FGradientType == gtSolid && FColor != clNone && FOpacity == 255 && FColorMirror == clNone &&
           FRounding == 0 && !shadow;
}

TGPRectF TFill::Fill(TGPGraphics& graphics, const TGPRectF& rect, std::uint8_t aBorderOpacity,
                     std::uint8_t aOpacity, std::uint8_t aOpacityTo, std::uint8_t aOpacityMirror,
                     std::uint8_t aOpacityMirrorTo) {
    auto resolve = [](std::uint8_t argument, std::uint8_t property) {
        return argument == 255 ? property : argument;
    };
    const std::uint8_t bo = resolve(aBorderOpacity, FBorderOpacity), oc = resolve(aOpacity, FOpacity),
                       octo = resolve(aOpacityTo, FOpacityTo), ocmr = resolve(aOpacityMirror, FOpacityMirror),
                       ocmrto = resolve(aOpacityMirrorTo, FOpacityMirrorTo);
    TGPRectF r = rect;
    const bool border = FBorderWidth > 0 && FBorderColor != clNone;

    if (r.Width == 1 || r.Height == 1) {
        if (border)
            graphics.DrawLine(TGPPen(Argb(bo, FBorderColor), float(FBorderWidth)), r.X, r.Y, r.X + r.Width,
                              r.Y + r.Height);
    } else {
        if (FShadowOffset > 0 && FShadowColor != clNone)
            r = DrawShadow(graphics, r);
        DrawBody(graphics, r, oc, octo, ocmr, ocmrto);
        const bool backgroundPicture = FGradientType == gtTexture && !FBackGroundPicture->Empty();
        if (backgroundPicture && FBackGroundPictureMode == pmInsideFill) {
            graphics.SetClip(CreateRoundRectPath(r, float(FRounding), FRoundingType), CombineModeReplace);
            PlaceBackGroundPicture(graphics, r);
            graphics.ResetClip();
        }
        if (border)
            graphics.DrawPath(TGPPen(Argb(bo, FBorderColor), float(FBorderWidth)),
                              CreateRoundRectPath(r, float(FRounding), FRoundingType));
    }

    DrawGlow(graphics, r);
    DrawFocus(graphics, r, oc);
    if (FGradientType == gtTexture && !FBackGroundPicture->Empty() && FBackGroundPictureMode == pmOutsideFill)
        PlaceBackGroundPicture(graphics, r);
    DrawPicture(graphics, r);
    return r;
}

TGPRectF TFill::DrawShadow(TGPGraphics& graphics, TGPRectF r) {
    const float off = float(FShadowOffset);
    switch (FShadowType) {
    case stRightBottom:
        FillShadow(graphics, CreateRoundRectPath(r, float(FRounding), FRoundingType), FShadowColor);
        r.Width -= off;
        r.Height -= off;
        break;
    case stSurround:
        FillShadow(graphics, CreateRoundRectPath(r, off, rtBoth), FShadowColor);
        r = {r.X + off, r.Y + off, r.Width - 2 * off, r.Height - 2 * off};
        break;
    case stBottom:
        DrawRadialGradient(graphics, TGPRectF{r.X, r.Y + r.Height - 2 * off, r.Width, 2 * off}, FShadowColor,
                           FShadowColor, 0, 255, true, FRounding, rtBottom);
        r.Height -= off;
        break;
    }
    return r;
}

void TFill::DrawBody(TGPGraphics& graphics, const TGPRectF& r, std::uint8_t oc, std::uint8_t octo,
                     std::uint8_t ocmr, std::uint8_t ocmrto) {
    if (FGradientType != gtHatch && FGradientType != gtTexture && FColorMirror != clNone) {
        DrawMirroredBody(graphics, r, oc, octo, ocmr, ocmrto);
    } else if (FGradientType == gtRadial) {
        if (FColor != clNone)
            DrawRadialGradient(graphics, r, FColor, FColorTo == clNone ? FColor : FColorTo, oc, octo, true,
                               FRounding, FRoundingType);
    } else {
        DrawGradientBackGround(graphics, r, false, oc, octo, ocmr, ocmrto);
    }
}

void TFill::DrawMirroredBody(TGPGraphics& graphics, const TGPRectF& r, std::uint8_t oc, std::uint8_t octo,
                             std::uint8_t ocmr, std::uint8_t ocmrto) {
    // The halves share the middle row.
    const float h = r.Height / 2;
    const TGPRectF upper{r.X, r.Y, r.Width, r.Height - h + 1};
    const TGPRectF lower{r.X, r.Y + h - 1, r.Width, r.Height - h + 1};
    if (FGradientType == gtRadial) {
        if (FColor != clNone)
            DrawRadialGradient(graphics, upper, FColor, FColorTo == clNone ? FColor : FColorTo, oc, octo,
                               true, FRounding, rtTop);
    } else {
        DrawGradientBackGround(graphics, upper, false, oc, octo, ocmr, ocmrto);
    }
    if (FGradientMirrorType == gtRadial)
        DrawRadialGradient(graphics, lower, FColorMirror,
                           FColorMirrorTo == clNone ? FColorMirror : FColorMirrorTo, ocmr, ocmrto, false,
                           FRounding, rtBottom);
    else
        DrawGradientBackGround(graphics, lower, true, oc, octo, ocmr, ocmrto);
}

void TFill::DrawFocus(TGPGraphics& graphics, const TGPRectF& r, std::uint8_t opacity) {
    const float b = float(FBorderWidth);
    FFocusRect = {r.X + b, r.Y + b, r.Width - 2 * b, r.Height - 2 * b};
    if (!FFocus)
        return;
    TGPPen pen(Argb(opacity, FFocusColor), 1);
    pen.SetDashStyle(DashStyleDot);
    TSmoothingScope crisp(graphics, SmoothingModeDefault);
    graphics.DrawPath(pen, CreateRoundRectPath(FFocusRect, float(FRounding) - b, FRoundingType));
}

void TFill::DrawPicture(TGPGraphics& graphics, const TGPRectF& r) {
    if (FPicture->Empty())
        return;
    int w = FPictureWidth, h = FPictureHeight;
    if (FPictureSize == psOriginal) {
        FPicture->GetImageSizes();
        w = FPicture->Width();
        h = FPicture->Height();
    }
    DrawFillPicture(graphics, *FPicture, w, h, Rounded(r), FPicturePosition, FPictureLeft, FPictureTop,
                    FPictureAspectRatio, FPictureAspectMode);
}

void TFill::DrawGlow(TGPGraphics& graphics, const TGPRectF& r) {
    if (FGlow == gmNone)
        return;
    graphics.SetClip(r, CombineModeReplace);
    const float x = r.X + 1, y = r.Y + 1, w = r.Width - 2, h = r.Height - 2;
    if (FGlow == gmGradient || FGlow == gmRadialGradient) {
        graphics.DrawPath(TGPPen(Argb(200, FGlowGradientColor), 1),
                          CreateRoundRectPath(TGPRectF{x, y, w, h}, float(FRounding), FRoundingType));

        const TGPRectF top{x + 5, y, w - 10, 4};
        const TGPLinearGradientBrush topBrush(Grown(top), Argb(175, FGlowGradientColor),
                                              Argb(0, FGlowGradientColor), LinearGradientModeVertical);
        const TGPPointF topLeft[] = {{x, y}, {x + 5, y}, {x + 5, y + 4}};
        const TGPPointF topRight[] = {{x + w, y}, {x + w - 5, y}, {x + w - 5, y + 4}};
        graphics.FillPolygon(topBrush, topLeft, 3);
        graphics.FillPolygon(topBrush, topRight, 3);
        graphics.FillRectangle(topBrush, top);

        const TGPRectF bottom{x + 5, y + h - 7, w - 10, 7};
        const TGPLinearGradientBrush bottomBrush(Grown(bottom), Argb(0, FGlowGradientColor),
                                                 Argb(220, FGlowGradientColor), LinearGradientModeVertical);
        const TGPPointF bottomLeft[] = {{x, y + h}, {x + 5, y + h}, {x + 5, y + h - 7}};
        const TGPPointF bottomRight[] = {{x + w, y + h}, {x + w - 5, y + h}, {x + w - 5, y + h - 7}};
        graphics.FillPolygon(bottomBrush, bottomLeft, 3);
        graphics.FillPolygon(bottomBrush, bottomRight, 3);
        graphics.FillRectangle(bottomBrush, bottom);
    }
    if (FGlow == gmRadial || FGlow == gmRadialGradient) {
        TGPGraphicsPath ellipse;
        ellipse.AddEllipse(x + 10, y - h / 2, w - 20, 3 * h);
        TGPPathGradientBrush brush(ellipse);
        brush.SetCenterPoint({x + w / 2, y + h});
        brush.SetCenterColor(Argb(150, FGlowRadialColor));
        ARGB surround = Argb(0, FColor);
        int one = 1;
        brush.SetSurroundColors(&surround, one);
        graphics.FillPath(brush, ellipse);
    }
    graphics.ResetClip();
}

} // namespace lanterna
