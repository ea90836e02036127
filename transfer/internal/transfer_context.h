#pragma once
// What the run hands each transfer: the engine's settings as the item began, the run's connections,
// the lines and the progress the dialog shows, the owner's events, the login, the message pump and
// the cancel. A transfer reaches nothing else of the engine.

#include "transfer/file_transfer_item.h"
#include "transfer/internal/library_error.h"
#include "transfer/internal/transfer_clips.h"

#include <QString>
#include <QStringList>

#include <chrono>
#include <cstdint>

namespace lanterna {

class TInternetSession;
struct TFtpKept;

using TTick = std::chrono::steady_clock::time_point;

// The engine's properties that a transfer reads.
struct TTransferSettings {
    QString ProxyUserID;
    QString ProxyPassword;
    bool ShowServer = true;
    QString FromServerLabel;
    QString ToServerLabel;
    bool HTTPKeepAliveAuthentication = false;
    bool FTPPassive = false;
    bool CreateUniqueFilenames = false;
    int Timeout = 0;
    int LowSpeedLimit = 0;
    int LowSpeedTime = 0;
    std::uint64_t MaxFileSize = 0;
    int TimeLimitBase = 0;
    int TimeLimitRate = 0;

    // The word before the server on a file line: none when the server is not shown.
    QString FromServer() const { return ShowServer ? FromServerLabel : QString(); }
};

// What a transfer shares with the run besides its item: the date it found (the item's date when it
// begins), whether that was no newer, and whether the FTP connection stays open for the next item.
struct TTransferWork {
    double Date = 0;
    bool NoNewFile = false;
    bool KeepConnection = false;
};

// Which way the bytes of a block went: it picks the dialog's title word, and a copy always shows its
// total.
enum TTransferDirection : std::uint8_t { tdDownload, tdUpload, tdCopy };

class TTransferContext {
public:
    virtual ~TTransferContext() = default;

    virtual const TTransferSettings& Settings() const = 0;
    // The run's internet session; there is one whenever an item needs the network.
    virtual TInternetSession& Session() = 0;
    // The FTP connection the run keeps between items.
    virtual TFtpKept& KeptFtp() = 0;

    // The dialog: its clip; the file line of the item (counted among the run's items when there is
    // more than one), of file `number` of the `count` files of the item, or as it is given; one block
    // of progress, which also fires OnCopyProgress.
    virtual void PlayClip(TClipKind clip) = 0;
    virtual void ItemLine(const QString& name, const QString& serverWord, const QString& server) = 0;
    virtual void FileLine(int number, int count, const QString& name, const QString& serverWord,
                          const QString& server) = 0;
    virtual void ListLine(const QString& line) = 0;
    virtual void BlockProgress(std::uint64_t moved, std::uint32_t total, TTick start,
                               TTransferDirection direction) = 0;

    // What the item leaves: the file the dialog's buttons open, an FTP listing.
    virtual void SetLastTarget(const QString& file, const QString& folder) = 0;
    virtual void StoreListing(const QStringList& names, const TFileDetailItems& details) = 0;

    // The owner's events, for the current item.
    virtual void ReportError(const TLibraryError& error) = 0;
    virtual void URLNotFound(const QString& url) = 0;
    virtual void ConnectError() = 0;
    virtual bool AllowOverwrite(const QString& path) = 0;
    // Whether the owner decides on dates itself (OnFileDateCheck), and its decision.
    virtual bool ChecksDates() const = 0;
    virtual bool AllowDate(double date) = 0;
    virtual void NoNewFileFound(const QString& name, double current, double found) = 0;
    virtual void MultiFileDone(const QString& name) = 0;
    virtual void Removed(bool removed) = 0;

    // Asks for a user name and a password for `requestUrl`; false when none was given.
    virtual bool AskLogin(const QString& requestUrl, QString& user, QString& password) = 0;
    // Pumps the message queue: the only place where user code runs during a transfer.
    virtual void ProcessMessages() = 0;
    // Pumps the message queue; false once the run is cancelled. For waits on the network.
    virtual bool Idle() = 0;
    virtual bool Cancelled() const = 0;
    // Forgets a cancel that came before the transfer began.
    virtual void ResetCancel() = 0;
};

} // namespace lanterna
