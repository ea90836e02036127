#pragma once
// Paths, regions and matrices of the graphics wrappers: thin value holders over QPainterPath and
// QTransform with the platform library's call shapes (angles in degrees, clockwise).

#include "drawing/gp_types.h"

#include <QPainterPath>
#include <QTransform>

#include <optional>

namespace lanterna {

class TGPGraphicsPath {
public:
    explicit TGPGraphicsPath(FillMode mode = FillModeAlternate);

    TStatus AddLine(float x1, float y1, float x2, float y2);
    // An elliptical arc inside the bounding box, from startAngle through sweepAngle degrees (clockwise).
    TStatus AddArc(float x, float y, float width, float height, float startAngle, float sweepAngle);
    TStatus AddArc(const TGPRectF& rect, float startAngle, float sweepAngle) {
        return AddArc(rect.X, rect.Y, rect.Width, rect.Height, startAngle, sweepAngle);
    }
    TStatus AddEllipse(float x, float y, float width, float height);
    TStatus AddEllipse(const TGPRectF& rect) { return AddEllipse(rect.X, rect.Y, rect.Width, rect.Height); }
    TStatus AddRectangle(const TGPRectF& rect);
    TStatus AddPolygon(const TGPPointF* points, int count);
    TStatus StartFigure();
    TStatus CloseFigure();
    TStatus Reset();
    TStatus SetFillMode(FillMode mode);
    FillMode GetFillMode() const { return FFillMode; }
    TStatus GetBounds(TGPRectF& bounds) const;
    int GetPointCount() const { return FPointCount; }
    TStatus GetLastStatus() { return std::exchange(FLastStatus, Ok); }

    const QPainterPath& QtPath() const { return FPath; }
    // The ellipse's rectangle when the path is one ellipse and nothing else.
    std::optional<QRectF> SingleEllipse() const;

private:
    TStatus Keep(TStatus s) { return s == Ok ? s : FLastStatus = s; }
    void Extend(const QPointF& start);

    QPainterPath FPath;
    FillMode FFillMode;
    bool FFigureOpen = false;
    int FPointCount = 0;
    int FEllipses = 0;
    int FOtherFigures = 0;
    QRectF FEllipseRect;
    TStatus FLastStatus = Ok;
};

class TGPMatrix {
public:
    TGPMatrix() = default;
    TGPMatrix(float m11, float m12, float m21, float m22, float dx, float dy);

    TStatus Translate(float offsetX, float offsetY, MatrixOrder order = MatrixOrderPrepend);
    TStatus Scale(float scaleX, float scaleY, MatrixOrder order = MatrixOrderPrepend);
    TStatus Rotate(float angle, MatrixOrder order = MatrixOrderPrepend);
    TStatus Multiply(const TGPMatrix& other, MatrixOrder order = MatrixOrderPrepend);
    TStatus Reset();
    TStatus Invert();
    bool IsIdentity() const { return FTransform.isIdentity(); }
    // m11, m12, m21, m22, dx, dy.
    void GetElements(float elements[6]) const;
    TStatus GetLastStatus() { return std::exchange(FLastStatus, Ok); }

    const QTransform& QtTransform() const { return FTransform; }
    void SetQtTransform(const QTransform& t) { FTransform = t; }

private:
    void Combine(const QTransform& t, MatrixOrder order);
    QTransform FTransform;
    TStatus FLastStatus = Ok;
};

// An area of the surface: everything (infinite), a rectangle, a path, or a combination of them.
class TGPRegion {
public:
    TGPRegion(); // infinite
    explicit TGPRegion(const TGPRectF& rect);
    explicit TGPRegion(const TGPGraphicsPath& path);

    TStatus MakeInfinite();
    TStatus MakeEmpty();
    TStatus Intersect(const TGPRectF& rect) { return Combine(TGPRegion(rect), CombineModeIntersect); }
    TStatus Intersect(const TGPRegion& other) { return Combine(other, CombineModeIntersect); }
    TStatus Union(const TGPRegion& other) { return Combine(other, CombineModeUnion); }
    TStatus Exclude(const TGPRectF& rect) { return Combine(TGPRegion(rect), CombineModeExclude); }
    TStatus Exclude(const TGPRegion& other) { return Combine(other, CombineModeExclude); }
    TStatus Xor(const TGPRegion& other) { return Combine(other, CombineModeXor); }
    TStatus Complement(const TGPRegion& other) { return Combine(other, CombineModeComplement); }
    TStatus Combine(const TGPRegion& other, CombineMode mode);
    bool IsInfinite() const { return FInfinite; }
    bool IsEmpty() const { return !FInfinite && FPath.isEmpty(); }
    bool IsVisible(float x, float y) const;
    TStatus GetLastStatus() { return std::exchange(FLastStatus, Ok); }

    // The area as a path; an infinite region is given as `everything`.
    QPainterPath QtPath(const QRectF& everything) const;

private:
    bool FInfinite = true;
    QPainterPath FPath;
    TStatus FLastStatus = Ok;
};

} // namespace lanterna
