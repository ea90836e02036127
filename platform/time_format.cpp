#include "platform/time_format.h"

namespace lanterna {

QString LongTimeFormat(const QLocale& locale) {
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString result;
    bool quoted = false;
    for (QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char('t'))
            continue; // the zone
        result += c;
    }
    // A zone usually stands after a space or in brackets that are now empty.
    result.remove(QStringLiteral("()"));
    return result.trimmed();
}

QString FormatLongTime(const QTime& time, const QLocale& locale) {
    return locale.toString(time, LongTimeFormat(locale));
}

} // namespace lanterna
