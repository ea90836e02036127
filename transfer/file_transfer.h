#pragma once
// The download engine as programs use it: TFileTransfer takes a list of items (HTTP and FTP
// downloads and uploads, FTP listings and deletions, file copies), performs them one after another on
// the user-interface thread, keeps a progress dialog current and reports every step through its
// events. The transfers themselves are the engine's own (transfer/internal/).

#include "platform/error_display.h"
#include "transfer/file_transfer_item.h"
#include "transfer/property.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

class QLabel;
class QWidget;

namespace lanterna {

class TProgressDialog;
struct TProgressDialogOptions;

class TFileTransfer final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFileTransfer)

    LANTERNA_PROPERTY(QString, Agent, QStringLiteral("FileTransfer"))
    LANTERNA_PROPERTY(bool, AlwaysOnTop, false)
    LANTERNA_PROPERTY(bool, CreateUniqueFilenames, false)
    LANTERNA_PROPERTY(QString, DlgCancel, QStringLiteral("Cancel"))
    LANTERNA_PROPERTY(QString, DlgCaption, QStringLiteral("Downloading"))
    LANTERNA_PROPERTY(QString, DlgCompleted, QStringLiteral("completed"))
    LANTERNA_PROPERTY(QString, DlgClose, QStringLiteral("Close"))
    LANTERNA_PROPERTY(QString, DlgFileLabel, QStringLiteral("File :"))
    LANTERNA_PROPERTY(QString, DlgFileOfLabel, QStringLiteral("of"))
    LANTERNA_PROPERTY(QString, DlgFromServerLabel, QStringLiteral("from"))
    LANTERNA_PROPERTY(QString, DlgToServerLabel, QStringLiteral("to"))
    LANTERNA_PROPERTY(QString, DlgProgressLabel, QStringLiteral("Progress :"))
    LANTERNA_PROPERTY(QString, DlgRateLabel, QStringLiteral("Transfer rate :"))
    LANTERNA_PROPERTY(QString, DlgTimeLabel, QStringLiteral("Estimated time left :"))
    LANTERNA_PROPERTY(QString, DlgElapsedTimeLabel, QStringLiteral("Elapsed time :"))
    LANTERNA_PROPERTY(QString, DlgCopying, QStringLiteral("Copying"))
    LANTERNA_PROPERTY(QString, DlgDwnload, QStringLiteral("Downloading"))
    LANTERNA_PROPERTY(QString, DlgUpload, QStringLiteral("Uploading"))
    LANTERNA_PROPERTY(QString, DlgOpenFile, QStringLiteral("Open file"))
    LANTERNA_PROPERTY(QString, DlgOpenFolder, QStringLiteral("Open folder"))
    LANTERNA_PROPERTY(bool, FTPPassive, false)
    LANTERNA_PROPERTY(bool, HTTPKeepAliveAuthentication, false)
    LANTERNA_PROPERTY(QString, Proxy, {})
    LANTERNA_PROPERTY(QString, ProxyUserID, {})
    LANTERNA_PROPERTY(QString, ProxyPassword, {})
    LANTERNA_PROPERTY(bool, DlgShowCancel, true)
    LANTERNA_PROPERTY(bool, DlgShowCloseBtn, false)
    LANTERNA_PROPERTY(bool, ShowDialog, true)
    LANTERNA_PROPERTY(bool, ShowDialogOnTop, true)
    LANTERNA_PROPERTY(bool, ShowOpenFile, false)
    LANTERNA_PROPERTY(bool, ShowOpenFolder, false)
    LANTERNA_PROPERTY(bool, ShowCompletion, false)
    LANTERNA_PROPERTY(bool, ShowElapsedTime, false)
    LANTERNA_PROPERTY(bool, ShowFileName, true)
    LANTERNA_PROPERTY(bool, ShowServer, true)
    LANTERNA_PROPERTY(bool, ShowTime, false)
    LANTERNA_PROPERTY(int, Timeout, 0)
    // Public, not stored: the largest answer one download accepts (the sizes the engine reports
    // are 32-bit). A download also stops short of filling its disk.
    LANTERNA_PROPERTY(std::uint64_t, MaxFileSize, 0xFFFFFFFFu)
    // Public, not stored: a transfer that moves fewer than LowSpeedLimit bytes a second for
    // LowSpeedTime seconds fails, whatever Timeout says.
    LANTERNA_PROPERTY(int, LowSpeedLimit, 300)
    LANTERNA_PROPERTY(int, LowSpeedTime, 30)
    // Public, not stored: an HTTP download, counted from its request, ends within TimeLimitBase
    // seconds plus one second for every TimeLimitRate bytes of its size: the length the server
    // announces, else the most the file may take (its listed size, MaxFileSize or the room on the disk);
    // 0 until the headers have come.
    LANTERNA_PROPERTY(int, TimeLimitBase, 600)
    LANTERNA_PROPERTY(int, TimeLimitRate, 16384)

public:
    explicit TFileTransfer(QObject* owner = nullptr);
    // May run inside any handler or window handler of a run: the run then ends at once, freeing
    // what it still uses only when it no longer uses it.
    ~TFileTransfer() override;

    TFileTransferItems& Items() { return FItems; }
    const TFileTransferItems& Items() const { return FItems; }
    QString Version() const { return QStringLiteral("2.4.0.3"); }
    void SetVersion(const QString&) {}

    // Queues a run; it begins when the user-interface thread next processes its messages. A run
    // already queued or active refuses the call (false), also from the run's own handlers.
    bool StartCopy();
    // The active transfer stops after its current block and the run after that item.
    void CancelCopy() { FCancelled = true; }

    // Run state.
    bool Running() const { return FRunPending || FRunning; }
    int FileNo() const { return FFileNo; }
    bool Cancelled() const { return FCancelled; }
    bool Finished() const { return FFinished; }
    bool HasSession() const;
    QString LastTargetFile() const { return FLastTargetFile; }
    QString LastTargetDir() const { return FLastTargetDir; }
    QString RateText() const { return FRateText; }
    QString TimeLeftText() const { return FTimeLeftText; }
    QString ElapsedText() const { return FElapsedText; }
    // Whether the FTP connection of item `index` stays open for the next item: both are single-file
    // FTP transfers with the same host, user and password.
    bool KeepConnection(int index) const;
    // The progress dialog of the current or last run while it exists, and its file line.
    TProgressDialog* Dialog() const { return FDialog.get(); }
    const QLabel* FileLabel() const;
    // What the progress dialog of a run is built from: the display properties.
    TProgressDialogOptions DialogOptions() const;

    // Events; all fire on the user-interface thread, inside the run.
    std::function<void(TFileTransfer* sender, QWidget* dialog)> OnBeforeDialogShow;
    std::function<void(TFileTransfer* sender, int idx)> OnFileStart;
    std::function<void(TFileTransfer* sender, int fileidx, std::uint32_t size, std::uint32_t totsize)>
        OnCopyProgress;
    std::function<void(TFileTransfer* sender, int idx)> OnFileDone;
    std::function<void(TFileTransfer* sender)> OnCopyDone;
    std::function<void(TFileTransfer* sender)> OnCopyCancel;
    std::function<void(TFileTransfer* sender, int errorCode)> OnError;
    std::function<void(TFileTransfer* sender, int errorCode, const QString& errorInfo)> OnErrorInfo;
    std::function<void(TFileTransfer* sender, const QString& url)> OnURLNotFound;
    std::function<void(TFileTransfer* sender)> OnConnectError;
    std::function<void(TFileTransfer* sender, const QString& tgtfile, bool& allow)> OnCopyOverWrite;
    std::function<void(TFileTransfer* sender, int idx, double newdate, bool& allow)> OnFileDateCheck;
    std::function<void(TFileTransfer* sender, const QString& tgtfile, double curdate, double newdate)>
        OnNoNewFileFound;
    std::function<void(TFileTransfer* sender, const QString& filename)> OnMultiFTPFileDone;
    std::function<void(TFileTransfer* sender, int idx)> OnRemovedFile;
    std::function<void(TFileTransfer* sender, int idx)> OnRemovedFileFailed;

    // Asks for a user name and password (the login window by default); true for OK. Tests script it.
    std::function<bool(const QString& caption, QString& user, QString& password)> LoginPrompt;
    // Opens a file or folder with its program (the desktop's shell by default). Tests script it.
    std::function<bool(const QString& path)> OpenDocument;

private:
    // What the run hands each transfer, and holds what the run opens (transfer/internal/run_context.h).
    class TRunContext;
    // Thrown inside a run whose component has been destroyed; the run ends without touching it.
    struct TRunAbandoned {};

    // The progress dialog's buttons and its closing.
    void CancelButtonClick();
    void OpenFileButtonClick();
    void OpenFolderButtonClick();
    void DialogClosed(TProgressDialog* dialog);
    void OpenAndClose(const QString& path);

    void Run();
    void RunItems(TRunContext& run);
    void BuildDialog();
    // The dialog's title while item `item` runs.
    void ShowItemTitle(const TFileTransferItem& item);
    void EndRun();

    // Calls a handler; false when the component did not survive it.
    template <typename Handler, typename... Args> bool Notify(const Handler& handler, Args&&... args);
    // Notify inside the run, which ends when the component did not survive the handler.
    template <typename Handler, typename... Args> void Fire(const Handler& handler, Args&&... args);

    TFileTransferItems FItems;
    std::unique_ptr<TProgressDialog> FDialog;
    bool FRunPending = false;
    bool FRunning = false;
    int FFileNo = 0;
    bool FCancelled = false;
    bool FFinished = false;
    QString FLastTargetFile;
    QString FLastTargetDir;
    QString FRateText;
    QString FTimeLeftText;
    QString FElapsedText;
    // The active run, while there is one.
    TRunContext* FRun = nullptr;
};

// An error that escapes a handler goes to the default error display; the run carries on. The
// handler is called through a copy, since it may destroy the component that holds it.
template <typename Handler, typename... Args>
bool TFileTransfer::Notify(const Handler& handler, Args&&... args) {
    if (!handler)
        return true;
    const Handler call = handler;
    const QPointer<TFileTransfer> alive(this);
    RunGuarded([&] { call(this, std::forward<Args>(args)...); });
    return !alive.isNull();
}

template <typename Handler, typename... Args>
void TFileTransfer::Fire(const Handler& handler, Args&&... args) {
    if (!Notify(handler, std::forward<Args>(args)...))
        throw TRunAbandoned{};
}

} // namespace lanterna
