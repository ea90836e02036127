#include "event_recorder.h"
#include "testing/ftp_test_server.h"
#include "testing/test_files.h"
#include "testing/test_server.h"

#include "transfer/file_transfer.h"
#include "transfer/internal/date_time.h"
#include "transfer/internal/ftp_listing.h"

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

TEST_F(Ftp, ANameOrFolderThatWouldAddACommandIsRefused) {
    ASSERT_TRUE(WriteFileBytes(Remote("a.bin"), "a"));
    ASSERT_TRUE(WriteFileBytes(Remote("b.bin"), "b"));
    Add(wpFtpDelete, "a.bin\r\nDELE b.bin")->SetTargetDir({});
    Add(wpFtpDelete, "a.bin")->SetTargetDir("/\r\nDELE b.bin");
    ASSERT_TRUE(Run());
    EXPECT_EQ(Recorder.Only("RemovedFileFailed"), QStringList({"RemovedFileFailed 0"}));
    EXPECT_TRUE(Recorder.Only("RemovedFile").isEmpty());
    EXPECT_FALSE(Transfer.Items()[1]->Success());
    EXPECT_TRUE(QFileInfo::exists(Remote("a.bin")));
    EXPECT_TRUE(QFileInfo::exists(Remote("b.bin")));
}

TEST_F(Ftp, FaultsMidDownloadKeepTheOldTarget) {
    ASSERT_TRUE(WriteFileBytes(Remote("drop-a.bin"), Pattern(200000)));
    ASSERT_TRUE(WriteFileBytes(Remote("slow-a.bin"), Pattern(400000)));
    ASSERT_TRUE(WriteFileBytes(Target("a.bin"), "old"));
    Add(wpFtp, "drop-a.bin")->SetTargetFilename("a.bin");
    ASSERT_TRUE(Run());
    EXPECT_FALSE(Transfer.Items()[0]->Success());
    ASSERT_EQ(Recorder.Only("Error").size(), 1);
    // In active mode the library notes a harmless failure on its way to the data connection; the
    // report is the failure that ended the transfer.
    // The library words a dropped transfer in two ways, depending on when it notices the drop.
    const QStringList infos = Recorder.Only("ErrorInfo");
    ASSERT_EQ(infos.size(), 1);
    EXPECT_TRUE(infos[0] == "ErrorInfo 12030 Transferred a partial file" ||
                infos[0].startsWith("ErrorInfo 12030 transfer closed"))
        << infos[0].toStdString();
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

TEST_F(Ftp, AStalledOrTooSlowServerEndsTheItem) {
    ASSERT_TRUE(WriteFileBytes(Remote("trickle-a.bin"), Pattern(200)));
    ASSERT_TRUE(WriteFileBytes(Remote("stall-b.bin"), Pattern(100000)));
    Transfer.SetTimeout(2);
    Transfer.SetLowSpeedTime(2);
    Add(wpFtp, "trickle-a.bin"); // five bytes a second: never silent, far too slow
    Add(wpFtp, "stall-b.bin");
    ASSERT_TRUE(Run());
    const QStringList infos = Recorder.Only("ErrorInfo");
    ASSERT_EQ(infos.size(), 2) << infos.join('\n').toStdString();
    EXPECT_TRUE(infos[0].startsWith("ErrorInfo 12002 Operation too slow")) << infos[0].toStdString();
    EXPECT_TRUE(infos[1].startsWith("ErrorInfo 12002 ")) << infos[1].toStdString();
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

TEST_F(Ftp, AKeptConnectionThatTheServerClosedIsRenewed) {
    QTemporaryDir root;
    FtpTestServer server(root.path(), {"--idle-timeout", "2"});
    ASSERT_TRUE(server.Started());
    ASSERT_TRUE(WriteFileBytes(root.filePath("a.bin"), Pattern(100)));
    ASSERT_TRUE(WriteFileBytes(root.filePath("pub/b.bin"), Pattern(200)));
    Add(wpFtp, "a.bin", &server);
    Add(wpFtp, "/pub/b.bin", &server);
    bool closed = false;
    Transfer.OnFileDone = [&](TFileTransfer*, int idx) {
        if (idx == 0)
            closed = QTest::qWaitFor([&] { return server.Closes() == 1; }, 10000);
    };
    ASSERT_TRUE(Run());
    EXPECT_TRUE(closed);
    EXPECT_TRUE(Transfer.Items()[1]->Success()) << Recorder.Events.join('\n').toStdString();
    EXPECT_EQ(ReadFileBytes(Target("b.bin")), Pattern(200));
    EXPECT_EQ(server.Logins(), QStringList({"user", "user"}));
}

TEST_F(Ftp, NamesAreLookedUpByThemselvesWhereTheServerCan) {
    ASSERT_TRUE(WriteFileBytes(Remote("pub/a.bin"), Pattern(100)));
    SetModified(Remote("pub/a.bin"), kNewYear2024);
    ASSERT_TRUE(WriteFileBytes(Remote("up/r.txt"), "remote"));
    SetModified(Remote("up/r.txt"), kNewYear2024);
    ASSERT_TRUE(WriteFileBytes(Target("r.txt"), "local copy"));
    const double remoteDate = DateTimeFromUnixSeconds(kNewYear2024);
    struct Case {
        const char* Without;
        const char* Asked;
    };
    for (const Case& c : {Case{"", "MLST"}, Case{"MLST", "MDTM"}, Case{"MLST,SIZE,MDTM", "MLSD"}}) {
        SCOPED_TRACE(c.Without);
        FtpTestServer server(Root.path(), {"--without", c.Without});
        ASSERT_TRUE(server.Started());
        Transfer.Items().Clear();
        Add(wpFtp, "/pub/a.bin", &server)->SetFileDate(remoteDate - 1);
        Add(wpFtp, "/pub/a.bin", &server)->SetFileDate(remoteDate);
        Add(wpFtp, "/pub/missing.bin", &server);
        TFileTransferItem* upload = Add(wpFtpUpload, Target("r.txt"), &server);
        upload->SetTargetDir("/up");
        upload->SetFileDate(remoteDate - 1);
        for (const auto& item : Transfer.Items())
            item->SetCopyNewerOnly(true);
        ASSERT_TRUE(Run());
        EXPECT_TRUE(Transfer.Items()[0]->Success());
        EXPECT_DOUBLE_EQ(Transfer.Items()[0]->RemoteFileDate(), remoteDate);
        EXPECT_EQ(ReadFileBytes(Target("a.bin")), Pattern(100));
        EXPECT_TRUE(Transfer.Items()[1]->NoNewFile());
        EXPECT_EQ(Recorder.Only("URLNotFound"), QStringList({"URLNotFound /pub/missing.bin"}));
        EXPECT_TRUE(Transfer.Items()[3]->NoNewFile()) << "the remote copy is newer";
        EXPECT_EQ(ReadFileBytes(Remote("up/r.txt")), "remote");
        const QStringList commands = server.Commands();
        EXPECT_TRUE(commands.filter(QRegularExpression(QStringLiteral("^%1 ").arg(c.Asked))).size() > 0);
        if (QByteArray(c.Asked) != "MLSD") {
            EXPECT_TRUE(commands.filter(QRegularExpression("^(MLSD|LIST|NLST)")).isEmpty())
                << "nothing listed";
        }
    }
}

TEST_F(Ftp, AFolderTooLongToListNeverCountsAsMissing) {
    // A server that can only list; its "huge" folder lists 9 MB.
    FtpTestServer server(Root.path(), {"--without", "MLST,SIZE,MDTM"});
    ASSERT_TRUE(server.Started());
    ASSERT_TRUE(WriteFileBytes(Remote("huge/a.bin"), "older"));
    SetModified(Remote("huge/a.bin"), kNewYear2024);
    ASSERT_TRUE(WriteFileBytes(Target("a.bin"), "newer"));
    TFileTransferItem* download = Add(wpFtp, "/huge/a.bin", &server);
    TFileTransferItem* upload = Add(wpFtpUpload, Target("a.bin"), &server);
    upload->SetTargetDir("/huge");
    for (TFileTransferItem* item : {download, upload}) {
        item->SetCopyNewerOnly(true);
        item->SetFileDate(DateTimeFromUnixSeconds(kNewYear2024) + 1);
    }
    ASSERT_TRUE(Run());
    EXPECT_FALSE(download->Success());
    EXPECT_FALSE(upload->Success());
    EXPECT_EQ(Recorder.Only("ErrorInfo"),
              QStringList(2, "ErrorInfo 13063 The folder's listing is longer than 8 MB"));
    EXPECT_EQ(ReadFileBytes(Target("a.bin")), "newer");
    EXPECT_EQ(ReadFileBytes(Remote("huge/a.bin")), "older");
}

TEST_F(Ftp, AKeptConnectionServesOnlyItsOwnServerUserAndPassword) {
    QTemporaryDir otherRoot;
    FtpTestServer other(otherRoot.path());
    ASSERT_TRUE(other.Started());
    ASSERT_TRUE(WriteFileBytes(Remote("a.bin"), "here"));
    ASSERT_TRUE(WriteFileBytes(otherRoot.filePath("a.bin"), "there"));
    // Each kept connection is followed by an inactive item of its own and then by one that differs.
    auto add = [&](const QString& target, const QString& password, const FtpTestServer* server) {
        TFileTransferItem* item = Add(wpFtp, "a.bin", server);
        item->SetTargetFilename(target);
        item->SetFTPPassword(password);
        return item;
    };
    add("0.bin", "secret", &Server);
    add("1.bin", "secret", &Server)->SetActive(false);
    add("2.bin", "wrong", &Server);
    add("3.bin", {}, &Server); // no password: the anonymous log-in
    add("4.bin", {}, &Server)->SetActive(false);
    add("5.bin", {}, &other);
    ASSERT_TRUE(Run());
    EXPECT_EQ(Recorder.Only("ErrorInfo"),
              QStringList({"ErrorInfo 6 Cannot connect to FTP server 127.0.0.1"}));
    EXPECT_EQ(FilesIn(Local.path()), QStringList({"0.bin", "3.bin", "5.bin"}));
    EXPECT_EQ(ReadFileBytes(Target("5.bin")), "there");
    EXPECT_EQ(Server.Logins(), QStringList({"user", "anonymous"}));
    EXPECT_EQ(other.Logins(), QStringList({"anonymous"}));
}

TEST_F(Ftp, AKeptConnectionIsInTheFolderItsKeptFolderNames) {
    // Uploads into /site keep their connection for an inactive upload and put it back into "/";
    // the deletion after each works in the folder it names.
    ASSERT_TRUE(WriteFileBytes(Target("x.log"), "x"));
    ASSERT_TRUE(WriteFileBytes(Remote("old.log"), "root"));
    ASSERT_TRUE(WriteFileBytes(Remote("site/old.log"), "site"));
    for (const QString folder : {"/", "/site"}) {
        Add(wpFtpUpload, Target("x.log"))->SetTargetDir("/site");
        Add(wpFtpUpload, Target("x.log"))->SetActive(false);
        Add(wpFtpDelete, "old.log")->SetTargetDir(folder);
    }
    ASSERT_TRUE(Run());
    EXPECT_EQ(Recorder.Only("RemovedFile"), QStringList({"RemovedFile 2", "RemovedFile 5"}));
    EXPECT_FALSE(QFileInfo::exists(Remote("old.log")));
    EXPECT_FALSE(QFileInfo::exists(Remote("site/old.log")));
    const QStringList commands = Server.Commands();
    EXPECT_EQ(commands.mid(commands.indexOf("STOR /site/x.log") + 1, 1), QStringList({"DELE /old.log"}))
        << "the connection is in \"/\" already";

    // A download from /pub puts its kept connection back: the next name counts from "/" again.
    ASSERT_TRUE(WriteFileBytes(Remote("pub/a.bin"), "pub a"));
    ASSERT_TRUE(WriteFileBytes(Remote("pub/b.bin"), "pub b"));
    ASSERT_TRUE(WriteFileBytes(Remote("b.bin"), "root b"));
    Transfer.Items().Clear();
    Add(wpFtp, "/pub/a.bin");
    Add(wpFtp, "b.bin");
    ASSERT_TRUE(Run());
    EXPECT_EQ(ReadFileBytes(Target("b.bin")), "root b");
    EXPECT_EQ(Server.Logins().size(), 3);
}

TEST_F(Ftp, ACancelInAMultiFileTransferStopsOnlyTheFileInProgress) {
    for (const char* name : {"pub/1.zip", "pub/2.zip", "pub/3.zip"})
        ASSERT_TRUE(WriteFileBytes(Remote(name), Pattern(20000)));
    QTemporaryDir sources;
    for (const char* name : {"1.up", "2.up", "3.up"})
        ASSERT_TRUE(WriteFileBytes(sources.filePath(name), Pattern(20000)));
    Add(wpMultiFtp, "/pub/*.zip");
    Add(wpMultiFtpUpload, sources.path() + "/*.up")->SetTargetDir("/up");
    bool cancelled = false;
    Transfer.OnFileStart = [&](TFileTransfer*, int) { cancelled = false; };
    Transfer.OnCopyProgress = [&](TFileTransfer* sender, int, std::uint32_t, std::uint32_t) {
        if (!std::exchange(cancelled, true))
            sender->CancelCopy();
    };
    ASSERT_TRUE(Run());
    // The first file of each item was cancelled; the two after it came whole.
    const QStringList done = Recorder.Only("MultiFTPFileDone").replaceInStrings("MultiFTPFileDone ", "");
    ASSERT_EQ(done.size(), 6);
    QStringList whole;
    for (const QString& name : FilesIn(Local.path()) + FilesIn(Remote("up")))
        if (ReadFileBytes(name.endsWith(".up") ? Remote("up/" + name) : Target(name)) == Pattern(20000))
            whole << name;
    whole.sort();
    QStringList expected = {done[1], done[2], done[4], done[5]};
    expected.sort();
    EXPECT_EQ(whole, expected);
    EXPECT_TRUE(Transfer.Items()[0]->Success());
    EXPECT_TRUE(Transfer.Items()[1]->Success());
}
