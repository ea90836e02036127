#include "transfer/internal/run_context.h"

#include "platform/types.h"
#include "transfer/internal/formats.h"
#include "transfer/internal/internet_session.h"
#include "transfer/internal/progress_dialog.h"
#include "transfer/url_functions.h"

#include <QCoreApplication>

#include <algorithm>

namespace lanterna {

namespace {

double MillisecondsBetween(TTick start, TTick end) {
    return double(std::chrono::duration_cast<std::chrono::milliseconds>(end - start).count());
}

} // namespace

TFileTransfer::TRunContext::TRunContext(TFileTransfer& engine) : FEngine(engine) {}

TFileTransfer::TRunContext::~TRunContext() = default;

void TFileTransfer::TRunContext::OpenSession() {
    const TFileTransfer& e = FEngine;
    FSession = std::make_unique<TInternetSession>(TSessionOptions{
        e.FAgent, e.FProxy, e.FProxyUserID, e.FProxyPassword, e.FTimeout, e.FLowSpeedLimit, e.FLowSpeedTime});
}

void TFileTransfer::TRunContext::BeginItem(int index) {
    FIndex = index;
    const TFileTransfer& e = FEngine;
    FSettings.ProxyUserID = e.FProxyUserID;
    FSettings.ProxyPassword = e.FProxyPassword;
    FSettings.ShowServer = e.FShowServer;
    FSettings.FromServerLabel = e.FDlgFromServerLabel;
    FSettings.ToServerLabel = e.FDlgToServerLabel;
    FSettings.HTTPKeepAliveAuthentication = e.FHTTPKeepAliveAuthentication;
    FSettings.FTPPassive = e.FFTPPassive;
    FSettings.CreateUniqueFilenames = e.FCreateUniqueFilenames;
    FSettings.Timeout = e.FTimeout;
    FSettings.LowSpeedLimit = e.FLowSpeedLimit;
    FSettings.LowSpeedTime = e.FLowSpeedTime;
    FSettings.MaxFileSize = e.FMaxFileSize;
    FSettings.TimeLimitBase = e.FTimeLimitBase;
    FSettings.TimeLimitRate = e.FTimeLimitRate;
}

void TFileTransfer::TRunContext::EndConnections() {
    FFtp = {};
    FSession.reset();
}

void TFileTransfer::TRunContext::KeepDialog(std::unique_ptr<TProgressDialog> dialog) {
    FOrphanedDialog = std::move(dialog);
}

void TFileTransfer::TRunContext::PlayClip(TClipKind clip) {
    FEngine.FDialog->Animation()->Play(clip);
}

void TFileTransfer::TRunContext::ItemLine(const QString& name, const QString& serverWord,
                                          const QString& server) {
    const TFileTransferItems& items = FEngine.FItems;
    QString counter;
    if (items.Count() >= 2)
        counter = Counter(
            FEngine.FFileNo,
            int(std::count_if(items.begin(), items.end(), [](const auto& item) { return item->Active(); })));
    Line(counter, name, serverWord, server);
}

void TFileTransfer::TRunContext::FileLine(int number, int count, const QString& name,
                                          const QString& serverWord, const QString& server) {
    Line(Counter(number, count), name, serverWord, server);
}

QString TFileTransfer::TRunContext::Counter(int number, int count) const {
    return QString::number(number) + u' ' + FEngine.FDlgFileOfLabel + u' ' + QString::number(count) +
           QStringLiteral(" : ");
}

void TFileTransfer::TRunContext::Line(const QString& counter, const QString& name, const QString& serverWord,
                                      const QString& server) {
    QString line = FEngine.FDlgFileLabel + u' ' + counter + name;
    if (!serverWord.isEmpty())
        line += u' ' + serverWord + u' ' + server;
    FEngine.FDialog->SetFileLine(line);
}

void TFileTransfer::TRunContext::ListLine(const QString& line) {
    FEngine.FDialog->SetFileLine(line);
}

void TFileTransfer::TRunContext::BlockProgress(std::uint64_t movedBytes, std::uint32_t total, TTick start,
                                               TTransferDirection direction) {
    TFileTransfer& e = FEngine;
    const auto moved = std::uint32_t(movedBytes);
    TProgressStep step;
    step.Moved = SizeText(moved);
    // A copy always shows the total, and the full bar for an empty file.
    if (total > 0 || direction == tdCopy) {
        step.Percent =
            total == 0 ? 100 : int(std::clamp<std::int64_t>(Round(double(moved) / total * 100), 0, 100));
        step.Total = SizeText(total);
    }
    // One reading of the clock per block serves the three times and the pumping throttle.
    const TTick now = std::chrono::steady_clock::now();
    const double elapsed = MillisecondsBetween(start, now);
    e.FRateText = lanterna::RateText(Round(moved / (elapsed + 1) * 1000));
    e.FTimeLeftText = TimeText(elapsed, moved, total);
    e.FElapsedText = TimeText(elapsed, 0, total);
    step.Rate = e.FRateText;
    step.TimeLeft = e.FTimeLeftText;
    step.Elapsed = e.FElapsedText;
    e.FDialog->ShowProgress(step);
    if (e.FShowCompletion) {
        const QString& word = direction == tdDownload ? e.FDlgDwnload
                              : direction == tdUpload ? e.FDlgUpload
                                                      : e.FDlgCopying;
        e.FDialog->SetTitle(word + QStringLiteral(" : ") + QString::number(e.FDialog->Percent()) +
                            QStringLiteral("% ") + e.FDlgCompleted);
    }
    e.Fire(e.OnCopyProgress, e.FFileNo, moved, total);
    // Pumping costs a system call; at local-network speed blocks come faster than anybody can see.
    if (now - FLastPump >= kPumpEvery)
        ProcessMessages();
}

void TFileTransfer::TRunContext::SetLastTarget(const QString& file, const QString& folder) {
    FEngine.FLastTargetFile = file;
    FEngine.FLastTargetDir = folder;
}

void TFileTransfer::TRunContext::StoreListing(const QStringList& names, const TFileDetailItems& details) {
    if (FIndex >= FEngine.FItems.Count())
        return;
    FEngine.FItems[FIndex]->SetFileList(names);
    FEngine.FItems[FIndex]->SetFileDetails(details);
}

void TFileTransfer::TRunContext::ReportError(const TLibraryError& error) {
    FEngine.Fire(FEngine.OnError, error.Code);
    FEngine.Fire(FEngine.OnErrorInfo, error.Code, MaskCredentials(error.Text));
}

void TFileTransfer::TRunContext::URLNotFound(const QString& url) {
    FEngine.Fire(FEngine.OnURLNotFound, url);
}

void TFileTransfer::TRunContext::ConnectError() {
    FEngine.Fire(FEngine.OnConnectError);
}

bool TFileTransfer::TRunContext::AllowOverwrite(const QString& path) {
    bool allow = true;
    FEngine.Fire(FEngine.OnCopyOverWrite, path, allow);
    return allow;
}

bool TFileTransfer::TRunContext::ChecksDates() const {
    return bool(FEngine.OnFileDateCheck);
}

bool TFileTransfer::TRunContext::AllowDate(double date) {
    bool allow = true;
    FEngine.Fire(FEngine.OnFileDateCheck, FIndex, date, allow);
    return allow;
}

void TFileTransfer::TRunContext::NoNewFileFound(const QString& name, double current, double found) {
    FEngine.Fire(FEngine.OnNoNewFileFound, name, current, found);
}

void TFileTransfer::TRunContext::MultiFileDone(const QString& name) {
    FEngine.Fire(FEngine.OnMultiFTPFileDone, name);
}

void TFileTransfer::TRunContext::Removed(bool removed) {
    FEngine.Fire(removed ? FEngine.OnRemovedFile : FEngine.OnRemovedFileFailed, FIndex);
}

bool TFileTransfer::TRunContext::AskLogin(const QString& requestUrl, QString& user, QString& password) {
    if (!FEngine.LoginPrompt)
        return false;
    QString newUser;
    QString newPassword;
    const auto prompt = FEngine.LoginPrompt;
    const QPointer<TFileTransfer> alive(&FEngine);
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

void TFileTransfer::TRunContext::ProcessMessages() {
    FLastPump = std::chrono::steady_clock::now();
    const QPointer<TFileTransfer> alive(&FEngine);
    QCoreApplication::processEvents();
    if (!alive)
        throw TRunAbandoned{};
}

bool TFileTransfer::TRunContext::Idle() {
    ProcessMessages();
    return !FEngine.FCancelled;
}

bool TFileTransfer::TRunContext::Cancelled() const {
    return FEngine.FCancelled;
}

void TFileTransfer::TRunContext::ResetCancel() {
    FEngine.FCancelled = false;
}

} // namespace lanterna
