#include "testing/scripted_dialogs.h"

namespace lanterna::testing {

ScriptedDialogsScope::ScriptedDialogsScope() {
    auto script = std::make_unique<ScriptedDialogs>();
    FScript = script.get();
    FPrevious = SetDialogs(std::move(script));
}

ScriptedDialogsScope::~ScriptedDialogsScope() {
    SetDialogs(std::move(FPrevious));
}

} // namespace lanterna::testing
