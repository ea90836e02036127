#include "slideshow/thumbnail_handles.h"

#include "drawing/fill.h"

namespace lanterna {

namespace {

// The platform's multiply-then-divide of non-negative numbers, rounded to nearest.
int MulDiv(int a, int b, int c) {
    return int((std::int64_t(a) * b + c / 2) / c);
}

template <typename Channel> TColor EachChannel(TColor color, Channel channel) {
    const TColor c = ColorToRGB(color);
    return RGBColor(std::uint8_t(channel(GetRValue(c))), std::uint8_t(channel(GetGValue(c))),
                    std::uint8_t(channel(GetBValue(c))));
}

// Where each half-disc's arc starts; it sweeps 180 degrees so that the disc lies inside the band.
float ArcStart(THandleSide side) {
    switch (side) {
    case hsLeft:
        return 270;
    case hsRight:
        return 90;
    case hsTop:
        return 0;
    case hsBottom:
        return 180;
    }
    return 0;
}

// The apex of the arrow and its two ends, as fractions of the square.
struct Arrow {
    float ApexX, ApexY, End1X, End1Y, End2X, End2Y;
};

Arrow ArrowOf(THandleSide side) {
    switch (side) {
    case hsLeft:
        return {2.f / 3, 1.f / 2, 4.f / 5, 1.f / 3, 4.f / 5, 2.f / 3};
    case hsRight:
        return {1.f / 3, 1.f / 2, 1.f / 5, 1.f / 3, 1.f / 5, 2.f / 3};
    case hsTop:
        return {1.f / 2, 2.f / 3, 1.f / 3, 4.f / 5, 2.f / 3, 4.f / 5};
    case hsBottom:
        return {1.f / 2, 1.f / 3, 1.f / 3, 1.f / 5, 2.f / 3, 1.f / 5};
    }
    return {};
}

} // namespace

TColor Lighter(TColor color, int percent) {
    return EachChannel(color, [percent](int ch) { return ch + MulDiv(255 - ch, percent, 100); });
}

TColor Darker(TColor color, int percent) {
    return EachChannel(color, [percent](int ch) { return ch - MulDiv(ch, percent, 100); });
}

TGPRectF HandleRect(THandleSide side, const TGPRectF& band, int size) {
    const float s = float(size), half = s / 2;
    switch (side) {
    case hsLeft:
        return {band.X - half, band.Y + (band.Height - s) / 2, s, s};
    case hsRight:
        return {band.X + band.Width - half - 1, band.Y + (band.Height - s) / 2, s, s};
    case hsTop:
        return {band.X + (band.Width - s) / 2, band.Y - half, s, s};
    case hsBottom:
        return {band.X + (band.Width - s) / 2, band.Y + band.Height - 1 - half, s, s};
    }
    return {};
}

void DrawHandle(TGPGraphics& g, THandleSide side, const TGPRectF& square, const THandleAppearance& look,
                bool down, bool hover) {
    const float x = square.X, y = square.Y, s = square.Width;
    TGPGraphicsPath path;
    path.AddArc(square, ArcStart(side), 180);
    path.CloseFigure();

    const TColor color = down ? Darker(look.Color(), 30) : hover ? Lighter(look.Color(), 30) : look.Color();
    g.FillPath(TGPSolidBrush(AlphaColor(color, look.Opacity())), path);
    g.FillPath(TGPLinearGradientBrush({x, y, s, s / 2}, AlphaColor(clWhite, 100), AlphaColor(clWhite, 0),
                                      LinearGradientModeHorizontal),
               path);
    g.DrawPath(TGPPen(AlphaColor(look.BorderColor(), look.Opacity()), 1), path);

    const Arrow a = ArrowOf(side);
    const TGPPen pen(AlphaColor(look.ArrowColor(), look.Opacity()), 2);
    g.DrawLine(pen, x + s * a.ApexX, y + s * a.ApexY, x + s * a.End1X, y + s * a.End1Y);
    g.DrawLine(pen, x + s * a.ApexX, y + s * a.ApexY, x + s * a.End2X, y + s * a.End2Y);
}

} // namespace lanterna
