#include "event_recorder.h"
#include "testing/ftp_test_server.h"
#include "testing/test_files.h"
#include "testing/test_server.h"

#include "transfer/file_transfer.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

using namespace lanterna;
using namespace lanterna::testing;

namespace {

// Runs whose component is destroyed or driven again from inside the run. Built with the address
// checker, these show any use of the session, the dialog or the component after it was freed.
class Reentry : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Server.Started());
        ASSERT_TRUE(Folder.isValid());
        Transfer->SetShowDialog(true);
        Transfer->SetShowOpenFile(true);
        Transfer->SetTimeout(20);
    }
    void Add(const QString& path) {
        TFileTransferItem* item = Transfer->Items().Add();
        item->SetURL(Server.Url(path));
        item->SetTargetDir(Folder.path());
    }
    bool StartAndAwaitDestruction() {
        if (!Transfer->StartCopy())
            return false;
        return QTest::qWaitFor([&] { return Destroyed; }, 60000);
    }
    QStringList Files() const {
        return QDir(Folder.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    TestServer Server;
    QTemporaryDir Folder;
    std::unique_ptr<TFileTransfer> Transfer = std::make_unique<TFileTransfer>();
    bool Destroyed = false;
    QObject* Watch = nullptr;
};

} // namespace

TEST_F(Reentry, DestroyedFromItsHandlers) {
    struct Case {
        const char* Handler;
        QStringList Left;
    };
    for (const Case& c :
         {Case{"progress", {}}, Case{"filedone", {"first.bin"}},
          Case{"copydone", {"first.bin", "second.bin"}}, Case{"overwrite", {"first.bin", "second.bin"}}}) {
        SCOPED_TRACE(c.Handler);
        for (const QString& name : Files())
            QFile::remove(Folder.filePath(name));
        Transfer = std::make_unique<TFileTransfer>();
        SetUp();
        Destroyed = false;
        Add("/data/300000/first.bin");
        Add("/data/300000/second.bin");
        const QString handler = c.Handler;
        auto destroy = [this] {
            Transfer.reset();
            Destroyed = true;
        };
        if (handler == "progress")
            Transfer->OnCopyProgress = [=](TFileTransfer*, int, std::uint32_t size, std::uint32_t) {
                if (size >= 100000)
                    destroy();
            };
        else if (handler == "filedone")
            Transfer->OnFileDone = [=](TFileTransfer*, int) { destroy(); };
        else if (handler == "copydone")
            Transfer->OnCopyDone = [=](TFileTransfer*) { destroy(); };
        else {
            QFile file(Folder.filePath("second.bin"));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            Transfer->OnCopyOverWrite = [=](TFileTransfer*, const QString&, bool&) { destroy(); };
        }
        ASSERT_TRUE(StartAndAwaitDestruction());
        QTest::qWait(50); // whatever the run left queued is dispatched
        EXPECT_EQ(Files(), c.Left) << "complete files only, no temporary file";
    }
}

TEST_F(Reentry, DestroyedFromAHandlerOrATimerDuringFtpTransfers) {
    QTemporaryDir root;
    QTemporaryDir sources;
    FtpTestServer ftp(root.path());
    ASSERT_TRUE(ftp.Started());
    ASSERT_TRUE(WriteFileBytes(root.filePath("first.bin"), Pattern(300000)));
    ASSERT_TRUE(WriteFileBytes(root.filePath("second.bin"), Pattern(300000)));
    ASSERT_TRUE(WriteFileBytes(root.filePath("stall-third.bin"), Pattern(300000)));
    ASSERT_TRUE(WriteFileBytes(sources.filePath("up.bin"), Pattern(300000)));
    struct Case {
        const char* Name;
        TFileTransferProtocol Protocol;
        const char* Url;
        int Items; // two items of one server keep the connection between them
    };
    for (const Case& c :
         {Case{"download", wpFtp, "first.bin", 1}, Case{"kept download", wpFtp, "second.bin", 2},
          Case{"upload", wpFtpUpload, "up.bin", 1}, Case{"kept upload", wpFtpUpload, "up.bin", 2},
          // Last: the stalled file holds the whole server.
          Case{"stalled kept download", wpFtp, "stall-third.bin", 2}}) {
        SCOPED_TRACE(c.Name);
        Transfer = std::make_unique<TFileTransfer>();
        SetUp();
        Destroyed = false;
        for (int i = 0; i < c.Items; ++i) {
            TFileTransferItem* item = Transfer->Items().Add();
            item->SetProtocol(c.Protocol);
            item->SetURL(c.Protocol == wpFtp ? QString(c.Url) : sources.filePath(c.Url));
            item->SetTargetDir(c.Protocol == wpFtp ? Folder.path() : QStringLiteral("/up"));
            item->SetFTPHost(QStringLiteral("127.0.0.1"));
            item->SetFTPPort(ftp.Port());
            item->SetFTPUserID(QStringLiteral("user"));
            item->SetFTPPassword(QStringLiteral("secret"));
        }
        auto destroy = [this] {
            Transfer.reset();
            Destroyed = true;
        };
        if (QByteArray(c.Name).startsWith("stalled"))
            QTimer::singleShot(500, destroy);
        else
            Transfer->OnCopyProgress = [=](TFileTransfer*, int, std::uint32_t size, std::uint32_t) {
                if (size >= 100000)
                    destroy();
            };
        ASSERT_TRUE(StartAndAwaitDestruction());
        QTest::qWait(50);
        EXPECT_TRUE(Files().isEmpty()) << "no temporary file is left";
    }
}

TEST_F(Reentry, DestroyedByATimerWhileTheRunWaitsForTheNetwork) {
    Add("/stall/100000/5000/stalled.bin");
    QTimer::singleShot(500, [this] {
        Transfer.reset();
        Destroyed = true;
    });
    ASSERT_TRUE(StartAndAwaitDestruction());
    QTest::qWait(50);
    EXPECT_TRUE(Files().isEmpty());
}

TEST_F(Reentry, StartAndCancelFromInsideTheRun) {
    Transfer->SetShowOpenFile(false);
    EventRecorder recorder(*Transfer);
    QList<bool> restarted;
    Transfer->OnFileStart = [&](TFileTransfer* sender, int idx) {
        recorder.Events << QStringLiteral("FileStart %1").arg(idx);
        restarted << sender->StartCopy();
    };
    Transfer->OnCopyProgress = [&](TFileTransfer* sender, int fileidx, std::uint32_t, std::uint32_t) {
        if (fileidx == 2)
            sender->CancelCopy();
    };
    Add("/data/20000/one.bin");
    Add("/data/20000/two.bin");
    Add("/data/20000/three.bin");
    ASSERT_TRUE(RunToEnd(*Transfer, recorder));
    EXPECT_EQ(restarted, QList<bool>({false, false})) << "a second run is refused while one is active";
    EXPECT_EQ(recorder.Only("FileDone"), QStringList({"FileDone 0"}));
    EXPECT_EQ(Files(), QStringList({"one.bin"}));
    QTest::qWait(50);
    EXPECT_EQ(recorder.Events.count("CopyDone"), 1) << "no refused start ran later";
}
