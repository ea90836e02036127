#include "event_recorder.h"
#include "testing/test_server.h"

#include "transfer/file_transfer.h"
#include "transfer/internal/login_form.h"
#include "transfer/internal/progress_dialog.h"
#include "transfer/internal/transfer_clips.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace lanterna;
using namespace lanterna::testing;

TEST(ProgressDialog, GeometryFollowsTheDisplayProperties) {
    TFileTransfer transfer;
    {
        TProgressDialog dialog(transfer.DialogOptions());
        EXPECT_EQ(dialog.size(), QSize(300, 188));
        EXPECT_EQ(dialog.Animation()->geometry(), QRect(10, 0, 272, 60));
        EXPECT_EQ(dialog.Bar()->geometry(), QRect(10, 60, 280, 12));
        EXPECT_EQ(dialog.FileLabel()->geometry().topLeft(), QPoint(10, 80));
        EXPECT_EQ(dialog.FileLabel()->width(), 280);
        EXPECT_EQ(dialog.ByteLine()->y(), 100);
        EXPECT_EQ(dialog.RateLine()->y(), 120);
        EXPECT_EQ(dialog.CancelButton()->geometry(), QRect(215, 140, 75, 25));
        EXPECT_FALSE(dialog.FileLabel()->isHidden());
        EXPECT_TRUE(dialog.TimeLine()->isHidden());
        EXPECT_TRUE(dialog.ElapsedLine()->isHidden());
        EXPECT_EQ(dialog.OpenFileButton(), nullptr);
        EXPECT_EQ(dialog.FileLabel()->text(), "File :");
        EXPECT_EQ(dialog.ByteLine()->text(), "Progress :");
    }
    transfer.SetShowTime(true);
    transfer.SetShowElapsedTime(true);
    {
        TProgressDialog dialog(transfer.DialogOptions());
        EXPECT_EQ(dialog.size(), QSize(300, 228)) << "40 pixels higher with both time lines";
        EXPECT_EQ(dialog.CancelButton()->y(), 180);
        EXPECT_EQ(dialog.TimeLine()->y(), 140);
        EXPECT_EQ(dialog.ElapsedLine()->y(), 160);
        EXPECT_FALSE(dialog.TimeLine()->isHidden());
    }
    transfer.SetShowTime(false);
    transfer.SetShowFileName(false);
    transfer.SetDlgShowCancel(false);
    transfer.SetShowOpenFile(true);
    transfer.SetShowOpenFolder(true);
    {
        TProgressDialog dialog(transfer.DialogOptions());
        EXPECT_EQ(dialog.size(), QSize(300, 188)) << "one time line, no cancel button";
        EXPECT_TRUE(dialog.FileLabel()->isHidden());
        EXPECT_EQ(dialog.ByteLine()->y(), 80);
        EXPECT_EQ(dialog.ElapsedLine()->y(), 140) << "the elapsed line keeps its place without the time line";
        EXPECT_TRUE(dialog.CancelButton()->isHidden());
        EXPECT_EQ(dialog.OpenFolderButton()->geometry(), QRect(130, 140, 75, 25));
        EXPECT_EQ(dialog.OpenFileButton()->geometry(), QRect(45, 140, 75, 25));
        EXPECT_FALSE(dialog.OpenFileButton()->isEnabled());
    }
    transfer.SetShowOpenFolder(false);
    TProgressDialog dialog(transfer.DialogOptions());
    EXPECT_EQ(dialog.OpenFileButton()->x(), 130);
}

TEST(ProgressDialog, ClosesOnlyWhenAllowed) {
    TFileTransfer transfer;
    TProgressDialog dialog(transfer.DialogOptions());
    dialog.show();
    EXPECT_FALSE(dialog.close()) << "not while a run may be writing to it";
    EXPECT_TRUE(dialog.isVisible());
    dialog.RunEnded(true);
    EXPECT_TRUE(dialog.close()) << "once the run has ended";

    // The close box is part of how the dialog is built.
    transfer.SetDlgShowCloseBtn(true);
    TProgressDialog withCloseBox(transfer.DialogOptions());
    withCloseBox.show();
    EXPECT_TRUE(withCloseBox.close());
    EXPECT_TRUE(withCloseBox.ClosedByUser());
}

TEST(ProgressDialog, ShowsWhatItIsGivenAndRaisesItsOwnEvents) {
    TFileTransfer transfer;
    transfer.SetShowOpenFile(true);
    transfer.SetShowOpenFolder(true);
    transfer.SetShowTime(true);
    transfer.SetShowElapsedTime(true);
    TProgressDialog dialog(transfer.DialogOptions());
    QStringList raised;
    dialog.OnCancel = [&](TProgressDialog* sender) {
        raised << QStringLiteral("Cancel %1").arg(sender == &dialog);
    };
    dialog.OnOpenFile = [&](TProgressDialog*) { raised << "OpenFile"; };
    dialog.OnOpenFolder = [&](TProgressDialog*) { raised << "OpenFolder"; };
    dialog.OnClose = [&](TProgressDialog*) { raised << "Close"; };
    dialog.show();

    dialog.ShowProgress({41, "4 KB", "10 KB", "2 KB/sec", "3 sec", "1 sec"});
    EXPECT_EQ(dialog.Percent(), 41);
    EXPECT_EQ(dialog.ByteLine()->text(), "Progress : 4 KB of 10 KB");
    EXPECT_EQ(dialog.RateLine()->text(), "Transfer rate : 2 KB/sec");
    EXPECT_EQ(dialog.TimeLine()->text(), "Estimated time left : 3 sec");
    EXPECT_EQ(dialog.ElapsedLine()->text(), "Elapsed time : 1 sec");
    dialog.ShowProgress({-1, "12 KB", {}, "2 KB/sec", "", ""});
    EXPECT_EQ(dialog.Percent(), 41) << "an unknown size leaves the bar";
    EXPECT_EQ(dialog.ByteLine()->text(), "Progress : 12 KB");
    dialog.SetFileLine("File : a.bin");
    EXPECT_EQ(dialog.FileLabel()->text(), "File : a.bin");

    QTest::mouseClick(dialog.CancelButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog.close());
    dialog.RunEnded(true);
    QTest::mouseClick(dialog.OpenFileButton(), Qt::LeftButton);
    QTest::mouseClick(dialog.OpenFolderButton(), Qt::LeftButton);
    EXPECT_TRUE(dialog.close());
    EXPECT_EQ(raised, QStringList({"Cancel 1", "OpenFile", "OpenFolder", "Close"}));
}

TEST(TransferClips, SizesFramesAndTimer) {
    EXPECT_EQ(Clip(ckDownload).Frames.size(), 31u);
    EXPECT_EQ(Clip(ckDownload).FramesPerSecond, 15);
    EXPECT_EQ(Clip(ckUpload).Frames.size(), 26u);
    EXPECT_EQ(Clip(ckUpload).FramesPerSecond, 10);
    for (TClipKind kind : {ckDownload, ckUpload, ckCopy}) {
        EXPECT_EQ(Clip(kind).Frames.front().size(), QSize(272, 60));
        EXPECT_NE(Clip(kind).Frames.front(), Clip(kind).Frames[5]) << "the sheet moves";
    }
    EXPECT_NE(Clip(ckDownload).Frames.front(), Clip(ckUpload).Frames.front());

    QWidget window;
    TAnimate animate(&window);
    animate.Play(ckUpload);
    EXPECT_FALSE(animate.TimerRunning()) << "nothing to animate while hidden";
    window.show();
    EXPECT_TRUE(animate.TimerRunning());
    EXPECT_TRUE(QTest::qWaitFor([&] { return animate.Frame() > 1; }, 5000));
    EXPECT_EQ(animate.grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied).pixel(20, 20),
              QPixmap::fromImage(Clip(ckUpload).Frames[animate.Frame()]).toImage().pixel(20, 20));
    animate.Stop();
    EXPECT_FALSE(animate.TimerRunning());
}

namespace {

class DialogRun : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Server.Started());
        Transfer.OpenDocument = [this](const QString& path) {
            Opened << path;
            return true;
        };
    }
    void Add(const QString& path) {
        TFileTransferItem* item = Transfer.Items().Add();
        item->SetURL(Server.Url(path));
        item->SetTargetDir(Folder.path());
    }

    QTemporaryDir Folder;
    TestServer Server;
    TFileTransfer Transfer;
    EventRecorder Recorder{Transfer};
    QStringList Opened;
};

} // namespace

TEST_F(DialogRun, ShownUpdatedAndGoneBeforeTheEnd) {
    Transfer.SetShowCompletion(true);
    Transfer.SetDlgCaption("Fetching");
    QStringList titles;
    bool visible = false;
    bool timerRunning = false;
    Transfer.OnBeforeDialogShow = [&](TFileTransfer*, QWidget* dialog) { titles << dialog->windowTitle(); };
    Transfer.OnCopyProgress = [&](TFileTransfer* sender, int, std::uint32_t, std::uint32_t) {
        titles << sender->Dialog()->windowTitle();
        visible = sender->Dialog()->isVisible();
        timerRunning = sender->Dialog()->Animation()->TimerRunning();
    };
    bool dialogAtTheEnd = true;
    Transfer.OnCopyDone = [&](TFileTransfer* sender) {
        dialogAtTheEnd = sender->Dialog() != nullptr;
        Recorder.Events << "CopyDone";
    };
    Add("/data/10000/a.bin");
    ASSERT_TRUE(RunToEnd(Transfer, Recorder));
    EXPECT_EQ(titles.first(), "Fetching ...");
    EXPECT_EQ(titles[1], "Downloading : 41% completed");
    EXPECT_EQ(titles.last(), "Downloading : 100% completed");
    EXPECT_TRUE(visible);
    EXPECT_TRUE(timerRunning);
    EXPECT_FALSE(dialogAtTheEnd) << "without open buttons the dialog goes before OnCopyDone";
    EXPECT_TRUE(Transfer.Finished());
}

TEST_F(DialogRun, TheCancelButtonStopsTheRun) {
    Add("/data/100000/a.bin");
    Add("/data/100000/b.bin");
    Transfer.OnCopyProgress = [&](TFileTransfer* sender, int, std::uint32_t size, std::uint32_t) {
        if (size == 4096)
            QTest::mouseClick(sender->Dialog()->CancelButton(), Qt::LeftButton);
        EXPECT_NE(sender->Dialog(), nullptr) << "the dialog stays while the run writes to it";
    };
    ASSERT_TRUE(RunToEnd(Transfer, Recorder));
    EXPECT_EQ(Recorder.Only("CopyCancel").size(), 1);
    EXPECT_EQ(Recorder.Only("FileStart").size(), 1);
    EXPECT_TRUE(Transfer.Items()[0]->Cancelled());
    EXPECT_FALSE(QFile::exists(Folder.filePath("a.bin")));
    EXPECT_EQ(Transfer.Dialog(), nullptr);
}

TEST_F(DialogRun, OpenButtonsAfterTheRun) {
    Transfer.SetShowOpenFile(true);
    Transfer.SetShowOpenFolder(true);
    Add("/data/100/a.bin");
    ASSERT_TRUE(RunToEnd(Transfer, Recorder));
    TProgressDialog* dialog = Transfer.Dialog();
    ASSERT_NE(dialog, nullptr) << "the dialog stays for its open buttons";
    EXPECT_EQ(dialog->CancelButton()->text(), "Close");
    EXPECT_TRUE(dialog->OpenFileButton()->isEnabled());
    EXPECT_TRUE(dialog->OpenFolderButton()->isEnabled());
    EXPECT_FALSE(dialog->Animation()->Active());
    QTest::mouseClick(dialog->OpenFileButton(), Qt::LeftButton);
    EXPECT_EQ(Opened, QStringList({Folder.filePath("a.bin")}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Transfer.Dialog() == nullptr; }, 5000)) << "opening closes it";

    // A cancelled run leaves the open buttons disabled; Close closes.
    Recorder.Events.clear();
    Transfer.OnFileStart = [](TFileTransfer* sender, int) { sender->CancelCopy(); };
    ASSERT_TRUE(RunToEnd(Transfer, Recorder));
    dialog = Transfer.Dialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(dialog->OpenFileButton()->isEnabled());
    QTest::mouseClick(dialog->CancelButton(), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Transfer.Dialog() == nullptr; }, 5000));
}

TEST_F(DialogRun, UploadsSwitchTheClipAndTheTitle) {
    Transfer.SetShowCompletion(true);
    QFile source(Folder.filePath("up.bin"));
    ASSERT_TRUE(source.open(QIODevice::WriteOnly));
    source.write(Pattern(5000));
    source.close();
    Add("/data/10/first.bin");
    Transfer.Items().Add()->Assign(Transfer.Items()[0]);
    Transfer.Items()[1]->SetProtocol(wpHttpUpload);
    Transfer.Items()[1]->SetURL(Server.Url("/upload/up.bin"));
    Add("/data/10/last.bin");
    QStringList seen;
    Transfer.OnCopyProgress = [&](TFileTransfer* sender, int fileidx, std::uint32_t, std::uint32_t) {
        seen << QStringLiteral("%1 %2 %3")
                    .arg(fileidx)
                    .arg(sender->Dialog()->windowTitle())
                    .arg(sender->Dialog()->Animation()->Kind());
    };
    ASSERT_TRUE(RunToEnd(Transfer, Recorder));
    EXPECT_EQ(seen.first(), "1 Downloading : 100% completed 0");
    EXPECT_TRUE(seen.contains("2 Uploading : 82% completed 1"));
    EXPECT_EQ(seen.last(), "3 Downloading : 100% completed 1") << "a later download does not switch back";
}

TEST(TLoginForm, ReturnsWhatWasTyped) {
    auto answer = [](const QString& user, const QString& password, bool ok) {
        QTimer::singleShot(0, [=] {
            auto* form = qobject_cast<TLoginForm*>(QApplication::activeModalWidget());
            ASSERT_NE(form, nullptr);
            EXPECT_EQ(form->windowTitle(), "Connect to host:81");
            EXPECT_TRUE(form->Edit1->text().isEmpty());
            EXPECT_EQ(form->Edit2->echoMode(), QLineEdit::Password);
            QTest::keyClicks(form->Edit1, user);
            QTest::keyClicks(form->Edit2, password);
            if (ok)
                QTest::keyClick(form->Edit2, Qt::Key_Return); // OK is the default button
            else
                QTest::keyClick(form, Qt::Key_Escape);
        });
    };
    QString user = "unchanged";
    QString password = "unchanged";
    answer("ann", "s3cret", true);
    EXPECT_TRUE(TLoginForm::Execute("Connect to host:81", user, password));
    EXPECT_EQ(user, "ann");
    EXPECT_EQ(password, "s3cret");

    answer("", "", true);
    EXPECT_TRUE(TLoginForm::Execute("Connect to host:81", user, password));
    EXPECT_EQ(user, "");
    EXPECT_EQ(password, "");

    user = "kept";
    answer("bob", "x", false);
    EXPECT_FALSE(TLoginForm::Execute("Connect to host:81", user, password));
    EXPECT_EQ(user, "kept");
}
