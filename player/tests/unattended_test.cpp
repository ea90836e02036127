#include "release/release_files.h"
#include "update_server_fixture.h"

#include "player/daily_check.h"
#include "player/presentation_form.h"
#include "player/settings_form.h"
#include "player/start_form.h"
#include "player/version_check.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QTest>

using namespace player;
using namespace player::testing;
using namespace std::chrono_literals;

namespace {

const QString kQuestion = QStringLiteral("Je k dispozici nová verze. Chcete aktualizovat nyní?");

QDateTime At(int day, int hour, int minute) {
    return QDateTime(QDate(2031, 5, day), QTime(hour, minute));
}

} // namespace

TEST(DailyCheck, IsDueToTheEndOfTheHourAndInTheDefaultHourForNoHour) {
    EXPECT_TRUE(DailyCheckDue(At(1, 3, 59), 3, 17, {}));
    EXPECT_FALSE(DailyCheckDue(At(1, 4, 17), 3, 17, {}));
    for (int hour : {-1, 24, 99})
        EXPECT_TRUE(DailyCheckDue(At(1, 3, 20), hour, 17, {})) << hour << " is no hour: 03:00-03:59";
}

TEST_F(VersionCheckTest, AtAnAutostartTheQuestionAnswersNoAfterAMinuteAndTheShowOpens) {
    Publish(QStringLiteral("UpDate.dat"), "[UPDATE]\nVer=1.3\n");
    InstallStandInUpdater();
    // Without UpDate.pub, AutoUpdate=1 asks as AutoUpdate=0 does.
    for (const QByteArray autoUpdate : {"0", "1"}) {
        SCOPED_TRACE(autoUpdate.toStdString());
        FDialogs->ClearShown();
        Restart("[Global]\nAutoUpdate=" + autoUpdate + "\n", {QStringLiteral("/AUTOSTART")});
        ASSERT_EQ(FDialogs->Texts(), QStringList{kQuestion});
        EXPECT_EQ(FDialogs->Shown()[0].TimeLimit, 60s);
        EXPECT_TRUE(Forms().Form2->isVisible()) << "the show opens";
        EXPECT_TRUE(Forms().Form1->isVisible()) << "the player goes on";
    }
    // Asked by someone at the screen, or without "/AUTOSTART", the question waits.
    FDialogs->QueueAnswer(false);
    Forms().Form3->ZjistitNovouVerziBut->click();
    FDialogs->QueueAnswer(false);
    Restart("[Global]\n");
    ASSERT_EQ(FDialogs->Texts(), QStringList({kQuestion, kQuestion, kQuestion}));
    EXPECT_EQ(FDialogs->Shown()[1].TimeLimit, 0ms);
    EXPECT_EQ(FDialogs->Shown()[2].TimeLimit, 0ms);
    EXPECT_FALSE(QFileInfo::exists(PathOf(QStringLiteral("started"))));
}

TEST_F(SignedVersionCheckTest, WithAutoUpdateTheListedUpdaterIsStartedToApplyTheReleaseByItself) {
    const QByteArray updater = StandInUpdater();
    const QByteArray hash = QCryptographicHash::hash(updater, QCryptographicHash::Sha256).toHex();
    PublishSigned("[UPDATE]\nVer=1.3\nFiles=1\nFile1=http://elsewhere/" +
                  lanterna::UpdaterFileName().toUtf8() + "\nFile1Size=" + QByteArray::number(updater.size()) +
                  "\nFile1SHA256=" + hash + "\n");
    Publish(lanterna::UpdaterFileName(), updater);
    Restart("[Global]\nAutoUpdate=1\n", {QStringLiteral("/AUTOSTART")});
    EXPECT_EQ(StandInStarted(), QDir(FDir.path()).canonicalPath().toUtf8() + " AUTO");
    EXPECT_TRUE(FDialogs->Shown().empty());
    EXPECT_FALSE(Forms().Form1->isVisible()) << "the player ends";
}

TEST_F(SignedVersionCheckTest, AnUpdaterThatCannotStartKeepsTheShow) {
    PublishSigned("[UPDATE]\nVer=1.3\n");
    WriteFile(lanterna::UpdaterFileName(), "#!/bin/sh\n"); // not runnable
    Restart("[Global]\nAutoUpdate=1\n", {QStringLiteral("/AUTOSTART")});
    EXPECT_TRUE(Forms().Form1->isVisible());
    EXPECT_TRUE(Forms().Form2->isVisible());
    // The start-up shows its error once the show has started.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !FDialogs->Shown().empty(); }, 5000));
    EXPECT_EQ(FDialogs->Texts(),
              QStringList{QStringLiteral("Cannot start \"%1\".").arg(PathOf(lanterna::UpdaterFileName()))});
}

namespace {

// A running unattended sign with its clock in the test's hand, checking at minute 17.
class DailyCheckTest : public SignedVersionCheckTest {
protected:
    void Configure(const QByteArray& keys) {
        Restart("[Global]\nZjistitNovouVerziPriStartu=0\n" + keys);
        FProgram->DailyCheck().SetMinute(17);
        FProgram->DailyCheck().Now = [this] { return FNow; };
    }
    void TickAt(const QDateTime& now) {
        FNow = now;
        FProgram->DailyCheck().Tick();
    }
    bool Fetched() const { return QFileInfo::exists(PathOf(QStringLiteral("UpDate.dat"))); }

    QDateTime FNow;
};

} // namespace

TEST_F(DailyCheckTest, ChecksOnceADayAtTheSignsMinuteAndAsksWhetherTheDescriptionChanged) {
    Configure("AutoUpdate=1\nUpdateHour=5\n");
    InstallStandInUpdater();
    const QDateTime published = QDateTime::currentDateTime().addDays(-1);
    PublishSigned("[UPDATE]\nVer=1.2\n");
    SetServedTime(QStringLiteral("UpDate.dat"), published);
    TickAt(At(1, 5, 16));
    TickAt(At(1, 3, 17));
    EXPECT_FALSE(Fetched()) << "not yet the time";
    TickAt(At(1, 5, 17));
    ASSERT_EQ(ReadFile(QStringLiteral("UpDate.dat")), Served(QStringLiteral("UpDate.dat")));

    // A release published under the old date: the server answers "not modified" and the show goes on.
    PublishSigned("[UPDATE]\nVer=1.3\n");
    SetServedTime(QStringLiteral("UpDate.dat"), published);
    TickAt(At(2, 5, 17));
    EXPECT_EQ(ReadFile(QStringLiteral("UpDate.dat")), "[UPDATE]\nVer=1.2\n");
    EXPECT_TRUE(Forms().Form1->isVisible());

    // Dated anew, it is fetched at the next day's check, not twice a day.
    SetServedTime(QStringLiteral("UpDate.dat"), published.addSecs(60));
    TickAt(At(2, 5, 50));
    EXPECT_EQ(ReadFile(QStringLiteral("UpDate.dat")), "[UPDATE]\nVer=1.2\n");
    TickAt(At(3, 5, 17));
    EXPECT_EQ(StandInStarted(), QDir(FDir.path()).canonicalPath().toUtf8() + " AUTO");
    EXPECT_FALSE(Forms().Form1->isVisible());
    EXPECT_TRUE(FDialogs->Shown().empty());
}

TEST_F(DailyCheckTest, ValidatorsCountOnlyForTheLocalCopyTheyCameWith) {
    Configure("AutoUpdate=1\n");
    PublishSigned("[UPDATE]\nVer=1.2\n");
    TickAt(At(1, 3, 20));
    ASSERT_TRUE(QFileInfo::exists(PathOf(QStringLiteral("UpDate.validators"))));
    WriteFile(QStringLiteral("UpDate.dat"), "[UPDATE]\nVer=1.1\n"); // put there by other means
    TickAt(At(2, 3, 20));
    EXPECT_EQ(ReadFile(QStringLiteral("UpDate.dat")), Served(QStringLiteral("UpDate.dat")))
        << "fetched whole";
}

TEST_F(DailyCheckTest, AFailedCheckIsSilentAndTheNextDayTriesAgain) {
    Configure("AutoUpdate=1\n");
    TickAt(At(1, 3, 20)); // nothing published: 404
    PublishSigned("[UPDATE]\nVer=1.3\n", lanterna::testing::MinisignKeyPair());
    TickAt(At(2, 3, 20)); // signed by another key
    EXPECT_FALSE(Fetched());
    EXPECT_TRUE(FDialogs->Shown().empty());
    EXPECT_TRUE(Forms().Form1->isVisible());
    PublishSigned("[UPDATE]\nVer=1.2\n");
    TickAt(At(3, 3, 20));
    EXPECT_TRUE(Fetched());
    EXPECT_TRUE(FDialogs->Shown().empty()) << "a current version is not announced either";
}

TEST_F(DailyCheckTest, AHandOverThatFailedIsTriedAgainWhileTheLocalPairVerifies) {
    Configure("AutoUpdate=1\n");
    PublishSigned("[UPDATE]\nVer=1.3\n");
    WriteFile(lanterna::UpdaterFileName(), "#!/bin/sh\n"); // not runnable
    TickAt(At(1, 3, 20));
    ASSERT_EQ(ReadFile(QStringLiteral("UpDate.dat")), "[UPDATE]\nVer=1.3\n");
    ASSERT_TRUE(Forms().Form1->isVisible());

    // Nothing changed on the server since, but the local signature no longer fits its description.
    InstallStandInUpdater();
    const QByteArray signature = ReadFile(QStringLiteral("UpDate.dat.minisig"));
    WriteFile(QStringLiteral("UpDate.dat.minisig"), "untrusted comment: x\nnot a signature\n");
    TickAt(At(2, 3, 20));
    EXPECT_TRUE(Forms().Form1->isVisible());
    EXPECT_FALSE(QFileInfo::exists(PathOf(QStringLiteral("started"))));
    WriteFile(QStringLiteral("UpDate.dat.minisig"), signature);
    TickAt(At(3, 3, 20));
    EXPECT_EQ(StandInStarted(), QDir(FDir.path()).canonicalPath().toUtf8() + " AUTO");
    EXPECT_TRUE(FDialogs->Shown().empty());
}

TEST_F(DailyCheckTest, WithoutAutoUpdateOrBeforeTheShowRunsNothingIsChecked) {
    PublishSigned("[UPDATE]\nVer=1.2\n");
    Configure("AutoUpdate=0\n");
    TickAt(At(1, 3, 20));
    EXPECT_FALSE(Fetched());
    Configure("AutoUpdate=1\n");
    Forms().Form1->StavSystemu = QStringLiteral("START");
    TickAt(At(1, 3, 20));
    EXPECT_FALSE(Fetched());
    EXPECT_GE(FProgram->DailyCheck().Minute(), 0);
    EXPECT_LT(FProgram->DailyCheck().Minute(), 60);
}

TEST_F(PlayerTest, APresentationOpenForAWhileLeavesTheHealthMark) {
    WriteFile(QStringLiteral("SlideShow.cfg"), "[Global]\nZjistitNovouVerziPriStartu=0\n");
    Start();
    TForm2* form2 = Forms().Form2;
    form2->StayedOpenDelay = 100;
    const QString mark = PathOf(QStringLiteral("UpDate.healthy"));
    Forms().Form1->PokracovatButClick();
    form2->hide();
    QTest::qWait(300);
    EXPECT_FALSE(QFileInfo::exists(mark)) << "closed before its time";
    Forms().Form1->PokracovatButClick();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(mark); }, 5000));
    EXPECT_EQ(ReadFile(QStringLiteral("UpDate.healthy")),
              QByteArray::number(QCoreApplication::applicationPid()) + "\n1.2\n");
    EXPECT_EQ(TForm2::kStayedOpenDelay, 30000);
}
