#include "transfer/file_transfer.h"

#include "platform/shell.h"
#include "transfer/internal/login_form.h"
#include "transfer/internal/progress_dialog.h"
#include "transfer/url_functions.h"

namespace lanterna {

namespace {

bool IsFtpFileTransfer(TFileTransferProtocol protocol) {
    return protocol == wpFtp || protocol == wpFtpUpload;
}

} // namespace

TFileTransfer::TFileTransfer(QObject* owner)
    : QObject(owner), LoginPrompt(&TLoginForm::Execute), OpenDocument(&ShellOpen), FItems(this) {}

const QLabel* TFileTransfer::FileLabel() const {
    return FDialog ? FDialog->FileLabel() : nullptr;
}

TProgressDialogOptions TFileTransfer::DialogOptions() const {
    TProgressDialogOptions options;
    options.FileLabel = FDlgFileLabel;
    options.ProgressLabel = FDlgProgressLabel;
    options.FileOfLabel = FDlgFileOfLabel;
    options.RateLabel = FDlgRateLabel;
    options.TimeLabel = FDlgTimeLabel;
    options.ElapsedTimeLabel = FDlgElapsedTimeLabel;
    options.Cancel = FDlgCancel;
    options.Close = FDlgClose;
    options.OpenFile = FDlgOpenFile;
    options.OpenFolder = FDlgOpenFolder;
    options.ShowFileName = FShowFileName;
    options.ShowTime = FShowTime;
    options.ShowElapsedTime = FShowElapsedTime;
    options.ShowCancel = FDlgShowCancel;
    options.ShowCloseBtn = FDlgShowCloseBtn;
    options.OnTop = FShowDialogOnTop;
    options.ShowOpenFile = FShowOpenFile;
    options.ShowOpenFolder = FShowOpenFolder;
    return options;
}

bool TFileTransfer::StartCopy() {
    if (Running())
        return false;
    FRunPending = true;
    QMetaObject::invokeMethod(this, &TFileTransfer::Run, Qt::QueuedConnection);
    return true;
}

bool TFileTransfer::KeepConnection(int index) const {
    if (index + 1 >= FItems.Count())
        return false;
    const TFileTransferItem& item = *FItems[index];
    const TFileTransferItem& next = *FItems[index + 1];
    return IsFtpFileTransfer(item.Protocol()) && IsFtpFileTransfer(next.Protocol()) &&
           FtpKey(item) == FtpKey(next);
}

void TFileTransfer::CancelButtonClick() {
    if (!Notify(OnCopyCancel))
        return;
    FCancelled = true;
    if (FDialog)
        FDialog->close();
}

void TFileTransfer::OpenFileButtonClick() {
    OpenAndClose(FLastTargetFile);
}

void TFileTransfer::OpenFolderButtonClick() {
    OpenAndClose(FLastTargetDir);
}

void TFileTransfer::OpenAndClose(const QString& path) {
    const auto open = OpenDocument;
    const QPointer<TFileTransfer> alive(this);
    if (open)
        open(path);
    if (alive && FDialog)
        FDialog->close();
}

void TFileTransfer::DialogClosed(TProgressDialog* dialog) {
    // The run may still write into a dialog closed by its close box: it is freed when the run ends.
    if (FRunning)
        return;
    QMetaObject::invokeMethod(
        this,
        [this, dialog] {
            if (FDialog.get() == dialog)
                FDialog.reset();
        },
        Qt::QueuedConnection);
}

} // namespace lanterna
