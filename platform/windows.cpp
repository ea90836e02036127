#include "platform/windows.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QWidget>

namespace lanterna {

void CenterOnScreen(QWidget* window) {
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QSize frame = window->frameGeometry().size();
    window->move(area.left() + (area.width() - frame.width()) / 2,
                 area.top() + (area.height() - frame.height()) / 2);
}

bool IsClick(const QWidget& widget, const QMouseEvent& release) {
    return release.button() == Qt::LeftButton && widget.rect().contains(release.position().toPoint());
}

} // namespace lanterna
