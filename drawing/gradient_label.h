#pragma once
// A label whose letters are filled with a gradient, hatch or picture instead of a flat colour, over an
// optional fill and with an optional offset shadow caption. A transparent child widget: its parent
// shows around the letters unless the label paints its fill.

#include "drawing/fill.h"
#include "platform/store_changed.h"

#include <QFont>
#include <QWidget>

#include <functional>
#include <memory>

namespace lanterna {

enum TGradientLabelLocation : std::uint8_t {
    plTopLeft,
    plTopCenter,
    plTopRight,
    plCenterLeft,
    plCenterCenter,
    plCenterRight,
    plBottomLeft,
    plBottomCenter,
    plBottomRight,
    plCustom
};

enum TTextRenderingHint : std::uint8_t { tAntiAlias, tClearType };

// The top-left corner of a w x h text placed at `location` in a box of boxW x boxH, relative to the box;
// plCustom gives (customLeft, customTop).
TGPPointF TextOrigin(TGradientLabelLocation location, float boxW, float boxH, float w, float h,
                     int customLeft, int customTop);

// One caption of a label: its text, font, place and the brush its letters are filled with.
class TGradientLabelCaption : public TPersistent {
public:
    TGradientLabelCaption();
    ~TGradientLabelCaption() override;
    Q_DISABLE_COPY_MOVE(TGradientLabelCaption)

    // Copies everything but the font.
    void Assign(const TPersistent* source) override;

    TNotifyEvent OnChange;

    const QString& Text() const { return FText; }
    void SetText(const QString& v) { Set(FText, v); }
    // Family, size, bold, italic and underline are used. A font sized in pixels (MakeQFont) keeps that
    // character height; one sized in points is taken at 96 dots per inch.
    const QFont& Font() const { return FFont; }
    void SetFont(const QFont& v) { Set(FFont, v); }
    TGradientLabelLocation Location() const { return FLocation; }
    void SetLocation(TGradientLabelLocation v) { Set(FLocation, v); }
    int Left() const { return FLeft; }
    void SetLeft(int v) { Set(FLeft, v); }
    int Top() const { return FTop; }
    void SetTop(int v) { Set(FTop, v); }
    TColor ColorStart() const { return FColorStart; }
    void SetColorStart(TColor v) { Set(FColorStart, v); }
    // clNone makes the end colour equal to the start colour.
    TColor ColorEnd() const { return FColorEnd; }
    void SetColorEnd(TColor v) { Set(FColorEnd, v); }
    std::uint8_t OpacityStart() const { return FOpacityStart; }
    void SetOpacityStart(std::uint8_t v) { Set(FOpacityStart, v); }
    std::uint8_t OpacityEnd() const { return FOpacityEnd; }
    void SetOpacityEnd(std::uint8_t v) { Set(FOpacityEnd, v); }
    TGradientType GradientType() const { return FGradientType; }
    void SetGradientType(TGradientType v) { Set(FGradientType, v); }
    lanterna::HatchStyle HatchStyle() const { return FHatchStyle; }
    void SetHatchStyle(lanterna::HatchStyle v) { Set(FHatchStyle, v); }
    TGPPicture& Picture() { return *FPicture; }
    const TGPPicture& Picture() const { return *FPicture; }
    // Copies the picture into the owned one (the texture of gtTexture).
    void SetPicture(const TPersistent* value) { FPicture->Assign(value); }

    // The brush of the letters of a text at (x, y, w, h); none for a type that has no caption brush
    // (gtRadial, gtAngle, gtPath, gtNone) or a texture without a picture.
    std::unique_ptr<TGPBrush> MakeBrush(const TGPRectF& text) const;

private:
    template <typename T> void Set(T& field, const T& value) {
        if (StoreChanged(field, value))
            Changed();
    }
    void Changed();

    QString FText;
    QFont FFont;
    TGradientLabelLocation FLocation = plCenterCenter;
    int FLeft = 0;
    int FTop = 0;
    TColor FColorStart = 0xFFE09F;
    TColor FColorEnd = 0x754F00;
    std::uint8_t FOpacityStart = 255;
    std::uint8_t FOpacityEnd = 255;
    TGradientType FGradientType = gtVertical;
    lanterna::HatchStyle FHatchStyle = HatchStyleHorizontal;
    std::unique_ptr<TGPPicture> FPicture;
};

class TGradientLabel : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TGradientLabel)

public:
    explicit TGradientLabel(QWidget* parent = nullptr);
    ~TGradientLabel() override;

    // Copies the fill, both captions, Transparent, WordWrap, TextRendering, CaptionShadowVisible and the
    // shadow offsets; then repaints and raises OnChange once.
    void Assign(const TGradientLabel& source);

    TGradientLabelCaption& Caption() { return *FCaption; }
    const TGradientLabelCaption& Caption() const { return *FCaption; }
    TGradientLabelCaption& CaptionShadow() { return *FCaptionShadow; }
    const TGradientLabelCaption& CaptionShadow() const { return *FCaptionShadow; }
    // The background, painted only when the label is not transparent.
    TFill& Fill() { return *FFill; }
    const TFill& Fill() const { return *FFill; }

    bool CaptionShadowVisible() const { return FCaptionShadowVisible; }
    void SetCaptionShadowVisible(bool v) { Set(FCaptionShadowVisible, v); }
    int CaptionShadowOffsetLeft() const { return FCaptionShadowOffsetLeft; }
    void SetCaptionShadowOffsetLeft(int v) { Set(FCaptionShadowOffsetLeft, v); }
    int CaptionShadowOffsetTop() const { return FCaptionShadowOffsetTop; }
    void SetCaptionShadowOffsetTop(int v) { Set(FCaptionShadowOffsetTop, v); }
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool v) { Set(FTransparent, v); }
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool v) { Set(FWordWrap, v); }
    TTextRenderingHint TextRendering() const { return FTextRendering; }
    void SetTextRendering(TTextRenderingHint v) { Set(FTextRendering, v); }

    std::function<void(TGradientLabel* sender)> OnChange;

    // Where a caption's text lands when painted with offset (dx, dy) into the rectangle `r`.
    TGPRectF CaptionRect(TGPGraphics& graphics, const TGradientLabelCaption& caption, const TGPRectF& r,
                         int dx, int dy) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    template <typename T> void Set(T& field, const T& value) {
        if (StoreChanged(field, value))
            Changed();
    }
    void Changed();
    TGPStringFormat Format(const TGradientLabelCaption& caption) const;
    void DrawCaption(TGPGraphics& graphics, const TGradientLabelCaption& caption, const TGPRectF& r, int dx,
                     int dy);

    std::unique_ptr<TGradientLabelCaption> FCaption;
    std::unique_ptr<TGradientLabelCaption> FCaptionShadow;
    std::unique_ptr<TFill> FFill;
    bool FCaptionShadowVisible = false;
    int FCaptionShadowOffsetLeft = 1;
    int FCaptionShadowOffsetTop = 1;
    bool FTransparent = true;
    bool FWordWrap = false;
    TTextRenderingHint FTextRendering = tAntiAlias;
    bool FAssigning = false; // holds the change notice while Assign copies
};

} // namespace lanterna
