// The real updater killed (-9) at random moments of a signed five-file release, then one start of
// the real player in the program folder: every time the folder holds the whole old set or the whole
// new one, and nothing of the cut runs piles up.
#include "testing/local_http_server.h"
#include "testing/minisign_tool.h"
#include "testing/test_files.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <csignal>

using lanterna::testing::FilesIn;
using lanterna::testing::LocalHttpServer;
using lanterna::testing::MinisignKeyPair;
using lanterna::testing::ReadFileBytes;
using lanterna::testing::WriteFileBytes;

namespace {

const QStringList kFiles = {QStringLiteral("UpDate"), QStringLiteral("a.bin"), QStringLiteral("b.bin"),
                            QStringLiteral("c.bin"), QStringLiteral("d.bin")};
constexpr int kRuns = 16;

QByteArray Content(const QString& name, const char* release) {
    return release + (' ' + name.toUtf8()) + QByteArray(700000, release[0]);
}

// Which release the folder holds: "old", "new", or what is mixed.
QString SetIn(const QString& folder) {
    QStringList found;
    for (const QString& name : kFiles) {
        const QByteArray bytes = ReadFileBytes(folder + u'/' + name);
        found << (bytes == Content(name, "old")   ? QStringLiteral("old")
                  : bytes == Content(name, "new") ? QStringLiteral("new")
                                                  : name + QStringLiteral(" is neither"));
    }
    found.removeDuplicates();
    return found.join(u',');
}

QProcessEnvironment Unattended(const QString& log) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("LANTERNA_UNATTENDED_LOG"), log);
    return env;
}

} // namespace

TEST(KilledUpdater, EveryCutLeavesTheWholeOldOrTheWholeNewSet) {
    MinisignKeyPair pair;
    ASSERT_TRUE(pair.Ready());
    QTemporaryDir published;
    LocalHttpServer server(published.path());
    ASSERT_FALSE(server.Url().isEmpty());
    QByteArray description = "[UPDATE]\nVer=1.3\nProductName=Lanterna\nFiles=5\n";
    for (int i = 1; i <= kFiles.size(); ++i) {
        const QString& name = kFiles[i - 1];
        const QByteArray bytes = Content(name, "new");
        ASSERT_TRUE(WriteFileBytes(published.filePath(name), bytes));
        const QByteArray key = "File" + QByteArray::number(i);
        description += key + "=" + server.Url().toUtf8() + "/" + name.toUtf8() + "\n" + key +
                       "Size=" + QByteArray::number(bytes.size()) + "\n" + key +
                       "SHA256=" + QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex() + "\n";
    }
    QTemporaryDir work;
    const QString folder = work.filePath(QStringLiteral("program"));
    ASSERT_TRUE(WriteFileBytes(folder + QStringLiteral("/UpDate.dat"), description));
    ASSERT_TRUE(pair.Sign(folder + QStringLiteral("/UpDate.dat")));
    ASSERT_TRUE(WriteFileBytes(folder + QStringLiteral("/UpDate.pub"), pair.PublicKey()));
    const QString player = folder + QStringLiteral("/Lanterna");
    ASSERT_TRUE(QFile::copy(QStringLiteral(LANTERNA_PLAYER_BINARY), player));
    const QString updater = work.filePath(QStringLiteral("UpDate-under-test"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(LANTERNA_UPDATER_BINARY), updater));

    QRandomGenerator random(20261210);
    QStringList outcomes;
    for (int run = 0; run < kRuns; ++run) {
        for (const QString& name : kFiles)
            ASSERT_TRUE(WriteFileBytes(folder + u'/' + name, Content(name, "old")));
        QFile::remove(folder + QStringLiteral("/UpDate.state"));
        const int after = int(random.bounded(900));
        QProcess cut;
        cut.setProcessEnvironment(Unattended(work.filePath(QStringLiteral("updater.log"))));
        cut.setWorkingDirectory(folder);
        cut.start(updater, {QStringLiteral("AUTO")});
        ASSERT_TRUE(cut.waitForStarted(10000));
        QTest::qWait(after);
        ::kill(pid_t(cut.processId()), SIGKILL);
        ASSERT_TRUE(cut.waitForFinished(10000));

        // A player the updater had started yet is not the start under test.
        QProcess::execute(QStringLiteral("pkill"), {QStringLiteral("-KILL"), QStringLiteral("-f"), player});
        QProcess start;
        start.setProcessEnvironment(Unattended(work.filePath(QStringLiteral("player.log"))));
        start.setWorkingDirectory(work.path());
        start.start(player, {});
        ASSERT_TRUE(start.waitForStarted(10000));
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return !QFileInfo::exists(folder + QStringLiteral("/.release-journal")); }, 20000))
            << "the start undoes or keeps the cut apply";
        QTest::qWait(300);
        start.kill();
        start.waitForFinished(10000);

        const QString set = SetIn(folder);
        EXPECT_TRUE(set == QStringLiteral("old") || set == QStringLiteral("new"))
            << "killed after " << after << " ms: " << set.toStdString();
        outcomes << set;
        for (const QString& name : FilesIn(folder))
            EXPECT_FALSE(name.endsWith(QStringLiteral(".part")) ||
                         name.startsWith(QStringLiteral(".release-")))
                << "left after " << after << " ms: " << name.toStdString();
    }
    // Over the runs the cuts fall before and after the apply.
    EXPECT_TRUE(outcomes.contains(QStringLiteral("old"))) << outcomes.join(u' ').toStdString();
}
