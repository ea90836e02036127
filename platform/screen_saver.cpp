#include "platform/screen_saver.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>

namespace lanterna {

namespace {

const QString kService = QStringLiteral("org.freedesktop.ScreenSaver");
const QString kPath = QStringLiteral("/ScreenSaver");
// A session bus that answers nothing must not hold the presentation up.
constexpr int kCallTimeoutMs = 2000;

Display* X11Display() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->display() : nullptr;
}

bool SuspendX11(bool suspend) {
    Display* display = X11Display();
    int eventBase = 0, errorBase = 0;
    if (!display || !XScreenSaverQueryExtension(display, &eventBase, &errorBase))
        return false;
    XScreenSaverSuspend(display, suspend ? True : False);
    if (suspend)
        XResetScreenSaver(display); // a saver already running ends now
    XFlush(display);
    return true;
}

bool SessionServicePresent(QDBusConnection& bus) {
    return bus.isConnected() && bus.interface() && bus.interface()->isServiceRegistered(kService).value();
}

} // namespace

TScreenSaverInhibitor::~TScreenSaverInhibitor() {
    Release();
}

void TScreenSaverInhibitor::Hold() {
    if (FHeld)
        return;
    FHeld = true;
    FX11Suspended = SuspendX11(true);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!SessionServicePresent(bus))
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kService, QStringLiteral("Inhibit"));
    call << QCoreApplication::applicationName() << QStringLiteral("Presentation running");
    const QDBusReply<quint32> reply = bus.call(call, QDBus::Block, kCallTimeoutMs);
    if (reply.isValid()) {
        FSessionCookie = reply.value();
        FSessionInhibited = true;
    }
}

void TScreenSaverInhibitor::Release() {
    if (!FHeld)
        return;
    FHeld = false;
    if (FX11Suspended)
        SuspendX11(false);
    FX11Suspended = false;
    if (FSessionInhibited) {
        QDBusMessage call =
            QDBusMessage::createMethodCall(kService, kPath, kService, QStringLiteral("UnInhibit"));
        call << FSessionCookie;
        QDBusConnection::sessionBus().call(call, QDBus::Block, kCallTimeoutMs);
        FSessionInhibited = false;
    }
}

} // namespace lanterna
