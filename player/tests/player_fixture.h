#pragma once
// A player started from a temporary program folder, with scripted dialogs.

#include "player/program.h"
#include "testing/local_http_server.h"
#include "testing/scripted_dialogs.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace player::testing {

using lanterna::testing::LocalHttpServer;

class PlayerTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the player with the given command line (program folder = the temporary folder).
    void Start(const QStringList& arguments = {});
    // Writes a file of the program folder.
    void WriteFile(const QString& name, const QByteArray& bytes);
    QByteArray ReadFile(const QString& name) const;
    QString PathOf(const QString& name) const { return FDir.filePath(name); }

    const Windows& Forms() const { return FProgram->Forms(); }

    QTemporaryDir FDir;
    std::unique_ptr<Program> FProgram;
    lanterna::ScriptedDialogs* FDialogs = nullptr;

private:
    std::optional<lanterna::testing::ScriptedDialogsScope> FScripted;
};

} // namespace player::testing
