#include "drawing/gp_graphics.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QWidget>

#include <cmath>

namespace lanterna {

TGPGraphics::TGPGraphics(QImage& image) : FOwnPainter(std::make_unique<QPainter>()) {
    if (image.isNull() || !FOwnPainter->begin(&image)) {
        FOwnPainter.reset();
        FLastStatus = InvalidParameter;
        return;
    }
    FPainter = FOwnPainter.get();
    Init();
}

TGPGraphics::TGPGraphics(QWidget* widget) : FOwnPainter(std::make_unique<QPainter>()) {
    if (!widget || !FOwnPainter->begin(widget)) {
        FOwnPainter.reset();
        FLastStatus = InvalidParameter;
        return;
    }
    FPainter = FOwnPainter.get();
    Init();
}

TGPGraphics::TGPGraphics(QPainter& painter) : FPainter(&painter) {
    if (!painter.isActive()) {
        FPainter = nullptr;
        FLastStatus = InvalidParameter;
        return;
    }
    painter.save();
    Init();
}

TGPGraphics::~TGPGraphics() {
    if (FPainter && !FOwnPainter)
        FPainter->restore();
}

void TGPGraphics::Init() {
    // Images are always resampled smoothly (the library's default interpolation is bilinear); shapes
    // are anti-aliased only when the smoothing mode asks for it.
    FPainter->setRenderHint(QPainter::SmoothPixmapTransform, true);
    FPainter->setRenderHint(QPainter::Antialiasing, false);
    FPainter->setRenderHint(QPainter::TextAntialiasing, true);
}

TStatus TGPGraphics::SetSmoothingMode(SmoothingMode mode) {
    if (!FPainter)
        return Keep(InvalidParameter);
    if (mode == SmoothingModeInvalid || mode > SmoothingModeAntiAlias8x8)
        return Keep(InvalidParameter);
    FSmoothing = mode;
    FPainter->setRenderHint(QPainter::Antialiasing, mode == SmoothingModeHighQuality ||
                                                        mode == SmoothingModeAntiAlias ||
                                                        mode == SmoothingModeAntiAlias8x8);
    return Ok;
}

TStatus TGPGraphics::SetTextRenderingHint(TextRenderingHint hint) {
    if (!FPainter || hint > TextRenderingHintClearTypeGridFit)
        return Keep(InvalidParameter);
    FTextHint = hint;
    FPainter->setRenderHint(QPainter::TextAntialiasing,
                            hint != TextRenderingHintSingleBitPerPixel &&
                                hint != TextRenderingHintSingleBitPerPixelGridFit);
    return Ok;
}

TStatus TGPGraphics::SetTransform(const TGPMatrix& matrix) {
    if (!FPainter)
        return Keep(InvalidParameter);
    FPainter->setWorldTransform(matrix.QtTransform());
    return Ok;
}

TStatus TGPGraphics::GetTransform(TGPMatrix& matrix) const {
    if (!FPainter)
        return InvalidParameter;
    matrix.SetQtTransform(FPainter->worldTransform());
    return Ok;
}

TStatus TGPGraphics::ResetTransform() {
    if (!FPainter)
        return Keep(InvalidParameter);
    FPainter->resetTransform();
    return Ok;
}

TStatus TGPGraphics::MultiplyTransform(const TGPMatrix& matrix, MatrixOrder order) {
    if (!FPainter)
        return Keep(InvalidParameter);
    TGPMatrix world;
    GetTransform(world);
    world.Multiply(matrix, order);
    return SetTransform(world);
}

TStatus TGPGraphics::TranslateTransform(float dx, float dy, MatrixOrder order) {
    TGPMatrix m;
    m.Translate(dx, dy);
    return MultiplyTransform(m, order);
}

TStatus TGPGraphics::ScaleTransform(float sx, float sy, MatrixOrder order) {
    TGPMatrix m;
    m.Scale(sx, sy);
    return MultiplyTransform(m, order);
}

TStatus TGPGraphics::RotateTransform(float angle, MatrixOrder order) {
    TGPMatrix m;
    m.Rotate(angle);
    return MultiplyTransform(m, order);
}

QRect TGPGraphics::DeviceRect() const {
    const QPaintDevice* device = FPainter->device();
    return device ? QRect(0, 0, device->width(), device->height()) : QRect();
}

TStatus TGPGraphics::ApplyClip(const QPainterPath& path, CombineMode mode) {
    if (!FPainter)
        return Keep(InvalidParameter);
    switch (mode) {
    case CombineModeReplace:
        FPainter->setClipPath(path, Qt::ReplaceClip);
        return Ok;
    case CombineModeIntersect:
        FPainter->setClipPath(path, FPainter->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
        return Ok;
    default:
        break;
    }
    // Qt combines clips only by intersection; the other modes are worked out on paths.
    QPainterPath current;
    if (FPainter->hasClipping()) {
        current = FPainter->clipPath();
    } else {
        bool invertible = false;
        const QTransform toWorld = FPainter->worldTransform().inverted(&invertible);
        current.addPolygon(toWorld.map(QPolygonF(QRectF(DeviceRect()))));
        current.closeSubpath();
    }
    QPainterPath combined;
    switch (mode) {
    case CombineModeUnion:
        combined = current.united(path);
        break;
    case CombineModeXor:
        combined = current.subtracted(path).united(path.subtracted(current));
        break;
    case CombineModeExclude:
        combined = current.subtracted(path);
        break;
    case CombineModeComplement:
        combined = path.subtracted(current);
        break;
    default:
        return Keep(InvalidParameter);
    }
    FPainter->setClipPath(combined, Qt::ReplaceClip);
    return Ok;
}

TStatus TGPGraphics::SetClip(const TGPRegion& region, CombineMode mode) {
    if (!FPainter)
        return Keep(InvalidParameter);
    if (region.IsInfinite()) {
        if (mode == CombineModeReplace || mode == CombineModeUnion)
            return ResetClip();
        if (mode == CombineModeIntersect)
            return Ok;
    }
    bool invertible = false;
    const QTransform toWorld = FPainter->worldTransform().inverted(&invertible);
    return ApplyClip(region.QtPath(toWorld.mapRect(QRectF(DeviceRect()))), mode);
}

TStatus TGPGraphics::SetClip(const TGPGraphicsPath& path, CombineMode mode) {
    return ApplyClip(path.QtPath(), mode);
}

TStatus TGPGraphics::SetClip(const TGPRectF& rect, CombineMode mode) {
    QPainterPath path;
    path.addRect(QRectF(rect.X, rect.Y, rect.Width, rect.Height));
    return ApplyClip(path, mode);
}

TStatus TGPGraphics::ResetClip() {
    if (!FPainter)
        return Keep(InvalidParameter);
    FPainter->setClipping(false);
    return Ok;
}

bool TGPGraphics::IsClipped() const {
    return FPainter && FPainter->hasClipping();
}

TStatus TGPGraphics::Clear(ARGB color) {
    if (!FPainter)
        return Keep(InvalidParameter);
    FPainter->save();
    FPainter->resetTransform();
    FPainter->setCompositionMode(QPainter::CompositionMode_Source);
    FPainter->fillRect(DeviceRect(), QColor::fromRgba(color));
    FPainter->restore();
    return Ok;
}

QRect TGPGraphics::DeviceArea(const QPainterPath& area) const {
    QRect r = FPainter->worldTransform().mapRect(area.boundingRect()).toAlignedRect() & DeviceRect();
    if (FPainter->hasClipping())
        r &= FPainter->worldTransform().mapRect(FPainter->clipBoundingRect()).toAlignedRect();
    return r;
}

TStatus TGPGraphics::Fill(const TGPBrush& brush, const QPainterPath& shape) {
    if (!FPainter)
        return Keep(InvalidParameter);
    if (!brush.Valid())
        return Keep(InvalidParameter);
    QPainterPath area = shape;
    if (const QPainterPath* outline = brush.Outline(); outline && *outline != shape)
        area = area.intersected(*outline);
    const QRect device = DeviceArea(area);
    if (device.isEmpty())
        return Ok;
    FPainter->fillPath(area, brush.QtBrush(FPainter->worldTransform(), device));
    return Ok;
}

TStatus TGPGraphics::FillPath(const TGPBrush& brush, const TGPGraphicsPath& path) {
    return Fill(brush, path.QtPath());
}

TStatus TGPGraphics::FillRectangle(const TGPBrush& brush, const TGPRectF& rect) {
    QPainterPath path;
    path.addRect(QRectF(rect.X, rect.Y, rect.Width, rect.Height));
    return Fill(brush, path);
}

TStatus TGPGraphics::FillEllipse(const TGPBrush& brush, const TGPRectF& rect) {
    QPainterPath path;
    path.addEllipse(QRectF(rect.X, rect.Y, rect.Width, rect.Height));
    return Fill(brush, path);
}

TStatus TGPGraphics::FillPolygon(const TGPBrush& brush, const TGPPointF* points, int count, FillMode mode) {
    if (!points || count < 3)
        return Keep(InvalidParameter);
    QPolygonF polygon;
    for (int i = 0; i < count; ++i)
        polygon << QPointF(points[i].X, points[i].Y);
    QPainterPath path;
    path.addPolygon(polygon);
    path.closeSubpath();
    path.setFillRule(mode == FillModeWinding ? Qt::WindingFill : Qt::OddEvenFill);
    return Fill(brush, path);
}

TStatus TGPGraphics::DrawPath(const TGPPen& pen, const TGPGraphicsPath& path) {
    if (!FPainter)
        return Keep(InvalidParameter);
    FPainter->strokePath(path.QtPath(), pen.QtPen());
    return Ok;
}

TStatus TGPGraphics::DrawRectangle(const TGPPen& pen, const TGPRectF& rect) {
    TGPGraphicsPath path;
    path.AddRectangle(rect);
    return DrawPath(pen, path);
}

TStatus TGPGraphics::DrawEllipse(const TGPPen& pen, const TGPRectF& rect) {
    TGPGraphicsPath path;
    path.AddEllipse(rect);
    return DrawPath(pen, path);
}

TStatus TGPGraphics::DrawLine(const TGPPen& pen, float x1, float y1, float x2, float y2) {
    if (!FPainter)
        return Keep(InvalidParameter);
    FPainter->setPen(pen.QtPen());
    FPainter->drawLine(QPointF(x1, y1), QPointF(x2, y2));
    return Ok;
}

TStatus TGPGraphics::DrawImage(const TGPImage* image, float x, float y) {
    if (!image)
        return Keep(InvalidParameter);
    return DrawImage(image, x, y, float(image->GetWidth()), float(image->GetHeight()));
}

TStatus TGPGraphics::DrawImage(const TGPImage* image, float x, float y, float width, float height) {
    if (!FPainter || !image || image->QtImage().isNull())
        return Keep(InvalidParameter);
    FPainter->drawImage(QRectF(x, y, width, height), image->QtImage());
    return Ok;
}

TStatus TGPGraphics::DrawImage(const TGPImage* image, const TGPRectF& dest, float srcX, float srcY,
                               float srcWidth, float srcHeight, Unit srcUnit,
                               const TGPImageAttributes* attributes) {
    if (!FPainter || !image || image->QtImage().isNull())
        return Keep(InvalidParameter);
    if (srcUnit != UnitPixel)
        return Keep(NotImplemented);
    const QRectF target(dest.X, dest.Y, dest.Width, dest.Height);
    const QRectF source(srcX, srcY, srcWidth, srcHeight);
    const std::optional<float> opacity = attributes ? attributes->PlainOpacity() : 1.0f;
    if (opacity) {
        if (*opacity <= 0.0f)
            return Ok;
        const qreal previous = FPainter->opacity();
        FPainter->setOpacity(previous * *opacity);
        FPainter->drawImage(target, image->QtImage(), source);
        FPainter->setOpacity(previous);
        return Ok;
    }
    // Only the pixels that are drawn get adjusted.
    const QRect pixels = source.toAlignedRect() & image->QtImage().rect();
    if (pixels.isEmpty())
        return Ok;
    const QImage adjusted = attributes->Apply(image->QtImage().copy(pixels));
    FPainter->drawImage(target, adjusted, source.translated(-pixels.topLeft()));
    return Ok;
}

QString TGPGraphics::LaidOut(const QString& text, const TGPFont& font, const TGPRectF& layoutRect,
                             const TGPStringFormat* format) const {
    if (!format || !format->NoWrap() || !format->Ellipsis() || layoutRect.Width <= 0)
        return text;
    const QFontMetricsF metrics(font.QtFont());
    const Qt::TextElideMode mode =
        format->GetTrimming() == StringTrimmingEllipsisPath ? Qt::ElideMiddle : Qt::ElideRight;
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines) {
        if (metrics.horizontalAdvance(line) <= layoutRect.Width)
            continue;
        QString elided = metrics.elidedText(line, mode, layoutRect.Width);
        if (format->GetTrimming() == StringTrimmingEllipsisWord && mode == Qt::ElideRight) {
            // Cut back to the last whole word before the ellipsis when there is one.
            QString kept = elided.left(elided.size() - 1);
            const int space = kept.lastIndexOf(QLatin1Char(' '));
            if (space > 0 && kept.size() < line.size() && line.at(kept.size()) != QLatin1Char(' '))
                elided = kept.left(space).trimmed() + QChar(0x2026);
        }
        line = elided;
    }
    return lines.join(QLatin1Char('\n'));
}

TGPGraphics::TTextLayout TGPGraphics::Layout(const QString& text, const TGPFont& font,
                                             const TGPRectF& layoutRect,
                                             const TGPStringFormat* format) const {
    const TGPStringFormat defaults;
    const TGPStringFormat& f = format ? *format : defaults;
    // A zero width or height lays the text out without a limit there, and nothing is clipped.
    const bool unbounded = layoutRect.Width <= 0 || layoutRect.Height <= 0;
    return {LaidOut(text, font, layoutRect, format),
            QRectF(layoutRect.X, layoutRect.Y, layoutRect.Width > 0 ? layoutRect.Width : 1e6,
                   layoutRect.Height > 0 ? layoutRect.Height : 1e6),
            f.QtFlags() | (unbounded ? int(Qt::TextDontClip) : 0), unbounded};
}

TStatus TGPGraphics::DrawString(const QString& text, const TGPFont& font, const TGPRectF& layoutRect,
                                const TGPStringFormat* format, const TGPBrush& brush) {
    if (!FPainter || !brush.Valid())
        return Keep(InvalidParameter);
    const TTextLayout layout = Layout(text, font, layoutRect, format);
    FPainter->save();
    FPainter->setFont(font.QtFont());
    // Text is painted with the pen; a pen made of the brush lets any brush colour the glyphs.
    QPainterPath extent;
    extent.addRect(FPainter->boundingRect(layout.rect, layout.flags | Qt::TextDontClip, layout.text));
    FPainter->setPen(QPen(brush.QtBrush(FPainter->worldTransform(), DeviceArea(extent)), 0));
    FPainter->drawText(layout.rect, layout.flags, layout.text);
    FPainter->restore();
    return Ok;
}

TStatus TGPGraphics::MeasureString(const QString& text, const TGPFont& font, const TGPRectF& layoutRect,
                                   const TGPStringFormat* format, TGPRectF& boundingBox) {
    const TTextLayout layout = Layout(text, font, layoutRect, format);
    QRectF box = QFontMetricsF(font.QtFont()).boundingRect(layout.rect, layout.flags, layout.text);
    if (layout.unbounded)
        box.moveTopLeft(QPointF(layoutRect.X, layoutRect.Y));
    boundingBox = {float(box.x()), float(box.y()), float(box.width()), float(box.height())};
    return Ok;
}

std::unique_ptr<TGPFont> TGPGraphics::MakeFont(const QFont& font) {
    QString family = font.family();
    if (!QFontDatabase::hasFamily(family))
        family = QStringLiteral("Arial");
    int style = FontStyleRegular;
    if (font.bold())
        style |= FontStyleBold;
    if (font.italic())
        style |= FontStyleItalic;
    if (font.underline())
        style |= FontStyleUnderline;
    // A framework font sized in pixels is taken at 96 dots per inch.
    const double points = font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize() * 72.0 / 96.0;
    return std::make_unique<TGPFont>(family, float(points), style);
}

} // namespace lanterna
