#include "testing/application.h"

#include <QTest>

namespace lanterna::testing {

std::unique_ptr<QApplication> OffscreenApplication(int& argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QApplication>(argc, argv);
}

bool WaitFor(const std::function<bool()>& done, int timeoutMs) {
    return QTest::qWaitFor(done, timeoutMs);
}

} // namespace lanterna::testing
