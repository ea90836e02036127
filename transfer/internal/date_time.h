#pragma once
// Date-times as the engine reports them: days since 30 December 1899, the time of day as fraction.

#include <cstdint>

class QDateTime;

namespace lanterna {

// Seconds since 1 January 1970 as a date-time of the same clock reading (no time-zone conversion).
double DateTimeFromUnixSeconds(std::int64_t seconds);

// The local clock reading of `moment`.
double DateTimeFromLocal(const QDateTime& moment);

// The current local time.
double NowDateTime();

} // namespace lanterna
