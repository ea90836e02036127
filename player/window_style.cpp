#include "player/window_style.h"

#include "platform/fonts.h"

#include <QWidget>

namespace player {

using namespace lanterna;

void StyleFixedWindow(QWidget* window, QSize clientSize) {
    window->setFixedSize(clientSize);
    window->setAutoFillBackground(true);
    QPalette background = window->palette();
    background.setColor(QPalette::Window, Qt::black);
    window->setPalette(background);
    window->setFont(MakeQFont(QStringLiteral("Tahoma"), 11));
}

TColorButton* MakeButton(QWidget* parent, const QString& caption, TColor color, const QRect& geometry) {
    auto* button = new TColorButton(caption, color, parent);
    button->setFont(MakeQFont(QStringLiteral("Tahoma"), 13, true));
    QPalette palette = button->palette();
    palette.setColor(QPalette::ButtonText, Qt::black);
    button->setPalette(palette);
    button->setGeometry(geometry);
    return button;
}

} // namespace player
