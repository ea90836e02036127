#include "platform/error_display.h"

#include "platform/dialogs.h"
#include "platform/types.h"

#include <QCoreApplication>
#include <QTimer>

namespace lanterna {

QString WithFullStop(const QString& text) {
    if (!text.isEmpty() && text.back() > QLatin1Char('.'))
        return text + QLatin1Char('.');
    return text;
}

namespace {

QString ErrorText(const std::exception& error) {
    if (auto* own = dynamic_cast<const Exception*>(&error))
        return WithFullStop(own->Message());
    return WithFullStop(QString::fromLocal8Bit(error.what()));
}

} // namespace

void ShowException(const std::exception& error) {
    CurrentDialogs().ErrorDisplay(ErrorText(error));
}

void ShowExceptionLater(const std::exception& error) {
    QTimer::singleShot(0, QCoreApplication::instance(),
                       [text = ErrorText(error)] { CurrentDialogs().ErrorDisplay(text); });
}

void RunGuarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        ShowException(error);
    }
}

} // namespace lanterna
