#include "drawing/gp_brush.h"

#include "drawing/gp_image.h"

#include <QLinearGradient>
#include <QRadialGradient>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace lanterna {

namespace {

constexpr double kGamma = 2.2;

double DegToRad(double deg) {
    return deg * M_PI / 180.0;
}

// The 53 hatch patterns, one byte a row, bit 7 the leftmost pixel of the 8 x 8 cell.
constexpr std::uint8_t kHatchPatterns[HatchStyleTotal][8] = {
    {0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}, // Horizontal
    {0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80}, // Vertical
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01}, // ForwardDiagonal
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80}, // BackwardDiagonal
    {0xFF, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80}, // Cross
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81}, // DiagonalCross
    {0x80, 0x00, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00}, // 05Percent
    {0x80, 0x00, 0x08, 0x00, 0x80, 0x00, 0x08, 0x00}, // 10Percent
    {0x88, 0x00, 0x22, 0x00, 0x88, 0x00, 0x22, 0x00}, // 20Percent
    {0x88, 0x22, 0x88, 0x22, 0x88, 0x22, 0x88, 0x22}, // 25Percent
    {0x88, 0x55, 0x22, 0x55, 0x88, 0x55, 0x22, 0x55}, // 30Percent
    {0x55, 0xA2, 0x55, 0x88, 0x55, 0xA2, 0x55, 0x22}, // 40Percent
    {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55}, // 50Percent
    {0xAA, 0x77, 0xAA, 0xDD, 0xAA, 0x77, 0xAA, 0xDD}, // 60Percent
    {0xEE, 0x55, 0xBB, 0x77, 0xEE, 0x55, 0xBB, 0x77}, // 70Percent
    {0x77, 0xDD, 0x77, 0xDD, 0x77, 0xDD, 0x77, 0xDD}, // 75Percent
    {0xEF, 0xBB, 0xFE, 0xBB, 0xEF, 0xBB, 0xFE, 0xBB}, // 80Percent
    {0x7F, 0xFF, 0xF7, 0xFF, 0x7F, 0xFF, 0xF7, 0xFF}, // 90Percent
    {0x88, 0x44, 0x22, 0x11, 0x88, 0x44, 0x22, 0x11}, // LightDownwardDiagonal
    {0x11, 0x22, 0x44, 0x88, 0x11, 0x22, 0x44, 0x88}, // LightUpwardDiagonal
    {0xCC, 0x66, 0x33, 0x99, 0xCC, 0x66, 0x33, 0x99}, // DarkDownwardDiagonal
    {0x33, 0x66, 0xCC, 0x99, 0x33, 0x66, 0xCC, 0x99}, // DarkUpwardDiagonal
    {0xE0, 0x70, 0x38, 0x1C, 0x0E, 0x07, 0x83, 0xC1}, // WideDownwardDiagonal
    {0x07, 0x0E, 0x1C, 0x38, 0x70, 0xE0, 0xC1, 0x83}, // WideUpwardDiagonal
    {0x88, 0x88, 0x88, 0x88, 0x88, 0x88, 0x88, 0x88}, // LightVertical
    {0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00}, // LightHorizontal
    {0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA}, // NarrowVertical
    {0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00}, // NarrowHorizontal
    {0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC}, // DarkVertical
    {0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00}, // DarkHorizontal
    {0x00, 0x00, 0x88, 0x44, 0x22, 0x11, 0x00, 0x00}, // DashedDownwardDiagonal
    {0x00, 0x00, 0x11, 0x22, 0x44, 0x88, 0x00, 0x00}, // DashedUpwardDiagonal
    {0xF0, 0x00, 0x00, 0x00, 0x0F, 0x00, 0x00, 0x00}, // DashedHorizontal
    {0x80, 0x80, 0x80, 0x80, 0x08, 0x08, 0x08, 0x08}, // DashedVertical
    {0x80, 0x10, 0x02, 0x20, 0x01, 0x08, 0x40, 0x04}, // SmallConfetti
    {0xB1, 0x30, 0x03, 0x1B, 0xD8, 0xC0, 0x0C, 0x8D}, // LargeConfetti
    {0x81, 0x42, 0x24, 0x18, 0x81, 0x42, 0x24, 0x18}, // ZigZag
    {0x00, 0x18, 0xA4, 0x03, 0x00, 0x18, 0xA4, 0x03}, // Wave
    {0x01, 0x02, 0x04, 0x08, 0x18, 0x24, 0x42, 0x81}, // DiagonalBrick
    {0xFF, 0x80, 0x80, 0x80, 0xFF, 0x08, 0x08, 0x08}, // HorizontalBrick
    {0x88, 0x54, 0x22, 0x45, 0x88, 0x14, 0x22, 0x51}, // Weave
    {0xAA, 0x55, 0xAA, 0x55, 0xF0, 0xF0, 0xF0, 0xF0}, // Plaid
    {0x00, 0x20, 0x10, 0x20, 0x00, 0x02, 0x01, 0x02}, // Divot
    {0xAA, 0x00, 0x80, 0x00, 0x80, 0x00, 0x80, 0x00}, // DottedGrid
    {0x80, 0x00, 0x22, 0x00, 0x08, 0x00, 0x22, 0x00}, // DottedDiamond
    {0x03, 0x84, 0x48, 0x30, 0x0C, 0x02, 0x01, 0x01}, // Shingle
    {0xFF, 0x66, 0xFF, 0x99, 0xFF, 0x66, 0xFF, 0x99}, // Trellis
    {0x77, 0x89, 0x8F, 0x8F, 0x77, 0x98, 0xF8, 0xF8}, // Sphere
    {0xFF, 0x88, 0x88, 0x88, 0xFF, 0x88, 0x88, 0x88}, // SmallGrid
    {0x99, 0x66, 0x66, 0x99, 0x99, 0x66, 0x66, 0x99}, // SmallCheckerBoard
    {0xF0, 0xF0, 0xF0, 0xF0, 0x0F, 0x0F, 0x0F, 0x0F}, // LargeCheckerBoard
    {0x41, 0x22, 0x14, 0x08, 0x14, 0x22, 0x41, 0x80}, // OutlinedDiamond
    {0x10, 0x38, 0x7C, 0xFE, 0x7C, 0x38, 0x10, 0x00}, // SolidDiamond
};

QGradient::Spread SpreadOf(WrapMode mode) {
    return mode == WrapModeTile ? QGradient::RepeatSpread : QGradient::ReflectSpread;
}

// The brush transform that makes brush pixels device pixels offset by `origin`, whatever the world.
QTransform DeviceAligned(const QTransform& world, const QPoint& origin) {
    return QTransform::fromTranslate(origin.x(), origin.y()) * world.inverted();
}

double Cross(const QPointF& a, const QPointF& b) {
    return a.x() * b.y() - a.y() * b.x();
}

} // namespace

QRgb Premultiplied(ARGB color) {
    return qPremultiply(QRgb(color));
}

namespace {

// The ellipse as a path, to test whether a point lies inside it.
QPainterPath EllipsePath(const QRectF& ellipse) {
    QPainterPath path;
    path.addEllipse(ellipse);
    return path;
}

} // namespace

QBrush TGPSolidBrush::QtBrush(const QTransform&, const QRect&) const {
    return QBrush(QColor::fromRgba(FColor));
}

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPRectF& rect, ARGB color1, ARGB color2,
                                               LinearGradientMode mode)
    : FRect(rect), FColors{color1, color2}, FScalable(true) {
    static constexpr float kAngles[] = {0, 90, 45, 135};
    if (mode > LinearGradientModeBackwardDiagonal) {
        FValid = false;
        Keep(InvalidParameter);
    }
    FAngle = kAngles[std::min<int>(mode, 3)];
    if (!(rect.Width > 0 && rect.Height > 0)) {
        FValid = false;
        Keep(OutOfMemory); // the library's answer to an empty gradient rectangle
    }
}

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPRectF& rect, ARGB color1, ARGB color2, float angle,
                                               bool isAngleScalable)
    : FRect(rect), FColors{color1, color2}, FAngle(angle), FScalable(isAngleScalable) {
    if (!(rect.Width > 0 && rect.Height > 0)) {
        FValid = false;
        Keep(OutOfMemory);
    }
}

TStatus TGPLinearGradientBrush::SetWrapMode(WrapMode mode) {
    if (mode == WrapModeClamp)
        return Keep(InvalidParameter);
    FWrapMode = mode;
    return Ok;
}

TStatus TGPLinearGradientBrush::GetLinearColors(ARGB colors[2]) const {
    colors[0] = FColors[0];
    colors[1] = FColors[1];
    return Ok;
}

TStatus TGPLinearGradientBrush::GetRectangle(TGPRectF& rect) const {
    rect = FRect;
    return Ok;
}

ARGB TGPLinearGradientBrush::Interpolate(ARGB from, ARGB to, double t, bool gamma) {
    // Channel values raised to the gamma, once.
    static const std::array<double, 256> linear = [] {
        std::array<double, 256> table{};
        for (int i = 0; i < 256; ++i)
            table[i] = std::pow(i / 255.0, kGamma);
        return table;
    }();
    t = std::clamp(t, 0.0, 1.0);
    auto channel = [&](int shift, bool correct) {
        const int a = (from >> shift) & 0xFF, b = (to >> shift) & 0xFF;
        double v;
        if (correct && a != b)
            v = 255.0 * std::pow(linear[a] * (1 - t) + linear[b] * t, 1 / kGamma);
        else
            v = a + (b - a) * t;
        return ARGB(std::clamp(v, 0.0, 255.0) + 0.5) << shift;
    };
    return channel(24, false) | channel(16, gamma) | channel(8, gamma) | channel(0, gamma);
}

QBrush TGPLinearGradientBrush::QtBrush(const QTransform&, const QRect&) const {
    // The colour is a linear function of the position: t = n . (p - p0) / n . (p1 - p0), where n is the
    // direction (taken in the unit square for a scalable angle) and p0, p1 the first and last corner.
    const double rad = DegToRad(FAngle);
    QPointF n(std::cos(rad), std::sin(rad));
    if (FScalable)
        n = QPointF(n.x() / FRect.Width, n.y() / FRect.Height);
    const QPointF corners[] = {{FRect.X, FRect.Y},
                               {FRect.X + FRect.Width, FRect.Y},
                               {FRect.X, FRect.Y + FRect.Height},
                               {FRect.X + FRect.Width, FRect.Y + FRect.Height}};
    auto along = [&](const QPointF& p) { return QPointF::dotProduct(n, p); };
    QPointF p0 = corners[0], p1 = corners[0];
    for (const QPointF& c : corners) {
        if (along(c) < along(p0))
            p0 = c;
        if (along(c) > along(p1))
            p1 = c;
    }
    const double len2 = QPointF::dotProduct(n, n);
    const QPointF end = p0 + n * ((along(p1) - along(p0)) / len2);
    QLinearGradient gradient(p0, end);
    gradient.setSpread(SpreadOf(FWrapMode));
    // Qt interpolates premultiplied colours linearly; enough stops carry the library's own curve.
    const bool plain = !FGamma && AlphaOf(FColors[0]) == AlphaOf(FColors[1]);
    const int stops = plain ? 1 : 32;
    for (int i = 0; i <= stops; ++i) {
        const double t = double(i) / stops;
        gradient.setColorAt(t, QColor::fromRgba(Interpolate(FColors[0], FColors[1], t, FGamma)));
    }
    return QBrush(gradient);
}

TGPHatchBrush::TGPHatchBrush(HatchStyle style, ARGB foreColor, ARGB backColor)
    : FStyle(style), FFore(foreColor), FBack(backColor) {
    if (style >= HatchStyleTotal) {
        FValid = false;
        Keep(InvalidParameter);
    }
}

std::uint8_t TGPHatchBrush::PatternRow(HatchStyle style, int y) {
    return style < HatchStyleTotal ? kHatchPatterns[style][y & 7] : 0;
}

bool TGPHatchBrush::IsForeground(HatchStyle style, int x, int y) {
    return PatternRow(style, y) & (0x80 >> (x & 7));
}

QBrush TGPHatchBrush::QtBrush(const QTransform& world, const QRect&) const {
    QImage cell(8, 8, QImage::Format_ARGB32_Premultiplied);
    const QRgb fore = Premultiplied(FFore), back = Premultiplied(FBack);
    for (int y = 0; y < 8; ++y) {
        auto* line = reinterpret_cast<QRgb*>(cell.scanLine(y));
        for (int x = 0; x < 8; ++x)
            line[x] = IsForeground(FStyle, x, y) ? fore : back;
    }
    QBrush brush(cell);
    brush.setTransform(DeviceAligned(world, QPoint(0, 0)));
    return brush;
}

TGPTextureBrush::TGPTextureBrush(const TGPImage* image, WrapMode mode) : FWrapMode(mode) {
    if (!image || image->QtImage().isNull()) {
        FValid = false;
        Keep(InvalidParameter);
        return;
    }
    FImage = image->QtImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

TStatus TGPTextureBrush::SetTransform(const TGPMatrix& matrix) {
    FMatrix = matrix;
    return Ok;
}

TStatus TGPTextureBrush::ResetTransform() {
    return FMatrix.Reset();
}

TStatus TGPTextureBrush::TranslateTransform(float dx, float dy, MatrixOrder order) {
    return FMatrix.Translate(dx, dy, order);
}

QBrush TGPTextureBrush::QtBrush(const QTransform&, const QRect&) const {
    QBrush brush(FImage);
    brush.setTransform(FMatrix.QtTransform());
    return brush;
}

struct TGPPathGradientBrush::TGauge {
    QPointF c;
    // Ellipse: the ray's outline point solves a quadratic; with k the centre point's offset from the
    // ellipse's centre, s = (sqrt(b^2 - a * c) + b) / -c, where a = |d|^2, b = k.d and c = |k|^2 - 1, all
    // scaled by the semi-axes.
    bool ellipse = false;
    double kx = 0, ky = 0, ia2 = 0, ib2 = 0, cTerm = 0;
    // Convex polygon: the largest ratio of a point's reach to each edge's distance from the centre.
    bool convex = false;
    std::vector<QPointF> edgeScale;
    // Any other outline: the nearest crossing of the ray with an edge.
    std::vector<QLineF> edges;

    explicit TGauge(const TGPPathGradientBrush& brush) : c(brush.FCenter) {
        if (brush.FEllipse) {
            const QRectF& r = *brush.FEllipse;
            ellipse = true;
            const double a = r.width() / 2, b = r.height() / 2;
            kx = c.x() - r.center().x();
            ky = c.y() - r.center().y();
            ia2 = 1 / (a * a);
            ib2 = 1 / (b * b);
            cTerm = kx * kx * ia2 + ky * ky * ib2 - 1;
            return;
        }
        const QPolygonF& poly = brush.FPolygon;
        const int n = poly.size();
        int sign = 0;
        convex = n >= 3;
        for (int i = 0; i < n; ++i) {
            const QPointF a = poly[i], b = poly[(i + 1) % n], d = poly[(i + 2) % n];
            edges.emplace_back(a, b);
            const double turn = Cross(b - a, d - b);
            if (std::abs(turn) > 1e-9) {
                const int s = turn > 0 ? 1 : -1;
                if (sign != 0 && s != sign)
                    convex = false;
                sign = s;
            }
        }
        if (!convex)
            return;
        for (const QLineF& e : edges) {
            QPointF normal(-(e.p2().y() - e.p1().y()), e.p2().x() - e.p1().x());
            double h = QPointF::dotProduct(normal, e.p1() - c);
            if (std::abs(h) < 1e-9)
                continue; // the centre lies on this edge's line
            edgeScale.push_back(normal / h);
        }
    }

    // 0 at the centre, 1 on the outline, above 1 outside.
    double operator()(double x, double y) const {
        float s;
        Row(&s, 1, x, y, 0, 0);
        return s;
    }

    // The gauge of n points, the first at (x, y) and each next one (stepX, stepY) further.
    void Row(float* out, int n, double x, double y, double stepX, double stepY) const {
        const float dx0 = float(x - c.x()), dy0 = float(y - c.y()), sx = float(stepX), sy = float(stepY);
        if (ellipse) {
            const float fa = float(ia2), fb = float(ib2), fkx = float(kx * ia2), fky = float(ky * ib2);
            const float c0 = float(cTerm), inv = c0 < 0 ? -1.0f / c0 : 0.0f;
            for (int i = 0; i < n; ++i) {
                const float dx = dx0 + float(i) * sx, dy = dy0 + float(i) * sy;
                const float a = dx * dx * fa + dy * dy * fb, b = fkx * dx + fky * dy;
                out[i] = (std::sqrt(std::max(0.0f, b * b - a * c0)) + b) * inv;
            }
            if (c0 >= 0) // the centre point lies outside the ellipse: nothing is inside
                std::fill(out, out + n, std::numeric_limits<float>::infinity());
            return;
        }
        if (convex) {
            std::fill(out, out + n, 0.0f);
            for (const QPointF& e : edgeScale) {
                const float ex = float(e.x()), ey = float(e.y());
                const float base = dx0 * ex + dy0 * ey, step = sx * ex + sy * ey;
                for (int i = 0; i < n; ++i)
                    out[i] = std::max(out[i], base + float(i) * step);
            }
            return;
        }
        for (int i = 0; i < n; ++i) {
            const QPointF d(dx0 + double(i) * stepX, dy0 + double(i) * stepY);
            if (d.isNull()) {
                out[i] = 0;
                continue;
            }
            double s = 0;
            for (const QLineF& e : edges) {
                const QPointF ev = e.p2() - e.p1(), ac = e.p1() - c;
                const double denom = Cross(d, ev);
                if (std::abs(denom) < 1e-12)
                    continue;
                const double lambda = Cross(ac, ev) / denom, mu = Cross(ac, d) / denom;
                if (lambda > 0 && mu >= 0 && mu <= 1)
                    s = std::max(s, 1 / lambda);
            }
            out[i] = s == 0 ? std::numeric_limits<float>::infinity() : float(s);
        }
    }
};

TGPPathGradientBrush::TGPPathGradientBrush(const TGPGraphicsPath& path) : FOutline(path.QtPath()) {
    FEllipse = path.SingleEllipse();
    Init();
}

TGPPathGradientBrush::TGPPathGradientBrush(const TGPPointF* points, int count) {
    if (points && count >= 2) {
        FOutline.moveTo(points[0].X, points[0].Y);
        for (int i = 1; i < count; ++i)
            FOutline.lineTo(points[i].X, points[i].Y);
        FOutline.closeSubpath();
    }
    Init();
}

void TGPPathGradientBrush::Init() {
    // Points a float's rounding apart (where an arc meets a line) would make the outline look bent.
    for (const QPointF& p : FOutline.toFillPolygon())
        if (FPolygon.isEmpty() || QLineF(FPolygon.last(), p).length() > 1e-3)
            FPolygon << p;
    while (FPolygon.size() > 1 && QLineF(FPolygon.first(), FPolygon.last()).length() <= 1e-3)
        FPolygon.removeLast();
    if (FEllipse) {
        FCenter = FEllipse->center();
    } else if (FPolygon.size() >= 3) {
        // The default centre is the polygon's centroid.
        double area = 0, cx = 0, cy = 0;
        for (int i = 0; i < FPolygon.size(); ++i) {
            const QPointF a = FPolygon[i], b = FPolygon[(i + 1) % FPolygon.size()];
            const double cr = Cross(a, b);
            area += cr;
            cx += (a.x() + b.x()) * cr;
            cy += (a.y() + b.y()) * cr;
        }
        FCenter = std::abs(area) > 1e-9 ? QPointF(cx / (3 * area), cy / (3 * area))
                                        : FOutline.boundingRect().center();
    } else {
        FValid = false;
        Keep(OutOfMemory);
    }
}

TStatus TGPPathGradientBrush::SetCenterPoint(const TGPPointF& point) {
    FCenter = QPointF(point.X, point.Y);
    return Ok;
}

TStatus TGPPathGradientBrush::GetCenterPoint(TGPPointF& point) const {
    point = {float(FCenter.x()), float(FCenter.y())};
    return Ok;
}

TStatus TGPPathGradientBrush::SetCenterColor(ARGB color) {
    FCenterColor = color;
    return Ok;
}

TStatus TGPPathGradientBrush::SetSurroundColors(const ARGB* colors, int& count) {
    if (!colors || count <= 0)
        return Keep(InvalidParameter);
    if (count > 1 && (count > FPolygon.size() ||
                      !std::all_of(colors, colors + count, [&](ARGB c) { return c == colors[0]; })))
        return Keep(count > FPolygon.size() ? InvalidParameter : NotImplemented);
    FSurroundColor = colors[0];
    return Ok;
}

TStatus TGPPathGradientBrush::SetInterpolationColors(const ARGB* presetColors, const float* blendPositions,
                                                     int count) {
    if (!presetColors || !blendPositions || count < 2 || blendPositions[0] != 0.0f ||
        blendPositions[count - 1] != 1.0f)
        return Keep(InvalidParameter);
    for (int i = 1; i < count; ++i)
        if (blendPositions[i] < blendPositions[i - 1])
            return Keep(InvalidParameter);
    FPresetColors.assign(presetColors, presetColors + count);
    FPresetPositions.assign(blendPositions, blendPositions + count);
    return Ok;
}

TStatus TGPPathGradientBrush::SetWrapMode(WrapMode mode) {
    FWrapMode = mode;
    return Ok;
}

ARGB TGPPathGradientBrush::ColorAtPosition(double t) const {
    if (FPresetColors.size() < 2)
        return TGPLinearGradientBrush::Interpolate(FSurroundColor, FCenterColor, t, FGamma);
    std::size_t k = 1;
    while (k + 1 < FPresetPositions.size() && FPresetPositions[k] < t)
        ++k;
    const double lo = FPresetPositions[k - 1], hi = FPresetPositions[k];
    const double local = hi > lo ? (t - lo) / (hi - lo) : 1.0;
    return TGPLinearGradientBrush::Interpolate(FPresetColors[k - 1], FPresetColors[k], local, FGamma);
}

ARGB TGPPathGradientBrush::ColorAt(float x, float y) const {
    const double s = TGauge(*this)(x, y);
    if (!(s <= 1.0) || !FOutline.contains(QPointF(x, y)))
        return 0;
    return ColorAtPosition(1 - s);
}

QBrush TGPPathGradientBrush::QtBrush(const QTransform& world, const QRect& deviceArea) const {
    if (deviceArea.isEmpty())
        return QBrush();
    if (FEllipse && EllipsePath(*FEllipse).contains(FCenter)) {
        // On an ellipse the rays from the centre point are those of a focal radial gradient on the unit
        // circle stretched onto the ellipse; Qt paints that natively. The stops sample the colour table,
        // which interpolates unpremultiplied colours as the platform library does.
        const QRectF& e = *FEllipse;
        const QPointF focal((FCenter.x() - e.center().x()) / (e.width() / 2),
                            (FCenter.y() - e.center().y()) / (e.height() / 2));
        QRadialGradient gradient(QPointF(0, 0), 1.0, focal);
        gradient.setSpread(QGradient::PadSpread);
        constexpr int kStops = 64;
        for (int i = 0; i <= kStops; ++i)
            gradient.setColorAt(double(i) / kStops,
                                QColor::fromRgba(ColorAtPosition(1.0 - double(i) / kStops)));
        QBrush brush(gradient);
        brush.setTransform(QTransform(e.width() / 2, 0, 0, e.height() / 2, e.center().x(), e.center().y()));
        return brush;
    }
    // A step of 1/255 along the ray is finer than any colour channel can follow.
    constexpr int kSteps = 255;
    std::array<QRgb, kSteps + 1> table;
    for (int i = 0; i <= kSteps; ++i)
        table[i] = Premultiplied(ColorAtPosition(double(i) / kSteps));

    const TGauge gauge(*this);
    const QTransform toWorld = world.inverted();
    QImage image(deviceArea.size(), QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return QBrush();
    const int width = image.width(), height = image.height();
    std::vector<float> gauges(width);
    std::vector<int> index(width);
    for (int row = 0; row < height; ++row) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(row));
        const QPointF start = toWorld.map(QPointF(deviceArea.left() + 0.5, deviceArea.top() + row + 0.5));
        gauge.Row(gauges.data(), width, start.x(), start.y(), toWorld.m11(), toWorld.m12());
        // Beyond the outline the outline colour continues: the painted area is cut to the outline
        // geometrically, so its anti-aliased edge pixels still get the right colour.
        for (int col = 0; col < width; ++col)
            index[col] = int((1.0f - std::min(gauges[col], 1.0f)) * float(kSteps) + 0.5f);
        for (int col = 0; col < width; ++col)
            line[col] = table[index[col]];
    }
    QBrush brush(image);
    brush.setTransform(DeviceAligned(world, deviceArea.topLeft()));
    return brush;
}

QPen TGPPen::QtPen() const {
    QPen pen(QColor::fromRgba(FColor));
    pen.setWidthF(FWidth < 1.0f ? 0.0 : FWidth);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    switch (FDashStyle) {
    case DashStyleDash:
        pen.setDashPattern({3, 1});
        break;
    case DashStyleDot:
        pen.setDashPattern({1, 1});
        break;
    case DashStyleDashDot:
        pen.setDashPattern({3, 1, 1, 1});
        break;
    case DashStyleDashDotDot:
        pen.setDashPattern({3, 1, 1, 1, 1, 1});
        break;
    default:
        break;
    }
    return pen;
}

} // namespace lanterna
