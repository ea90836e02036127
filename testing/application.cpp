#include "testing/application.h"

namespace lanterna::testing {

std::unique_ptr<QApplication> OffscreenApplication(int& argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QApplication>(argc, argv);
}

} // namespace lanterna::testing
