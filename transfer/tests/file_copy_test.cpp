#include "event_recorder.h"
#include "testing/small_disk.h"
#include "testing/test_files.h"
#include "testing/test_server.h"

#include "transfer/file_transfer.h"
#include "transfer/internal/date_time.h"
#include "transfer/internal/progress_dialog.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace lanterna;
using namespace lanterna::testing;

namespace {

class FileCopy : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Sources.isValid() && Targets.isValid());
        Transfer.SetShowDialog(false);
    }
    TFileTransferItem* Add(const QString& url) {
        TFileTransferItem* item = Transfer.Items().Add();
        item->SetProtocol(wpFile);
        item->SetURL(url);
        item->SetTargetDir(Targets.path());
        return item;
    }
    QString Source(const QString& name) const { return Sources.filePath(name); }
    QString Target(const QString& name) const { return Targets.filePath(name); }
    bool Run() {
        Recorder.Events.clear();
        return RunToEnd(Transfer, Recorder, 120);
    }

    QTemporaryDir Sources;
    QTemporaryDir Targets;
    TFileTransfer Transfer;
    EventRecorder Recorder{Transfer};
};

} // namespace

TEST_F(FileCopy, EachFailureHasItsCodeAndText) {
    ASSERT_TRUE(WriteFileBytes(Source("same.bin"), "x"));
    ASSERT_TRUE(WriteFileBytes(Source("a.bin"), "a"));
    ASSERT_TRUE(WriteFileBytes(Target("blocker"), "a file where a folder would go"));
    Add(Source("same.bin"))->SetTargetDir(Sources.path());
    Add(Source("missing.bin"));
    Add(Source("a.bin"))->SetTargetDir(Target("blocker/sub"));
    Add(Sources.path());
    ASSERT_TRUE(Run());
    EXPECT_EQ(Recorder.Only("ErrorInfo"),
              QStringList({"ErrorInfo 0 Cannot copy identical files " + Source("same.bin"),
                           "ErrorInfo 1 Cannot open source file " + Source("missing.bin"),
                           "ErrorInfo 3 Cannot create target file " + Target("blocker/sub/a.bin"),
                           "ErrorInfo 1 Cannot open source file " + Sources.path()}));
    EXPECT_EQ(Recorder.Only("Error"), QStringList({"Error 0", "Error 1", "Error 3", "Error 1"}));
    EXPECT_EQ(Recorder.Only("FileDone").size(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(Transfer.Items()[i]->Success()) << i;
    EXPECT_EQ(ReadFileBytes(Source("same.bin")), "x");
}

TEST_F(FileCopy, OnASmallDiskWhatFitsLandsAndWhatDoesNotIsRefusedAtOnce) {
    const SmallDisk disk(20 * 1024 * 1024);
    if (!disk.Mounted())
        GTEST_SKIP() << "a small disk needs the right to mount a tmpfs: " << disk.Error().toStdString();
    ASSERT_TRUE(WriteFileBytes(Source("fits.bin"), Pattern(15000000)));
    ASSERT_TRUE(WriteFileBytes(Source("large.bin"), Pattern(25000000)));
    ASSERT_TRUE(WriteFileBytes(disk.FilePath("large.bin"), "old"));
    Add(Source("fits.bin"))->SetTargetDir(disk.Path());
    Add(Source("large.bin"))->SetTargetDir(disk.Path());
    ASSERT_TRUE(Run());
    const QStringList infos = Recorder.Only("ErrorInfo");
    ASSERT_EQ(infos.size(), 1);
    EXPECT_TRUE(infos[0].startsWith("ErrorInfo 8 Not enough disk space for " + disk.FilePath("large.bin") +
                                    ": 25000000 bytes needed, "))
        << infos[0].toStdString();
    EXPECT_TRUE(Recorder.Only("Progress").filter(QRegularExpression("^Progress 2 ")).isEmpty());
    EXPECT_EQ(ReadFileBytes(disk.FilePath("fits.bin")), Pattern(15000000));
    EXPECT_EQ(ReadFileBytes(disk.FilePath("large.bin")), "old");
    EXPECT_EQ(FilesIn(disk.Path()), QStringList({"fits.bin", "large.bin"}));
}

TEST_F(FileCopy, AnEmptyFileFillsTheBar) {
    ASSERT_TRUE(WriteFileBytes(Source("empty.bin"), {}));
    Add("file://" + Source("empty.bin"));
    QStringList seen;
    Transfer.OnCopyProgress = [&](TFileTransfer* sender, int, std::uint32_t, std::uint32_t) {
        seen << QString::number(sender->Dialog()->Bar()->value()) + u' ' +
                    sender->Dialog()->ByteLine()->text();
    };
    ASSERT_TRUE(Run());
    EXPECT_EQ(seen, QStringList({"100 Progress : 0 bytes of 0 bytes"}));
    EXPECT_TRUE(Transfer.Items()[0]->Success());
    EXPECT_TRUE(QFileInfo::exists(Target("empty.bin")));
    EXPECT_EQ(ReadFileBytes(Target("empty.bin")), QByteArray());
}

TEST_F(FileCopy, SharesAreMountedFolders) {
    ASSERT_TRUE(WriteFileBytes(Source("dir/on share.txt"), "shared"));
    TFileTransferItem* item = Add("dir/on share.txt");
    item->SetFTPHost(Sources.path());
    item->SetTargetFilename("copy.txt");
    TFileTransferItem* unreachable = Add("x.txt");
    unreachable->SetFTPHost(Sources.path() + "/no such share");
    ASSERT_TRUE(Run());
    EXPECT_EQ(ReadFileBytes(Target("copy.txt")), "shared");
    EXPECT_TRUE(Transfer.Items()[0]->Success());
    EXPECT_EQ(Recorder.Only("ConnectError"), QStringList({"ConnectError", "ConnectError"}))
        << "at connecting and again at disconnecting";
    EXPECT_FALSE(Transfer.Items()[1]->Success());
    EXPECT_EQ(Recorder.Only("Error"), QStringList());
}

TEST_F(FileCopy, ALargeFileArrivesIntactAndACancelKeepsTheOldTarget) {
    const qsizetype size = 100 * 1024 * 1024;
    ASSERT_TRUE(WriteFileBytes(Source("big.bin"), Pattern(size)));
    Add(Source("big.bin"));
    ASSERT_TRUE(Run());
    EXPECT_TRUE(Transfer.Items()[0]->Success());
    QFile copied(Target("big.bin"));
    ASSERT_TRUE(copied.open(QIODevice::ReadOnly));
    QCryptographicHash hash(QCryptographicHash::Sha256);
    ASSERT_TRUE(hash.addData(&copied));
    EXPECT_EQ(hash.result(), QCryptographicHash::hash(Pattern(size), QCryptographicHash::Sha256));
    EXPECT_EQ(Recorder.Only("Progress").last(), QStringLiteral("Progress 1 %1 %1").arg(size));

    ASSERT_TRUE(WriteFileBytes(Target("big.bin"), "old"));
    int blocks = 0;
    Transfer.OnCopyProgress = [&](TFileTransfer* sender, int, std::uint32_t, std::uint32_t) {
        if (++blocks == 3)
            sender->CancelCopy();
    };
    ASSERT_TRUE(Run());
    EXPECT_EQ(blocks, 3);
    EXPECT_TRUE(Transfer.Items()[0]->Cancelled());
    EXPECT_EQ(ReadFileBytes(Target("big.bin")), "old");
    EXPECT_EQ(FilesIn(Targets.path()), QStringList({"big.bin"}));
}

TEST_F(FileCopy, CopyNewerOnlyComparesTheSourceDate) {
    ASSERT_TRUE(WriteFileBytes(Source("dated.txt"), "new"));
    const QDateTime modified = QFileInfo(Source("dated.txt")).lastModified();
    TFileTransferItem* item = Add(Source("dated.txt"));
    item->SetCopyNewerOnly(true);
    item->SetFileDate(NowDateTime() + 1);
    ASSERT_TRUE(Run());
    EXPECT_TRUE(Transfer.Items()[0]->NoNewFile());
    EXPECT_FALSE(QFileInfo::exists(Target("dated.txt")));
    EXPECT_EQ(Recorder.Only("NoNewFileFound").size(), 1);

    Transfer.Items()[0]->SetFileDate(NowDateTime() - 1);
    ASSERT_TRUE(Run());
    EXPECT_TRUE(Transfer.Items()[0]->Success());
    EXPECT_EQ(ReadFileBytes(Target("dated.txt")), "new");
    EXPECT_NEAR(Transfer.Items()[0]->RemoteFileDate(), DateTimeFromLocal(modified), 1e-6);
}
