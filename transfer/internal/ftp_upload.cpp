// The FTP uploads: one file, or every file that a mask matches, into a remote folder that is made
// when it is missing.
#include "transfer/internal/ftp_transfer.h"

#include "platform/dir_search.h"
#include "transfer/internal/ftp_link.h"
#include "transfer/internal/ftp_listing.h"
#include "transfer/internal/transfer_steps.h"
#include "transfer/url_functions.h"

#include <QFile>
#include <QFileInfo>

#include <array>

namespace lanterna {

namespace {

constexpr std::size_t kBlockSize = 4096;

} // namespace

bool TFtpTransfer::Upload() {
    FContext.ResetCancel();
    ShowToServer();

    TFtpLink link(FContext, FWork.KeepConnection);
    if (!link.Connect(FItem, true) ||
        (!FItem.TargetDir().isEmpty() && !link.PrepareFolder(FItem.TargetDir())))
        return false;
    const QString source = FItem.URL();
    const QString remoteName =
        FItem.TargetFilename().isEmpty() ? LastSegment(source) : FItem.TargetFilename();
    if ((FItem.CopyNewerOnly() || FContext.ChecksDates()) && !TakeRemoteFile(link, remoteName))
        return false;

    // The source is opened before the remote file, so that a missing source never empties the copy
    // on the server. Only a plain file is read: a pipe or a device could block or never end.
    QFile local(source);
    if (!QFileInfo(source).isFile() || !local.open(QIODevice::ReadOnly)) {
        FContext.URLNotFound(source);
        FContext.ReportError(EngineError(eeOpenSource, source));
        return false;
    }
    const qint64 size = local.size();
    FContext.ProcessMessages();
    if (!link.Connection().OpenWrite(remoteName, size)) {
        if (!FContext.Cancelled())
            FContext.URLNotFound(FItem.URL());
        return false;
    }
    FContext.ProcessMessages();
    FContext.SetLastTarget(source, FItem.TargetDir());
    return Send(link, local, size);
}

bool TFtpTransfer::TakeRemoteFile(TFtpLink& link, const QString& name) {
    // A remote file that the server could not look up might be the newer one: it stays.
    TFtpEntry entry;
    const TFtpFound found = link.Find(name, entry, true);
    if (found != fdFound)
        return found == fdMissing;
    return FContext.AllowOverwrite(name) &&
           TakeByDate(FContext, FWork, DateTimeFromFileTime(entry.FileTime), dsTarget, name);
}

bool TFtpTransfer::Send(TFtpLink& link, QFile& local, qint64 size) {
    TFtpConnection& ftp = link.Connection();
    const TTick start = std::chrono::steady_clock::now();
    std::uint64_t moved = 0;
    std::array<char, kBlockSize> block;
    qint64 n = 0;
    do {
        n = local.read(block.data(), qint64(block.size()));
        if (n < 0) {
            ftp.Abort();
            FContext.ReportError(EngineError(eeReadSource, local.fileName()));
            return false;
        }
        if (n > 0 && !ftp.Write(block.data(), std::size_t(n))) {
            if (!FContext.Cancelled())
                FContext.ReportError(ftp.Error());
            return false;
        }
        moved += std::uint64_t(n);
        FContext.BlockProgress(moved, std::uint32_t(size), start, tdUpload);
    } while (n > 0 && !FContext.Cancelled());
    if (FContext.Cancelled()) {
        ftp.Abort();
        link.SetKeep(false);
        return false;
    }
    if (!ftp.EndWrite()) {
        FContext.ReportError(ftp.Error());
        return false;
    }
    return true;
}

bool TFtpTransfer::MultiUpload() {
    ShowToServer();

    // Every file goes over this one connection, which the run keeps while the files go and which
    // closes with the item.
    TFtpLink link(FContext, true);
    if (!link.Connect(FItem, false))
        return false;
    link.SetKeep(false);
    if (!FItem.TargetDir().isEmpty() && !link.PrepareFolder(FItem.TargetDir()))
        return false;
    // The files name the prepared folder itself: a relative one would be made again inside it.
    const QString folder = link.Connection().CurrentFolder();
    const QString sourceFolder = MaskFolder(FItem.URL());
    for (const TSearchRec& found : FindFiles(FItem.URL())) {
        if (found.Directory)
            continue;
        TFileTransferItem file = FItem;
        file.SetURL(sourceFolder + found.Name);
        file.SetTargetFilename(found.Name);
        file.SetTargetDir(folder);
        TTransferWork fileWork{FWork.Date, FWork.NoNewFile, true};
        TFtpTransfer(FContext, file, fileWork).Upload();
        FWork.Date = fileWork.Date;
        FWork.NoNewFile = fileWork.NoNewFile;
        FContext.MultiFileDone(found.Name);
    }
    return true;
}

} // namespace lanterna
