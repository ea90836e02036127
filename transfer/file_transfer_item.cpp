#include "transfer/file_transfer_item.h"

#include "platform/types.h"

namespace lanterna {

void TFileTransferItem::Assign(const TFileTransferItem* source) {
    if (!source)
        return;
    FURL = source->FURL;
    FTargetDir = source->FTargetDir;
    FTargetFilename = source->FTargetFilename;
    FProtocol = source->FProtocol;
    FHTTPCommand = source->FHTTPCommand;
    FFTPHost = source->FFTPHost;
    FFTPUserID = source->FFTPUserID;
    FFTPPassword = source->FFTPPassword;
    FFTPPort = source->FFTPPort;
    FActive = source->FActive;
    FCopyNewerOnly = source->FCopyNewerOnly;
    FFileDate = source->FFileDate;
    FAuthenticate = source->FAuthenticate;
    FHTTPUserID = source->FHTTPUserID;
    FDisplayURL = source->FDisplayURL;
    FHTTPPassword = source->FHTTPPassword;
    // A copy must not lose the check of its bytes.
    FExactSize = source->FExactSize;
    FSHA256 = source->FSHA256;
}

TFileTransferItem* TFileTransferItems::Add() {
    FItems.push_back(std::make_unique<TFileTransferItem>());
    return FItems.back().get();
}

void TFileTransferItems::Delete(int index) {
    if (index < 0 || index >= Count())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(index));
    FItems.erase(FItems.begin() + index);
}

QString FtpKey(const TFileTransferItem& item) {
    // The port is part of it: two servers on one host are two servers.
    return item.FTPHost() + u':' + QString::number(item.FTPPort()) + u'\n' + item.FTPUserID() + u'\n' +
           item.FTPPassword();
}

} // namespace lanterna
