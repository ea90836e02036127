#include "transfer/internal/ftp_link.h"

#include "transfer/file_transfer_item.h"
#include "transfer/internal/transfer_context.h"

namespace lanterna {

namespace {

// The path up to and with its last "/"; empty without one.
QString FolderPart(const QString& path) {
    return path.left(path.lastIndexOf(u'/') + 1);
}

} // namespace

TFtpLink::TFtpLink(TTransferContext& context, bool keep) : FContext(context), FKeep(keep) {}

TFtpLink::~TFtpLink() {
    Release();
}

bool TFtpLink::Connect(const TFileTransferItem& item, bool reuse) {
    TFtpKept& kept = FContext.KeptFtp();
    const QString key = FtpKey(item);
    if (reuse && kept.Connection && key == kept.Key) {
        FConnection = kept.Connection.get();
        return true;
    }
    const TTransferSettings& settings = FContext.Settings();
    TTransferContext& context = FContext;
    auto connection = std::make_unique<TFtpConnection>(
        TFtpOptions{item.FTPHost(), item.FTPPort(), item.FTPUserID(), item.FTPPassword(), settings.FTPPassive,
                    settings.Timeout, settings.LowSpeedLimit, settings.LowSpeedTime},
        [&context] { return context.Idle(); });
    // The kept folder never describes a connection that this one replaces or stands beside.
    kept.Folder.clear();
    const bool connected = connection->Connect();
    FContext.ProcessMessages();
    if (!connected) {
        if (!FContext.Cancelled())
            FContext.ReportError(EngineError(eeConnectFtp, item.FTPHost()));
        return false;
    }
    FConnection = connection.get();
    if (FKeep) {
        kept.Connection = std::move(connection);
        kept.Key = key;
    } else {
        FOwn = std::move(connection);
    }
    return true;
}

void TFtpLink::Release() {
    if (!FConnection)
        return;
    TFtpKept& kept = FContext.KeptFtp();
    if (!FKeep) {
        FOwn.reset();
        kept.Connection.reset();
        kept.Key.clear();
        kept.Folder.clear();
    } else {
        if (FChanged)
            FConnection->ReturnTo(FSaved);
        // The next transfer on this connection finds it in this folder.
        kept.Folder = FConnection->CurrentFolder();
    }
    FConnection = nullptr;
}

bool TFtpLink::EnterFolder(const QString& path, const QString& url) {
    if (!path.contains(u'/'))
        return true;
    FSaved = FConnection->CurrentFolder();
    FChanged = true;
    // A folder that cannot be set is not searched in another one.
    if (FConnection->SetCurrentFolder(FolderPart(path)))
        return true;
    if (!FContext.Cancelled())
        FContext.URLNotFound(url);
    return false;
}

bool TFtpLink::PrepareFolder(const QString& folder) {
    FSaved = FConnection->CurrentFolder();
    FChanged = true;
    if (FConnection->SetCurrentFolder(folder))
        return true;
    const QString path = QString(folder).replace(u'\\', u'/');
    // An absolute folder is built from the root, not inside the current one.
    if (path.startsWith(u'/') && !FConnection->SetCurrentFolder(QStringLiteral("/")))
        return false;
    for (const QString& part : path.split(u'/', Qt::SkipEmptyParts))
        if (!FConnection->SetCurrentFolder(part) &&
            !(FConnection->CreateFolder(part) && FConnection->SetCurrentFolder(part)))
            return false;
    return true;
}

TFtpFound TFtpLink::Find(const QString& name, TFtpEntry& entry, bool needed) {
    const TFtpFound found = FConnection->Find(name, entry);
    if (found == fdUnknown && needed && !FContext.Cancelled())
        FContext.ReportError(FConnection->Error());
    return found;
}

std::optional<std::vector<TFtpEntry>> TFtpLink::ListFolder() {
    std::optional<std::vector<TFtpEntry>> entries = FConnection->List();
    if (!entries && !FContext.Cancelled())
        FContext.ReportError(FConnection->Error());
    return entries;
}

} // namespace lanterna
