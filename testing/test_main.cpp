// Test entry point shared by every suite: a QApplication on the offscreen platform, so widgets,
// timers and painting work without a display, and dialogs answered by script.
#include "platform/dialogs.h"
#include "platform/fonts.h"
#include "testing/application.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    const auto app = lanterna::testing::OffscreenApplication(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    lanterna::RegisterFonts();
    // No test may block on a real message box: unless a test installs its own script,
    // every box is answered with its default button.
    lanterna::SetDialogs(std::make_unique<lanterna::ScriptedDialogs>());
    return RUN_ALL_TESTS();
}
