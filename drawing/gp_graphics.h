#pragma once
// The drawing surface every part of the system paints through: a thin layer over QPainter with the
// platform graphics library's calls. Calls keep a status and never throw; a failed call paints nothing.

#include "drawing/gp_brush.h"
#include "drawing/gp_image.h"
#include "drawing/gp_path.h"
#include "drawing/gp_text.h"

#include <QPainter>

#include <memory>

class QWidget;

namespace lanterna {

class TGPGraphics {
public:
    // A surface on an image (kept alive by the caller for the surface's life).
    explicit TGPGraphics(QImage& image);
    explicit TGPGraphics(TGPImage& image) : TGPGraphics(image.QtImage()) {}
    // A surface on a widget; only inside the widget's paint event.
    explicit TGPGraphics(QWidget* widget);
    // A surface on a canvas that is already being painted; its state is restored when the surface goes.
    explicit TGPGraphics(QPainter& painter);
    ~TGPGraphics();
    Q_DISABLE_COPY_MOVE(TGPGraphics)

    TStatus GetLastStatus() { return std::exchange(FLastStatus, Ok); }

    TStatus SetSmoothingMode(SmoothingMode mode);
    SmoothingMode GetSmoothingMode() const { return FSmoothing; }
    TStatus SetTextRenderingHint(TextRenderingHint hint);
    TextRenderingHint GetTextRenderingHint() const { return FTextHint; }

    TStatus SetTransform(const TGPMatrix& matrix);
    TStatus GetTransform(TGPMatrix& matrix) const;
    TStatus ResetTransform();
    TStatus TranslateTransform(float dx, float dy, MatrixOrder order = MatrixOrderPrepend);
    TStatus ScaleTransform(float sx, float sy, MatrixOrder order = MatrixOrderPrepend);
    TStatus RotateTransform(float angle, MatrixOrder order = MatrixOrderPrepend);
    TStatus MultiplyTransform(const TGPMatrix& matrix, MatrixOrder order = MatrixOrderPrepend);

    TStatus SetClip(const TGPRegion& region, CombineMode mode = CombineModeReplace);
    TStatus SetClip(const TGPGraphicsPath& path, CombineMode mode = CombineModeReplace);
    TStatus SetClip(const TGPRectF& rect, CombineMode mode = CombineModeReplace);
    TStatus IntersectClip(const TGPRectF& rect) { return SetClip(rect, CombineModeIntersect); }
    TStatus ExcludeClip(const TGPRectF& rect) { return SetClip(rect, CombineModeExclude); }
    TStatus ResetClip();
    bool IsClipped() const;

    TStatus Clear(ARGB color);
    TStatus FillPath(const TGPBrush& brush, const TGPGraphicsPath& path);
    TStatus FillRectangle(const TGPBrush& brush, const TGPRectF& rect);
    TStatus FillRectangle(const TGPBrush& brush, float x, float y, float width, float height) {
        return FillRectangle(brush, TGPRectF{x, y, width, height});
    }
    TStatus FillEllipse(const TGPBrush& brush, const TGPRectF& rect);
    TStatus FillPolygon(const TGPBrush& brush, const TGPPointF* points, int count,
                        FillMode mode = FillModeAlternate);
    TStatus DrawPath(const TGPPen& pen, const TGPGraphicsPath& path);
    TStatus DrawRectangle(const TGPPen& pen, const TGPRectF& rect);
    TStatus DrawEllipse(const TGPPen& pen, const TGPRectF& rect);
    TStatus DrawLine(const TGPPen& pen, float x1, float y1, float x2, float y2);

    // The image at its own size with its top-left corner at (x, y).
    TStatus DrawImage(const TGPImage* image, float x, float y);
    // The image stretched into the rectangle.
    TStatus DrawImage(const TGPImage* image, float x, float y, float width, float height);
    TStatus DrawImage(const TGPImage* image, const TGPRectF& dest) {
        return DrawImage(image, dest.X, dest.Y, dest.Width, dest.Height);
    }
    // A source rectangle of the image (in pixels) stretched into `dest` through image attributes.
    TStatus DrawImage(const TGPImage* image, const TGPRectF& dest, float srcX, float srcY, float srcWidth,
                      float srcHeight, Unit srcUnit, const TGPImageAttributes* attributes = nullptr);

    TStatus DrawString(const QString& text, const TGPFont& font, const TGPRectF& layoutRect,
                       const TGPStringFormat* format, const TGPBrush& brush);
    // The box that the text takes when laid out in `layoutRect` (a zero width or height means no limit).
    TStatus MeasureString(const QString& text, const TGPFont& font, const TGPRectF& layoutRect,
                          const TGPStringFormat* format, TGPRectF& boundingBox);

    // A platform font from a framework font: its family ("Arial" when the family or style is missing), its
    // size in points and its bold, italic and underline styles; strike-out is dropped.
    static std::unique_ptr<TGPFont> MakeFont(const QFont& font);

    QPainter& Painter() { return *FPainter; }

private:
    void Init();
    TStatus Keep(TStatus s) {
        if (s != Ok)
            FLastStatus = s;
        return s;
    }
    TStatus ApplyClip(const QPainterPath& path, CombineMode mode);
    QRect DeviceRect() const;
    // The device pixels that painting `area` (world coordinates) can touch, within the clip.
    QRect DeviceArea(const QPainterPath& area) const;
    TStatus Fill(const TGPBrush& brush, const QPainterPath& shape);
    // The text as shown: lines too long for a no-wrap format trimmed with an ellipsis.
    QString LaidOut(const QString& text, const TGPFont& font, const TGPRectF& layoutRect,
                    const TGPStringFormat* format) const;
    struct TTextLayout {
        QString text;
        QRectF rect;
        int flags;
        bool unbounded;
    };
    TTextLayout Layout(const QString& text, const TGPFont& font, const TGPRectF& layoutRect,
                       const TGPStringFormat* format) const;

    std::unique_ptr<QPainter> FOwnPainter;
    QPainter* FPainter = nullptr;
    SmoothingMode FSmoothing = SmoothingModeNone;
    TextRenderingHint FTextHint = TextRenderingHintSystemDefault;
    TStatus FLastStatus = Ok;
};

} // namespace lanterna
