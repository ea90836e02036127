#pragma once
// An updater started in a temporary working folder, with scripted dialogs and a recorded help page.

#include "testing/scripted_dialogs.h"
#include "updater/program.h"

#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <ostream>

// Failed comparisons of texts print the texts.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace updater::testing {

class UpdaterTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the updater with `arguments` in the working folder (or in `folder`, under it or absolute).
    void Start(const QStringList& arguments = {}, const QString& folder = {});
    // Waits until the first tick has read the description.
    bool StartedUp();
    // Waits until a run has ended.
    bool RunEnded();

    void WriteFile(const QString& name, const QByteArray& bytes);
    QByteArray ReadFile(const QString& name) const;
    QString PathOf(const QString& name) const { return FDir.filePath(name); }

    TForm1& Form1() const { return *FProgram->Forms().Form1; }
    TForm2& Form2() const { return *FProgram->Forms().Form2; }

    QTemporaryDir FDir;
    std::unique_ptr<Program> FProgram;
    lanterna::ScriptedDialogs* FDialogs = nullptr;
    QStringList FOpened; // addresses handed to the browser

private:
    std::optional<lanterna::testing::ScriptedDialogsScope> FScripted;
    QString FPreviousDirectory;
};

} // namespace updater::testing
