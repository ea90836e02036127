#include "event_recorder.h"
#include "testing/ftp_test_server.h"
#include "testing/test_files.h"
#include "testing/test_server.h"

#include "transfer/date_time.h"
#include "transfer/file_transfer.h"
#include "transfer/ftp_listing.h"

#include <QDateTime>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace lanterna;
using namespace lanterna::testing;

namespace {

constexpr std::int64_t kNewYear2024 = 1704067200; // 2024-01-01 00:00:00 UTC

void SetModified(const QString& path, std::int64_t seconds) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(
        file.setFileTime(QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC), QFileDevice::FileModificationTime));
}

class Ftp : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Root.isValid() && Local.isValid());
        ASSERT_TRUE(Server.Started());
        Transfer.SetShowDialog(false);
    }
    TFileTransferItem* Add(TFileTransferProtocol protocol, const QString& url,
                           const FtpTestServer* server = nullptr) {
        TFileTransferItem* item = Transfer.Items().Add();
        item->SetProtocol(protocol);
        item->SetURL(url);
        item->SetFTPHost(QStringLiteral("127.0.0.1"));
        item->SetFTPPort((server ? server : &Server)->Port());
        item->SetFTPUserID(QStringLiteral("user"));
        item->SetFTPPassword(QStringLiteral("secret"));
        item->SetTargetDir(Local.path());
        return item;
    }
    QString Remote(const QString& path) const { return Root.path() + u'/' + path; }
    QString Target(const QString& name) const { return Local.filePath(name); }
    bool Run() {
        Recorder.Events.clear();
        return RunToEnd(Transfer, Recorder, 60);
    }

    QTemporaryDir Root;
    QTemporaryDir Local;
    FtpTestServer Server{Root.path()};
    TFileTransfer Transfer;
    EventRecorder Recorder{Transfer};
};

} // namespace

TEST_F(Ftp, ConsecutiveItemsOfOneServerShareOneLogIn) {
    QTemporaryDir otherRoot;
    FtpTestServer other(otherRoot.path());
    ASSERT_TRUE(other.Started());
    ASSERT_TRUE(WriteFileBytes(Remote("pub/a.bin"), Pattern(10000)));
    ASSERT_TRUE(WriteFileBytes(Remote("pub/b.bin"), Pattern(5000)));
    ASSERT_TRUE(WriteFileBytes(otherRoot.filePath("c.bin"), Pattern(3000)));
    Add(wpFtp, "/pub/a.bin");
    Add(wpFtp, "/pub/b.bin");
    Add(wpFtp, "c.bin", &other);
    bool closedBeforeThird = false;
    Transfer.OnFileStart = [&](TFileTransfer*, int idx) {
        if (idx == 2)
            closedBeforeThird = QTest::qWaitFor([&] { return Server.Commands().contains("QUIT"); }, 10000);
    };
    ASSERT_TRUE(Run());
    EXPECT_EQ(Server.Logins(), QStringList({"user"}));
    EXPECT_EQ(other.Logins(), QStringList({"user"}));
    EXPECT_TRUE(closedBeforeThird) << "the second item closes the shared connection at its end";
    EXPECT_EQ(ReadFileBytes(Target("a.bin")), Pattern(10000));
    EXPECT_EQ(ReadFileBytes(Target("b.bin")), Pattern(5000));
    EXPECT_EQ(ReadFileBytes(Target("c.bin")), Pattern(3000));
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(Transfer.Items()[i]->Success()) << i;
    EXPECT_EQ(Recorder.Only("Progress").last(), "Progress 3 3000 3000");
}

TEST_F(Ftp, DateChecksOfADownload) {
    ASSERT_TRUE(WriteFileBytes(Remote("pub/a.bin"), Pattern(100)));
    SetModified(Remote("pub/a.bin"), kNewYear2024);
    const double remoteDate = DateTimeFromUnixSeconds(kNewYear2024);
    int dateChecks = 0;
    Add(wpFtp, "/pub/missing.bin")->SetCopyNewerOnly(true);
    Add(wpFtp, "/pub/a.bin")->SetCopyNewerOnly(true);
    Transfer.Items()[1]->SetFileDate(remoteDate);
    Add(wpFtp, "/pub/a.bin")->SetCopyNewerOnly(true);
    Transfer.Items()[2]->SetFileDate(remoteDate - 1);
    ASSERT_TRUE(Run());
    EXPECT_EQ(Recorder.Only("URLNotFound"), QStringList({"URLNotFound /pub/missing.bin"}));
    EXPECT_EQ(Recorder.Only("NoNewFileFound").size(), 1);
    EXPECT_TRUE(Transfer.Items()[1]->NoNewFile());
    EXPECT_FALSE(Transfer.Items()[1]->Success());
    EXPECT_TRUE(Transfer.Items()[2]->Success()) << "the remote file is newer than the item's date";
    EXPECT_DOUBLE_EQ(Transfer.Items()[2]->RemoteFileDate(), remoteDate);
    EXPECT_EQ(ReadFileBytes(Target("a.bin")), Pattern(100));

    // With the handler assigned a name that is not found is never dated.
    Transfer.OnFileDateCheck = [&](TFileTransfer*, int, double, bool&) { ++dateChecks; };
    Transfer.Items().Delete(2);
    Transfer.Items().Delete(1);
    ASSERT_TRUE(Run());
    EXPECT_EQ(dateChecks, 0);
    EXPECT_EQ(Recorder.Only("URLNotFound").size(), 1);
}

TEST_F(Ftp, MultiDownloadFetchesEveryMatchUnderItsOwnName) {
    ASSERT_TRUE(WriteFileBytes(Remote("pub/x.zip"), Pattern(7000)));
    ASSERT_TRUE(WriteFileBytes(Remote("pub/y.ZIP"), Pattern(10)));
    ASSERT_TRUE(WriteFileBytes(Remote("pub/z.txt"), Pattern(10)));
    ASSERT_TRUE(QDir().mkpath(Remote("pub/folder.zip")));
    Add(wpMultiFtp, "/pub/*.zip");
    ASSERT_TRUE(Run());
    QStringList done = Recorder.Only("MultiFTPFileDone");
    done.sort();
    EXPECT_EQ(done, QStringList({"MultiFTPFileDone x.zip", "MultiFTPFileDone y.ZIP"}));
    EXPECT_EQ(Recorder.Only("FileDone"), QStringList({"FileDone 0"}));
    EXPECT_EQ(FilesIn(Local.path()), QStringList({"x.zip", "y.ZIP"}));
    EXPECT_EQ(ReadFileBytes(Target("x.zip")), Pattern(7000));
    EXPECT_TRUE(Transfer.Items()[0]->Success());
    EXPECT_EQ(Server.Logins().size(), 1) << "the files share the item's connection";
}

TEST_F(Ftp, MultiDownloadSkipsListedNamesThatLeaveTheTargetFolder) {
    // The server's "evil" folder lists "../evil.zip" and "a/b.zip" beside "good.zip".
    ASSERT_TRUE(WriteFileBytes(Remote("evil/good.zip"), Pattern(4)));
    QTemporaryDir parent;
    const QString inner = parent.filePath("inner");
    Add(wpMultiFtp, "/evil/*.zip")->SetTargetDir(inner);
    ASSERT_TRUE(Run());
    EXPECT_EQ(Recorder.Only("MultiFTPFileDone"), QStringList({"MultiFTPFileDone good.zip"}));
    EXPECT_EQ(FilesIn(inner), QStringList({"good.zip"}));
    EXPECT_EQ(FilesIn(parent.path()), QStringList());
}

TEST_F(Ftp, UploadWithCopyNewerOnly) {
    ASSERT_TRUE(WriteFileBytes(Remote("up/r.txt"), "remote"));
    SetModified(Remote("up/r.txt"), kNewYear2024);
    ASSERT_TRUE(WriteFileBytes(Target("r.txt"), "local copy"));
    const double remoteDate = DateTimeFromUnixSeconds(kNewYear2024);
    TFileTransferItem* item = Add(wpFtpUpload, Target("r.txt"));
    item->SetTargetDir("/up");
    item->SetCopyNewerOnly(true);
    item->SetFileDate(remoteDate - 1);
    ASSERT_TRUE(Run());
    EXPECT_TRUE(Transfer.Items()[0]->NoNewFile()) << "the remote copy is newer";
    EXPECT_EQ(ReadFileBytes(Remote("up/r.txt")), "remote");

    Transfer.Items()[0]->SetFileDate(remoteDate);
    ASSERT_TRUE(Run());
    EXPECT_EQ(Recorder.Only("CopyOverWrite"), QStringList({"CopyOverWrite r.txt"}));
    EXPECT_TRUE(Transfer.Items()[0]->Success());
    EXPECT_FALSE(Transfer.Items()[0]->NoNewFile());
    EXPECT_EQ(ReadFileBytes(Remote("up/r.txt")), "local copy");
}

TEST_F(Ftp, UploadsIntoFoldersMadePartByPartAndTheirFailures) {
    ASSERT_TRUE(WriteFileBytes(Target("f.bin"), Pattern(9000)));
    ASSERT_TRUE(WriteFileBytes(Target("refuse-f.bin"), Pattern(10)));
    ASSERT_TRUE(WriteFileBytes(Remote("keep.bin"), "kept"));
    Add(wpFtpUpload, Target("f.bin"))->SetTargetDir("new/deeper\\deepest");
    Add(wpFtpUpload, Target("refuse-f.bin"))->SetTargetDir("/");
    TFileTransferItem* missing = Add(wpFtpUpload, Target("gone.bin"));
    missing->SetTargetDir("/");
    missing->SetTargetFilename("keep.bin");
    ASSERT_TRUE(Run());
    EXPECT_EQ(ReadFileBytes(Remote("new/deeper/deepest/f.bin")), Pattern(9000));
    EXPECT_TRUE(Transfer.Items()[0]->Success());
    EXPECT_EQ(Recorder.Only("URLNotFound"),
              QStringList({"URLNotFound " + Target("refuse-f.bin"), "URLNotFound " + Target("gone.bin")}));
    EXPECT_EQ(Recorder.Only("ErrorInfo"),
              QStringList({"ErrorInfo 1 Cannot open source file " + Target("gone.bin")}));
    EXPECT_EQ(ReadFileBytes(Remote("keep.bin")), "kept") << "a missing source leaves the remote file alone";
    EXPECT_FALSE(Transfer.Items()[1]->Success());
    EXPECT_FALSE(Transfer.Items()[2]->Success());
}

TEST_F(Ftp, MultiUploadSendsEveryMatchingFile) {
    ASSERT_TRUE(WriteFileBytes(Target("a.log"), Pattern(5000)));
    ASSERT_TRUE(WriteFileBytes(Target("b.log"), Pattern(1)));
    ASSERT_TRUE(WriteFileBytes(Target("c.txt"), Pattern(1)));
    Add(wpMultiFtpUpload, Local.path() + "/*.log")->SetTargetDir("logs/today");
    ASSERT_TRUE(Run());
    QStringList done = Recorder.Only("MultiFTPFileDone");
    done.sort();
    EXPECT_EQ(done, QStringList({"MultiFTPFileDone a.log", "MultiFTPFileDone b.log"}));
    EXPECT_EQ(ReadFileBytes(Remote("logs/today/a.log")), Pattern(5000));
    EXPECT_EQ(ReadFileBytes(Remote("logs/today/b.log")), Pattern(1));
    EXPECT_FALSE(QFileInfo::exists(Remote("logs/today/logs"))) << "the folder is made once";
    EXPECT_EQ(Server.Logins().size(), 1);
}

TEST_F(Ftp, ListingFillsNamesAndDetails) {
    ASSERT_TRUE(WriteFileBytes(Remote("pub/big.dat"), Pattern(70000)));
    SetModified(Remote("pub/big.dat"), kNewYear2024);
    ASSERT_TRUE(QDir().mkpath(Remote("pub/sub.dat")));
    ASSERT_TRUE(WriteFileBytes(Remote("pub/other.txt"), Pattern(1)));
    Add(wpFtpList, "/pub/*.dat");
    Add(wpFtpList, "/pub/*.nothing");
    Add(wpFtpList, "/missing/*.dat");
    ASSERT_TRUE(Run());
    QStringList names = Transfer.Items()[0]->FileList();
    names.sort();
    EXPECT_EQ(names, QStringList({"big.dat", "sub.dat"}));
    for (const TFileDetailItem& detail : Transfer.Items()[0]->FileDetails()) {
        if (detail.Name == "big.dat") {
            EXPECT_EQ(detail.SizeLow, 70000u);
            EXPECT_EQ(detail.SizeHigh, 0u);
            EXPECT_EQ(detail.Attributes & kFileAttributeDirectory, 0u);
            EXPECT_EQ(detail.LastWriteTime, FileTimeFromUnixSeconds(kNewYear2024));
        } else {
            EXPECT_NE(detail.Attributes & kFileAttributeDirectory, 0u);
        }
    }
    EXPECT_TRUE(Transfer.Items()[0]->Success());
    EXPECT_TRUE(Transfer.Items()[1]->Success()) << "nothing matched, and that is no failure";
    EXPECT_TRUE(Transfer.Items()[1]->FileList().isEmpty());
    EXPECT_TRUE(Transfer.Items()[1]->FileDetails().empty());
    EXPECT_FALSE(Transfer.Items()[2]->Success()) << "a folder that is not there";
    EXPECT_EQ(Recorder.Only("URLNotFound"), QStringList({"URLNotFound /missing/*.dat"}));
}

TEST_F(Ftp, DeletionAndConnectionTest) {
    ASSERT_TRUE(WriteFileBytes(Remote("bin/old.bin"), "x"));
    TFileTransferItem* present = Add(wpFtpDelete, "old.bin");
    present->SetTargetDir("bin");
    Add(wpFtpDelete, "/bin/never.bin")->SetTargetDir("/bin");
    Add(wpFtpTest, {});
    Add(wpFtpTest, {})->SetFTPPassword("wrong");
    ASSERT_TRUE(Run());
    EXPECT_EQ(Recorder.Only("RemovedFile"), QStringList({"RemovedFile 0"}));
    EXPECT_EQ(Recorder.Only("RemovedFileFailed"), QStringList({"RemovedFileFailed 1"}));
    EXPECT_FALSE(QFileInfo::exists(Remote("bin/old.bin")));
    EXPECT_TRUE(Transfer.Items()[2]->Success());
    EXPECT_FALSE(Transfer.Items()[3]->Success());
    EXPECT_EQ(Recorder.Only("ErrorInfo"),
              QStringList({"ErrorInfo 6 Cannot connect to FTP server 127.0.0.1"}));
}

TEST_F(Ftp, FaultsMidDownloadKeepTheOldTarget) {
    ASSERT_TRUE(WriteFileBytes(Remote("drop-a.bin"), Pattern(200000)));
    ASSERT_TRUE(WriteFileBytes(Remote("slow-a.bin"), Pattern(400000)));
    ASSERT_TRUE(WriteFileBytes(Target("a.bin"), "old"));
    Add(wpFtp, "drop-a.bin")->SetTargetFilename("a.bin");
    ASSERT_TRUE(Run());
    EXPECT_FALSE(Transfer.Items()[0]->Success());
    ASSERT_EQ(Recorder.Only("Error").size(), 1);
    EXPECT_GE(Recorder.Only("Error")[0].mid(6).toInt(), 12000) << "the library's code";
    EXPECT_EQ(ReadFileBytes(Target("a.bin")), "old");
    EXPECT_EQ(FilesIn(Local.path()), QStringList({"a.bin"}));

    Transfer.Items()[0]->SetURL("slow-a.bin");
    Transfer.OnCopyProgress = [](TFileTransfer* sender, int, std::uint32_t, std::uint32_t) {
        sender->CancelCopy();
    };
    ASSERT_TRUE(Run());
    EXPECT_TRUE(Transfer.Items()[0]->Cancelled());
    EXPECT_EQ(ReadFileBytes(Target("a.bin")), "old");
    EXPECT_EQ(FilesIn(Local.path()), QStringList({"a.bin"}));
}

TEST_F(Ftp, AStalledServerEndsTheItemWithinTheTimeOut) {
    ASSERT_TRUE(WriteFileBytes(Remote("stall-a.bin"), Pattern(100000)));
    Transfer.SetTimeout(2);
    Add(wpFtp, "stall-a.bin");
    ASSERT_TRUE(Run());
    EXPECT_EQ(Recorder.Only("Error"), QStringList({"Error 12002"}));
    EXPECT_EQ(FilesIn(Local.path()), QStringList());
}

TEST_F(Ftp, ActiveAndPassiveModeAndAnonymousLogIn) {
    ASSERT_TRUE(WriteFileBytes(Remote("a.bin"), Pattern(50000)));
    Add(wpFtp, "a.bin")->SetTargetFilename("active.bin");
    ASSERT_TRUE(Run());
    EXPECT_EQ(ReadFileBytes(Target("active.bin")), Pattern(50000));
    const QStringList active = Server.Commands();
    EXPECT_TRUE(active.filter(QRegularExpression("^(EPRT|PORT) ")).size() > 0);
    EXPECT_TRUE(active.filter(QRegularExpression("^(EPSV|PASV)")).isEmpty());

    Transfer.SetFTPPassive(true);
    Transfer.Items()[0]->SetTargetFilename("passive.bin");
    Transfer.Items()[0]->SetFTPPassword({});
    ASSERT_TRUE(Run());
    EXPECT_EQ(ReadFileBytes(Target("passive.bin")), Pattern(50000));
    EXPECT_TRUE(Server.Commands().mid(active.size()).filter(QRegularExpression("^(EPSV|PASV)")).size() > 0);
    EXPECT_EQ(Server.Logins(), QStringList({"user", "anonymous"})) << "no password: the anonymous log-in";
}
