// The whole player, run unattended from a program folder of its own.
#include "platform/testing/local_http_server.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using lanterna::testing::LocalHttpServer;

namespace {

class PlayerRun : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QFile::copy(QStringLiteral(LANTERNA_PLAYER_BINARY),
                                FProgramDir.filePath(QStringLiteral("Lanterna"))));
        ASSERT_TRUE(QDir(FServed.path()).mkpath(QStringLiteral("slideshow")));
    }
    void TearDown() override {
        if (FPlayer.state() != QProcess::NotRunning) {
            FPlayer.kill();
            FPlayer.waitForFinished(5000);
        }
    }
    void Put(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    void Launch(const QString& updateServer, const QStringList& arguments) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("LANTERNA_UNATTENDED_LOG"), Log());
        env.insert(QStringLiteral("LANTERNA_UPDATE_SERVER"), updateServer);
        FPlayer.setProcessEnvironment(env);
        FPlayer.setWorkingDirectory(FProgramDir.path());
        FPlayer.start(FProgramDir.filePath(QStringLiteral("Lanterna")), arguments);
        ASSERT_TRUE(FPlayer.waitForStarted(5000));
    }
    QString Log() const { return FProgramDir.filePath(QStringLiteral("boxes.log")); }
    QString LogText() const {
        QFile f(Log());
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

    QTemporaryDir FProgramDir;
    QTemporaryDir FServed;
    QProcess FPlayer;
};

} // namespace

TEST_F(PlayerRun, NewVersionAtStartHandsOverToTheUpdaterAndEnds) {
    LocalHttpServer server(FServed.path());
    ASSERT_FALSE(server.Url().isEmpty());
    Put(FServed.filePath(QStringLiteral("slideshow/UpDate.dat")), "[UPDATE]\nVer=1.3\n");
    const QString marker = FProgramDir.filePath(QStringLiteral("updater-ran"));
    const QString updater = FProgramDir.filePath(QStringLiteral("UpDate"));
    Put(updater, "#!/bin/sh\npwd > '" + marker.toUtf8() + "'\n");
    QFile::setPermissions(updater, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    // No configuration: the check runs at start; the unattended answer to the question is Yes.
    Launch(server.Url(), {});
    ASSERT_TRUE(FPlayer.waitForFinished(15000)) << "the player ends after the hand-over";
    EXPECT_EQ(FPlayer.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(FPlayer.exitCode(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(marker); }, 5000));
    EXPECT_EQ(LogText(), QStringLiteral("Confirm: Je k dispozici nová verze. Chcete aktualizovat nyní?\n"));
    QFile dat(FProgramDir.filePath(QStringLiteral("UpDate.dat")));
    ASSERT_TRUE(dat.open(QIODevice::ReadOnly));
    EXPECT_EQ(dat.readAll(), "[UPDATE]\nVer=1.3\n");
}

TEST_F(PlayerRun, UnreachableServerIsReportedAndThePlayerCarriesOn) {
    Launch(QStringLiteral("http://127.0.0.1:9"), {QStringLiteral("/AUTOSTART")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !LogText().isEmpty(); }, 10000));
    QTest::qWait(1500);
    EXPECT_EQ(FPlayer.state(), QProcess::Running);
    const QString log = LogText();
    EXPECT_TRUE(log.startsWith(QStringLiteral("Kelvra Lide Show: "))) << log.toStdString();
    EXPECT_EQ(log.count(QLatin1Char('\n')), 1) << "one error, no second start-up: " << log.toStdString();
}

TEST_F(PlayerRun, EmptyOrMissingPictureFolderShowsTheBackgroundOnly) {
    const QString empty = FProgramDir.filePath(QStringLiteral("empty"));
    ASSERT_TRUE(QDir().mkpath(empty));
    for (const QString& folder : {empty, FProgramDir.filePath(QStringLiteral("missing"))}) {
        Put(FProgramDir.filePath(QStringLiteral("SlideShow.cfg")),
            "[Global]\nZjistitNovouVerziPriStartu=0\nRotateInterval=1\nClockVisible=1\nLogoVisible="
            "1\nFullScreen=1\n"
            "SlideDirectory=" +
                folder.toUtf8() + "\n");
        Launch(QStringLiteral("http://127.0.0.1:9"), {QStringLiteral("/AUTOSTART")});
        // Long enough for the presentation to open and several rotation periods to pass.
        QTest::qWait(3500);
        EXPECT_EQ(FPlayer.state(), QProcess::Running) << folder.toStdString();
        EXPECT_EQ(LogText(), QString()) << "nothing to report";
        FPlayer.kill();
        FPlayer.waitForFinished(5000);
    }
}

TEST_F(PlayerRun, PicturesOfAllKindsRotateWithoutTrouble) {
    const QString pictures = FProgramDir.filePath(QStringLiteral("Slides"));
    ASSERT_TRUE(QDir().mkpath(pictures + QStringLiteral("/sub-folder")));
    const QSize sizes[] = {{1600, 900}, {300, 800}, {50, 50}};
    for (int i = 0; i < 3; ++i) {
        QImage image(sizes[i], QImage::Format_RGB32);
        image.fill(QColor::fromHsv(i * 100, 200, 200));
        ASSERT_TRUE(image.save(pictures + QStringLiteral("/p%1.jpg").arg(i)));
    }
    Put(pictures + QStringLiteral("/notes.txt"), "a text file among the pictures");
    Put(pictures + QStringLiteral("/broken.png"), QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(40, 'x'));
    Put(FProgramDir.filePath(QStringLiteral("SlideShow.cfg")),
        "[Global]\nZjistitNovouVerziPriStartu=0\nRotateInterval=1\n");
    Launch(QStringLiteral("http://127.0.0.1:9"), {QStringLiteral("/AUTOSTART")});
    // Every slide comes round at least once: 5 files, a second each plus a second's transition.
    QTest::qWait(8000);
    EXPECT_EQ(FPlayer.state(), QProcess::Running);
    EXPECT_EQ(LogText(), QString());
}
