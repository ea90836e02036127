#include "widgets/color_button.h"

#include "widgets/color_mix.h"

#include <QPainter>

namespace lanterna {

TColorButton::TColorButton(const QString& caption, TColor color, QWidget* parent)
    : QPushButton(caption, parent), FColor(color), FFace(std::make_unique<TFill>()),
      FFaceHot(std::make_unique<TFill>()), FFaceDown(std::make_unique<TFill>()) {
    setCursor(Qt::PointingHandCursor);
    // The rounded corners show the parent: the button has no background of its own.
    setAttribute(Qt::WA_NoSystemBackground);
    MakeFaces();
    for (TFill* face : {FFace.get(), FFaceHot.get(), FFaceDown.get()})
        face->OnChange = [this](TPersistent*) { update(); };
}

TColorButton::~TColorButton() = default;

void TColorButton::SetColor(TColor value) {
    if (value == FColor)
        return;
    FColor = value;
    MakeFaces();
    update();
}

void TColorButton::MakeFaces() {
    struct TLook {
        TFill& fill;
        TColor from, to, border;
    };
    const TLook looks[] = {
        {*FFace, MixColor(FColor, clWhite, 0.55), FColor, MixColor(FColor, clBlack, 0.4)},
        {*FFaceHot, MixColor(FColor, clWhite, 0.75), MixColor(FColor, clWhite, 0.25),
         MixColor(FColor, clBlack, 0.4)},
        // Pressed, the light comes from below, as on a face pushed in.
        {*FFaceDown, MixColor(FColor, clBlack, 0.1), MixColor(FColor, clWhite, 0.45),
         MixColor(FColor, clBlack, 0.55)},
    };
    for (const TLook& look : looks) {
        look.fill.BeginUpdate();
        look.fill.SetGradientType(gtVertical);
        look.fill.SetColor(look.from);
        look.fill.SetColorTo(look.to);
        look.fill.SetBorderColor(look.border);
        look.fill.SetRounding(kDefaultRounding);
        look.fill.SetFocusColor(clBlack);
        look.fill.EndUpdate();
    }
}

TFill& TColorButton::CurrentFace() {
    if (isDown())
        return *FFaceDown;
    if (FMouseInControl && isEnabled())
        return *FFaceHot;
    return *FFace;
}

void TColorButton::paintEvent(QPaintEvent*) {
    TFill& face = CurrentFace();
    // The focus outline is a state of this paint, not a change of the face's style.
    face.BeginUpdate();
    face.SetFocus(hasFocus());
    face.EndUpdate();
    {
        TGPGraphics graphics(this);
        graphics.SetSmoothingMode(SmoothingModeAntiAlias);
        const std::uint8_t opacity = isEnabled() ? 255 : kDisabledOpacity;
        // Half-pixel edges put the one-pixel border on whole pixels.
        face.Fill(graphics, {0.5f, 0.5f, float(width() - 1), float(height() - 1)}, opacity, opacity, opacity);
    }
    QPainter p(this);
    p.setFont(font());
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    p.drawText(isDown() ? rect().translated(1, 1) : rect(), Qt::AlignCenter | Qt::TextShowMnemonic, text());
}

void TColorButton::enterEvent(QEnterEvent* event) {
    QPushButton::enterEvent(event);
    FMouseInControl = true;
    update();
}

void TColorButton::leaveEvent(QEvent* event) {
    QPushButton::leaveEvent(event);
    FMouseInControl = false;
    update();
}

} // namespace lanterna
