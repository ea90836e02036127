#include "updater/outer_size.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMetaObject>
#include <QWidget>

#include <xcb/xproto.h>

namespace updater {

TOuterSize::TOuterSize(QWidget* window) : QObject(window), FWindow(window) {
    window->installEventFilter(this);
    QCoreApplication::instance()->installNativeEventFilter(this);
}

TOuterSize::~TOuterSize() {
    QCoreApplication::instance()->removeNativeEventFilter(this);
}

void TOuterSize::SetOuterSize(QSize outer) {
    FOuter = outer;
    Apply();
}

void TOuterSize::Apply() {
    const QSize frame = FWindow->frameGeometry().size() - FWindow->size();
    QSize client = FWindow->size();
    if (FOuter.width() > 0)
        client.setWidth(FOuter.width() - frame.width());
    if (FOuter.height() > 0)
        client.setHeight(FOuter.height() - frame.height());
    if (client == FWindow->size())
        return;
    if (FWindow->minimumSize() == FWindow->maximumSize())
        FWindow->setFixedSize(client);
    else
        FWindow->resize(client);
}

bool TOuterSize::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == FWindow && (type == QEvent::Show || type == QEvent::Move || type == QEvent::Resize))
        Apply();
    return false;
}

bool TOuterSize::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t" || !FWindow->internalWinId())
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) != XCB_PROPERTY_NOTIFY ||
        reinterpret_cast<const xcb_property_notify_event_t*>(event)->window != FWindow->internalWinId())
        return false;
    // After Qt has taken the property in: it learns the frame's size from it.
    QMetaObject::invokeMethod(this, &TOuterSize::Apply, Qt::QueuedConnection);
    return false;
}

} // namespace updater
