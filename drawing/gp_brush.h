#pragma once
// Brushes and pens of the graphics wrappers. Solid, linear-gradient and texture brushes map onto Qt
// brushes; hatch and path-gradient brushes, which Qt lacks, are rasterised here.

#include "drawing/gp_path.h"
#include "drawing/gp_types.h"

#include <QBrush>
#include <QImage>
#include <QPen>

#include <memory>
#include <vector>

namespace lanterna {

class TGPImage;

class TGPBrush {
public:
    virtual ~TGPBrush() = default;
    TStatus GetLastStatus() { return std::exchange(FLastStatus, Ok); }

    // The Qt brush that paints the device pixels `deviceArea` under the world transform `world`.
    virtual QBrush QtBrush(const QTransform& world, const QRect& deviceArea) const = 0;
    // The area outside which the brush paints nothing, in world coordinates; none when unbounded.
    virtual const QPainterPath* Outline() const { return nullptr; }
    // A brush that could not be made paints nothing.
    bool Valid() const { return FValid; }

protected:
    TStatus Keep(TStatus s) {
        if (s != Ok)
            FLastStatus = s;
        return s;
    }
    bool FValid = true;
    TStatus FLastStatus = Ok;
};

class TGPSolidBrush : public TGPBrush {
public:
    explicit TGPSolidBrush(ARGB color) : FColor(color) {}
    ARGB GetColor() const { return FColor; }
    TStatus SetColor(ARGB color) {
        FColor = color;
        return Ok;
    }
    QBrush QtBrush(const QTransform&, const QRect&) const override;

private:
    ARGB FColor;
};

// Two colours across a rectangle, by mode or by an angle (clockwise from the x axis). A scalable angle
// is taken in the rectangle's unit square and stretched with it, so the diagonal modes run corner to
// corner. The pattern repeats outside the rectangle.
class TGPLinearGradientBrush : public TGPBrush {
public:
    TGPLinearGradientBrush(const TGPRectF& rect, ARGB color1, ARGB color2, LinearGradientMode mode);
    TGPLinearGradientBrush(const TGPRectF& rect, ARGB color1, ARGB color2, float angle,
                           bool isAngleScalable = false);

    TStatus SetGammaCorrection(bool useGammaCorrection) {
        FGamma = useGammaCorrection;
        return Ok;
    }
    bool GetGammaCorrection() const { return FGamma; }
    TStatus SetWrapMode(WrapMode mode);
    WrapMode GetWrapMode() const { return FWrapMode; }
    TStatus GetLinearColors(ARGB colors[2]) const;
    TStatus GetRectangle(TGPRectF& rect) const;
    QBrush QtBrush(const QTransform&, const QRect&) const override;

    // The colour at a fraction t (0..1) of the way, with or without gamma correction.
    static ARGB Interpolate(ARGB from, ARGB to, double t, bool gamma);

private:
    TGPRectF FRect;
    ARGB FColors[2];
    float FAngle;
    bool FScalable;
    bool FGamma = false;
    WrapMode FWrapMode = WrapModeTile;
};

// An 8 x 8 pattern of foreground and background colour, aligned to the device origin.
class TGPHatchBrush : public TGPBrush {
public:
    TGPHatchBrush(HatchStyle style, ARGB foreColor, ARGB backColor = 0xFF000000);
    HatchStyle GetHatchStyle() const { return FStyle; }
    ARGB GetForegroundColor() const { return FFore; }
    ARGB GetBackgroundColor() const { return FBack; }
    QBrush QtBrush(const QTransform&, const QRect&) const override;

    // Row y of a style's pattern; bit 7 is the leftmost pixel.
    static std::uint8_t PatternRow(HatchStyle style, int y);
    static bool IsForeground(HatchStyle style, int x, int y);

private:
    HatchStyle FStyle;
    ARGB FFore, FBack;
};

// An image tiled from the origin of the world coordinates (moved by the brush's own transform).
class TGPTextureBrush : public TGPBrush {
public:
    explicit TGPTextureBrush(const TGPImage* image, WrapMode mode = WrapModeTile);
    TStatus SetTransform(const TGPMatrix& matrix);
    TStatus ResetTransform();
    TStatus TranslateTransform(float dx, float dy, MatrixOrder order = MatrixOrderPrepend);
    WrapMode GetWrapMode() const { return FWrapMode; }
    QBrush QtBrush(const QTransform&, const QRect&) const override;

private:
    QImage FImage;
    WrapMode FWrapMode;
    TGPMatrix FMatrix;
};

// Colours interpolated along each ray from a centre point to the outline of a path: the centre colour at
// the centre point, the surround colour on the outline, or a table of interpolation colours whose
// positions run from 0 (outline) to 1 (centre). Nothing is painted outside the path.
class TGPPathGradientBrush : public TGPBrush {
public:
    explicit TGPPathGradientBrush(const TGPGraphicsPath& path);
    TGPPathGradientBrush(const TGPPointF* points, int count);

    TStatus SetCenterPoint(const TGPPointF& point);
    TStatus GetCenterPoint(TGPPointF& point) const;
    TStatus SetCenterColor(ARGB color);
    ARGB GetCenterColor() const { return FCenterColor; }
    // One colour for the whole outline; more than one is refused when the path has fewer points.
    TStatus SetSurroundColors(const ARGB* colors, int& count);
    TStatus SetInterpolationColors(const ARGB* presetColors, const float* blendPositions, int count);
    int GetInterpolationColorCount() const { return int(FPresetColors.size()); }
    TStatus SetWrapMode(WrapMode mode);
    WrapMode GetWrapMode() const { return FWrapMode; }
    TStatus SetGammaCorrection(bool useGammaCorrection) {
        FGamma = useGammaCorrection;
        return Ok;
    }

    QBrush QtBrush(const QTransform& world, const QRect& deviceArea) const override;
    const QPainterPath* Outline() const override { return &FOutline; }

    // The colour at a world point (unpremultiplied ARGB); transparent outside the path.
    ARGB ColorAt(float x, float y) const;

private:
    void Init();
    // How far a point lies from the centre towards the outline along its ray: 0 centre, 1 outline.
    struct TGauge;
    // The colour at a position from 0 (outline) to 1 (centre).
    ARGB ColorAtPosition(double t) const;

    QPainterPath FOutline;
    std::optional<QRectF> FEllipse;
    QPolygonF FPolygon;
    QPointF FCenter;
    ARGB FCenterColor = 0xFF000000;
    ARGB FSurroundColor = 0xFFFFFFFF;
    std::vector<ARGB> FPresetColors;
    std::vector<float> FPresetPositions;
    WrapMode FWrapMode = WrapModeClamp;
    bool FGamma = false;
};

class TGPPen {
public:
    explicit TGPPen(ARGB color, float width = 1.0f) : FColor(color), FWidth(width) {}
    TStatus SetColor(ARGB color) {
        FColor = color;
        return Ok;
    }
    ARGB GetColor() const { return FColor; }
    TStatus SetWidth(float width) {
        FWidth = width;
        return Ok;
    }
    float GetWidth() const { return FWidth; }
    TStatus SetDashStyle(DashStyle style) {
        FDashStyle = style;
        return Ok;
    }
    DashStyle GetDashStyle() const { return FDashStyle; }
    TStatus GetLastStatus() { return std::exchange(FLastStatus, Ok); }
    QPen QtPen() const;

private:
    ARGB FColor;
    float FWidth;
    DashStyle FDashStyle = DashStyleSolid;
    TStatus FLastStatus = Ok;
};

// Premultiplies an unpremultiplied ARGB colour, as Qt's fast image formats store pixels.
QRgb Premultiplied(ARGB color);

} // namespace lanterna
