#include "transfer/internal/ftp_transfer.h"

#include "platform/dir_search.h"
#include "transfer/internal/ftp_link.h"
#include "transfer/internal/ftp_listing.h"
#include "transfer/url_functions.h"

namespace lanterna {

TFtpTransfer::TFtpTransfer(TTransferContext& context, const TFileTransferItem& item, TTransferWork& work)
    : FContext(context), FItem(item), FWork(work) {}

void TFtpTransfer::ShowToServer() {
    FContext.PlayClip(ckUpload);
    FContext.ItemLine(LastSegment(FItem.URL()), FContext.Settings().ToServerLabel, FItem.FTPHost());
    FContext.ProcessMessages();
}

bool TFtpTransfer::List() {
    const QString url = QString(FItem.URL()).replace(u'\\', u'/');
    QString mask = LastSegment(url);
    if (mask.isEmpty())
        mask = QStringLiteral("*");
    FContext.ItemLine(mask, FContext.Settings().FromServer(), FItem.FTPHost());
    FContext.ProcessMessages();

    TFtpLink link(FContext, false);
    if (!link.Connect(FItem, false))
        return false;
    QStringList names;
    TFileDetailItems details;
    FContext.StoreListing(names, details);
    // A folder that is missing or cannot be listed is a failure, not an empty listing.
    if (!link.EnterFolder(url, FItem.URL()))
        return false;
    const std::optional<std::vector<TFtpEntry>> entries = link.ListFolder();
    if (!entries)
        return false;
    for (const TFtpEntry& entry : *entries) {
        if (!MatchesMask(entry.Name, mask))
            continue;
        names << entry.Name;
        details.push_back({entry.Directory ? kFileAttributeDirectory : kFileAttributeNormal, entry.Name,
                           std::uint32_t(entry.Size), std::uint32_t(entry.Size >> 32), entry.FileTime});
        if (names.size() > 1)
            FContext.ListLine(QString::number(names.size()) + u' ' + entry.Name);
    }
    FContext.StoreListing(names, details);
    return true;
}

bool TFtpTransfer::Delete() {
    ShowToServer();

    TFtpLink link(FContext, false);
    if (!link.Connect(FItem, true))
        return false;
    // The kept folder is where a kept connection really is: no need to move it there again.
    const QString folder = FItem.TargetDir();
    if (!folder.isEmpty() && folder != FContext.KeptFtp().Folder &&
        !link.Connection().SetCurrentFolder(folder))
        return false;
    const QString name = FItem.TargetFilename().isEmpty() ? LastSegment(FItem.URL()) : FItem.TargetFilename();
    FContext.Removed(link.Connection().Delete(name));
    return true;
}

bool TFtpTransfer::Test() {
    FContext.PlayClip(ckUpload);
    TFtpLink link(FContext, false);
    return link.Connect(FItem, true);
}

} // namespace lanterna
