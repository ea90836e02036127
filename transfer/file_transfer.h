#pragma once
// The download engine: performs a list of transfers one after another on the user-interface
// thread, keeps a progress dialog current and reports every step through its events.

#include "platform/error_display.h"
#include "transfer/file_transfer_item.h"
#include "transfer/library_error.h"
#include "transfer/property.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QLabel;
class QWidget;

namespace lanterna {

struct TDiskRoom;
class TFtpConnection;
struct TFtpEntry;
enum TFtpFound : std::uint8_t;
struct TFtpHold;
class TInternetSession;
class THttpRequest;
class TProgressDialog;
struct TProgressDialogOptions;
class TTargetFile;

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
    using TTick = std::chrono::steady_clock::time_point;

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
    bool HasSession() const { return FSession != nullptr; }
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
    // The progress dialog's buttons and its closing.
    void CancelButtonClick();
    void OpenFileButtonClick();
    void OpenFolderButtonClick();
    void DialogClosed(TProgressDialog* dialog);
    void OpenAndClose(const QString& path);
    // What a run frees itself when the component is destroyed while the run is still using it.
    struct TRunFrame {
        std::unique_ptr<TInternetSession> Session;
        std::unique_ptr<TProgressDialog> Dialog;
        std::unique_ptr<TFtpConnection> FtpConnection;
    };
    // Thrown inside a run whose component has been destroyed; the run ends without touching it.
    struct TRunAbandoned {};

    // What a transfer shares with the run besides its item.
    struct TTransferWork {
        double Date = 0;
        bool NoNewFile = false;
        bool KeepConnection = false;
    };

    void Run();
    void RunItems();
    void BuildDialog();
    void EndRun();
    bool Perform(int index, const TFileTransferItem& item, TTransferWork& work);
    bool HttpDownload(int index, const TFileTransferItem& item, TTransferWork& work);
    bool HttpUpload(const TFileTransferItem& item);
    bool FtpDownload(int index, const TFileTransferItem& item, TTransferWork& work, bool showItemLine);
    bool FtpMultiDownload(int index, const TFileTransferItem& item, TTransferWork& work);
    bool FtpUpload(int index, const TFileTransferItem& item, TTransferWork& work);
    bool FtpMultiUpload(int index, const TFileTransferItem& item, TTransferWork& work);
    bool FtpList(int index, const TFileTransferItem& item);
    bool FtpDelete(int index, const TFileTransferItem& item);
    bool FtpTest(const TFileTransferItem& item);
    bool FileCopy(int index, const TFileTransferItem& item, TTransferWork& work);
    // The connection of one FTP transfer: the kept one when `reuse` allows and the key fits, else
    // a new one; false after reporting code 6.
    bool FtpConnect(const TFileTransferItem& item, TFtpHold& hold, bool reuse);
    // The end of an FTP transfer: the connection is closed, or kept and put back in its folder,
    // which becomes the kept folder.
    void FtpRelease(TFtpHold& hold);
    // Looks `name` up in the connection's current folder; when the server cannot tell and the
    // answer is `needed`, reports why.
    TFtpFound FtpFind(TFtpConnection& connection, const QString& name, TFtpEntry& entry, bool needed);
    // Moves the connection into the folder part of `path`; a folder that cannot be set is reported
    // as `url` not found.
    bool FtpEnterFolder(TFtpHold& hold, const QString& path, const QString& url);
    // The entries of the current folder; a listing that fails is reported.
    std::optional<std::vector<TFtpEntry>> FtpListFolder(TFtpConnection& connection);
    // Sets `folder` current, creating the parts that are missing.
    bool FtpPrepareFolder(TFtpConnection& connection, const QString& folder);
    bool AskLogin(const QString& requestUrl, QString& user, QString& password);
    // The most bytes a transfer writes into `path`, or onto a disk with `room`: MaxFileSize, and
    // never more than the room.
    std::uint64_t DownloadLimit(const QString& path) const;
    std::uint64_t DownloadLimit(const TDiskRoom& room) const;
    // The time an HTTP download of `size` bytes may take.
    std::chrono::seconds DownloadTimeLimit(std::uint64_t size) const;
    // The end of an HTTP download whose answer is ready: its body into the target file at `path`.
    bool HttpSave(const TFileTransferItem& item, std::unique_ptr<THttpRequest> answer, const QString& path);
    // Moves the body of `answer` into `file` block by block, counting the bytes in `moved`; the
    // failure that ended it, if any. `room` tells a full disk from a file over its size limit.
    std::optional<TLibraryError> ReceiveBody(THttpRequest& answer, TTargetFile& file, const TDiskRoom& room,
                                             std::uint32_t total, std::uint64_t& moved);

    // The two writes of a transfer into the dialog.
    void ItemLine(const QString& name, const QString& serverWord, const QString& server);
    void FileLine(const QString& counter, const QString& name, const QString& serverWord,
                  const QString& server);
    // A copy always shows the total, and the full bar for an empty file.
    void BlockProgress(std::uint64_t moved, std::uint32_t total, TTick start, const QString& direction,
                       bool copy = false);

    void ProcessMessages();
    // Block progress pumps the message queue at most this often.
    static constexpr std::chrono::milliseconds kPumpEvery{5};
    // Pumps the message queue; false once the run is cancelled. For waits on the network.
    bool Idle();
    void ReportError(const TLibraryError& error);
    // Calls a handler; false when the component did not survive it.
    template <typename Handler, typename... Args> bool Notify(const Handler& handler, Args&&... args);
    // Notify inside the run, which ends when the component did not survive the handler.
    template <typename Handler, typename... Args> void Fire(const Handler& handler, Args&&... args);

    TFileTransferItems FItems;
    std::unique_ptr<TProgressDialog> FDialog;
    std::unique_ptr<TInternetSession> FSession;
    // The FTP connection kept for the next transfer, the host + port + user + password it was
    // opened with, and the remote folder it is in (empty: not known).
    std::unique_ptr<TFtpConnection> FFtpConnection;
    QString FFtpKey;
    QString FFtpFolder;
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
    TTick FLastPump;
    TRunFrame* FFrame = nullptr;
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
