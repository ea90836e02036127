#pragma once
// The FTP transfers: downloads and uploads of one file or of every file a mask matches, listings,
// deletions and the connection test, on the connection the run keeps between items.

#include "transfer/internal/transfer_context.h"

#include <QString>
#include <QtGlobal>

#include <cstdint>

class QFile;

namespace lanterna {

class TFtpConnection;
class TFtpLink;
class TTargetFile;

class TFtpTransfer {
public:
    TFtpTransfer(TTransferContext& context, const TFileTransferItem& item, TTransferWork& work);
    TFtpTransfer(const TFtpTransfer&) = delete;
    TFtpTransfer& operator=(const TFtpTransfer&) = delete;

    // A file of a multi-file download shows its own file line instead of the item's.
    bool Download(bool showItemLine = true);
    bool MultiDownload();
    bool Upload();
    bool MultiUpload();
    bool List();
    bool Delete();
    bool Test();

private:
    // The upload clip and the item's line towards the server, which the dialog then shows.
    void ShowToServer();
    // Looks the remote file `name` up: its size, and whether its date lets the download go on.
    bool LookUp(TFtpLink& link, const QString& name, std::uint32_t& size);
    // Moves the opened remote file into `file` and replaces the target with it.
    bool Receive(TFtpConnection& ftp, TTargetFile& file, std::uint32_t size);
    // Whether the remote file `name`, when there is one, may be replaced.
    bool TakeRemoteFile(TFtpLink& link, const QString& name);
    // Moves the `size` bytes of `local` into the opened remote file.
    bool Send(TFtpLink& link, QFile& local, qint64 size);

    TTransferContext& FContext;
    const TFileTransferItem& FItem;
    TTransferWork& FWork;
};

} // namespace lanterna
