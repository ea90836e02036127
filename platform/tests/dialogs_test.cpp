#include "platform/dialogs.h"
#include "platform/error_display.h"
#include "platform/types.h"
#include "testing/scripted_dialogs.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <optional>

using namespace lanterna;

namespace {

// Installs a fresh script for one test and restores the previous dialogs afterwards.
class DialogsTest : public ::testing::Test {
protected:
    void SetUp() override {
        QGuiApplication::setApplicationDisplayName(QStringLiteral("Kelvra Lide Show"));
        FScripted.emplace();
        FScript = &FScripted->Script();
    }
    void TearDown() override { FScripted.reset(); }
    ScriptedDialogs* FScript = nullptr;
    std::optional<lanterna::testing::ScriptedDialogsScope> FScripted;
};

} // namespace

TEST(ErrorDisplay, FullStopRule) {
    EXPECT_EQ(WithFullStop(QStringLiteral("Disk full")), QStringLiteral("Disk full."));
    EXPECT_EQ(WithFullStop(QStringLiteral("Done.")), QStringLiteral("Done."));
    EXPECT_EQ(WithFullStop(QStringLiteral("Really!")), QStringLiteral("Really!"));
    EXPECT_EQ(WithFullStop(QStringLiteral("trailing ")), QStringLiteral("trailing "));
    EXPECT_EQ(WithFullStop(QStringLiteral("a-")), QStringLiteral("a-"));
    EXPECT_EQ(WithFullStop(QStringLiteral("path/")), QStringLiteral("path/."));
    EXPECT_EQ(WithFullStop(QStringLiteral("Chyba č")), QStringLiteral("Chyba č."));
    EXPECT_EQ(WithFullStop(QString()), QString());
}

TEST_F(DialogsTest, GuardedHandlersShowTheErrorAndCarryOn) {
    bool after = false;
    RunGuarded([] { throw EInOutError(QStringLiteral("Unable to write to /x")); });
    RunGuarded([] { throw std::runtime_error("plain"); });
    RunGuarded([&] { after = true; });
    EXPECT_TRUE(after);
    ASSERT_EQ(FScript->Shown().size(), 2u);
    EXPECT_EQ(FScript->Shown()[0].Caption, QStringLiteral("Kelvra Lide Show"));
    EXPECT_EQ(FScript->Shown()[0].Type, mtError);
    EXPECT_EQ(FScript->Shown()[0].Text, QStringLiteral("Unable to write to /x."));
    EXPECT_EQ(FScript->Shown()[1].Text, QStringLiteral("plain."));
}

TEST_F(DialogsTest, ScriptAnswersInOrderThenDefaultsToYes) {
    FScript->QueueAnswer(false);
    FScript->QueueAnswer(true);
    EXPECT_FALSE(CurrentDialogs().Confirm(QStringLiteral("q1")));
    EXPECT_TRUE(CurrentDialogs().Confirm(QStringLiteral("q2")));
    EXPECT_TRUE(CurrentDialogs().Confirm(QStringLiteral("q3")));
    CurrentDialogs().Information(QStringLiteral("i"));
    CurrentDialogs().Message(QStringLiteral("m"));
    ASSERT_EQ(FScript->Shown().size(), 5u);
    EXPECT_EQ(FScript->Shown()[0].Caption, QStringLiteral("Confirm"));
    EXPECT_EQ(FScript->Shown()[3].Caption, QStringLiteral("Information"));
    EXPECT_EQ(FScript->Shown()[4].Caption, QStringLiteral("Kelvra Lide Show"));
}

TEST(ScriptedDialogs, UnattendedLogReceivesEveryText) {
    QTemporaryDir dir;
    const QString log = dir.filePath(QStringLiteral("boxes.log"));
    ScriptedDialogs dialogs(log);
    dialogs.Information(QStringLiteral("Soubor byl stažen."));
    dialogs.Confirm(QStringLiteral("two\nlines"));
    QFile f(log);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(f.readAll()),
              QStringLiteral("Information: Soubor byl stažen.\nConfirm: two lines\n"));
}
