// The whole player, run unattended from a program folder of its own.
#include "testing/local_http_server.h"
#include "testing/pictures.h"
#include "testing/test_files.h"
#include "testing/virtual_display.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>

using lanterna::testing::Encode;
using lanterna::testing::LocalHttpServer;
using lanterna::testing::VirtualDisplay;

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
        ASSERT_TRUE(lanterna::testing::WriteFileBytes(path, bytes)) << path.toStdString();
    }
    // On the offscreen platform with unattended boxes, or on `display` with real ones.
    void Launch(const QString& updateServer, const QStringList& arguments,
                const VirtualDisplay* display = nullptr) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (display) {
            env = display->Environment();
        } else {
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
            env.insert(QStringLiteral("LANTERNA_UNATTENDED_LOG"), Log());
        }
        env.insert(QStringLiteral("LANTERNA_UPDATE_SERVER"), updateServer);
        FPlayer.setProcessEnvironment(env);
        FPlayer.setWorkingDirectory(FProgramDir.path());
        FPlayer.setStandardErrorFile(FProgramDir.filePath(QStringLiteral("stderr.txt")));
        FPlayer.start(FProgramDir.filePath(QStringLiteral("Lanterna")), arguments);
        ASSERT_TRUE(FPlayer.waitForStarted(5000));
    }
    // What a failed wait needs to be understood: is the player still there, and what did it say.
    std::string Diagnosis() const {
        QString text = FPlayer.state() == QProcess::NotRunning
                           ? QStringLiteral("the player ended (status %1, code %2)")
                                 .arg(int(FPlayer.exitStatus()))
                                 .arg(FPlayer.exitCode())
                           : QStringLiteral("the player runs");
        QFile errors(FProgramDir.filePath(QStringLiteral("stderr.txt")));
        if (errors.open(QIODevice::ReadOnly)) {
            const qint64 tail = 4000;
            errors.seek(std::max<qint64>(0, errors.size() - tail));
            text += QStringLiteral("; its last error output:\n") + QString::fromLocal8Bit(errors.readAll());
        }
        return text.toStdString();
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

TEST_F(PlayerRun, UnreachableServerIsReportedOnceAndTheShowStartsAllTheSame) {
    // Default settings (the check at start on) but for the clock, so that its running can be seen.
    Put(FProgramDir.filePath(QStringLiteral("SlideShow.cfg")), "[Global]\nClockVisible=1\n");
    Launch(QStringLiteral("http://127.0.0.1:9"), {QStringLiteral("/AUTOSTART")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !LogText().isEmpty(); }, 30000)) << Diagnosis();
    QTest::qWait(2500);
    EXPECT_EQ(FPlayer.state(), QProcess::Running);
    const QString log = LogText();
    EXPECT_TRUE(log.startsWith(QStringLiteral("Kelvra Lide Show: "))) << log.toStdString();
    EXPECT_EQ(log.count(QLatin1Char('\n')), 1) << "one error, no second start-up: " << log.toStdString();
}

TEST_F(PlayerRun, WithRealBoxesTheErrorStandsBeforeTheOpenPresentationAndTheClockRuns) {
    VirtualDisplay display;
    ASSERT_FALSE(display.Name().isEmpty()) << "Xvfb did not start";
    Put(FProgramDir.filePath(QStringLiteral("SlideShow.cfg")), "[Global]\nClockVisible=1\n");
    Launch(QStringLiteral("http://127.0.0.1:9"), {QStringLiteral("/AUTOSTART")}, &display);
    ASSERT_TRUE(QTest::qWaitFor([&] { return display.Shows(QStringLiteral("Kelvra Lide Show")); }, 60000))
        << "the error box; " << Diagnosis();
    EXPECT_TRUE(display.Shows(QStringLiteral("Slide Show Prezentace")));
    const QImage before = display.Screen();
    ASSERT_FALSE(before.isNull());
    // Only the clock moves on the screen: no slides, a box that waits.
    EXPECT_TRUE(QTest::qWaitFor([&] { return display.Screen() != before; }, 30000)) << "the clock runs";
    EXPECT_EQ(FPlayer.state(), QProcess::Running);
    before.save(FProgramDir.filePath(QStringLiteral("screen.png")));
    if (qEnvironmentVariableIsSet("LANTERNA_E2E_SHOTS"))
        before.save(qEnvironmentVariable("LANTERNA_E2E_SHOTS") + QStringLiteral("/start-up-error.png"));
}

TEST_F(PlayerRun, AHostileFolderNeitherStopsNorSwellsTheShow) {
    const QString pictures = FProgramDir.filePath(QStringLiteral("Slides"));
    ASSERT_TRUE(QDir().mkpath(pictures + QStringLiteral("/folder.png")));
    const auto header = [](const char* bytes, int size) { return QByteArray(bytes, size); };
    // Headers that claim 100000 x 100000 pixels (65535 x 65535 where the format cannot say more).
    Put(pictures + QStringLiteral("/bomb.png"),
        header("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\x01\x86\xa0\0\x01\x86\xa0\x08\x06\0\0\0", 29) +
            QByteArray(64, '\0'));
    Put(pictures + QStringLiteral("/bomb.gif"),
        header("GIF89a\xff\xff\xff\xff\0\0\0\x2c\0\0\0\0\xff\xff\xff\xff\0\x02\x02\x44\x01\0\x3b", 29));
    Put(pictures + QStringLiteral("/bomb.bmp"),
        header("BM\x36\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\xa0\x86\x01\0\xa0\x86\x01\0\x01\0\x20\0", 30) +
            QByteArray(64, '\0'));
    Put(pictures + QStringLiteral("/bomb.jpg"),
        header("\xff\xd8\xff\xc0\0\x11\x08\xff\xff\xff\xff\x03\x01\x22\0\x02\x11\x01\x03\x11\x01\xff\xd9",
               23));
    {
        QFile sparse(pictures + QStringLiteral("/disk.img"));
        ASSERT_TRUE(sparse.open(QIODevice::WriteOnly));
        ASSERT_TRUE(sparse.resize(qint64(3) << 30));
    }
    ASSERT_EQ(QProcess::execute(QStringLiteral("mkfifo"), {pictures + QStringLiteral("/fifo.png")}), 0);
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), pictures + QStringLiteral("/zero.jpg")));
    Put(pictures + QStringLiteral("/empty.png"), {});
    Put(pictures + QStringLiteral("/notes.txt"), "just text");
    QImage good(640, 480, QImage::Format_RGB32);
    good.fill(QColor(0, 200, 0));
    const QByteArray truncated = Encode(good, "JPG");
    Put(pictures + QStringLiteral("/truncated.jpg"), truncated.left(truncated.size() / 3));
    ASSERT_TRUE(good.save(pictures + QStringLiteral("/good.png")));
    Put(FProgramDir.filePath(QStringLiteral("SlideShow.cfg")),
        "[Global]\nZjistitNovouVerziPriStartu=0\nRotateInterval=1\nSlideDirectory=" + pictures.toUtf8() +
            "\n");

    VirtualDisplay display;
    ASSERT_FALSE(display.Name().isEmpty()) << "Xvfb did not start";
    Launch(QStringLiteral("http://127.0.0.1:9"), {QStringLiteral("/AUTOSTART")}, &display);
    // The good picture shows (its green in the presentation) once the show has started.
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return display.Shows(QStringLiteral("Slide Show Prezentace")); }, 60000))
        << Diagnosis();
    const auto greenShown = [&] {
        const QImage screen = display.Screen();
        for (int y = 0; y < screen.height(); y += 8) {
            for (int x = 0; x < screen.width(); x += 8) {
                if (screen.pixel(x, y) == qRgb(0, 200, 0))
                    return true;
            }
        }
        return false;
    };
    // Six files that show nothing stand before it in the folder's order, each for one rotation; the
    // limit leaves room for a machine under load.
    QElapsedTimer sinceShown;
    sinceShown.start();
    EXPECT_TRUE(QTest::qWaitFor(greenShown, 30000)) << Diagnosis();
    RecordProperty("good_picture_ms", int(sinceShown.elapsed()));
    // The show goes on over the other files: the player keeps running with its window up.
    QTest::qWait(6000);
    EXPECT_EQ(FPlayer.state(), QProcess::Running) << Diagnosis();
    EXPECT_TRUE(display.Shows(QStringLiteral("Slide Show Prezentace")));
    QFile status(QStringLiteral("/proc/%1/status").arg(FPlayer.processId()));
    ASSERT_TRUE(status.open(QIODevice::ReadOnly));
    const QByteArray text = status.readAll();
    const qsizetype at = text.indexOf("VmHWM:");
    ASSERT_GE(at, 0);
    const qint64 peakKb =
        text.mid(at + 6, text.indexOf('\n', at) - at - 6).trimmed().split(' ').first().toLongLong();
    EXPECT_LT(peakKb, 200 * 1024) << "peak resident memory " << peakKb << " kB";
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
