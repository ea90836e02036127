// The run of the engine: it walks the items, keeps the dialog's title, hands each transfer the
// run's context and ends with the dialog closed or left open for its buttons.
#include "transfer/file_transfer.h"

#include "transfer/internal/file_copy.h"
#include "transfer/internal/ftp_transfer.h"
#include "transfer/internal/http_download.h"
#include "transfer/internal/http_upload.h"
#include "transfer/internal/progress_dialog.h"
#include "transfer/internal/run_context.h"

#include <algorithm>

namespace lanterna {

namespace {

// Performs one item: each kind of transfer on the context that the run hands it.
bool Perform(TTransferContext& context, const TFileTransferItem& item, TTransferWork& work) {
    switch (item.Protocol()) {
    case wpHttp:
        return THttpDownload(context, item, work).Run();
    case wpHttpUpload:
        return THttpUpload(context, item).Run();
    case wpFtp:
        return TFtpTransfer(context, item, work).Download();
    case wpMultiFtp:
        return TFtpTransfer(context, item, work).MultiDownload();
    case wpFtpUpload:
        return TFtpTransfer(context, item, work).Upload();
    case wpMultiFtpUpload:
        return TFtpTransfer(context, item, work).MultiUpload();
    case wpFtpList:
        return TFtpTransfer(context, item, work).List();
    case wpFtpDelete:
        return TFtpTransfer(context, item, work).Delete();
    case wpFtpTest:
        return TFtpTransfer(context, item, work).Test();
    case wpFile:
        return TFileCopy(context, item, work).Run();
    }
    return false;
}

} // namespace

// A run that is using the dialog when the engine goes frees it once it has unwound.
TFileTransfer::~TFileTransfer() {
    if (FRun)
        FRun->KeepDialog(std::move(FDialog));
}

bool TFileTransfer::HasSession() const {
    return FRun && FRun->HasSession();
}

void TFileTransfer::Run() {
    TRunContext run(*this);
    FRun = &run;
    try {
        RunItems(run);
    } catch (const TRunAbandoned&) {
        return; // the component is gone; the run's context frees what the run used
    }
    FRun = nullptr;
}

void TFileTransfer::RunItems(TRunContext& run) {
    FRunPending = false;
    FRunning = true;
    BuildDialog();
    const bool needsSession = std::any_of(FItems.begin(), FItems.end(), [](const auto& item) {
        return item->Active() && item->Protocol() != wpFile;
    });
    if (needsSession)
        run.OpenSession();
    FFileNo = 0;
    for (int i = 0; i < FItems.Count(); ++i) {
        if (!FItems[i]->Active())
            continue;
        ++FFileNo;
        Fire(OnFileStart, i);
        if (i >= FItems.Count())
            break;
        const TFileTransferItem item = *FItems[i];
        ShowItemTitle(item);
        TTransferWork work{item.FileDate(), false, KeepConnection(i)};
        run.BeginItem(i);
        const bool result = Perform(run, item, work);
        if (i < FItems.Count()) {
            TFileTransferItem* stored = FItems[i];
            stored->SetRemoteFileDate(work.Date);
            stored->SetSuccess(result && !FCancelled);
            stored->SetCancelled(FCancelled);
            stored->SetNoNewFile(work.NoNewFile);
        }
        if (FCancelled)
            break;
        Fire(OnFileDone, i);
    }
    run.EndConnections();
    EndRun();
}

void TFileTransfer::ShowItemTitle(const TFileTransferItem& item) {
    switch (item.Protocol()) {
    case wpHttp:
    case wpFtp:
    case wpMultiFtp:
        FDialog->SetTitle(FDlgDwnload + QStringLiteral(" ..."));
        break;
    case wpFile:
        FDialog->SetTitle(FDlgCopying + QStringLiteral(" ..."));
        break;
    case wpFtpUpload:
    case wpHttpUpload:
    case wpMultiFtpUpload:
        FDialog->SetTitle(FDlgUpload + QStringLiteral(" ..."));
        break;
    default:
        break;
    }
}

void TFileTransfer::BuildDialog() {
    FDialog = std::make_unique<TProgressDialog>(DialogOptions());
    FDialog->OnCancel = [this](TProgressDialog*) { CancelButtonClick(); };
    FDialog->OnOpenFile = [this](TProgressDialog*) { OpenFileButtonClick(); };
    FDialog->OnOpenFolder = [this](TProgressDialog*) { OpenFolderButtonClick(); };
    FDialog->OnClose = [this](TProgressDialog* dialog) { DialogClosed(dialog); };
    FFinished = false;
    FDialog->SetTitle(FDlgCaption + QStringLiteral(" ..."));
    FCancelled = false;
    if (!FShowDialog)
        return;
    Fire(OnBeforeDialogShow, static_cast<QWidget*>(FDialog.get()));
    FDialog->show();
    if (FAlwaysOnTop)
        FDialog->PutOnTop();
}

void TFileTransfer::EndRun() {
    FRunning = false;
    if ((FShowOpenFile || FShowOpenFolder) && !FDialog->ClosedByUser()) {
        Fire(OnCopyDone);
        if (!FDialog)
            return;
        FFinished = true;
        FDialog->RunEnded(!FCancelled);
        return;
    }
    FFinished = true;
    FDialog.reset();
    Fire(OnCopyDone);
}

} // namespace lanterna
