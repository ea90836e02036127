#include "transfer/internal/date_time.h"

#include <QDateTime>

namespace lanterna {

namespace {

constexpr double kSecondsPerDay = 86400.0;
constexpr double kUnixEpochDay = 25569.0; // 1 January 1970

} // namespace

double DateTimeFromUnixSeconds(std::int64_t seconds) {
    return double(seconds) / kSecondsPerDay + kUnixEpochDay;
}

double DateTimeFromLocal(const QDateTime& moment) {
    const QDateTime local = moment.toLocalTime();
    return double(QDate(1899, 12, 30).daysTo(local.date())) +
           local.time().msecsSinceStartOfDay() / (kSecondsPerDay * 1000);
}

double NowDateTime() {
    return DateTimeFromLocal(QDateTime::currentDateTime());
}

} // namespace lanterna
