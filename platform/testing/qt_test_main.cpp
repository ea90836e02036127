// Test entry point shared by every library: a QApplication on the offscreen platform, so widgets,
// timers and painting work without a display, and dialogs answered by script.
#include "platform/dialogs.h"
#include "platform/fonts.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    lanterna::RegisterFonts();
    // No test may block on a real message box: unless a test installs its own script,
    // every box is answered with its default button.
    lanterna::SetDialogs(std::make_unique<lanterna::ScriptedDialogs>());
    return RUN_ALL_TESTS();
}
