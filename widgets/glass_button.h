#pragma once
// A button that looks like a rounded piece of coloured glass: a face in its colour that darkens towards
// the bottom, a shine over the upper half, an outer and an inner border, and a glow rising from the
// bottom edge while the mouse is over it. Disabled, the face turns to a pale grey and the shine goes.

#include "drawing/gradient_label.h"
#include "platform/store_changed.h"

#include <QAbstractButton>

#include <functional>

namespace lanterna {

class TGlassButton final : public QAbstractButton {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TGlassButton)

public:
    TGlassButton(const QString& caption, TColor color, QWidget* parent = nullptr);
    ~TGlassButton() override;

    // The face.
    TColor Color() const { return FColor; }
    void SetColor(TColor value) { Set(FColor, value); }
    int CornerRadius() const { return FCornerRadius; }
    void SetCornerRadius(int value) { Set(FCornerRadius, std::max(value, 0)); }
    // The light on the upper half.
    TColor ShineColor() const { return FShineColor; }
    void SetShineColor(TColor value) { Set(FShineColor, value); }
    // The light from the bottom edge under the mouse; clNone for none.
    TColor GlowColor() const { return FGlowColor; }
    void SetGlowColor(TColor value) { Set(FGlowColor, value); }
    TColor OuterBorderColor() const { return FOuterBorderColor; }
    void SetOuterBorderColor(TColor value) { Set(FOuterBorderColor, value); }
    TColor InnerBorderColor() const { return FInnerBorderColor; }
    void SetInnerBorderColor(TColor value) { Set(FInnerBorderColor, value); }
    // The caption's colour; the caption's font is the widget's font.
    TColor FontColor() const { return FFontColor; }
    void SetFontColor(TColor value) { Set(FFontColor, value); }

    bool MouseInControl() const { return FMouseInControl; }

    // Runs when the button is clicked with the mouse or the keyboard.
    std::function<void(TGlassButton* sender)> OnClick;

    QSize sizeHint() const override { return {167, 57}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    template <typename T> void Set(T& field, const T& value) {
        if (StoreChanged(field, value))
            update();
    }

    TColor FColor;
    int FCornerRadius = 8;
    TColor FShineColor = clWhite;
    TColor FGlowColor = clWhite;
    TColor FOuterBorderColor = clWhite;
    TColor FInnerBorderColor = clBlack;
    TColor FFontColor = clWhite;
    bool FMouseInControl = false;
};

} // namespace lanterna
