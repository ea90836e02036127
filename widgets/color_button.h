#pragma once
// A push button with a rounded gradient face in its colour: lighter at the top, the colour itself at
// the bottom; brighter under the mouse, turned over while pressed, faded while disabled, with a dotted
// outline while it has the keyboard focus. The caption uses the button's font and button-text colour.

#include "drawing/fill.h"

#include <QPushButton>

#include <memory>

namespace lanterna {

class TColorButton final : public QPushButton {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TColorButton)

public:
    TColorButton(const QString& caption, TColor color, QWidget* parent = nullptr);
    ~TColorButton() override;

    static constexpr int kDefaultRounding = 5;
    // The opacity of a disabled button's face.
    static constexpr std::uint8_t kDisabledOpacity = 110;

    TColor Color() const { return FColor; }
    // Sets the three faces anew from the colour.
    void SetColor(TColor value);

    // The faces at rest, under the mouse and while pressed; a window may restyle them one by one.
    TFill& Face() { return *FFace; }
    TFill& FaceHot() { return *FFaceHot; }
    TFill& FaceDown() { return *FFaceDown; }

    bool MouseInControl() const { return FMouseInControl; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void MakeFaces();
    TFill& CurrentFace();

    TColor FColor;
    std::unique_ptr<TFill> FFace;
    std::unique_ptr<TFill> FFaceHot;
    std::unique_ptr<TFill> FFaceDown;
    bool FMouseInControl = false;
};

} // namespace lanterna
