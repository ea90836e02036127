#include "transfer/internal/http_upload.h"

#include "transfer/internal/internet_session.h"
#include "transfer/internal/transfer_steps.h"
#include "transfer/url_functions.h"

#include <QFile>
#include <QFileInfo>

#include <array>

namespace lanterna {

namespace {

constexpr qint64 kBlockSize = 4096;

} // namespace

THttpUpload::THttpUpload(TTransferContext& context, const TFileTransferItem& item)
    : FContext(context), FItem(item), FRequestUrl(ProxyRewrite(item.URL(), context.Settings().ProxyUserID,
                                                               context.Settings().ProxyPassword)) {}

bool THttpUpload::Run() {
    FContext.PlayClip(ckUpload);
    FContext.ItemLine(LastSegment(FItem.URL()), FContext.Settings().FromServer(), ServerOf(FRequestUrl));
    const QString path = TargetOf(FItem, LastSegment(FRequestUrl));
    if (!QFileInfo(path).isFile())
        return false;
    FContext.ProcessMessages();

    QFile source(path);
    if (!source.open(QIODevice::ReadOnly)) {
        FContext.ReportError(EngineError(eeOpenSource, path));
        return false;
    }
    const qint64 size = source.size();
    TTransferContext& context = FContext;
    THttpRequest request(FContext.Session(), [&context] { return context.Idle(); });
    if (!request.Send(FItem.URL(), FItem.HTTPCommand() == hcPut, size)) {
        if (!FContext.Cancelled())
            FContext.ReportError(Failure(request));
        return false;
    }
    return SendBody(request, source, size);
}

bool THttpUpload::SendBody(THttpRequest& request, QFile& source, qint64 size) {
    const TTick start = std::chrono::steady_clock::now();
    qint64 moved = 0;
    std::array<char, kBlockSize> block;
    qint64 n = kBlockSize;
    while (n == kBlockSize && !FContext.Cancelled()) {
        n = source.read(block.data(), kBlockSize);
        if (n < 0) {
            FContext.ReportError(EngineError(eeReadSource, source.fileName()));
            return false;
        }
        if (!request.Write(block.data(), std::size_t(n))) {
            if (!FContext.Cancelled())
                FContext.ReportError(Failure(request));
            return false;
        }
        moved += n;
        FContext.BlockProgress(std::uint64_t(moved), std::uint32_t(size), start, tdUpload);
    }
    if (FContext.Cancelled())
        return false;
    // The server has to take the file: an answer of 300 or above is a failed upload.
    if (!request.End() || request.Status() >= 300) {
        FContext.ReportError(Failure(request));
        return false;
    }
    return moved == size;
}

TLibraryError THttpUpload::Failure(const THttpRequest& request) const {
    // A server may refuse the body at any point, before it or half-way: its status is the reason.
    if (request.Status() >= 300)
        return HttpStatusError(request.Status());
    if (request.Error().Code == EngineErrorCode(CURLE_FAILED_INIT))
        return EngineError(eeConnectServer, ServerOf(FRequestUrl));
    // A server that ends the exchange early without a status still failed the upload.
    return request.Error().Code != 0 ? request.Error() : LibraryError(CURLE_SEND_ERROR);
}

} // namespace lanterna
