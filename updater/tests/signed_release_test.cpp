// Releases signed with the real minisign program: what a folder with a public key applies, and
// what it refuses without fetching anything.
#include "updater_fixture.h"

#include "release/release_writer.h"
#include "testing/minisign_tool.h"
#include "testing/test_files.h"
#include "testing/test_server.h"
#include "updater/list_form.h"
#include "updater/main_form.h"
#include "widgets/reflection_label.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonObject>
#include <QTest>

#include <functional>
#include <utility>
#include <vector>

using namespace updater;
using namespace updater::testing;
using lanterna::testing::MinisignKeyPair;
using lanterna::testing::ReadFileBytes;
using lanterna::testing::TestServer;
using lanterna::testing::WriteFileBytes;

namespace {

// Without a player among them: the restarted player has a test of its own below.
const QStringList kReleaseFiles = {QStringLiteral("UpDate"), QStringLiteral("data.bin"),
                                   QStringLiteral("logo.png")};

// A program folder with a public key and the files of release 1.2, and a server that publishes
// release 1.3 of the same files.
class SignedRelease : public UpdaterTest {
protected:
    void SetUp() override {
        UpdaterTest::SetUp();
        ASSERT_TRUE(FServer.Started());
        ASSERT_TRUE(FPair.Ready());
        WriteFile(QStringLiteral("UpDate.pub"), FPair.PublicKey());
        for (const QString& name : kReleaseFiles) {
            WriteFile(name, "old " + name.toUtf8());
            ASSERT_TRUE(WriteFileBytes(Published(name), "new " + name.toUtf8() + QByteArray(20000, 'x')));
        }
    }
    QString Published(const QString& name) const { return FPublished.filePath(name); }
    // Writes the published folder's description as the publishing tool does and puts it, signed
    // by `pair`, into the program folder.
    void Describe(const QString& version, const QString& expires = {}, int files = kReleaseFiles.size()) {
        QString error;
        const lanterna::TReleaseInfo info{version, QStringLiteral("Lanterna"),
                                          FServer.Url(QStringLiteral("/static")), expires};
        ASSERT_EQ(lanterna::WriteReleaseDescription(FPublished.path(), info, error), files)
            << error.toStdString();
        ASSERT_TRUE(
            QFile::copy(Published(QStringLiteral("UpDate.dat")), PathOf(QStringLiteral("UpDate.dat"))));
    }
    void Sign(const MinisignKeyPair& pair) { ASSERT_TRUE(pair.Sign(PathOf(QStringLiteral("UpDate.dat")))); }
    void Run() {
        Start({QStringLiteral("AUTO")});
        ASSERT_TRUE(StartedUp());
        ASSERT_TRUE(RunEnded());
    }
    // The requests the server saw for files of the release.
    int FileRequests() const {
        int count = 0;
        for (const auto& entry : FServer.Log())
            count +=
                entry.toObject()[QStringLiteral("path")].toString().startsWith(QStringLiteral("/static/"));
        return count;
    }
    bool OldSetKept() const {
        for (const QString& name : kReleaseFiles)
            if (ReadFile(name) != "old " + name.toUtf8())
                return false;
        return true;
    }

    QTemporaryDir FPublished;
    TestServer FServer{QString(), FPublished.path()};
    MinisignKeyPair FPair;
};

} // namespace

TEST_F(SignedRelease, ASignedReleaseIsAppliedByteForByteAndBecomesTheInstalledOne) {
    Describe(QStringLiteral("1.3"));
    Sign(FPair);
    Run();
    for (const QString& name : kReleaseFiles)
        EXPECT_EQ(ReadFile(name), ReadFileBytes(Published(name))) << name.toStdString();
    EXPECT_EQ(FDialogs->Texts(), QStringList{QStringLiteral("Update is completed.")});
    EXPECT_EQ(FDialogs->Shown()[0].TimeLimit, TForm2::kUnattendedBoxLimit)
        << "no one may be there to close it";
    EXPECT_EQ(ReadFile(QStringLiteral("UpDate.state")), "[RELEASE]\nInstalled=1.3\n");

    // The same release offered again is refused: it is no longer newer.
    FDialogs->ClearShown();
    Run();
    EXPECT_EQ(FDialogs->Texts(),
              QStringList{QStringLiteral("Version 1.3 is not newer than the installed version 1.3")});
}

TEST_F(SignedRelease, ADescriptionThatDoesNotVerifyFetchesNothingAndSaysWhy) {
    MinisignKeyPair foreign;
    ASSERT_TRUE(foreign.Ready());
    const std::vector<std::pair<const char*, std::function<void()>>> cases = {
        {"edited after signing",
         [&] {
             Describe(QStringLiteral("1.3"));
             Sign(FPair);
             QByteArray text = ReadFile(QStringLiteral("UpDate.dat"));
             WriteFile(QStringLiteral("UpDate.dat"), text.replace("Ver=1.3", "Ver=1.4"));
         }},
        {"no signature",
         [&] {
             Describe(QStringLiteral("1.3"));
             QFile::remove(PathOf(QStringLiteral("UpDate.dat.minisig")));
         }},
        {"another key",
         [&] {
             Describe(QStringLiteral("1.3"));
             Sign(foreign);
         }},
        {"expired",
         [&] {
             Describe(QStringLiteral("1.3"), QStringLiteral("2020-01-01T00:00:00Z"));
             Sign(FPair);
         }},
        {"older than the installed release",
         [&] {
             WriteFile(QStringLiteral("UpDate.state"), "[RELEASE]\nInstalled=1.4\n");
             Describe(QStringLiteral("1.3"));
             Sign(FPair);
         }},
    };
    for (const auto& [name, prepare] : cases) {
        SCOPED_TRACE(name);
        QFile::remove(PathOf(QStringLiteral("UpDate.dat")));
        prepare();
        FDialogs->ClearShown();
        Run();
        ASSERT_EQ(FDialogs->Shown().size(), 1u);
        EXPECT_EQ(FDialogs->Shown()[0].Type, lanterna::mtError);
        EXPECT_EQ(Form1().windowTitle(), FDialogs->Texts()[0]) << "the caption says why";
        EXPECT_EQ(Form1().ProductName->HTMLText(), QStringLiteral("<p align=\"center\">wait..</p>"))
            << "nothing of the description is shown";
        EXPECT_EQ(FileRequests(), 0);
        EXPECT_TRUE(OldSetKept());
    }
}

TEST_F(SignedRelease, AFileAlteredOnTheServerIsNotInstalled) {
    Describe(QStringLiteral("1.3"));
    Sign(FPair);
    QByteArray altered = ReadFileBytes(Published(QStringLiteral("UpDate")));
    altered[100] = 'y';
    ASSERT_TRUE(WriteFileBytes(Published(QStringLiteral("UpDate")), altered));
    Run();
    EXPECT_TRUE(OldSetKept()) << "all or nothing";
    EXPECT_FALSE(QFileInfo::exists(PathOf(QStringLiteral("UpDate.state")))) << "the release is not installed";
    // The folder's lock goes with the program.
    EXPECT_EQ(lanterna::testing::FilesIn(FDir.path()),
              QStringList({".release-lock", "UpDate", "UpDate.dat", "UpDate.dat.minisig", "UpDate.pub",
                           "data.bin", "logo.png"}))
        << "nothing staged is left behind";
}

TEST_F(SignedRelease, AFileListedWithoutItsSizeAndHashIsNotFetched) {
    Describe(QStringLiteral("1.3"));
    QByteArray text = ReadFile(QStringLiteral("UpDate.dat"));
    WriteFile(QStringLiteral("UpDate.dat"), text.replace("File2SHA256=", "File2Sha1="));
    Sign(FPair);
    Run();
    EXPECT_TRUE(OldSetKept()) << "all or nothing";
    EXPECT_EQ(FileRequests(), 2);
    EXPECT_FALSE(QFileInfo::exists(PathOf(QStringLiteral("UpDate.state"))));
    EXPECT_EQ(FDialogs->Texts(),
              QStringList{QStringLiteral("1 of 3 files could not be updated. Nothing was changed.")});
}

TEST_F(SignedRelease, TheSignsOwnFilesAreNeverTakenFromAListSignedOrNot) {
    QFile::remove(PathOf(QStringLiteral("UpDate.pub")));
    WriteFile(QStringLiteral("SlideShow.cfg"), "[Global]\nUpdateServer=http://shop\n");
    for (const char* own : {"SlideShow.cfg", "slideshow%2Ecfg", "UpDate.pub", "UpDate.state"})
        ASSERT_TRUE(WriteFileBytes(Published(QString::fromLatin1(own)), "attacker's"));
    WriteFile(QStringLiteral("UpDate.dat"),
              "[UPDATE]\nProductName=P\nFiles=5\nFile1=" +
                  FServer.Url(QStringLiteral("/static/SlideShow.cfg")).toUtf8() +
                  "\nFile2=" + FServer.Url(QStringLiteral("/static/slideshow%2Ecfg")).toUtf8() +
                  "\nFile3=" + FServer.Url(QStringLiteral("/static/UpDate.pub")).toUtf8() +
                  "\nFile4=" + FServer.Url(QStringLiteral("/static/UpDate.state")).toUtf8() +
                  "\nFile5=" + FServer.Url(QStringLiteral("/static/logo.png")).toUtf8() + "\n");
    Run();
    EXPECT_EQ(ReadFile(QStringLiteral("SlideShow.cfg")), "[Global]\nUpdateServer=http://shop\n");
    EXPECT_FALSE(QFileInfo::exists(PathOf(QStringLiteral("UpDate.pub"))));
    EXPECT_FALSE(QFileInfo::exists(PathOf(QStringLiteral("UpDate.state"))));
    EXPECT_EQ(ReadFile(QStringLiteral("logo.png")), ReadFileBytes(Published(QStringLiteral("logo.png"))));
    EXPECT_EQ(FileRequests(), 1);
}

// A release with a player: the updater starts it with "/AUTOSTART" and keeps the new set once the
// player marks itself healthy; a player that ends at once is taken back, the old one started again
// and its version never offered again.
TEST_F(SignedRelease, TheRestartedPlayerKeepsTheReleaseOrItIsTakenBack) {
    const auto script = [](const QByteArray& body) { return "#!/bin/sh\n" + body + "\n"; };
    WriteFile(QStringLiteral("Lanterna"), script("echo \"$@\" > old-started"));
    const QFile::Permissions runnable = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    ASSERT_TRUE(QFile::setPermissions(PathOf(QStringLiteral("Lanterna")), runnable));
    ASSERT_TRUE(WriteFileBytes(Published(QStringLiteral("Lanterna")), script("exit 3")));
    Describe(QStringLiteral("1.3"), {}, kReleaseFiles.size() + 1);
    Sign(FPair);
    Run();
    EXPECT_TRUE(OldSetKept());
    EXPECT_EQ(ReadFile(QStringLiteral("Lanterna")), script("echo \"$@\" > old-started"));
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return ReadFile(QStringLiteral("old-started")) == "/AUTOSTART\n"; }, 10000));
    EXPECT_EQ(FDialogs->Texts(),
              QStringList{QStringLiteral("Version 1.3 was taken back: its player ended before its "
                                         "show had run for 30 seconds. Version 1.2 runs again.")});
    EXPECT_EQ(ReadFile(QStringLiteral("UpDate.state")), "[RELEASE]\nInstalled=1.2\nFailed=1.3\n");
    FDialogs->ClearShown();
    Run();
    EXPECT_EQ(FDialogs->Texts(),
              QStringList{QStringLiteral("Version 1.3 was taken back before and is not installed again")});

    // A healthy player marks itself so: the new set stays.
    ASSERT_TRUE(
        WriteFileBytes(Published(QStringLiteral("Lanterna")),
                       script("echo $$ > UpDate.healthy.part && mv UpDate.healthy.part UpDate.healthy")));
    QFile::remove(PathOf(QStringLiteral("UpDate.dat")));
    Describe(QStringLiteral("1.4"), {}, kReleaseFiles.size() + 1);
    Sign(FPair);
    FDialogs->ClearShown();
    Run();
    EXPECT_EQ(FDialogs->Texts(), QStringList{QStringLiteral("Update is completed.")});
    EXPECT_EQ(ReadFile(QStringLiteral("Lanterna")), ReadFileBytes(Published(QStringLiteral("Lanterna"))));
    EXPECT_EQ(QFile::permissions(PathOf(QStringLiteral("Lanterna"))) & runnable, runnable);
    EXPECT_EQ(ReadFile(QStringLiteral("UpDate")), ReadFileBytes(Published(QStringLiteral("UpDate"))));
    EXPECT_TRUE(ReadFile(QStringLiteral("UpDate.state")).startsWith("[RELEASE]\nInstalled=1.4\n"));
}
