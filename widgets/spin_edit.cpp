#include "widgets/spin_edit.h"

#include "platform/numbers.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

#include <algorithm>

namespace lanterna {

TSpinEdit::TSpinEdit(QWidget* parent)
    : QWidget(parent), FEditor(new QLineEdit(this)), FUp(new QToolButton(this)),
      FDown(new QToolButton(this)) {
    FUp->setArrowType(Qt::UpArrow);
    FDown->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {FUp, FDown}) {
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
    }
    connect(FUp, &QToolButton::clicked, this, [this] { Step(1); });
    connect(FDown, &QToolButton::clicked, this, [this] { Step(-1); });
    setFocusProxy(FEditor);
    SetValue(0);
}

void TSpinEdit::SetRange(int minValue, int maxValue) {
    FMinValue = minValue;
    FMaxValue = maxValue;
    if (!Text().isEmpty())
        SetValue(Value());
}

int TSpinEdit::CheckValue(int value) const {
    // A range of 0..0 means no range, as with the classic spin field.
    if (FMaxValue == 0 && FMinValue == 0)
        return value;
    return std::clamp(value, FMinValue, FMaxValue);
}

int TSpinEdit::Value() const {
    const QString text = Text().trimmed();
    if (text.isEmpty())
        return 0;
    const auto number = ParseInteger(text);
    return number ? CheckValue(*number) : FMinValue;
}

void TSpinEdit::SetValue(int value) {
    FEditor->setText(QString::number(CheckValue(value)));
}

QString TSpinEdit::Text() const {
    return FEditor->text();
}

void TSpinEdit::SetText(const QString& text) {
    FEditor->setText(text);
}

void TSpinEdit::Step(int delta) {
    SetValue(Value() + delta);
}

void TSpinEdit::resizeEvent(QResizeEvent*) {
    const int buttonWidth = 15;
    const int half = height() / 2;
    FEditor->setGeometry(0, 0, width() - buttonWidth, height());
    FUp->setGeometry(width() - buttonWidth, 0, buttonWidth, half);
    FDown->setGeometry(width() - buttonWidth, half, buttonWidth, height() - half);
}

void TSpinEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Up)
        Step(1);
    else if (event->key() == Qt::Key_Down)
        Step(-1);
    else
        QWidget::keyPressEvent(event);
}

} // namespace lanterna
