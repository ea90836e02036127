#include "platform/error_display.h"

#include "platform/dialogs.h"
#include "platform/types.h"

namespace lanterna {

QString WithFullStop(const QString& text) {
    if (!text.isEmpty() && text.back() > QLatin1Char('.'))
        return text + QLatin1Char('.');
    return text;
}

void ShowException(const std::exception& error) {
    QString text;
    if (auto* own = dynamic_cast<const Exception*>(&error))
        text = own->Message();
    else
        text = QString::fromLocal8Bit(error.what());
    CurrentDialogs().ErrorDisplay(WithFullStop(text));
}

void RunGuarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        ShowException(error);
    }
}

} // namespace lanterna
