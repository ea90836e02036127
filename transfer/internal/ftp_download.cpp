// The FTP downloads: one file, or every file of a folder that a mask matches.
#include "transfer/internal/ftp_transfer.h"

#include "platform/dir_search.h"
#include "transfer/internal/date_time.h"
#include "transfer/internal/ftp_link.h"
#include "transfer/internal/ftp_listing.h"
#include "transfer/internal/transfer_steps.h"
#include "transfer/url_functions.h"

#include <array>

namespace lanterna {

namespace {

constexpr std::size_t kBlockSize = 4096;

} // namespace

bool TFtpTransfer::Download(bool showItemLine) {
    FContext.ResetCancel();
    FWork.NoNewFile = false;
    const QString name = LastSegment(FItem.URL());
    if (showItemLine)
        FContext.ItemLine(name, FContext.Settings().FromServer(), FItem.FTPHost());
    FContext.ProcessMessages();

    TFtpLink link(FContext, FWork.KeepConnection);
    std::uint32_t size = 0;
    if (!link.Connect(FItem, true) || !link.EnterFolder(FItem.URL(), FItem.URL()) ||
        !LookUp(link, name, size))
        return false;
    TFtpConnection& ftp = link.Connection();
    FContext.ProcessMessages();
    if (!ftp.OpenRead(name)) {
        if (!FContext.Cancelled())
            FContext.URLNotFound(FItem.URL());
        return false;
    }
    FContext.ProcessMessages();
    const QString path = TargetOf(FItem, name);
    FContext.SetLastTarget(path, FItem.TargetDir());
    const TOpenedTarget target = OpenTarget(FContext, {.Path = path});
    if (!target.File) {
        ftp.Abort();
        if (target.Error)
            FContext.ReportError(*target.Error);
        return false;
    }
    return Receive(ftp, *target.File, size);
}

bool TFtpTransfer::LookUp(TFtpLink& link, const QString& name, std::uint32_t& size) {
    // A name that the server could not look up is not taken as missing when its date decides.
    const bool dated = FItem.CopyNewerOnly() || FContext.ChecksDates();
    TFtpEntry entry;
    const TFtpFound found = link.Find(name, entry, dated);
    if (found == fdUnknown && dated)
        return false;
    size = found == fdFound ? std::uint32_t(entry.Size) : 0;
    return found != fdFound || !dated ||
           TakeByDate(FContext, FWork, DateTimeFromFileTime(entry.FileTime), dsSource, name);
}

bool TFtpTransfer::Receive(TFtpConnection& ftp, TTargetFile& file, std::uint32_t size) {
    const TTick start = std::chrono::steady_clock::now();
    std::uint64_t moved = 0;
    std::optional<TLibraryError> failure;
    std::array<char, kBlockSize> block;
    std::int64_t n = 1;
    while (n > 0 && !FContext.Cancelled()) {
        n = ftp.Read(block.data(), block.size());
        if (n < 0) {
            if (!FContext.Cancelled())
                failure = ftp.Error();
            break;
        }
        const TTargetFile::TWriteResult written = file.Write(block.data(), std::size_t(n));
        if (written != TTargetFile::wrWritten) {
            failure = written == TTargetFile::wrTooLarge ? AnswerTooLargeError()
                                                         : EngineError(eeWriteTarget, file.Path());
            break;
        }
        moved += std::uint64_t(n);
        FContext.BlockProgress(moved, size, start, tdDownload);
    }
    if (n != 0 || failure || FContext.Cancelled()) {
        ftp.Abort();
        if (failure)
            FContext.ReportError(*failure);
        return false;
    }
    if (!file.Commit()) {
        FContext.ReportError(EngineError(eeWriteTarget, file.Path()));
        return false;
    }
    return true;
}

bool TFtpTransfer::MultiDownload() {
    const QString url = QString(FItem.URL()).replace(u'\\', u'/');
    const QString mask = LastSegment(url);
    const QString serverWord = FContext.Settings().FromServer();
    FContext.ItemLine(mask, serverWord, FItem.FTPHost());
    FContext.ProcessMessages();

    TFtpLink link(FContext, true);
    if (!link.Connect(FItem, false) || !link.EnterFolder(url, FItem.URL()))
        return false;
    const std::optional<std::vector<TFtpEntry>> entries = link.ListFolder();
    if (!entries)
        return false;
    // A name the server lists becomes a local file name: one that would leave the target folder
    // is skipped, and so are folders.
    QStringList names;
    for (const TFtpEntry& entry : *entries)
        if (!entry.Directory && IsPlainFileName(entry.Name) && MatchesMask(entry.Name, mask))
            names << entry.Name;

    for (qsizetype n = 0; n < names.size(); ++n) {
        const QString& name = names[n];
        FContext.FileLine(int(n + 1), int(names.size()), name, serverWord, FItem.FTPHost());
        TFileTransferItem file = FItem;
        file.SetURL(name);
        file.SetTargetFilename(name);
        TTransferWork fileWork{FItem.FileDate(), FWork.NoNewFile, true};
        TFtpTransfer(FContext, file, fileWork).Download(false);
        FWork.NoNewFile = fileWork.NoNewFile;
        FContext.MultiFileDone(name);
        // A cancel that ended a download may have dropped the connection: the next file opens anew.
        if (!FContext.KeptFtp().Connection)
            break;
    }
    return true;
}

} // namespace lanterna
