#pragma once
// The defaults of the sign's updates that the start window holds.

#include <chrono>

namespace player {

// The hour in which a running sign checks once a day when "UpdateHour" is missing or no hour of
// the day: 03:00-03:59.
inline constexpr int kDefaultUpdateHour = 3;

// How long the question about a new version waits at an "/AUTOSTART" start before it answers No,
// so that a sign with no one at its screen opens its show all the same.
inline constexpr std::chrono::seconds kAutostartQuestionLimit{60};

} // namespace player
