#include "slideshow/animation_geometry.h"

#include "slideshow/picture_blit.h"
#include "slideshow/slide_show_types.h"

#include <QPaintEngine>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <numbers>
#include <optional>

namespace lanterna {

namespace {

// Cells per side of the checkerboards and turns of the spiral.
constexpr int kGrid = 4;
// The decimal constant of the ellipse and rectangle, deliberately not the square root of two.
constexpr long double kReach = 1.414L;
constexpr long double kSpiralStep = 0.1L;

TGPRectF Rect(double x, double y, double w, double h) {
    return {float(x), float(y), float(w), float(h)};
}

TGPMatrix Translation(double dx, double dy) {
    return TGPMatrix(1, 0, 0, 1, float(dx), float(dy));
}

TAnimationDraw Translated(const TGPRectF& r, double dx, double dy) {
    return {.Transform = Translation(dx, dy), .Dest = r};
}

TGPGraphicsPath RectPath(const TGPRectF& clip) {
    TGPGraphicsPath path;
    path.AddRectangle(clip);
    return path;
}

TAnimationDraw ClippedTo(TGPGraphicsPath clip, const TGPRectF& r) {
    return {.Clip = std::move(clip), .Dest = r};
}

TAnimationDraw Wiped(const TGPRectF& r, double x, double y) {
    return ClippedTo(RectPath(Rect(x, y, r.Width, r.Height)), r);
}

// A half of the picture clipped to `half` and moved by (dx, dy).
TAnimationDraw Torn(const TGPRectF& r, const TGPRectF& half, double dx, double dy) {
    TAnimationDraw draw = Translated(r, dx, dy);
    draw.Clip = RectPath(half);
    return draw;
}

// The picture turned by 360 p degrees about its centre, optionally scaled by p as well.
TAnimationDraw Turned(const TGPRectF& r, float p, float scale) {
    TGPMatrix m(scale, 0, 0, scale, float(r.X + r.Width / 2.0), float(r.Y + r.Height / 2.0));
    m.Rotate(360.0f * p, MatrixOrderPrepend);
    return {.Transform = m, .Dest = Rect(-r.Width / 2.0, -r.Height / 2.0, r.Width, r.Height)};
}

TAnimationDraw Intersected(std::vector<TGPRectF> cells, const TGPRectF& r) {
    return {.ClipMode = CombineModeIntersect, .Cells = std::move(cells), .Dest = r};
}

std::vector<TGPRectF> CheckBoard(const TGPRectF& r, double p) {
    const double cw = r.Width / double(kGrid), ch = r.Height / double(kGrid);
    std::vector<TGPRectF> cells;
    for (int row = 0; row * ch < r.Height; ++row)
        for (int col = 0; col * cw < r.Width; ++col)
            cells.push_back(Rect(r.X + col * cw + cw / 2 - cw * p / 2, r.Y + row * ch + ch / 2 - ch * p / 2,
                                 cw * p, ch * p));
    return cells;
}

// Bars that grow along `along` in lanes across it; odd lanes are offset by half a cell and, past half
// way, get their first bar once more a whole cell earlier so the gap at the lane's start closes.
// Rectangles are built in (along, across) coordinates and swapped for the horizontal variant.
std::vector<TGPRectF> Bars(const TGPRectF& r, double p, float pct, bool vertical) {
    const double alongStart = vertical ? r.Y : r.X, acrossStart = vertical ? r.X : r.Y;
    const double alongLen = vertical ? r.Height : r.Width, acrossLen = vertical ? r.Width : r.Height;
    const double alongCell = alongLen / kGrid, acrossCell = acrossLen / kGrid;
    std::vector<TGPRectF> bars;
    auto add = [&](double along, double across) {
        bars.push_back(vertical ? Rect(across, along, acrossCell, alongCell * p)
                                : Rect(along, across, alongCell * p, acrossCell));
    };
    for (int lane = 0; lane * acrossCell < acrossLen; ++lane) {
        const bool odd = lane % 2 == 1;
        const double across = acrossStart + lane * acrossCell;
        const double offset = odd ? alongCell / 2 : 0.0;
        for (int cell = 0; cell * alongCell < alongLen; ++cell) {
            add(alongStart + cell * alongCell + offset, across);
            if (cell == 0 && odd && pct >= 50)
                add(alongStart + offset - alongCell, across);
        }
    }
    return bars;
}

TGPGraphicsPath Spiral(const TGPRectF& r, float pct) {
    const double cx = r.X + r.Width / 2.0, cy = r.Y + r.Height / 2.0;
    const double radius = std::max(r.Width, r.Height) / 100.0;
    const double angle = kGrid * 2 * std::numbers::pi / 100.0;
    std::vector<TGPPointF> points;
    for (double t = 0; t <= pct; t = double(t + kSpiralStep))
        points.push_back(
            {float(cx + t * radius * std::cos(angle * t)), float(cy + t * radius * std::sin(angle * t))});
    TGPGraphicsPath path(FillModeWinding);
    path.AddPolygon(points.data(), int(points.size()));
    return path;
}

TGPGraphicsPath Centred(const TGPRectF& r, long double halfWidth, long double halfHeight, bool ellipse) {
    const long double cx = r.X + r.Width / 2.0L, cy = r.Y + r.Height / 2.0L;
    const TGPRectF box =
        Rect(double(cx - halfWidth), double(cy - halfHeight), double(2 * halfWidth), double(2 * halfHeight));
    TGPGraphicsPath path;
    if (ellipse)
        path.AddEllipse(box);
    else
        path.AddRectangle(box);
    return path;
}

} // namespace

namespace {

// Which way an animation moves the picture (a slide-in) or the window onto it (a wipe), in shares of the
// way still to go across (X) and down (Y).
struct TDirection {
    int Effect;
    int X, Y;
};

constexpr TDirection kSlideIns[] = {
    {saBottomLeftToTopRight, -1, 1}, {saBottomRightToTopLeft, 1, 1}, {saTopLeftToBottomRight, -1, -1},
    {saTopRightToBottomLeft, 1, -1}, {saBottomToTop, 0, 1},          {saTopToBottom, 0, -1},
    {saLeftToRight, -1, 0},          {saRightToLeft, 1, 0},
};

constexpr TDirection kWipes[] = {
    {saWipeBottomToTop, 0, -1},          {saWipeTopToBottom, 0, 1},
    {saWipeLeftToRight, 1, 0},           {saWipeRightToLeft, -1, 0},
    {saWipeBottomLeftToTopRight, 1, -1}, {saWipeBottomRightToTopLeft, -1, -1},
    {saWipeTopLeftToBottomRight, 1, 1},  {saWipeTopRightToBottomLeft, -1, 1},
};

// The draw of a slide-in or a wipe, p of the way in; none for another animation.
std::optional<TAnimationDraw> MovedDraw(int effect, float p, const TGPRectF& r) {
    const float q = 1.0f - p;
    const double wq = r.Width * q, hq = r.Height * q;
    for (const TDirection& d : kSlideIns)
        if (d.Effect == effect)
            return Translated(r, d.X * wq, d.Y * hq);
    for (const TDirection& d : kWipes)
        if (d.Effect == effect)
            return Wiped(r, r.X + d.X * wq, r.Y + d.Y * hq);
    return std::nullopt;
}

// The draws of the animations that clip the picture to shapes, turn it or tear it in two.
std::vector<TAnimationDraw> ShapedDraws(int effect, float p, const TGPRectF& r) {
    const float q = 1.0f - p;
    const float pct = p * 100.0f;
    const double X = r.X, Y = r.Y, W = r.Width, H = r.Height;
    const double wq = W * q, hq = H * q;
    switch (effect) {
    case saCheckBoard:
        return {Intersected(CheckBoard(r, p), r)};
    case saVerticalCheckBoard:
        return {Intersected(Bars(r, p, pct, true), r)};
    case saHorizontalCheckBoard:
        return {Intersected(Bars(r, p, pct, false), r)};
    case saEllipse:
        return {ClippedTo(Centred(r, kReach * W * pct / 100, kReach * H * pct / 200, true), r)};
    case saRectangle:
        return {ClippedTo(Centred(r, kReach * W * pct / 200, kReach * H * pct / 200, false), r)};
    case saRotate:
        return {Turned(r, p, 1.0f)};
    case saSpin:
        return {Turned(r, p, p)};
    case saSpiral:
        return {pct < 100 ? ClippedTo(Spiral(r, pct), r) : TAnimationDraw{.Dest = r}};
    case saFadeInOut:
        return {TAnimationDraw{.Dest = r}};
    case saTearHorizontal:
        return {Torn(r, Rect(X - wq, Y, W / 2, H), -wq, 0),
                Torn(r, Rect(X + W / 2 + wq, Y, W / 2, H), wq, 0)};
    case saTearVertical:
        return {Torn(r, Rect(X, Y - hq, W, H / 2), 0, -hq),
                Torn(r, Rect(X, Y + H / 2 + hq, W, H / 2), 0, hq)};
    case saTearRotate: {
        std::vector<TAnimationDraw> draws;
        for (const TGPRectF& half : {Rect(X - wq, Y, W / 2, H), Rect(X + W / 2 + wq, Y, W / 2, H)}) {
            TAnimationDraw draw = Turned(r, p, 1.0f);
            draw.Clip = RectPath(half);
            draws.push_back(std::move(draw));
        }
        return draws;
    }
    default:
        return {};
    }
}

} // namespace

std::vector<TAnimationDraw> AnimationDraws(int effect, float p, const TGPRectF& r) {
    if (std::optional<TAnimationDraw> moved = MovedDraw(effect, p, r))
        return {std::move(*moved)};
    return ShapedDraws(effect, p, r);
}

bool TurnsOrScales(int effect) {
    // Read off each animation's own geometry half way, once: the slide show asks whenever a picture
    // arrives, and building the draws of a checkerboard or a spiral each time would be wasted.
    static const std::array<bool, kAnimationMemberCount> turning = [] {
        std::array<bool, kAnimationMemberCount> table{};
        for (int e = 0; e < kAnimationMemberCount; ++e) {
            const std::vector<TAnimationDraw> draws = AnimationDraws(e, 0.5f, TGPRectF{0, 0, 100, 100});
            table[e] = std::any_of(draws.begin(), draws.end(), [](const TAnimationDraw& draw) {
                return draw.Transform && draw.Transform->QtTransform().type() > QTransform::TxTranslate;
            });
        }
        return table;
    }();
    return effect >= 0 && effect < kAnimationMemberCount && turning[effect];
}

namespace {

// The destination a picture is drawn into; within a pixel of the picture's own size it is taken at that
// size, so that a picture prepared for it is copied pixel for pixel.
TGPRectF Snapped(const TGPImage& picture, const TGPRectF& dest) {
    const float width = float(picture.GetWidth()), height = float(picture.GetHeight());
    TGPRectF d = dest;
    if (std::abs(d.Width - width) < 1 && std::abs(d.Height - height) < 1) {
        d.Width = width;
        d.Height = height;
    }
    return d;
}

// The image a raster surface paints into, when its pixels can be written straight: ARGB32 premultiplied
// or RGB32, not shared, drawn on at full opacity with the plain source-over rule and no more than a
// whole-pixel offset between the surface's coordinates and the image's (a widget's backing store or a
// picture). Null otherwise.
QImage* StraightTarget(const QPainter& painter, QPoint& offset) {
    QPaintEngine* engine = painter.paintEngine();
    if (!engine || engine->type() != QPaintEngine::Raster || !engine->paintDevice() ||
        engine->paintDevice()->devType() != QInternal::Image)
        return nullptr;
    auto* image = static_cast<QImage*>(engine->paintDevice());
    if ((image->format() != QImage::Format_ARGB32_Premultiplied && image->format() != QImage::Format_RGB32) ||
        !image->isDetached() || image->devicePixelRatio() != 1)
        return nullptr;
    if (painter.opacity() != 1.0 || painter.compositionMode() != QPainter::CompositionMode_SourceOver)
        return nullptr;
    const QTransform device = painter.deviceTransform();
    if (device.type() > QTransform::TxTranslate || device.dx() != std::round(device.dx()) ||
        device.dy() != std::round(device.dy()))
        return nullptr;
    offset = QPoint(int(device.dx()), int(device.dy()));
    return image;
}

// Where a straight draw may write, in the image's pixels: the image, within the engine's system clip and
// the painter's clip. Empty optional when the clip is not made of a few rectangles.
std::optional<QRegion> StraightArea(const QPainter& painter, const QImage& image, QPoint offset) {
    constexpr int kMostRectangles = 16;
    QRegion area(image.rect());
    const QRegion system = painter.paintEngine()->systemClip();
    if (!system.isEmpty())
        area &= system;
    if (painter.hasClipping())
        area &= painter.clipRegion().translated(offset);
    if (area.rectCount() > kMostRectangles)
        return std::nullopt;
    return area;
}

// How a turned or scaled picture is read at progress p and opacity alpha. A slide change covers a share of
// its remaining way each frame, so a picture moves fast at first and ever slower toward its end: at the
// player's pace a turning picture's corners move each frame by about a third of the screen's width times
// 1 - p (at p = 0.95 some 70 pixels of a 4K screen, at 0.99 some 14). Until p = 0.95 no detail can be
// followed and the picture is read from its coarse copy; then from its own nearest pixels; in the last
// hundredth of its way, where it moves by a few pixels a frame, it is filtered. A picture that barely
// starts at full opacity is filtered too. One that has all but faded out (alpha below a half) is not:
// what the filter would change is scaled down with it to a few levels at most.
struct TReading {
    TSampling Sampling;
    bool Coarse; // the coarse copy may stand in for the picture
};

TReading ReadingAt(float p, float alpha) {
    if (p > 0.99f || (p < 0.05f && alpha >= 0.5f))
        return {smBilinear, false};
    return {smNearest, p <= 0.95f};
}

// A turned or scaled picture rendered by our own resampler. It goes straight onto the surface's image
// where it can (see StraightTarget), else into a buffer over the part of the surface it can reach, which
// is then copied onto the surface through its clip. False when the surface or the picture does not suit
// it; then nothing has been drawn.
bool DrawTurned(TGPGraphics& g, const TGPImage& picture, const QImage& coarse, const TAnimationDraw& draw,
                float p, const TGPImageAttributes* attributes) {
    QPainter& painter = g.Painter();
    const QPaintDevice* device = painter.device();
    if (!device || device->devicePixelRatio() != 1 || picture.QtImage().isNull())
        return false;
    const std::optional<float> opacity = attributes ? attributes->PlainOpacity() : 1.0f;
    if (!opacity)
        return false;
    if (*opacity <= 0.0f)
        return true;
    const auto alpha = std::uint8_t(std::lround(*opacity * 255));
    const TReading reading = ReadingAt(p, *opacity);
    // Sampled from the nearest pixel, the picture is read from its coarse copy where there is one: a
    // quarter of the pixels to fetch along a slant, and no detail lost that the motion would not hide.
    // A pixel of the coarse copy covers some 2 x 2 pixels of the surface, which take it as a block.
    const bool fromCoarse = reading.Coarse && !coarse.isNull();
    TBlitOptions options{.Sampling = fromCoarse ? smBlocks : reading.Sampling,
                         .Antialiased = painter.testRenderHint(QPainter::Antialiasing)};
    const QImage& source = fromCoarse ? coarse : picture.QtImage();
    const TGPRectF d = Snapped(picture, draw.Dest);
    const QTransform map = QTransform(d.Width / source.width(), 0, 0, d.Height / source.height(), d.X, d.Y) *
                           (draw.Transform ? draw.Transform->QtTransform() : QTransform());
    g.ResetTransform();

    QPoint offset;
    if (QImage* image = StraightTarget(painter, offset)) {
        if (const std::optional<QRegion> area = StraightArea(painter, *image, offset)) {
            const QTransform onImage = map * QTransform::fromTranslate(offset.x(), offset.y());
            const QRect reach = onImage.mapRect(QRectF(source.rect())).toAlignedRect();
            options.Blend = true;
            for (const QRect& r : *area& reach) {
                QImage view(image->bits() + r.y() * image->bytesPerLine() + r.x() * 4, r.width(), r.height(),
                            image->bytesPerLine(), image->format());
                if (!RenderTransformed(view, source, onImage * QTransform::fromTranslate(-r.x(), -r.y()),
                                       alpha, options))
                    return false;
            }
            return true;
        }
    }

    QRect area =
        map.mapRect(QRectF(source.rect())).toAlignedRect() & QRect(0, 0, device->width(), device->height());
    if (painter.hasClipping())
        area &= painter.clipBoundingRect().toAlignedRect();
    if (area.isEmpty())
        return true;
    // One buffer per thread, kept between frames: a frame-sized allocation each frame costs more
    // than the drawing. It never grows beyond the largest surface drawn on.
    thread_local QImage buffer;
    if (buffer.width() < area.width() || buffer.height() < area.height())
        buffer = QImage(area.size().expandedTo(buffer.size()), QImage::Format_ARGB32_Premultiplied);
    if (buffer.isNull())
        return false;
    QImage view(buffer.bits(), area.width(), area.height(), buffer.bytesPerLine(), buffer.format());
    if (!RenderTransformed(view, source, map * QTransform::fromTranslate(-area.x(), -area.y()), alpha,
                           options))
        return false;
    painter.drawImage(area.topLeft(), view);
    return true;
}

std::atomic<bool> referenceDrawing{false};

} // namespace

void SetReferenceDrawing(bool on) {
    referenceDrawing = on;
}

bool ReferenceDrawing() {
    return referenceDrawing;
}

void DrawPicture(TGPGraphics& g, const TGPImage& picture, const TGPRectF& dest,
                 const TGPImageAttributes* attributes) {
    const TGPRectF d = Snapped(picture, dest);
    g.DrawImage(&picture, d, 0, 0, float(picture.GetWidth()), float(picture.GetHeight()), UnitPixel,
                attributes);
}

void DrawAnimation(TGPGraphics& g, const TGPImage& picture, const TGPRectF& r, float p, int effect,
                   const TGPImageAttributes* attributes, const QImage& coarse) {
    const auto drawTransformed = [&](const TAnimationDraw& draw) {
        // A picture that is not at the size it is drawn at (its scaled copy is still being made) is
        // resampled by our own blit as a turned one is: the painting library's scaled drawing costs a
        // frame's time at full screen.
        const bool turned = draw.Transform && draw.Transform->QtTransform().type() > QTransform::TxTranslate;
        const TGPRectF d = Snapped(picture, draw.Dest);
        const bool scaled = d.Width != float(picture.GetWidth()) || d.Height != float(picture.GetHeight());
        if ((turned || scaled) && !ReferenceDrawing() && DrawTurned(g, picture, coarse, draw, p, attributes))
            return;
        if (draw.Transform)
            g.SetTransform(*draw.Transform);
        DrawPicture(g, picture, draw.Dest, attributes);
        if (draw.Transform)
            g.ResetTransform();
    };
    for (const TAnimationDraw& draw : AnimationDraws(effect, p, r)) {
        if (draw.Clip)
            g.SetClip(*draw.Clip, draw.ClipMode);
        for (const TGPRectF& cell : draw.Cells) {
            // Each cell is intersected with the clip the surface had before the draw.
            g.Painter().save();
            g.SetClip(cell, draw.ClipMode);
            drawTransformed(draw);
            g.Painter().restore();
        }
        if (draw.Cells.empty())
            drawTransformed(draw);
        if (draw.Clip || !draw.Cells.empty())
            g.ResetClip();
    }
}

} // namespace lanterna
