// The HTTP upload of the engine: one local file sent as the body of a POST or PUT.
#include "transfer/file_transfer.h"
#include "transfer/internet_session.h"
#include "transfer/progress_dialog.h"
#include "transfer/url_functions.h"

#include <QFile>
#include <QFileInfo>

#include <array>

namespace lanterna {

namespace {

constexpr qint64 kBlockSize = 4096;

} // namespace

bool TFileTransfer::HttpUpload(const TFileTransferItem& item) {
    FDialog->Animation()->Play(ckUpload);
    const QString requestUrl = ProxyRewrite(item.URL(), FProxyUserID, FProxyPassword);
    ItemLine(LastSegment(item.URL()), FShowServer ? FDlgFromServerLabel : QString(), ServerOf(requestUrl));

    const QString path = TargetPath(
        item.TargetDir(), item.TargetFilename().isEmpty() ? LastSegment(requestUrl) : item.TargetFilename());
    if (!QFileInfo(path).isFile())
        return false;
    ProcessMessages();

    QFile source(path);
    if (!source.open(QIODevice::ReadOnly)) {
        ReportError({1, QStringLiteral("Cannot open source file ") + path});
        return false;
    }
    const qint64 size = source.size();
    THttpRequest request(*FSession, [this] { return Idle(); });
    // A server may refuse the body at any point, before it or half-way: its status is the reason.
    auto failure = [&] {
        if (request.Status() >= 300)
            return HttpStatusError(request.Status());
        if (request.Error().Code == EngineErrorCode(CURLE_FAILED_INIT))
            return TLibraryError{6, QStringLiteral("Cannot connect to server ") + ServerOf(requestUrl)};
        // A server that ends the exchange early without a status still failed the upload.
        return request.Error().Code != 0 ? request.Error() : LibraryError(CURLE_SEND_ERROR);
    };
    if (!request.Send(item.URL(), item.HTTPCommand() == hcPut, size)) {
        if (!FCancelled)
            ReportError(failure());
        return false;
    }

    const TTick start = std::chrono::steady_clock::now();
    qint64 moved = 0;
    std::array<char, kBlockSize> block;
    qint64 n = kBlockSize;
    while (n == kBlockSize && !FCancelled) {
        n = source.read(block.data(), kBlockSize);
        if (n < 0) {
            ReportError({4, QStringLiteral("Error reading source file ") + path});
            return false;
        }
        if (!request.Write(block.data(), std::size_t(n))) {
            if (!FCancelled)
                ReportError(failure());
            return false;
        }
        moved += n;
        BlockProgress(std::uint64_t(moved), std::uint32_t(size), start, FDlgUpload);
    }
    if (FCancelled)
        return false;
    // The server has to take the file: an answer of 300 or above is a failed upload.
    if (!request.End() || request.Status() >= 300) {
        ReportError(failure());
        return false;
    }
    return moved == size;
}

} // namespace lanterna
