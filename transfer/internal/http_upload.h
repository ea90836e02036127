#pragma once
// The HTTP upload: one local file sent as the body of a POST or PUT.

#include "transfer/internal/transfer_context.h"

#include <QString>
#include <QtGlobal>

class QFile;

namespace lanterna {

class THttpRequest;

class THttpUpload {
public:
    THttpUpload(TTransferContext& context, const TFileTransferItem& item);
    THttpUpload(const THttpUpload&) = delete;
    THttpUpload& operator=(const THttpUpload&) = delete;

    bool Run();

private:
    // Sends the `size` bytes of the body block by block and waits for the server to take them.
    bool SendBody(THttpRequest& request, QFile& source, qint64 size);
    // Why the server did not take the upload.
    TLibraryError Failure(const THttpRequest& request) const;

    TTransferContext& FContext;
    const TFileTransferItem& FItem;
    const QString FRequestUrl;
};

} // namespace lanterna
