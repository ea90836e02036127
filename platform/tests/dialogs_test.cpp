#include "platform/dialogs.h"
#include "platform/error_display.h"
#include "platform/types.h"
#include "testing/scripted_dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QGuiApplication>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <optional>

using namespace lanterna;
using namespace std::chrono_literals;

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

TEST_F(DialogsTest, AQuestionWithATimeLimitIsRecordedWithItAndUnansweredSaysNo) {
    FScript->QueueAnswer(true);
    EXPECT_TRUE(CurrentDialogs().ConfirmWithin(QStringLiteral("q1"), 60s));
    EXPECT_FALSE(CurrentDialogs().ConfirmWithin(QStringLiteral("q2"), 250ms));
    EXPECT_TRUE(CurrentDialogs().Confirm(QStringLiteral("q3")));
    ASSERT_EQ(FScript->Shown().size(), 3u);
    EXPECT_EQ(FScript->Shown()[0].Caption, QStringLiteral("Confirm"));
    EXPECT_EQ(FScript->Shown()[0].TimeLimit, 60s);
    EXPECT_EQ(FScript->Shown()[1].TimeLimit, 250ms);
    EXPECT_EQ(FScript->Shown()[2].TimeLimit, 0ms);
}

TEST(ScriptedDialogs, UnattendedLogReceivesEveryText) {
    QTemporaryDir dir;
    const QString log = dir.filePath(QStringLiteral("boxes.log"));
    ScriptedDialogs dialogs(log);
    dialogs.Information(QStringLiteral("Soubor byl stažen."));
    dialogs.Confirm(QStringLiteral("two\nlines"));
    dialogs.ConfirmWithin(QStringLiteral("new?"), 1500ms);
    QFile f(log);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(f.readAll()),
              QStringLiteral("Information: Soubor byl stažen.\nConfirm: two lines\nConfirm (1.5 s): new?\n"));
}

namespace {

// Presses Yes on the next question box that opens, after `delay`.
class YesPresser {
public:
    explicit YesPresser(std::chrono::milliseconds delay) {
        FTimer.setInterval(delay);
        QObject::connect(&FTimer, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                FTimer.stop();
                box->button(QMessageBox::Yes)->click();
            }
        });
        FTimer.start();
    }

private:
    QTimer FTimer;
};

} // namespace

TEST(QtDialogs, AQuestionWithATimeLimitAnswersNoByItselfYetTakesAYes) {
    QtDialogs dialogs;
    {
        // Should the box not close by itself, Yes ends it, so that the test fails instead of hanging.
        YesPresser rescue(10s);
        EXPECT_FALSE(dialogs.ConfirmWithin(QStringLiteral("q"), 100ms));
    }
    YesPresser user(20ms);
    EXPECT_TRUE(dialogs.ConfirmWithin(QStringLiteral("q"), 60s));
}
