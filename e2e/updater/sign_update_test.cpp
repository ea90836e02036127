// A sign as a shop runs it, with real message boxes on a real X display and its releases published
// by a real nginx: at "/AUTOSTART" a new version never keeps the show dark, a sign that updates
// itself applies a signed release and shows again by itself, and a release whose player fails is
// taken back and not tried again.
#include "testing/minisign_tool.h"
#include "testing/nginx_server.h"
#include "testing/test_files.h"
#include "testing/virtual_display.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

using lanterna::testing::MinisignKeyPair;
using lanterna::testing::NginxServer;
using lanterna::testing::ReadFileBytes;
using lanterna::testing::VirtualDisplay;
using lanterna::testing::WriteFileBytes;

namespace {

const QString kPresentation = QStringLiteral("Slide Show Prezentace");

// A program folder with the real player and updater and the chain's key; a release folder served
// by nginx under /slideshow/.
class Sign : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(FPair.Ready());
        ASSERT_FALSE(FServer.Url().isEmpty()) << "nginx did not start";
        ASSERT_FALSE(FDisplay.Name().isEmpty()) << "Xvfb did not start";
        ASSERT_TRUE(QDir().mkpath(Release(QString())));
        for (const char* name : {"Lanterna", "UpDate"})
            ASSERT_TRUE(QFile::copy(QString::fromLatin1(name) == QLatin1String("Lanterna")
                                        ? QStringLiteral(LANTERNA_PLAYER_BINARY)
                                        : QStringLiteral(LANTERNA_UPDATER_BINARY),
                                    Program(QString::fromLatin1(name))));
        ASSERT_TRUE(WriteFileBytes(Program(QStringLiteral("UpDate.pub")), FPair.PublicKey()));
    }
    void TearDown() override {
        FPlayer.kill();
        FPlayer.waitForFinished(5000);
        // Players and updaters started by the programs themselves.
        QProcess::execute(QStringLiteral("pkill"),
                          {QStringLiteral("-KILL"), QStringLiteral("-f"), FProgram.path()});
    }
    QString Program(const QString& name) const { return FProgram.filePath(name); }
    QString Release(const QString& name) const {
        return FPublished.filePath(QStringLiteral("slideshow/") + name);
    }
    // Publishes release 1.3 of `player` (and a logo), described by lanterna-release and signed.
    void Publish(const QString& player) {
        ASSERT_TRUE(QFile::copy(player, Release(QStringLiteral("Lanterna"))));
        ASSERT_TRUE(WriteFileBytes(Release(QStringLiteral("logo.png")), QByteArray(5000, 'l')));
        QProcess tool;
        tool.start(QStringLiteral(LANTERNA_RELEASE_BINARY),
                   {QStringLiteral("--version"), QStringLiteral("1.3"), QStringLiteral("--product"),
                    QStringLiteral("Lanterna"), QStringLiteral("--base-url"),
                    FServer.Url() + QStringLiteral("/slideshow"), Release(QString())});
        ASSERT_TRUE(tool.waitForFinished(30000));
        ASSERT_EQ(tool.exitCode(), 0);
        ASSERT_TRUE(FPair.Sign(Release(QStringLiteral("UpDate.dat"))));
    }
    void Start(const QByteArray& settings) {
        ASSERT_TRUE(WriteFileBytes(Program(QStringLiteral("SlideShow.cfg")), "[Global]\n" + settings));
        QProcessEnvironment env = FDisplay.Environment();
        env.insert(QStringLiteral("LANTERNA_UPDATE_SERVER"), FServer.Url());
        FPlayer.setProcessEnvironment(env);
        FPlayer.setWorkingDirectory(FProgram.path());
        FPlayer.start(Program(QStringLiteral("Lanterna")), {QStringLiteral("/AUTOSTART")});
        ASSERT_TRUE(FPlayer.waitForStarted(10000));
    }
    QByteArray State() const { return ReadFileBytes(Program(QStringLiteral("UpDate.state"))); }
    // The processes of the program folder's player that run now.
    int Players() const {
        QProcess pgrep;
        pgrep.start(QStringLiteral("pgrep"), {QStringLiteral("-f"), Program(QStringLiteral("Lanterna"))});
        pgrep.waitForFinished(5000);
        return pgrep.readAllStandardOutput().split('\n').size() - 1;
    }

    MinisignKeyPair FPair;
    QTemporaryDir FProgram;
    QTemporaryDir FPublished;
    NginxServer FServer{FPublished.path()};
    VirtualDisplay FDisplay;
    QProcess FPlayer;
};

} // namespace

TEST_F(Sign, WithoutAutoUpdateTheQuestionGivesWayAndTheShowOpens) {
    Publish(QStringLiteral(LANTERNA_PLAYER_BINARY));
    Start("AutoUpdate=0\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return FDisplay.Shows(QStringLiteral("Confirm")); }, 30000))
        << "the question stands";
    EXPECT_TRUE(QTest::qWaitFor([&] { return FDisplay.Shows(kPresentation); }, 90000)) << "the show opens";
    EXPECT_EQ(FPlayer.state(), QProcess::Running);
    EXPECT_TRUE(State().isEmpty()) << "nothing was installed";
}

TEST_F(Sign, WithAutoUpdateTheSignAppliesTheReleaseAndShowsAgainOnce) {
    Publish(QStringLiteral(LANTERNA_PLAYER_BINARY));
    Start("AutoUpdate=1\n");
    ASSERT_TRUE(FPlayer.waitForFinished(60000)) << "the player hands over to the updater";
    // The updater applies the release, starts the new player, and keeps the release once the player
    // has shown its slides for 30 s.
    ASSERT_TRUE(QTest::qWaitFor([&] { return State().startsWith("[RELEASE]\nInstalled=1.3"); }, 60000));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return !QFile::exists(Program(QStringLiteral(".release-journal"))); }, 120000))
        << "the new player proved healthy";
    EXPECT_EQ(ReadFileBytes(Program(QStringLiteral("logo.png"))), QByteArray(5000, 'l'));
    EXPECT_TRUE(FDisplay.Shows(kPresentation));
    QTest::qWait(3000);
    EXPECT_EQ(Players(), 1) << "shown again once, and no second update";
    EXPECT_FALSE(State().contains("Failed"));
}

TEST_F(Sign, AReleaseWhosePlayerFailsIsTakenBackAndNotTriedAgain) {
    QTemporaryDir scratch;
    const QString broken = scratch.filePath(QStringLiteral("Lanterna"));
    ASSERT_TRUE(WriteFileBytes(broken, "#!/bin/sh\nexit 1\n"));
    Publish(broken);
    const QByteArray player = ReadFileBytes(Program(QStringLiteral("Lanterna")));
    Start("AutoUpdate=1\n");
    ASSERT_TRUE(FPlayer.waitForFinished(60000)) << "the player hands over to the updater";
    ASSERT_TRUE(QTest::qWaitFor([&] { return State().contains("Failed=1.3"); }, 120000))
        << State().toStdString();
    EXPECT_EQ(ReadFileBytes(Program(QStringLiteral("Lanterna"))), player) << "the old player is back";
    EXPECT_FALSE(QFile::exists(Program(QStringLiteral("logo.png"))));
    EXPECT_TRUE(QTest::qWaitFor([&] { return FDisplay.Shows(kPresentation); }, 60000)) << "the old show runs";
    QTest::qWait(5000);
    EXPECT_EQ(Players(), 1) << "the release is not tried again";
    EXPECT_TRUE(State().startsWith("[RELEASE]\nInstalled=1.2")) << State().toStdString();
}
