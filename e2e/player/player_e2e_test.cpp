// The whole player, run unattended from a program folder of its own.
#include "platform/testing/local_http_server.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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
