#pragma once
// The application of a test program, benchmark or tool.

#include <QApplication>

#include <functional>
#include <memory>

namespace lanterna::testing {

// A QApplication on the offscreen platform unless QT_QPA_PLATFORM names another, so that widgets,
// timers and painting work without a display. `argc` must outlive the application.
std::unique_ptr<QApplication> OffscreenApplication(int& argc, char** argv);

// Runs the event loop until `done` holds or `timeoutMs` has passed, sleeping between events instead of
// spinning; whether `done` holds.
bool WaitFor(const std::function<bool()>& done, int timeoutMs);

} // namespace lanterna::testing
