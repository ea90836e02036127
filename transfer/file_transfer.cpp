#include "transfer/file_transfer.h"

#include "platform/shell.h"
#include "platform/types.h"
#include "transfer/formats.h"
#include "transfer/ftp_connection.h"
#include "transfer/internet_session.h"
#include "transfer/login_form.h"
#include "transfer/progress_dialog.h"
#include "transfer/url_functions.h"

#include <QCoreApplication>

#include <algorithm>

namespace lanterna {

namespace {

bool IsFtpFileTransfer(TFileTransferProtocol protocol) {
    return protocol == wpFtp || protocol == wpFtpUpload;
}

double MillisecondsBetween(TFileTransfer::TTick start, TFileTransfer::TTick end) {
    return double(std::chrono::duration_cast<std::chrono::milliseconds>(end - start).count());
}

} // namespace

TFileTransfer::TFileTransfer(QObject* owner)
    : QObject(owner), LoginPrompt(&TLoginForm::Execute), OpenDocument(&ShellOpen), FItems(this) {}

TFileTransfer::~TFileTransfer() {
    if (FFrame) {
        FFrame->Session = std::move(FSession);
        FFrame->Dialog = std::move(FDialog);
        FFrame->FtpConnection = std::move(FFtpConnection);
    }
}

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

void TFileTransfer::Run() {
    TRunFrame frame;
    FFrame = &frame;
    try {
        RunItems();
    } catch (const TRunAbandoned&) {
        return; // the component is gone; the frame frees what the run used
    }
    FFrame = nullptr;
}

void TFileTransfer::RunItems() {
    FRunPending = false;
    FRunning = true;
    BuildDialog();
    const bool needsSession = std::any_of(FItems.begin(), FItems.end(), [](const auto& item) {
        return item->Active() && item->Protocol() != wpFile;
    });
    if (needsSession)
        FSession = std::make_unique<TInternetSession>(TSessionOptions{
            FAgent, FProxy, FProxyUserID, FProxyPassword, FTimeout, FLowSpeedLimit, FLowSpeedTime});
    FFileNo = 0;
    FFtpFolder.clear();
    for (int i = 0; i < FItems.Count(); ++i) {
        if (!FItems[i]->Active())
            continue;
        ++FFileNo;
        Fire(OnFileStart, i);
        if (i >= FItems.Count())
            break;
        const TFileTransferItem item = *FItems[i];
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
        TTransferWork work{item.FileDate(), false, KeepConnection(i)};
        const bool result = Perform(i, item, work);
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
    FFtpConnection.reset();
    FFtpKey.clear();
    FSession.reset();
    EndRun();
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

bool TFileTransfer::KeepConnection(int index) const {
    if (index + 1 >= FItems.Count())
        return false;
    const TFileTransferItem& item = *FItems[index];
    const TFileTransferItem& next = *FItems[index + 1];
    return IsFtpFileTransfer(item.Protocol()) && IsFtpFileTransfer(next.Protocol()) &&
           FtpKey(item) == FtpKey(next);
}

bool TFileTransfer::Perform(int index, const TFileTransferItem& item, TTransferWork& work) {
    switch (item.Protocol()) {
    case wpHttp:
        return HttpDownload(index, item, work);
    case wpHttpUpload:
        return HttpUpload(item);
    case wpFtp:
        return FtpDownload(index, item, work, true);
    case wpMultiFtp:
        return FtpMultiDownload(index, item, work);
    case wpFtpUpload:
        return FtpUpload(index, item, work);
    case wpMultiFtpUpload:
        return FtpMultiUpload(index, item, work);
    case wpFtpList:
        return FtpList(index, item);
    case wpFtpDelete:
        return FtpDelete(index, item);
    case wpFtpTest:
        return FtpTest(item);
    case wpFile:
        return FileCopy(index, item, work);
    }
    return false;
}

bool TFileTransfer::AskLogin(const QString& requestUrl, QString& user, QString& password) {
    QString newUser;
    QString newPassword;
    if (!LoginPrompt)
        return false;
    const auto prompt = LoginPrompt;
    const QPointer<TFileTransfer> alive(this);
    const bool entered =
        prompt(QStringLiteral("Connect to ") + LoginHost(MaskCredentials(requestUrl)), newUser, newPassword);
    if (!alive)
        throw TRunAbandoned{};
    if (!entered)
        return false;
    user = newUser;
    password = newPassword;
    return true;
}

void TFileTransfer::ItemLine(const QString& name, const QString& serverWord, const QString& server) {
    QString counter;
    if (FItems.Count() >= 2) {
        const auto active =
            std::count_if(FItems.begin(), FItems.end(), [](const auto& item) { return item->Active(); });
        counter = QString::number(FFileNo) + u' ' + FDlgFileOfLabel + u' ' + QString::number(active) +
                  QStringLiteral(" : ");
    }
    FileLine(counter, name, serverWord, server);
}

void TFileTransfer::FileLine(const QString& counter, const QString& name, const QString& serverWord,
                             const QString& server) {
    QString line = FDlgFileLabel + u' ' + counter + name;
    if (!serverWord.isEmpty())
        line += u' ' + serverWord + u' ' + server;
    FDialog->SetFileLine(line);
}

void TFileTransfer::BlockProgress(std::uint64_t movedBytes, std::uint32_t total, TTick start,
                                  const QString& direction, bool copy) {
    const auto moved = std::uint32_t(movedBytes);
    TProgressStep step;
    step.Moved = SizeText(moved);
    if (total > 0 || copy) {
        step.Percent =
            total == 0 ? 100 : int(std::clamp<std::int64_t>(Round(double(moved) / total * 100), 0, 100));
        step.Total = SizeText(total);
    }
    // One reading of the clock per block serves the three times and the pumping throttle.
    const TTick now = std::chrono::steady_clock::now();
    const double elapsed = MillisecondsBetween(start, now);
    FRateText = lanterna::RateText(Round(moved / (elapsed + 1) * 1000));
    FTimeLeftText = TimeText(elapsed, moved, total);
    FElapsedText = TimeText(elapsed, 0, total);
    step.Rate = FRateText;
    step.TimeLeft = FTimeLeftText;
    step.Elapsed = FElapsedText;
    FDialog->ShowProgress(step);
    if (FShowCompletion)
        FDialog->SetTitle(direction + QStringLiteral(" : ") + QString::number(FDialog->Percent()) +
                          QStringLiteral("% ") + FDlgCompleted);
    Fire(OnCopyProgress, FFileNo, moved, total);
    // Pumping costs a system call; at local-network speed blocks come faster than anybody can see.
    if (now - FLastPump >= kPumpEvery)
        ProcessMessages();
}

void TFileTransfer::ProcessMessages() {
    FLastPump = std::chrono::steady_clock::now();
    const QPointer<TFileTransfer> alive(this);
    QCoreApplication::processEvents();
    if (!alive)
        throw TRunAbandoned{};
}

bool TFileTransfer::Idle() {
    ProcessMessages();
    return !FCancelled;
}

void TFileTransfer::ReportError(const TLibraryError& error) {
    Fire(OnError, error.Code);
    Fire(OnErrorInfo, error.Code, MaskCredentials(error.Text));
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
