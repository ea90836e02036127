#include "release/release_files.h"
#include "update_server_fixture.h"

#include "platform/types.h"
#include "player/settings_form.h"
#include "player/start_form.h"
#include "player/typy.h"
#include "player/version_check.h"
#include "testing/minisign_tool.h"
#include "testing/test_files.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <utility>
#include <vector>

using namespace player;
using namespace player::testing;

TEST_F(VersionCheckTest, SameVersionIsAnnouncedOnlyOnceRunning) {
    Publish(QStringLiteral("UpDate.dat"), "[UPDATE]\nVer=1.2\n");
    Forms().Form3->ZjistitNovouVerziButClick(); // still "START": silent
    EXPECT_TRUE(FDialogs->Shown().empty());
    EXPECT_EQ(ReadFile(QStringLiteral("UpDate.dat")), "[UPDATE]\nVer=1.2\n");
    Run();
    Forms().Form3->ZjistitNovouVerziBut->click();
    EXPECT_EQ(FDialogs->Texts(), QStringList{QStringLiteral("Verze je aktuální.")});

    for (const QByteArray& reply :
         {QByteArray("[OTHER]\nVer=9\n"), QByteArray("[UPDATE]\nX=1\n"), QByteArray()}) {
        FDialogs->ClearShown();
        Publish(QStringLiteral("UpDate.dat"), reply);
        Forms().Form3->ZjistitNovouVerziButClick();
        EXPECT_EQ(FDialogs->Texts(), QStringList{QStringLiteral("Verze je aktuální.")})
            << reply.toStdString();
    }
}

TEST_F(VersionCheckTest, OtherVersionAsksAndNoDoesNothingMore) {
    Run();
    for (const char* version : {"1.3", "1.1", "1.2 "}) {
        FDialogs->ClearShown();
        Publish(QStringLiteral("UpDate.dat"), QByteArray("[UPDATE]\nVer=\"") + version + "\"\n");
        FDialogs->QueueAnswer(false);
        Forms().Form3->ZjistitNovouVerziButClick();
        EXPECT_EQ(FDialogs->Texts(),
                  QStringList{QStringLiteral("Je k dispozici nová verze. Chcete aktualizovat nyní?")})
            << version;
        EXPECT_EQ(FDialogs->Shown()[0].Caption, QStringLiteral("Confirm"));
    }
}

TEST_F(VersionCheckTest, HandOverStartsThePresentUpdaterAndClosesThePlayer) {
    Run();
    Publish(QStringLiteral("UpDate.dat"), "[UPDATE]\nVer=1.3\n");
    // The test runs elsewhere, yet the updater runs in the program folder, where the fresh
    // UpDate.dat lies, and without arguments: it waits for "Start".
    ASSERT_NE(QDir::current().canonicalPath(), QDir(FDir.path()).canonicalPath());
    InstallStandInUpdater();
    Forms().Form3->ZjistitNovouVerziButClick(); // the default answer is Yes
    EXPECT_EQ(StandInStarted(), QDir(FDir.path()).canonicalPath().toUtf8());
    EXPECT_FALSE(Forms().Form1->isVisible()) << "the start window closed";
}

TEST_F(VersionCheckTest, MissingUpdaterIsDownloadedOnConsentButNotStarted) {
    Run();
    Publish(QStringLiteral("UpDate.dat"), "[UPDATE]\nVer=1.2\n");
    Publish(lanterna::UpdaterFileName(), "#!/bin/sh\nexit 0\n");
    FDialogs->QueueAnswer(false);
    Forms().Form3->AktualizaceBut->click();
    const QString updater = PathOf(lanterna::UpdaterFileName());
    EXPECT_EQ(
        FDialogs->Texts(),
        QStringList{QStringLiteral("Soubor %1 nebyl nalezen. Mám jej stáhnout ze serveru?").arg(updater)});
    EXPECT_FALSE(QFileInfo::exists(updater));

    FDialogs->ClearShown();
    Forms().Form3->AktualizaceButClick();
    EXPECT_EQ(FDialogs->Texts().value(1), QStringLiteral("Soubor byl stažen."));
    EXPECT_EQ(ReadFile(lanterna::UpdaterFileName()), "#!/bin/sh\nexit 0\n");
    EXPECT_TRUE(QFileInfo(updater).isExecutable());
    EXPECT_TRUE(Forms().Form1->isVisible()) << "the user hands over with a second click";
}

TEST_F(VersionCheckTest, FailedDownloadsRaiseAndKeepThePreviousFile) {
    Run();
    WriteFile(QStringLiteral("UpDate.dat"), "[UPDATE]\nVer=old\n");
    Forms().Form3->ZjistitNovouVerziBut->click(); // nothing published: 404
    ASSERT_EQ(FDialogs->Shown().size(), 1u);
    EXPECT_TRUE(FDialogs->Texts()[0].startsWith(QStringLiteral("HTTP/1.0 404")))
        << FDialogs->Texts()[0].toStdString();
    EXPECT_EQ(ReadFile(QStringLiteral("UpDate.dat")), "[UPDATE]\nVer=old\n");

    // The updater download fails: no empty updater is left behind to be "started" later.
    FDialogs->ClearShown();
    Publish(QStringLiteral("UpDate.dat"), "[UPDATE]\nVer=1.2\n");
    Forms().Form3->AktualizaceBut->click();
    EXPECT_EQ(FDialogs->Shown().size(), 2u);
    EXPECT_FALSE(FDialogs->Texts().contains(QStringLiteral("Soubor byl stažen.")));
    EXPECT_FALSE(QFileInfo::exists(PathOf(lanterna::UpdaterFileName())));
}

TEST(StahnoutSoubor, ReportsUnreachableServersAndUncreatableFiles) {
    QTemporaryDir dir;
    try {
        StahnoutSoubor(QStringLiteral("http://127.0.0.1:9/x"), dir.filePath(QStringLiteral("x")));
        FAIL() << "no error";
    } catch (const lanterna::Exception& e) {
        EXPECT_FALSE(e.Message().isEmpty());
    }
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("x"))));
    const QString target = dir.filePath(QStringLiteral("no/such/folder/x"));
    try {
        StahnoutSoubor(QStringLiteral("http://127.0.0.1:9/x"), target);
        FAIL() << "no error";
    } catch (const lanterna::Exception& e) {
        EXPECT_TRUE(
            e.Message().startsWith(QStringLiteral("Cannot create file \"") + target + QStringLiteral("\". ")))
            << e.Message().toStdString();
    }
}

TEST_F(VersionCheckTest, ConfiguredServerIsAskedAndSavingKeepsItAndTheUnattendedKeys) {
    qunsetenv("LANTERNA_UPDATE_SERVER");
    const QByteArray line = "UpdateServer=" + FServer->Url().toUtf8() + "/\nAutoUpdate=1\nUpdateHour=4";
    WriteFile(QStringLiteral("SlideShow.cfg"), "[Global]\nZjistitNovouVerziPriStartu=0\n" + line + "\n");
    Publish(QStringLiteral("UpDate.dat"), "[UPDATE]\nVer=1.2\n");
    Forms().Form3->NacistButClick();
    Run();
    // The maker's server is out of reach here: only the configured one can have answered.
    Forms().Form3->ZjistitNovouVerziBut->click();
    EXPECT_EQ(FDialogs->Texts(), QStringList{QStringLiteral("Verze je aktuální.")});
    EXPECT_EQ(ReadFile(QStringLiteral("UpDate.dat")), "[UPDATE]\nVer=1.2\n");

    Forms().Form3->UlozitButClick();
    EXPECT_TRUE(ReadFile(QStringLiteral("SlideShow.cfg")).contains(line + "\n"));
}

TEST_F(SignedVersionCheckTest, ADescriptionThatDoesNotVerifyIsAFailedCheckAndKeepsTheLocalPair) {
    PublishSigned("[UPDATE]\nVer=1.2\n");
    Forms().Form3->ZjistitNovouVerziButClick();
    ASSERT_EQ(FDialogs->Texts(), QStringList{QStringLiteral("Verze je aktuální.")});
    const QByteArray localDescription = ReadFile(QStringLiteral("UpDate.dat"));
    const QByteArray localSignature = ReadFile(QStringLiteral("UpDate.dat.minisig"));
    EXPECT_EQ(localSignature, Served(QStringLiteral("UpDate.dat.minisig")));
    const QStringList files = ProgramFolder();

    lanterna::testing::MinisignKeyPair foreign;
    ASSERT_TRUE(foreign.Ready());
    const std::vector<std::pair<const char*, std::function<void()>>> attacks = {
        {"edited after signing",
         [&] {
             PublishSigned("[UPDATE]\nVer=1.3\n");
             Publish(QStringLiteral("UpDate.dat"), "[UPDATE]\nVer=1.4\n");
         }},
        {"unsigned",
         [&] {
             Publish(QStringLiteral("UpDate.dat"), "[UPDATE]\nVer=1.3\n");
             QFile::remove(FServed.filePath(QStringLiteral("slideshow/UpDate.dat.minisig")));
         }},
        {"foreign key", [&] { PublishSigned("[UPDATE]\nVer=1.3\n", foreign); }},
        {"expired", [&] { PublishSigned("[UPDATE]\nVer=1.3\nExpires=2020-01-01T00:00:00Z\n"); }},
    };
    for (const auto& [name, attack] : attacks) {
        SCOPED_TRACE(name);
        attack();
        FDialogs->ClearShown();
        Forms().Form3->ZjistitNovouVerziBut->click();
        ASSERT_EQ(FDialogs->Shown().size(), 1u) << "an error, never the question";
        EXPECT_EQ(FDialogs->Shown()[0].Type, lanterna::mtError) << FDialogs->Texts()[0].toStdString();
        EXPECT_EQ(ReadFile(QStringLiteral("UpDate.dat")), localDescription);
        EXPECT_EQ(ReadFile(QStringLiteral("UpDate.dat.minisig")), localSignature);
        EXPECT_EQ(ProgramFolder(), files) << "nothing fetched is left behind";
    }
}

TEST_F(SignedVersionCheckTest, OnlyANewerSignedVersionIsOfferedAndReplacesThePair) {
    for (const char* version : {"1.1", "1.2", "1.2.0"}) {
        FDialogs->ClearShown();
        PublishSigned(QByteArray("[UPDATE]\nVer=") + version + "\n");
        Forms().Form3->ZjistitNovouVerziButClick();
        EXPECT_EQ(FDialogs->Texts(), QStringList{QStringLiteral("Verze je aktuální.")}) << version;
    }
    FDialogs->ClearShown();
    PublishSigned("[UPDATE]\nVer=1.10\n");
    FDialogs->QueueAnswer(false);
    Forms().Form3->ZjistitNovouVerziButClick();
    EXPECT_EQ(FDialogs->Texts(),
              QStringList{QStringLiteral("Je k dispozici nová verze. Chcete aktualizovat nyní?")});
    EXPECT_EQ(ReadFile(QStringLiteral("UpDate.dat")), Served(QStringLiteral("UpDate.dat")));
    EXPECT_EQ(ReadFile(QStringLiteral("UpDate.dat.minisig")), Served(QStringLiteral("UpDate.dat.minisig")));

    // A version that was taken back is not offered again.
    WriteFile(QStringLiteral("UpDate.state"), "[RELEASE]\nFailed=1.9,1.10\n");
    FDialogs->ClearShown();
    Forms().Form3->ZjistitNovouVerziButClick();
    EXPECT_EQ(FDialogs->Texts(), QStringList{QStringLiteral("Verze je aktuální.")});

    // Once a later release is installed, the same description is an old one.
    WriteFile(QStringLiteral("UpDate.state"), "[RELEASE]\nInstalled=1.10\n");
    FDialogs->ClearShown();
    Forms().Form3->ZjistitNovouVerziButClick();
    EXPECT_EQ(FDialogs->Texts(), QStringList{QStringLiteral("Verze je aktuální.")});
    FDialogs->ClearShown();
    Forms().Form3->AktualizaceButClick();
    EXPECT_EQ(FDialogs->Texts(), QStringList{QStringLiteral("Verze je aktuální.")}) << "no hand-over";
}

TEST_F(SignedVersionCheckTest, TheMissingUpdaterIsTakenOnlyAsTheSignedDescriptionListsIt) {
    const QByteArray program = "#!/bin/sh\nexit 0\n";
    const QByteArray hash = QCryptographicHash::hash(program, QCryptographicHash::Sha256).toHex();
    PublishSigned("[UPDATE]\nVer=1.3\nFiles=1\nFile1=http://elsewhere/" +
                  lanterna::UpdaterFileName().toUtf8() + "\nFile1Size=" + QByteArray::number(program.size()) +
                  "\nFile1SHA256=" + hash + "\n");
    const QString updater = PathOf(lanterna::UpdaterFileName());
    const QStringList before = ProgramFolder();
    Publish(lanterna::UpdaterFileName(), "#!/bin/sh\nrm -rf ~\n");
    Forms().Form3->AktualizaceBut->click();
    EXPECT_EQ(FDialogs->Texts().size(), 2) << "the question, then the error";
    EXPECT_FALSE(FDialogs->Texts().contains(QStringLiteral("Soubor byl stažen.")));
    EXPECT_FALSE(QFileInfo::exists(updater));
    EXPECT_EQ(ProgramFolder().size(), before.size() + 3) << "the new pair and its validators, nothing else";

    FDialogs->ClearShown();
    Publish(lanterna::UpdaterFileName(), program);
    Forms().Form3->AktualizaceButClick();
    EXPECT_EQ(FDialogs->Texts().value(1), QStringLiteral("Soubor byl stažen."));
    EXPECT_EQ(ReadFile(lanterna::UpdaterFileName()), program);
    EXPECT_TRUE(QFileInfo(updater).isExecutable());
}
