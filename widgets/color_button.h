#pragma once
// A push button whose face is a soft vertical gradient in its colour, with a bold caption.

#include "platform/types.h"

#include <QPushButton>

namespace lanterna {

class TColorButton final : public QPushButton {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TColorButton)

public:
    TColorButton(const QString& caption, TColor color, QWidget* parent = nullptr);

    TColor Color() const { return FColor; }
    void SetColor(TColor value);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TColor FColor;
};

} // namespace lanterna
