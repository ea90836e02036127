#include "widgets/glass_button.h"

#include "widgets/color_mix.h"

#include <QPainter>

namespace lanterna {

namespace {

// What a disabled button's colours fade to.
constexpr TColor kDisabledTint = 0xD8D8D8;

} // namespace

TGlassButton::TGlassButton(const QString& caption, TColor color, QWidget* parent)
    : QAbstractButton(parent), FColor(color) {
    setText(caption);
    resize(sizeHint());
    setCursor(Qt::PointingHandCursor);
    // Around the rounded corners the parent shows.
    setAttribute(Qt::WA_NoSystemBackground);
    connect(this, &QAbstractButton::clicked, this, [this] {
        if (OnClick)
            OnClick(this);
    });
}

TGlassButton::~TGlassButton() = default;

void TGlassButton::paintEvent(QPaintEvent*) {
    const bool enabled = isEnabled(), down = isDown();
    auto look = [&](TColor color) { return enabled ? color : MixColor(color, kDisabledTint, 0.7); };
    const TColor face = look(FColor), dark = MixColor(face, clBlack, enabled ? 0.35 : 0.12);
    // Half-pixel edges put the one-pixel borders on whole pixels.
    const TGPRectF outer{0.5f, 0.5f, float(width() - 1), float(height() - 1)};
    const TGPRectF inner{1.5f, 1.5f, float(width() - 3), float(height() - 3)};
    {
        TGPGraphics graphics(this);
        graphics.SetSmoothingMode(SmoothingModeAntiAlias);

        TFill body;
        body.SetGradientType(gtVertical);
        // Pressed, the light comes from below, as on a face pushed in.
        body.SetColor(down ? dark : face);
        body.SetColorTo(down ? face : dark);
        body.SetRounding(FCornerRadius);
        body.SetBorderColor(look(FOuterBorderColor));
        if (enabled && FMouseInControl && FGlowColor != clNone) {
            body.SetGlow(gmRadial);
            body.SetGlowRadialColor(FGlowColor);
        }
        body.Fill(graphics, outer);

        TFill ring;
        ring.SetGradientType(gtNone);
        ring.SetBorderColor(look(FInnerBorderColor));
        ring.SetRounding(std::max(FCornerRadius - 1, 0));
        ring.Fill(graphics, inner);

        if (enabled) {
            TFill shine;
            shine.SetGradientType(gtVertical);
            shine.SetColor(FShineColor);
            shine.SetColorTo(FShineColor);
            shine.SetOpacity(down ? 90 : 170);
            shine.SetOpacityTo(down ? 10 : 40);
            shine.SetRounding(std::max(FCornerRadius - 2, 0));
            shine.SetRoundingType(rtTop);
            shine.Fill(graphics, {inner.X + 1, inner.Y + 1, inner.Width - 2, (inner.Height - 2) / 2});
        }
    }
    QPainter p(this);
    p.setFont(font());
    p.setPen(QColor::fromRgb(AlphaColor(enabled ? FFontColor : MixColor(FFontColor, clGray, 0.5), 255)));
    p.drawText(down ? rect().translated(1, 1) : rect(), Qt::AlignCenter | Qt::TextShowMnemonic, text());
}

void TGlassButton::enterEvent(QEnterEvent* event) {
    QAbstractButton::enterEvent(event);
    FMouseInControl = true;
    update();
}

void TGlassButton::leaveEvent(QEvent* event) {
    QAbstractButton::leaveEvent(event);
    FMouseInControl = false;
    update();
}

} // namespace lanterna
