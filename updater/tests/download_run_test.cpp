#include "updater_fixture.h"

#include "test_server.h"
#include "transfer/file_transfer.h"
#include "updater/list_form.h"
#include "updater/main_form.h"
#include "widgets/circular_progress.h"
#include "widgets/glass_button.h"
#include "widgets/level_progress_bar.h"
#include "widgets/reflection_label.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace updater;
using namespace updater::testing;
using lanterna::TFileTransfer;
using lanterna::testing::Pattern;
using lanterna::testing::TestServer;

namespace {

// An updater whose description lists addresses of the fault-injecting test server.
class DownloadRunTest : public UpdaterTest {
protected:
    void SetUp() override {
        UpdaterTest::SetUp();
        ASSERT_TRUE(FServer.Started());
    }
    // Writes UpDate.dat with the given entries (an empty one is left out) and starts the updater.
    void StartWith(const QStringList& files, const QStringList& arguments = {}) {
        QByteArray text = "[UPDATE]\nProductName=Lanterna\nFiles=" + QByteArray::number(files.size()) + "\n";
        for (int i = 0; i < files.size(); ++i)
            if (!files[i].isEmpty())
                text += "File" + QByteArray::number(i + 1) + "=" + files[i].toUtf8() + "\n";
        WriteFile(QStringLiteral("UpDate.dat"), text);
        Start(arguments);
        ASSERT_TRUE(StartedUp());
        // What the main window shows whenever an item ends.
        auto fileDone = Form2().FileTransfer1->OnFileDone;
        Form2().FileTransfer1->OnFileDone = [this, fileDone](TFileTransfer* sender, int idx) {
            fileDone(sender, idx);
            FCaptions << Form1().windowTitle();
        };
    }
    QString Url(const QString& path) const { return FServer.Url(path); }

    TestServer FServer;
    QStringList FCaptions;
};

} // namespace

TEST_F(DownloadRunTest, AutoFetchesTheListedFilesMarksTheirRowsAndEnds) {
    StartWith({Url(QStringLiteral("/data/30000/first.bin")), QString(),
               Url(QStringLiteral("/data/5000/third.bin"))},
              {QStringLiteral("AUTO")});
    EXPECT_EQ(Form1().Stav, QStringLiteral("UPDATING"));
    EXPECT_EQ(Form1().OuterHeight(), TForm1::kDownloadHeight);
    EXPECT_TRUE(Form1().CircularProgress1->isVisible());
    EXPECT_TRUE(Form1().Souborek->isVisible());
    EXPECT_TRUE(Form1().Totalek->isVisible());
    EXPECT_FALSE(Form1().StartBut->isEnabled());
    EXPECT_TRUE(Form1().StopBut->isEnabled());
    EXPECT_EQ(Form1().Totalek->Max(), 2);

    ASSERT_TRUE(RunEnded());
    EXPECT_EQ(ReadFile(QStringLiteral("first.bin")), Pattern(30000));
    EXPECT_EQ(ReadFile(QStringLiteral("third.bin")), Pattern(5000));
    // The marks follow the items, not the rows they came from.
    EXPECT_EQ(Form2().Cell(0, 1), QStringLiteral("*"));
    EXPECT_EQ(Form2().Cell(0, 2), QStringLiteral("*"));
    EXPECT_EQ(Form2().Cell(0, 3), QString());
    EXPECT_EQ(Form1().Totalek->Position(), 2);
    EXPECT_EQ(Form1().windowTitle(), QStringLiteral("Done"));
    EXPECT_EQ(FDialogs->Texts(), QStringList{QStringLiteral("Update is completed.")});
    EXPECT_FALSE(Form1().CircularProgress1->isVisible());
    EXPECT_TRUE(Form1().StartBut->isEnabled());
    EXPECT_FALSE(Form1().StopBut->isEnabled());
    EXPECT_TRUE(Form1().soubor->text().startsWith(QStringLiteral("File : 2 of 2 : third.bin")))
        << Form1().soubor->text().toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Form1().isVisible(); }, 10000)) << "the next tick closes it";
}

TEST_F(DownloadRunTest, TheFileBarCountsInStepsOfTenThousandBytes) {
    StartWith({Url(QStringLiteral("/data/25000/a.bin")), Url(QStringLiteral("/data/9999/b.bin"))});
    std::vector<std::pair<int, int>> seen; // (maximum, position) after each block, without repeats
    auto progress = Form2().FileTransfer1->OnCopyProgress;
    Form2().FileTransfer1->OnCopyProgress = [&](TFileTransfer* s, int fileidx, std::uint32_t size,
                                                std::uint32_t totsize) {
        progress(s, fileidx, size, totsize);
        const std::pair<int, int> now{Form1().Souborek->Max(), Form1().Souborek->Position()};
        if (seen.empty() || seen.back() != now)
            seen.push_back(now);
    };
    Form1().StartBut->click();
    ASSERT_TRUE(RunEnded());
    const std::vector<std::pair<int, int>> expected{{2, 0}, {2, 1}, {2, 2}, {0, 0}};
    EXPECT_EQ(seen, expected);
}

TEST_F(DownloadRunTest, FailedFilesShowInTheCaptionAndTheRunGoesOn) {
    const QString unreachable =
        QStringLiteral("http://127.0.0.1:%1/x.bin").arg(lanterna::testing::ClosedPort());
    StartWith(
        {Url(QStringLiteral("/status/404/gone.bin")), Url(QStringLiteral("/data/100/ok.bin")), unreachable});
    Form1().StartBut->click();
    ASSERT_TRUE(RunEnded());
    // The caption after each ended file: the last error stays until the next one.
    EXPECT_EQ(FCaptions.join(u'|'),
              QStringLiteral("Error #404 (Returned http error code 404)|"
                             "Error #404 (Returned http error code 404)|URL not found: ") +
                  unreachable);
    EXPECT_EQ(ReadFile(QStringLiteral("ok.bin")), Pattern(100));
    EXPECT_FALSE(QFileInfo::exists(PathOf(QStringLiteral("gone.bin"))));
    EXPECT_EQ(Form2().Cell(0, 1), QStringLiteral("*")) << "an ended file is marked, also a failed one";
    EXPECT_EQ(FDialogs->Texts(), QStringList{QStringLiteral("Update is completed.")});
}

TEST_F(DownloadRunTest, NamesOutsideTheFolderAreRefusedAndNothingIsWritten) {
    const QString escaping = Url(QStringLiteral("/data/100/..%2Fescaped.bin"));
    StartWith({escaping, Url(QStringLiteral("/data/100/")), Url(QStringLiteral("/data/100/kept.bin"))});
    Form1().StartBut->click();
    EXPECT_EQ(Form1().Totalek->Max(), 1);
    ASSERT_TRUE(RunEnded());
    EXPECT_EQ(FCaptions, QStringList{QStringLiteral("Error #3 (Cannot create file outside the folder: ") +
                                     Url(QStringLiteral("/data/100/")) + QLatin1Char(')')});
    EXPECT_EQ(ReadFile(QStringLiteral("kept.bin")), Pattern(100));
    EXPECT_FALSE(QFileInfo::exists(FDir.filePath(QStringLiteral("../escaped.bin"))));
    EXPECT_FALSE(QFileInfo::exists(PathOf(QStringLiteral("..%2Fescaped.bin"))));
}

TEST_F(DownloadRunTest, CancellingDuringASlowFileKeepsItsOldCopy) {
    WriteFile(QStringLiteral("slow.bin"), "the old copy");
    StartWith(
        {Url(QStringLiteral("/stall/200000/20000/slow.bin")), Url(QStringLiteral("/data/100/after.bin"))});
    auto progress = Form2().FileTransfer1->OnCopyProgress;
    Form2().FileTransfer1->OnCopyProgress = [&, progress](TFileTransfer* s, int fileidx, std::uint32_t size,
                                                          std::uint32_t totsize) {
        progress(s, fileidx, size, totsize);
        if (size >= 16384 && Form1().StopBut->isEnabled())
            Form1().StopBut->click();
    };
    Form1().StartBut->click();
    ASSERT_TRUE(RunEnded());
    EXPECT_EQ(ReadFile(QStringLiteral("slow.bin")), "the old copy");
    EXPECT_FALSE(QFileInfo::exists(PathOf(QStringLiteral("after.bin"))));
    EXPECT_EQ(Form2().Cell(0, 1), QString());
    EXPECT_EQ(FDialogs->Texts(), QStringList{QStringLiteral("Update is completed.")});
    EXPECT_EQ(Form1().windowTitle(), QStringLiteral("Done"));
}

TEST_F(DownloadRunTest, AReplacedFileKeepsItsPermissions) {
    WriteFile(QStringLiteral("tool"), "old");
    const auto executable =
        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup;
    ASSERT_TRUE(QFile::setPermissions(PathOf(QStringLiteral("tool")), executable));
    StartWith({Url(QStringLiteral("/data/3000/tool")), Url(QStringLiteral("/data/10/fresh"))});
    Form1().StartBut->click();
    ASSERT_TRUE(RunEnded());
    EXPECT_EQ(ReadFile(QStringLiteral("tool")), Pattern(3000));
    EXPECT_EQ(QFile::permissions(PathOf(QStringLiteral("tool"))) & ~QFile::Permissions(0x0F00), executable);
    EXPECT_FALSE(QFileInfo(PathOf(QStringLiteral("fresh"))).isExecutable());
}

TEST_F(DownloadRunTest, TheListWindowsButtonRunsTheSameListWithoutTheMainWindowsStrip) {
    StartWith({Url(QStringLiteral("/data/100/one.bin"))});
    Form2().SetCell(1, 2, Url(QStringLiteral("/data/200/typed.bin")));
    Form2().StartBut->click();
    EXPECT_EQ(Form1().OuterHeight(), TForm1::kStartHeight);
    EXPECT_FALSE(Form1().Souborek->isVisible());
    EXPECT_FALSE(Form1().CircularProgress1->isVisible());
    EXPECT_TRUE(Form1().StartBut->isEnabled());
    ASSERT_TRUE(RunEnded());
    EXPECT_EQ(ReadFile(QStringLiteral("one.bin")), Pattern(100));
    EXPECT_EQ(ReadFile(QStringLiteral("typed.bin")), Pattern(200));
    EXPECT_EQ(FDialogs->Texts(), QStringList{QStringLiteral("Update is completed.")});
}
