#pragma once
// The connection that one FTP transfer works on, taken from the run and given back when the transfer
// ends, and the folder moves the transfers make on it.

#include "transfer/internal/ftp_connection.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace lanterna {

class TFileTransferItem;
class TTransferContext;

// The FTP connection that a run keeps from one item to the next, the host + port + user + password
// it was opened with, and the remote folder it was left in (empty: not known).
struct TFtpKept {
    std::unique_ptr<TFtpConnection> Connection;
    QString Key;
    QString Folder;
};

// The run's kept connection or one of the transfer's own. It goes back when the link ends, however
// the transfer ends: closed, or kept and returned to the folder the transfer found it in.
class TFtpLink {
public:
    // `keep`: the connection stays open for the next transfer.
    TFtpLink(TTransferContext& context, bool keep);
    ~TFtpLink();
    TFtpLink(const TFtpLink&) = delete;
    TFtpLink& operator=(const TFtpLink&) = delete;

    // The kept connection when `reuse` allows and the key of `item` fits, else a new one; false
    // after reporting code 6.
    bool Connect(const TFileTransferItem& item, bool reuse);
    TFtpConnection& Connection() const { return *FConnection; }
    void SetKeep(bool keep) { FKeep = keep; }
    // Moves into the folder part of `path`; a folder that cannot be set is reported as `url` not
    // found.
    bool EnterFolder(const QString& path, const QString& url);
    // Sets `folder` current, creating the parts that are missing.
    bool PrepareFolder(const QString& folder);
    // Looks `name` up in the current folder; when the server cannot tell and the answer is
    // `needed`, reports why.
    TFtpFound Find(const QString& name, TFtpEntry& entry, bool needed);
    // The entries of the current folder; a listing that fails is reported.
    std::optional<std::vector<TFtpEntry>> ListFolder();
    // Gives the connection back: closed, or kept and put back in its folder, which becomes the kept
    // folder.
    void Release();

private:
    TTransferContext& FContext;
    std::unique_ptr<TFtpConnection> FOwn;
    TFtpConnection* FConnection = nullptr;
    bool FKeep;
    // The transfer moved the connection away from the folder it found it in.
    bool FChanged = false;
    QString FSaved;
};

} // namespace lanterna
