// The real UpDate program, and the player handing over to it, run unattended against a local
// HTTP server.
#include "testing/local_http_server.h"
#include "testing/minisign_tool.h"
#include "testing/nginx_server.h"
#include "testing/test_files.h"
#include "testing/test_server.h"
#include "testing/virtual_display.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

using lanterna::testing::LocalHttpServer;
using lanterna::testing::Pattern;
using lanterna::testing::TestServer;

namespace {

const QString kHelpPage =
    QStringLiteral("https://help.kelvra.example/index.php?action=artikel&cat=1&id=13&artlang=cs&dir=");

QByteArray ReadAll(const QString& path) {
    return lanterna::testing::ReadFileBytes(path);
}

void Put(const QString& path, const QByteArray& bytes) {
    ASSERT_TRUE(lanterna::testing::WriteFileBytes(path, bytes)) << path.toStdString();
}

// The processes started from `program`, found through /proc: the updater is started detached.
QList<qint64> ProcessesOf(const QString& program) {
    QList<qint64> found;
    const QString wanted = QFileInfo(program).canonicalFilePath();
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool number = false;
        const qint64 pid = entry.toLongLong(&number);
        if (number && QFileInfo(QStringLiteral("/proc/%1/exe").arg(entry)).symLinkTarget() == wanted)
            found << pid;
    }
    return found;
}

class UpdaterRun : public testing::Test {
protected:
    void TearDown() override {
        for (QProcess* p : {&FUpdater, &FPlayer})
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished(5000);
            }
        for (const QString& program : FDetached)
            for (qint64 pid : ProcessesOf(program))
                QProcess::execute(QStringLiteral("kill"), {QString::number(pid)});
    }
    QProcessEnvironment Environment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("LANTERNA_UNATTENDED_LOG"), Log());
        return env;
    }
    // Runs the updater in `folder` and waits for it to end by itself.
    void RunUpdater(const QString& program, const QString& folder, const QStringList& arguments) {
        FUpdater.setProcessEnvironment(Environment());
        FUpdater.setWorkingDirectory(folder);
        FUpdater.start(program, arguments);
        ASSERT_TRUE(FUpdater.waitForStarted(10000));
        ASSERT_TRUE(FUpdater.waitForFinished(60000)) << "the updater ends by itself";
        EXPECT_EQ(FUpdater.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(FUpdater.exitCode(), 0);
    }
    void WriteDescription(const QString& folder, const QStringList& files) {
        QByteArray text =
            "[UPDATE]\nVer=1.3\nProductName=Lanterna\nFiles=" + QByteArray::number(files.size()) + "\n";
        for (int i = 0; i < files.size(); ++i)
            if (!files[i].isEmpty())
                text += "File" + QByteArray::number(i + 1) + "=" + files[i].toUtf8() + "\n";
        Put(folder + QStringLiteral("/UpDate.dat"), text);
    }
    QString Log() const { return FLogDir.filePath(QStringLiteral("boxes.log")); }
    QString LogText() const { return QString::fromUtf8(ReadAll(Log())); }

    QTemporaryDir FFolder;
    QTemporaryDir FLogDir;
    QProcess FUpdater;
    QProcess FPlayer;
    QStringList FDetached;
};

} // namespace

TEST_F(UpdaterRun, AutoFetchesEveryListedFileAndEnds) {
    TestServer server;
    ASSERT_TRUE(server.Started());
    Put(FFolder.filePath(QStringLiteral("second.bin")), "left as it was");
    WriteDescription(FFolder.path(), {server.Url(QStringLiteral("/data/300000/first.bin")), QString(),
                                      server.Url(QStringLiteral("/status/404/second.bin")),
                                      server.Url(QStringLiteral("/data/7/third.bin"))});
    RunUpdater(QStringLiteral(LANTERNA_UPDATER_BINARY), FFolder.path(), {QStringLiteral("AUTO")});
    EXPECT_EQ(ReadAll(FFolder.filePath(QStringLiteral("first.bin"))), Pattern(300000));
    EXPECT_EQ(ReadAll(FFolder.filePath(QStringLiteral("third.bin"))), Pattern(7));
    EXPECT_EQ(ReadAll(FFolder.filePath(QStringLiteral("second.bin"))), "left as it was");
    // A run with a file that did not arrive is no completed update.
    EXPECT_EQ(LogText(), QStringLiteral("Error: 1 of 3 files could not be updated.\n"));
}

TEST_F(UpdaterRun, LowerCaseAutoWaitsForStart) {
    TestServer server;
    ASSERT_TRUE(server.Started());
    WriteDescription(FFolder.path(), {server.Url(QStringLiteral("/data/10/file.bin"))});
    FUpdater.setProcessEnvironment(Environment());
    FUpdater.setWorkingDirectory(FFolder.path());
    FUpdater.start(QStringLiteral(LANTERNA_UPDATER_BINARY), {QStringLiteral("auto")});
    ASSERT_TRUE(FUpdater.waitForStarted(10000));
    // Several ticks pass: the window waits with its product shown.
    EXPECT_FALSE(FUpdater.waitForFinished(4000));
    EXPECT_FALSE(QFileInfo::exists(FFolder.filePath(QStringLiteral("file.bin"))));
    EXPECT_EQ(LogText(), QString());
}

TEST_F(UpdaterRun, WithoutAProductTheHelpPageOpensForTheFolderAndTheProgramEnds) {
    const QString folder = FFolder.filePath(QStringLiteral("Prodejna s mezerou a češtinou"));
    ASSERT_TRUE(QDir().mkpath(folder));
    for (const QByteArray& description :
         {QByteArray(), QByteArray("[UPDATE]\nProductName=ERROR!!\nFiles=0\n")}) {
        QFile::remove(Log());
        if (!description.isEmpty())
            Put(folder + QStringLiteral("/UpDate.dat"), description);
        const QStringList before = QDir(folder).entryList(QDir::Files);
        QElapsedTimer clock;
        clock.start();
        RunUpdater(QStringLiteral(LANTERNA_UPDATER_BINARY), folder, {QStringLiteral("AUTO")});
        EXPECT_GE(clock.elapsed(), 900) << "it closes at the tick after the page opened";
        EXPECT_EQ(LogText(), QStringLiteral("Open: ") + kHelpPage + folder + QStringLiteral("/UpDate.dat\n"));
        EXPECT_EQ(QDir(folder).entryList(QDir::Files), before) << "nothing is written";
    }
}

TEST_F(UpdaterRun, TheUpdaterReplacesItsOwnProgramFileKeepingItRunnable) {
    TestServer server;
    ASSERT_TRUE(server.Started());
    const QString program = FFolder.filePath(QStringLiteral("UpDate"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(LANTERNA_UPDATER_BINARY), program));
    const QFile::Permissions runnable = QFile::permissions(program);
    ASSERT_TRUE(runnable & QFile::ExeOwner);
    WriteDescription(FFolder.path(), {server.Url(QStringLiteral("/data/5000/UpDate"))});
    RunUpdater(program, FFolder.path(), {QStringLiteral("AUTO")});
    EXPECT_EQ(ReadAll(program), Pattern(5000)) << "the new file takes effect at the next start";
    EXPECT_EQ(QFile::permissions(program), runnable);
    EXPECT_EQ(LogText(), QStringLiteral("Information: Update is completed.\n"));
}

// A release published as the README shows it, with the real tools: lanterna-release describes the
// folder, minisign signs the description, nginx publishes it; the real updater in a
// program folder with the public key applies it, and refuses the same folder altered afterwards.
TEST_F(UpdaterRun, AReleasePublishedWithTheRealToolsIsAppliedAndATamperedOneIsNot) {
    lanterna::testing::MinisignKeyPair pair;
    ASSERT_TRUE(pair.Ready());
    QTemporaryDir published;
    lanterna::testing::NginxServer server(published.path());
    ASSERT_FALSE(server.Url().isEmpty()) << "nginx did not start";
    // The new player marks itself healthy at once, so the updater keeps the release.
    const QByteArray program = "#!/bin/sh\necho $$ > UpDate.healthy\n";
    Put(published.filePath(QStringLiteral("Lanterna")), program);
    Put(published.filePath(QStringLiteral("logo.png")), Pattern(70000));
    QProcess tool;
    tool.start(QStringLiteral(LANTERNA_RELEASE_BINARY),
               {QStringLiteral("--version"), QStringLiteral("1.3"), QStringLiteral("--product"),
                QStringLiteral("Lanterna"), QStringLiteral("--base-url"), server.Url(), published.path()});
    ASSERT_TRUE(tool.waitForFinished(30000));
    ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    ASSERT_TRUE(pair.Sign(published.filePath(QStringLiteral("UpDate.dat"))));

    Put(FFolder.filePath(QStringLiteral("UpDate.pub")), pair.PublicKey());
    Put(FFolder.filePath(QStringLiteral("Lanterna")), "#!/bin/sh\n");
    ASSERT_TRUE(QFile::setPermissions(FFolder.filePath(QStringLiteral("Lanterna")),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    for (const char* name : {"UpDate.dat", "UpDate.dat.minisig"})
        ASSERT_TRUE(
            QFile::copy(published.filePath(QLatin1String(name)), FFolder.filePath(QLatin1String(name))));
    // A man in the middle changes the published player after signing.
    Put(published.filePath(QStringLiteral("Lanterna")), "#!/bin/sh\necho evil!!\n");
    RunUpdater(QStringLiteral(LANTERNA_UPDATER_BINARY), FFolder.path(), {QStringLiteral("AUTO")});
    EXPECT_EQ(ReadAll(FFolder.filePath(QStringLiteral("Lanterna"))), "#!/bin/sh\n");
    EXPECT_FALSE(QFileInfo::exists(FFolder.filePath(QStringLiteral("UpDate.state"))));

    Put(published.filePath(QStringLiteral("Lanterna")), program);
    QFile::remove(Log());
    RunUpdater(QStringLiteral(LANTERNA_UPDATER_BINARY), FFolder.path(), {QStringLiteral("AUTO")});
    EXPECT_EQ(ReadAll(FFolder.filePath(QStringLiteral("Lanterna"))), program);
    EXPECT_EQ(ReadAll(FFolder.filePath(QStringLiteral("logo.png"))), Pattern(70000));
    EXPECT_EQ(ReadAll(FFolder.filePath(QStringLiteral("UpDate.state"))), "[RELEASE]\nInstalled=1.3\n");
    EXPECT_EQ(LogText(), QStringLiteral("Information (60 s): Update is completed.\n"));
}

// Under a window manager, which frames a window only after it is shown: the main window is 200
// pixels high with its frame at start and 250 from "Start" (also when "AUTO" presses it at the first
// tick), and the list window lies at 282, 259 and is 391 x 488, frames included.
TEST_F(UpdaterRun, UnderAWindowManagerTheWindowsHaveTheirOuterSizes) {
    TestServer server;
    ASSERT_TRUE(server.Started());
    // A download that stands still, so that the window stays while it is measured.
    WriteDescription(FFolder.path(), {server.Url(QStringLiteral("/stall/1000000/5000/large.bin"))});
    lanterna::testing::VirtualDisplay display;
    ASSERT_FALSE(display.Name().isEmpty()) << "Xvfb did not start";
    ASSERT_TRUE(display.StartWindowManager(QStringLiteral("icewm")));
    QProcessEnvironment env = display.Environment();
    env.insert(QStringLiteral("LANTERNA_UNATTENDED_LOG"), Log());
    FUpdater.setProcessEnvironment(env);
    FUpdater.setWorkingDirectory(FFolder.path());
    // The one window of that title, once it is there.
    const auto windowOf = [&](const QString& title) {
        QStringList found;
        EXPECT_TRUE(QTest::qWaitFor([&] { return (found = display.Windows(title)).size() == 1; }, 20000))
            << title.toStdString() << ": " << found.size() << " windows";
        return found.value(0);
    };
    // Waits until the window with its frame is `expected`; says where it was when it is not.
    const auto becomes = [&](const QString& window, const auto& expected, const auto& part) {
        QRect frame;
        if (QTest::qWaitFor([&] { return part(frame = display.Frame(window)) == expected; }, 10000))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
               << frame.x() << ", " << frame.y() << ", " << frame.width() << " x " << frame.height();
    };
    const auto height = [](const QRect& frame) { return frame.height(); };
    const auto whole = [](const QRect& frame) { return frame; };
    const QString mainTitle = QStringLiteral("^Kelvra Updater - .* - Lanterna$");

    FUpdater.start(QStringLiteral(LANTERNA_UPDATER_BINARY), {QStringLiteral("AUTO")});
    ASSERT_TRUE(FUpdater.waitForStarted(10000));
    EXPECT_TRUE(becomes(windowOf(mainTitle), 250, height)) << "AUTO";
    FUpdater.kill();
    FUpdater.waitForFinished(5000);

    FUpdater.start(QStringLiteral(LANTERNA_UPDATER_BINARY), {});
    ASSERT_TRUE(FUpdater.waitForStarted(10000));
    const QString window = windowOf(mainTitle);
    EXPECT_TRUE(becomes(window, 200, height)) << "at start";
    // "Start" lies at 82, 96 and is 167 x 57 pixels large, in the window's client area.
    ASSERT_TRUE(display.Click(window, {82 + 167 / 2, 96 + 57 / 2}));
    EXPECT_TRUE(becomes(window, 250, height)) << "from Start";

    // A click on the heading shows the list window.
    ASSERT_TRUE(display.Click(window, {300, 30}));
    EXPECT_TRUE(becomes(windowOf(QStringLiteral("^Form2$")), QRect(282, 259, 391, 488), whole));
}

// The whole chain on a real X display: the player finds another version, fetches the missing
// updater on consent, and at the next hand-over starts it in its own folder and ends; a click on
// "Start" in the window of that updater fetches the listed file there. The player is started from
// its program folder, or from another folder.
class HandOver : public UpdaterRun, public testing::WithParamInterface<bool> {
protected:
    void TearDown() override {
        UpdaterRun::TearDown();
        FDisplay.reset(); // after the programs on it
    }
    // What a failed wait needs: which programs run, what they said, which boxes they logged.
    std::string Diagnosis() const {
        QStringList running;
        for (const QString& program : FDetached)
            running << QStringLiteral("%1: %2 running").arg(program).arg(ProcessesOf(program).size());
        return QStringLiteral("player %1; %2; boxes: \"%3\"; windows: %4; error output of both:\n%5")
            .arg(FPlayer.state() == QProcess::NotRunning ? QStringLiteral("ended") : QStringLiteral("runs"),
                 running.join(u','), LogText(), WindowTitles(), QString::fromLocal8Bit(ReadAll(Errors())))
            .toStdString();
    }
    QString WindowTitles() const {
        QStringList titles;
        for (const QString& window : FDisplay ? FDisplay->Windows(QStringLiteral(".")) : QStringList())
            titles << QLatin1Char('"') + FDisplay->Title(window) + QLatin1Char('"');
        return titles.join(u' ');
    }
    QString Errors() const { return FLogDir.filePath(QStringLiteral("stderr.txt")); }

    std::unique_ptr<lanterna::testing::VirtualDisplay> FDisplay;
};

TEST_P(HandOver, ThePlayerHandsOverToTheRealUpdaterWhichFetchesTheListOnStart) {
    QTemporaryDir served;
    ASSERT_TRUE(QDir(served.path()).mkpath(QStringLiteral("slideshow")));
    LocalHttpServer server(served.path());
    ASSERT_FALSE(server.Url().isEmpty());
    ASSERT_TRUE(QFile::copy(QStringLiteral(LANTERNA_UPDATER_BINARY),
                            served.filePath(QStringLiteral("slideshow/UpDate"))));
    Put(served.filePath(QStringLiteral("payload.bin")), "the new program file");
    WriteDescription(served.filePath(QStringLiteral("slideshow")),
                     {server.Url() + QStringLiteral("/payload.bin")});

    const QString programDir = FFolder.filePath(QStringLiteral("program"));
    ASSERT_TRUE(QDir().mkpath(programDir));
    const QString player = programDir + QStringLiteral("/Lanterna");
    const QString updater = programDir + QStringLiteral("/UpDate");
    ASSERT_TRUE(QFile::copy(QStringLiteral(LANTERNA_PLAYER_BINARY), player));
    FDetached << updater;
    QTemporaryDir elsewhere;
    const QString startedIn = GetParam() ? elsewhere.path() : programDir;

    FDisplay = std::make_unique<lanterna::testing::VirtualDisplay>();
    ASSERT_FALSE(FDisplay->Name().isEmpty()) << "Xvfb did not start";
    // Boxes are answered and logged; the windows are real. The updater inherits the player's
    // environment and its error output.
    QProcessEnvironment env = FDisplay->Environment();
    env.insert(QStringLiteral("LANTERNA_UNATTENDED_LOG"), Log());
    env.insert(QStringLiteral("LANTERNA_UPDATE_SERVER"), server.Url());
    FPlayer.setProcessEnvironment(env);
    FPlayer.setStandardErrorFile(Errors(), QIODevice::Append);
    FPlayer.setWorkingDirectory(startedIn);

    // First start: the check asks, and the missing updater is fetched but not started.
    FPlayer.start(player, {});
    ASSERT_TRUE(FPlayer.waitForStarted(10000));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return LogText().contains(QStringLiteral("Soubor byl stažen.")); }, 60000))
        << Diagnosis();
    EXPECT_EQ(LogText(), QStringLiteral("Confirm: Je k dispozici nová verze. Chcete aktualizovat nyní?\n"
                                        "Confirm: Soubor ") +
                             updater +
                             QStringLiteral(" nebyl nalezen. Mám jej stáhnout ze serveru?\n"
                                            "Information: Soubor byl stažen.\n"));
    EXPECT_EQ(FPlayer.state(), QProcess::Running) << "the updater is not started yet";
    EXPECT_TRUE(QFileInfo(updater).isExecutable());
    FPlayer.kill();
    FPlayer.waitForFinished(5000);

    // Second start: the hand-over starts the updater in the program folder and the player ends.
    QFile::remove(Log());
    FPlayer.start(player, {});
    ASSERT_TRUE(FPlayer.waitForStarted(10000));
    ASSERT_TRUE(FPlayer.waitForFinished(60000)) << "the player ends after the hand-over; " << Diagnosis();
    QList<qint64> running;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !(running = ProcessesOf(updater)).isEmpty(); }, 20000))
        << Diagnosis();
    EXPECT_EQ(QFileInfo(QStringLiteral("/proc/%1/cwd").arg(running.front())).symLinkTarget(),
              QFileInfo(programDir).canonicalFilePath());

    // Its window names the product once the first tick has read the description.
    QStringList windows;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return !(windows = FDisplay->Windows(QStringLiteral("^Kelvra Updater - .* - Lanterna$")))
                        .isEmpty();
        },
        60000))
        << Diagnosis();
    EXPECT_EQ(windows.size(), 1) << Diagnosis();
    EXPECT_FALSE(QFileInfo::exists(programDir + QStringLiteral("/payload.bin"))) << "it waits for \"Start\"";

    // "Start" lies at 82, 96 and is 167 x 57 pixels large; the display has no window frames.
    ASSERT_TRUE(FDisplay->Click(windows.front(), {82 + 167 / 2, 96 + 57 / 2})) << Diagnosis();
    ASSERT_TRUE(QTest::qWaitFor([&] { return ProcessesOf(updater).isEmpty(); }, 60000))
        << "the updater ends after its run; " << Diagnosis();
    EXPECT_EQ(ReadAll(programDir + QStringLiteral("/payload.bin")), "the new program file") << Diagnosis();
    EXPECT_EQ(LogText(), QStringLiteral("Confirm: Je k dispozici nová verze. Chcete aktualizovat nyní?\n"
                                        "Information: Update is completed.\n"));
}

INSTANTIATE_TEST_SUITE_P(StartedFrom, HandOver, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) {
                             return info.param ? "AnotherFolder" : "TheProgramFolder";
                         });
