#include "widgets/color_button.h"

#include <QPainter>
#include <QPainterPath>

namespace lanterna {

TColorButton::TColorButton(const QString& caption, TColor color, QWidget* parent)
    : QPushButton(caption, parent), FColor(color) {
    setCursor(Qt::PointingHandCursor);
}

void TColorButton::SetColor(TColor value) {
    if (value == FColor)
        return;
    FColor = value;
    update();
}

void TColorButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor base(GetRValue(FColor), GetGValue(FColor), GetBValue(FColor));
    const QRectF face = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient gradient(face.topLeft(), face.bottomLeft());
    const bool down = isDown();
    gradient.setColorAt(0, down ? base : base.lighter(170));
    gradient.setColorAt(1, down ? base.lighter(130) : base);
    QPainterPath path;
    path.addRoundedRect(face, 4, 4);
    p.fillPath(path, gradient);
    p.setPen(QPen(base.darker(underMouse() ? 180 : 140), 1));
    p.drawPath(path);
    if (hasFocus()) {
        p.setPen(QPen(Qt::black, 1, Qt::DotLine));
        p.drawRoundedRect(face.adjusted(3, 3, -3, -3), 3, 3);
    }
    p.setPen(palette().color(QPalette::ButtonText));
    p.setFont(font());
    p.drawText(rect(), Qt::AlignCenter, text());
}

} // namespace lanterna
