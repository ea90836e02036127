#include "updater_fixture.h"

#include "testing/small_disk.h"
#include "testing/test_files.h"
#include "testing/test_server.h"
#include "transfer/file_transfer.h"
#include "updater/list_form.h"
#include "updater/main_form.h"
#include "widgets/circular_progress.h"
#include "widgets/glass_button.h"
#include "widgets/level_progress_bar.h"
#include "widgets/reflection_label.h"
#include "widgets/tests/widget_test_support.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace updater;
using namespace updater::testing;
using lanterna::TFileTransfer;
using lanterna::testing::Grabbed;
using lanterna::testing::Pattern;
using lanterna::testing::Px;
using lanterna::testing::TestServer;

namespace {

// The fill of the level bar below its first threshold: lime in the middle of each block, a paler
// green towards its edges; never the white background, the grey frame or the black digits.
bool Green(lanterna::ARGB c) {
    const int r = qRed(c), g = qGreen(c), b = qBlue(c);
    return g >= 0xC0 && r <= g - 0x18 && b <= g - 0x18;
}

// The columns of `area` of `shot` that hold at least one green pixel.
std::vector<int> GreenColumns(const QImage& shot, const QRect& area) {
    std::vector<int> columns;
    for (int x = area.left(); x <= area.right(); ++x)
        for (int y = area.top(); y <= area.bottom(); ++y)
            if (Green(Px(shot, x, y))) {
                columns.push_back(x - area.left());
                break;
            }
    return columns;
}

// The number of green stretches along row `y` of `area`.
int GreenRuns(const QImage& shot, const QRect& area, int y) {
    int runs = 0;
    bool inside = false;
    for (int x = area.left(); x <= area.right(); ++x) {
        const bool green = Green(Px(shot, x, area.top() + y));
        runs += green && !inside;
        inside = green;
    }
    return runs;
}

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
    // What the main window shows of a run, for a wait that failed.
    std::string Seen() const {
        return QStringLiteral("state %1, file bar %2 of %3, files %4 of %5, caption \"%6\", line \"%7\"")
            .arg(Form1().Stav())
            .arg(Form1().Souborek->Position())
            .arg(Form1().Souborek->Max())
            .arg(Form1().Totalek->Position())
            .arg(Form1().Totalek->Max())
            .arg(Form1().windowTitle(), Form1().soubor->text())
            .toStdString();
    }

    TestServer FServer;
    QStringList FCaptions;
};

} // namespace

TEST_F(DownloadRunTest, AutoFetchesTheListedFilesMarksTheirRowsAndEnds) {
    StartWith({Url(QStringLiteral("/data/30000/first.bin")), QString(),
               Url(QStringLiteral("/data/5000/third.bin"))},
              {QStringLiteral("AUTO")});
    EXPECT_EQ(Form1().Stav(), QStringLiteral("UPDATING"));
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

TEST_F(DownloadRunTest, StartAfterTheRunHasEndedDoesNotRunTheListAgain) {
    StartWith({Url(QStringLiteral("/data/100/one.bin"))}, {QStringLiteral("AUTO")});
    Form2().StartBut->click();
    ASSERT_TRUE(RunEnded());
    ASSERT_TRUE(QFile::remove(PathOf(QStringLiteral("one.bin"))));
    // "Start" is enabled again by the end of the run, until the next tick closes the window.
    ASSERT_TRUE(Form1().StartBut->isEnabled());
    Form1().StartBut->click();
    Form2().StartBut->click();
    EXPECT_FALSE(Form1().CircularProgress1->isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Form1().isVisible(); }, 10000)) << Seen();
    EXPECT_EQ(FDialogs->Texts(), QStringList{QStringLiteral("Update is completed.")});
    EXPECT_FALSE(QFileInfo::exists(PathOf(QStringLiteral("one.bin")))) << "nothing is fetched again";
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
    // Only a run in which every file arrived is reported as completed.
    ASSERT_EQ(FDialogs->Shown().size(), 1u);
    EXPECT_EQ(FDialogs->Shown()[0].Type, lanterna::mtError);
    EXPECT_EQ(FDialogs->Texts(), QStringList{QStringLiteral("2 of 3 files could not be updated.")});
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
    EXPECT_EQ(FDialogs->Texts(), QStringList{QStringLiteral("2 of 2 files could not be updated.")});
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

TEST_F(DownloadRunTest, HalfWayThroughALargeFileTheBarIsGreenToItsMiddleAndTheRingTurns) {
    // A million bytes announced, a little over half of them sent (the engine hands on whole blocks
    // of 4096 bytes), then the server keeps the line open without sending more: the run stands at
    // 50 % while the window goes on living.
    StartWith({Url(QStringLiteral("/stall/1000000/505000/large.bin"))});
    // The run pumps the window's events from inside itself, so the window is looked at from a timer
    // that fires there: once at 50 %, and again when the ring has moved on three segments. Then
    // "Zrušit" ends the run.
    QImage atHalf, later;
    int head = 0, highest = -1;
    QTimer probe;
    probe.setInterval(20);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        TForm1& form = Form1();
        highest = std::max(highest, form.Souborek->Position());
        if (atHalf.isNull() && form.Souborek->Position() == 50) {
            atHalf = Grabbed(form);
            head = form.CircularProgress1->Head();
        } else if (!atHalf.isNull() && (form.CircularProgress1->Head() - head + 12) % 12 >= 3) {
            later = Grabbed(form);
            probe.stop();
            form.StopBut->click();
        }
    });
    probe.start();
    Form1().StartBut->click();
    ASSERT_TRUE(RunEnded()) << Seen();
    ASSERT_FALSE(atHalf.isNull()) << "the file bar never stood at 50 (highest " << highest << "); " << Seen();
    ASSERT_FALSE(later.isNull()) << "the ring stood at segment " << head << "; " << Seen();
    EXPECT_EQ(Form1().Souborek->Max(), 100);

    const QRect bar = Form1().Souborek->geometry();
    ASSERT_TRUE(atHalf.rect().contains(bar)) << "the window was raised to show the bar";
    const std::vector<int> green = GreenColumns(atHalf, bar);
    ASSERT_FALSE(green.empty()) << "no green in the file bar";
    const int half = bar.width() / 2, block = 9; // a block and its gap
    EXPECT_LE(green.front(), 3) << "the fill starts at the frame";
    EXPECT_GE(green.back(), half - block) << "green up to about the middle";
    EXPECT_LE(green.back(), half + block) << "and none beyond it";
    // Blocks with gaps, seen on a row above the digits.
    const int runs = GreenRuns(atHalf, bar, 3);
    EXPECT_GE(runs, half / block - 2);
    EXPECT_LE(runs, half / block + 1);
    EXPECT_EQ(GreenColumns(atHalf, Form1().Totalek->geometry()), std::vector<int>{})
        << "no file has ended yet";

    const QRect ring = Form1().CircularProgress1->geometry();
    EXPECT_NE(atHalf.copy(ring), later.copy(ring)) << "the ring turns";
    EXPECT_EQ(atHalf.copy(bar), later.copy(bar)) << "the bar stays at 50 %";
}

// On a disk of 20 MB a small file lands and one that cannot fit ends the run with an error box; what
// killed runs left there goes first.
TEST_F(DownloadRunTest, AFullDiskIsAFailedRunAndSmallFilesStillLand) {
    lanterna::testing::SmallDisk disk(20 * 1024 * 1024);
    if (!disk.Mounted())
        GTEST_SKIP() << "no tmpfs can be mounted here: " << disk.Error().toStdString();
    const QString left = disk.FilePath(QStringLiteral(".big.bin.k3j2.part"));
    ASSERT_TRUE(lanterna::testing::WriteFileBytes(left, QByteArray(5 * 1024 * 1024, 'x')));
    ASSERT_TRUE(lanterna::testing::WriteFileBytes(
        disk.FilePath(QStringLiteral("UpDate.dat")),
        "[UPDATE]\nProductName=P\nFiles=2\nFile1=" + Url(QStringLiteral("/data/10000/small.bin")).toUtf8() +
            "\nFile2=" + Url(QStringLiteral("/data/30000000/big.bin")).toUtf8() + "\n"));
    Start({QStringLiteral("AUTO")}, disk.Path());
    ASSERT_TRUE(StartedUp());
    ASSERT_TRUE(RunEnded());
    EXPECT_EQ(lanterna::testing::ReadFileBytes(disk.FilePath(QStringLiteral("small.bin"))), Pattern(10000));
    EXPECT_FALSE(QFileInfo::exists(disk.FilePath(QStringLiteral("big.bin"))));
    EXPECT_FALSE(QFileInfo::exists(left)) << "an earlier run's temporary file goes at the next run";
    EXPECT_EQ(FDialogs->Texts(), QStringList{QStringLiteral("1 of 2 files could not be updated.")});
    FProgram.reset(); // lets the disk go
}
