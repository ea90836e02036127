#pragma once
// Scripted dialogs for as long as the object lives: every box is recorded and answered by the
// script, and the dialogs in use before come back when the object goes, also after a failed test.

#include "platform/dialogs.h"

#include <memory>

namespace lanterna::testing {

class ScriptedDialogsScope {
public:
    ScriptedDialogsScope();
    ~ScriptedDialogsScope();
    ScriptedDialogsScope(const ScriptedDialogsScope&) = delete;
    ScriptedDialogsScope& operator=(const ScriptedDialogsScope&) = delete;

    ScriptedDialogs& Script() const { return *FScript; }

private:
    ScriptedDialogs* FScript;
    std::unique_ptr<Dialogs> FPrevious;
};

} // namespace lanterna::testing
