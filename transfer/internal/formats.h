#pragma once
// The texts of sizes, rates and times that the progress dialog shows.

#include <QString>

#include <cstdint>

namespace lanterna {

// "999 bytes", "1.00 Kb", "1.50 Mb": two decimals rounded halves to even, the user's decimal separator.
QString SizeText(std::uint32_t n);

// The same thresholds for bytes per second: "999 bytes/sec", "2.50 Kb/sec", "-5 bytes/sec".
QString RateText(std::int64_t n);

// Time left after `elapsed` ms when `done` of `total` bytes are moved (the elapsed time itself when
// the rate cannot be told): "30 sec.", "2 minutes", "0h 40".
QString TimeText(double elapsed, std::uint32_t done, std::uint32_t total);

} // namespace lanterna
