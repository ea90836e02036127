#include "drawing/gp_path.h"

#include <cmath>

namespace lanterna {

namespace {

// The platform library's infinite region reaches this far in every direction.
constexpr double kInfinity = 4194304.0;

QRectF InfiniteRect() {
    return QRectF(-kInfinity, -kInfinity, 2 * kInfinity, 2 * kInfinity);
}

} // namespace

TGPGraphicsPath::TGPGraphicsPath(FillMode mode) : FFillMode(mode) {
    FPath.setFillRule(mode == FillModeWinding ? Qt::WindingFill : Qt::OddEvenFill);
}

void TGPGraphicsPath::Extend(const QPointF& start) {
    if (FFigureOpen) {
        if (FPath.currentPosition() != start)
            FPath.lineTo(start);
    } else {
        FPath.moveTo(start);
        FFigureOpen = true;
        ++FOtherFigures;
    }
}

TStatus TGPGraphicsPath::AddLine(float x1, float y1, float x2, float y2) {
    Extend(QPointF(x1, y1));
    FPath.lineTo(x2, y2);
    FPointCount += 2;
    return Ok;
}

TStatus TGPGraphicsPath::AddArc(float x, float y, float width, float height, float startAngle,
                                float sweepAngle) {
    if (!(width > 0 && height > 0))
        return Keep(InvalidParameter);
    const QRectF box(x, y, width, height);
    // Qt measures angles counter-clockwise; the wrappers' callers count them clockwise on the screen.
    QPainterPath arc;
    arc.arcMoveTo(box, -startAngle);
    Extend(arc.currentPosition());
    FPath.arcTo(box, -startAngle, -sweepAngle);
    FPointCount += 4;
    return Ok;
}

TStatus TGPGraphicsPath::AddEllipse(float x, float y, float width, float height) {
    FFigureOpen = false;
    FEllipseRect = QRectF(x, y, width, height);
    FPath.addEllipse(FEllipseRect);
    ++FEllipses;
    FPointCount += 13;
    return Ok;
}

TStatus TGPGraphicsPath::AddRectangle(const TGPRectF& rect) {
    FFigureOpen = false;
    FPath.addRect(QRectF(rect.X, rect.Y, rect.Width, rect.Height));
    ++FOtherFigures;
    FPointCount += 4;
    return Ok;
}

TStatus TGPGraphicsPath::AddPolygon(const TGPPointF* points, int count) {
    if (!points || count < 3)
        return Keep(InvalidParameter);
    FFigureOpen = false;
    FPath.moveTo(points[0].X, points[0].Y);
    for (int i = 1; i < count; ++i)
        FPath.lineTo(points[i].X, points[i].Y);
    FPath.closeSubpath();
    ++FOtherFigures;
    FPointCount += count;
    return Ok;
}

TStatus TGPGraphicsPath::StartFigure() {
    FFigureOpen = false;
    return Ok;
}

TStatus TGPGraphicsPath::CloseFigure() {
    if (FFigureOpen)
        FPath.closeSubpath();
    FFigureOpen = false;
    return Ok;
}

TStatus TGPGraphicsPath::Reset() {
    FPath = QPainterPath();
    SetFillMode(FillModeAlternate);
    FFigureOpen = false;
    FPointCount = FEllipses = FOtherFigures = 0;
    return Ok;
}

TStatus TGPGraphicsPath::SetFillMode(FillMode mode) {
    FFillMode = mode;
    FPath.setFillRule(mode == FillModeWinding ? Qt::WindingFill : Qt::OddEvenFill);
    return Ok;
}

TStatus TGPGraphicsPath::GetBounds(TGPRectF& bounds) const {
    const QRectF b = FPath.boundingRect();
    bounds = {float(b.x()), float(b.y()), float(b.width()), float(b.height())};
    return Ok;
}

std::optional<QRectF> TGPGraphicsPath::SingleEllipse() const {
    if (FEllipses == 1 && FOtherFigures == 0)
        return FEllipseRect;
    return std::nullopt;
}

TGPMatrix::TGPMatrix(float m11, float m12, float m21, float m22, float dx, float dy)
    : FTransform(m11, m12, m21, m22, dx, dy) {}

void TGPMatrix::Combine(const QTransform& t, MatrixOrder order) {
    // Points are row vectors: prepending applies `t` before the current transform.
    FTransform = order == MatrixOrderPrepend ? t * FTransform : FTransform * t;
}

TStatus TGPMatrix::Translate(float offsetX, float offsetY, MatrixOrder order) {
    Combine(QTransform::fromTranslate(offsetX, offsetY), order);
    return Ok;
}

TStatus TGPMatrix::Scale(float scaleX, float scaleY, MatrixOrder order) {
    Combine(QTransform::fromScale(scaleX, scaleY), order);
    return Ok;
}

TStatus TGPMatrix::Rotate(float angle, MatrixOrder order) {
    // With y pointing down, QTransform::rotate turns clockwise on the screen, as the callers expect.
    QTransform r;
    r.rotate(angle);
    Combine(r, order);
    return Ok;
}

TStatus TGPMatrix::Multiply(const TGPMatrix& other, MatrixOrder order) {
    Combine(other.FTransform, order);
    return Ok;
}

TStatus TGPMatrix::Reset() {
    FTransform.reset();
    return Ok;
}

TStatus TGPMatrix::Invert() {
    bool invertible = false;
    QTransform inverse = FTransform.inverted(&invertible);
    if (!invertible)
        return FLastStatus = InvalidParameter;
    FTransform = inverse;
    return Ok;
}

void TGPMatrix::GetElements(float elements[6]) const {
    elements[0] = float(FTransform.m11());
    elements[1] = float(FTransform.m12());
    elements[2] = float(FTransform.m21());
    elements[3] = float(FTransform.m22());
    elements[4] = float(FTransform.dx());
    elements[5] = float(FTransform.dy());
}

TGPRegion::TGPRegion() = default;

TGPRegion::TGPRegion(const TGPRectF& rect) : FInfinite(false) {
    FPath.addRect(QRectF(rect.X, rect.Y, rect.Width, rect.Height));
}

TGPRegion::TGPRegion(const TGPGraphicsPath& path) : FInfinite(false), FPath(path.QtPath()) {}

TStatus TGPRegion::MakeInfinite() {
    FInfinite = true;
    FPath = QPainterPath();
    return Ok;
}

TStatus TGPRegion::MakeEmpty() {
    FInfinite = false;
    FPath = QPainterPath();
    return Ok;
}

QPainterPath TGPRegion::QtPath(const QRectF& everything) const {
    if (!FInfinite)
        return FPath;
    QPainterPath all;
    all.addRect(everything);
    return all;
}

TStatus TGPRegion::Combine(const TGPRegion& other, CombineMode mode) {
    if (mode == CombineModeReplace) {
        FInfinite = other.FInfinite;
        FPath = other.FPath;
        return Ok;
    }
    const QPainterPath mine = QtPath(InfiniteRect());
    const QPainterPath theirs = other.QtPath(InfiniteRect());
    switch (mode) {
    case CombineModeIntersect:
        if (FInfinite) {
            FInfinite = other.FInfinite;
            FPath = other.FPath;
        } else if (!other.FInfinite) {
            FPath = mine.intersected(theirs);
        }
        return Ok;
    case CombineModeUnion:
        FInfinite = FInfinite || other.FInfinite;
        FPath = FInfinite ? QPainterPath() : mine.united(theirs);
        return Ok;
    case CombineModeXor:
        FPath = mine.subtracted(theirs).united(theirs.subtracted(mine));
        break;
    case CombineModeExclude:
        FPath = mine.subtracted(theirs);
        break;
    case CombineModeComplement:
        FPath = theirs.subtracted(mine);
        break;
    default:
        return FLastStatus = InvalidParameter;
    }
    FInfinite = false;
    return Ok;
}

bool TGPRegion::IsVisible(float x, float y) const {
    return FInfinite || FPath.contains(QPointF(x, y));
}

} // namespace lanterna
