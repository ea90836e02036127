#pragma once
// The user's long time format: hours, minutes and seconds as the locale writes them.

#include <QLocale>
#include <QString>
#include <QTime>

namespace lanterna {

// The locale's long time format without its time-zone part (Qt's long format names the zone).
QString LongTimeFormat(const QLocale& locale = QLocale());

QString FormatLongTime(const QTime& time, const QLocale& locale = QLocale());

} // namespace lanterna
