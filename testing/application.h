#pragma once
// The application of a test program, benchmark or tool.

#include <QApplication>

#include <memory>

namespace lanterna::testing {

// A QApplication on the offscreen platform unless QT_QPA_PLATFORM names another, so that widgets,
// timers and painting work without a display. `argc` must outlive the application.
std::unique_ptr<QApplication> OffscreenApplication(int& argc, char** argv);

} // namespace lanterna::testing
