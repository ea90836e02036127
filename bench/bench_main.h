#pragma once
// What the benchmarks' shared entry point offers them.

#include <functional>

namespace lanterna::bench {

// Widgets and windows kept between benchmarks must go while the application still runs: a widget that
// outlives it crashes when it is destroyed. `release` runs when the benchmarks have finished, before the
// application ends; the latest registered runs first.
void ReleaseBeforeExit(std::function<void()> release);

} // namespace lanterna::bench
