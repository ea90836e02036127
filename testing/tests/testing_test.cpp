#include "testing/pictures.h"
#include "testing/scripted_dialogs.h"
#include "testing/server_process.h"
#include "testing/test_files.h"

#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>

namespace lanterna::testing {
namespace {

TEST(ServerProcess, ThePortIsTakenOnlyFromAFirstLineThatSaysIt) {
    {
        const ServerProcess server(SystemPython(),
                                   {QStringLiteral("-c"), QStringLiteral("import sys\nprint('PORT 4321', "
                                                                         "flush=True)\nsys.stdin.read()\n")});
        EXPECT_TRUE(server.Started());
        EXPECT_EQ(server.Port(), 4321);
    } // ends with its standard input
    const ServerProcess silent(SystemPython(), {QStringLiteral("-c"), QStringLiteral("pass")});
    EXPECT_FALSE(silent.Started());
    const ServerProcess other(SystemPython(), {QStringLiteral("-c"), QStringLiteral("print('ready 80')")});
    EXPECT_FALSE(other.Started());
    EXPECT_EQ(other.Port(), 0);
    const ServerProcess missing(QStringLiteral("/nonexistent/server"), {});
    EXPECT_FALSE(missing.Started());
}

TEST(ServerProcess, AServerThatIgnoresItsInputIsStoppedAllTheSame) {
    int pid = 0;
    {
        // Says its process id as its port, then would sleep for an hour whatever its input does.
        const ServerProcess server(
            SystemPython(),
            {QStringLiteral("-c"), QStringLiteral("import os, time\nprint('PORT', os.getpid(), "
                                                  "flush=True)\ntime.sleep(3600)\n")});
        ASSERT_TRUE(server.Started());
        pid = server.Port();
        EXPECT_EQ(::kill(pid, 0), 0) << "runs while the object lives";
    }
    // Killed and reaped: no such process any more.
    EXPECT_EQ(::kill(pid, 0), -1);
    EXPECT_EQ(errno, ESRCH);
}

TEST(ServerProcess, AClosedPortRefusesConnections) {
    const int port = ClosedPort();
    EXPECT_GT(port, 0);
    const ServerProcess probe(SystemPython(),
                              {QStringLiteral("-c"),
                               QStringLiteral("import socket, sys\ns = socket.socket()\n"
                                              "try:\n    s.connect(('127.0.0.1', int(sys.argv[1])))\n"
                                              "    print('PORT 1', flush=True)\n"
                                              "except OSError:\n    print('PORT 2', flush=True)\n"),
                               QString::number(port)});
    EXPECT_EQ(probe.Port(), 2);
}

TEST(ScriptedDialogsScope, RecordsWhileItLivesAndPutsThePreviousDialogsBack) {
    Dialogs* before = &CurrentDialogs();
    {
        const ScriptedDialogsScope scope;
        EXPECT_EQ(&CurrentDialogs(), &scope.Script());
        CurrentDialogs().Information(QStringLiteral("one"));
        EXPECT_EQ(scope.Script().Texts(), QStringList{QStringLiteral("one")});
    }
    EXPECT_EQ(&CurrentDialogs(), before);
}

TEST(TestFiles, WritesMakeTheirFolderAndListingsShowHiddenFiles) {
    QTemporaryDir dir;
    const QString nested = dir.filePath(QStringLiteral("a/b/c.bin"));
    ASSERT_TRUE(WriteFileBytes(nested, QByteArray("one\0two", 7)));
    EXPECT_EQ(ReadFileBytes(nested), QByteArray("one\0two", 7));
    ASSERT_TRUE(WriteFileBytes(nested, "short"));
    EXPECT_EQ(ReadFileBytes(nested), "short") << "a write replaces the whole file";
    ASSERT_TRUE(WriteFileBytes(dir.filePath(QStringLiteral("a/b/.part")), ""));
    EXPECT_EQ(FilesIn(dir.filePath(QStringLiteral("a/b"))), QStringList({".part", "c.bin"}));
    EXPECT_TRUE(ReadFileBytes(dir.filePath(QStringLiteral("none"))).isEmpty());
    // A file where the folder should be: the write fails instead of pretending.
    EXPECT_FALSE(WriteFileBytes(nested + QStringLiteral("/d.bin"), "x"));
}

TEST(Pictures, ColoursCompareChannelByChannel) {
    EXPECT_EQ(ChannelDistance(qRgba(10, 20, 30, 40), qRgba(13, 18, 30, 240), false), 3);
    EXPECT_EQ(ChannelDistance(qRgba(10, 20, 30, 40), qRgba(13, 18, 30, 240), true), 200);
    EXPECT_TRUE(SameColour(qRgba(10, 20, 30, 0), qRgb(12, 20, 28), 2));
    EXPECT_FALSE(SameColour(qRgb(10, 20, 30), qRgb(10, 20, 33), 2));
    EXPECT_TRUE(Near(qRgba(1, 2, 3, 4), qRgba(3, 0, 5, 6)));
    const ::testing::AssertionResult off = Near(qRgba(1, 2, 3, 4), qRgba(1, 2, 3, 7));
    EXPECT_FALSE(off);
    EXPECT_NE(std::string(off.message()).find("within 2"), std::string::npos) << off.message();
    EXPECT_EQ(Channel(qRgba(1, 2, 3, 4), 24), 4);
    EXPECT_EQ(Channel(qRgba(1, 2, 3, 4), 16), 1);
}

TEST(Pictures, EncodedPicturesAndGrabbedWidgetsKeepTheirPixels) {
    QImage image(4, 3, QImage::Format_ARGB32);
    image.fill(qRgba(0, 0, 0, 0));
    image.setPixel(1, 2, qRgb(200, 10, 10));
    image.setPixel(3, 0, qRgb(200, 10, 10));
    QImage decoded;
    ASSERT_TRUE(decoded.loadFromData(Encode(image, "png"), "PNG"));
    EXPECT_EQ(BoxOf(decoded, qRgb(200, 10, 10)), QRect(1, 0, 3, 3));

    QWidget widget;
    widget.resize(20, 10);
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, QColor(0, 128, 255));
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
    const QImage shot = Grabbed(widget, QImage::Format_RGB32);
    EXPECT_EQ(shot.format(), QImage::Format_RGB32);
    EXPECT_EQ(shot.size(), QSize(20, 10));
    EXPECT_EQ(Px(shot, 19, 9), qRgb(0, 128, 255));
}

} // namespace
} // namespace lanterna::testing
