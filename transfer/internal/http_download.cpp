#include "transfer/internal/http_download.h"

#include "transfer/internal/base64.h"
#include "transfer/internal/date_time.h"
#include "transfer/internal/internet_session.h"
#include "transfer/internal/transfer_steps.h"
#include "transfer/url_functions.h"

#include <algorithm>
#include <limits>
#include <span>

namespace lanterna {

namespace {

constexpr std::size_t kBlockSize = 4096;
// The longest time limit: a size limit of any size still makes a limit that the clock can count.
constexpr std::uint64_t kLongestTimeLimit = std::numeric_limits<std::int32_t>::max();

QList<QByteArray> AuthorizationHeaders(const QString& user, const QString& password) {
    if (user.isEmpty() && password.isEmpty())
        return {};
    return {"Authorization: Basic " + Base64Encode((user + u':' + password).toUtf8())};
}

} // namespace

THttpDownload::THttpDownload(TTransferContext& context, const TFileTransferItem& item, TTransferWork& work)
    : FContext(context), FItem(item), FWork(work), FName(LastSegment(item.URL())),
      FRequestUrl(
          ProxyRewrite(item.URL(), context.Settings().ProxyUserID, context.Settings().ProxyPassword)) {}

THttpDownload::~THttpDownload() = default;

std::chrono::seconds THttpDownload::TimeLimit(std::uint64_t size) const {
    const TTransferSettings& settings = FContext.Settings();
    const std::uint64_t perRate = size / std::uint64_t(std::max(settings.TimeLimitRate, 1));
    return std::chrono::seconds(
        std::min(std::uint64_t(std::max(settings.TimeLimitBase, 0)) + perRate, kLongestTimeLimit));
}

bool THttpDownload::Run() {
    FWork.NoNewFile = false;
    FContext.ItemLine(FItem.DisplayURL().isEmpty() ? FName : FItem.DisplayURL(),
                      FContext.Settings().FromServer(), ServerOf(FRequestUrl));
    FContext.ProcessMessages();
    if (!Request() || !TakeAnswer())
        return false;

    // A file whose size is known and that does not fit on the disk is refused before its body is read.
    const std::int64_t length = FAnswer->ContentLength();
    const bool listed = !FItem.SHA256().isEmpty();
    const std::uint64_t known = length >= 0 ? std::uint64_t(length) : listed ? FItem.ExactSize() : 0;
    TOpenedTarget target = OpenTarget(FContext, {TargetOf(FItem, LastSegment(FRequestUrl)), known,
                                                 FItem.ExactSize(), FItem.SHA256(), eeCreateFile});
    if (!target.File && !target.Error)
        return false;
    FContext.SetLastTarget(target.Path, FItem.TargetDir());
    if (target.Error) {
        FAnswer.reset();
        FContext.ReportError(*target.Error);
        return false;
    }
    return Save(*target.File, target.Room);
}

bool THttpDownload::Request() {
    QString user = FItem.HTTPUserID();
    QString password = FItem.HTTPPassword();
    if (FItem.Authenticate() == waAlways && (user.isEmpty() || password.isEmpty()) &&
        !FContext.AskLogin(FRequestUrl, user, password))
        return false;

    // The proxy's credentials travel in the session, so the library gets the URL as the owner wrote it.
    TTransferContext& context = FContext;
    for (;;) {
        FAnswer = std::make_unique<THttpRequest>(FContext.Session(), [&context] { return context.Idle(); });
        FAnswer->SetTimeLimit(TimeLimit(0));
        const bool opened = FAnswer->Open(FItem.URL(), AuthorizationHeaders(user, password),
                                          FContext.Settings().HTTPKeepAliveAuthentication);
        FContext.ProcessMessages();
        if (!opened) {
            // A server that was never reached is not found; one that broke a limit after answering
            // is an error with the library's reason.
            if (FContext.Cancelled())
                return false;
            if (FAnswer->Reached())
                FContext.ReportError(FAnswer->Error());
            else
                FContext.URLNotFound(MaskCredentials(FRequestUrl));
            return false;
        }
        if (FAnswer->Status() != 401 || FItem.Authenticate() == waNever)
            return true;
        if (!FContext.AskLogin(FRequestUrl, user, password))
            return false;
    }
}

bool THttpDownload::TakeAnswer() {
    const long status = FAnswer->Status();
    if (status >= 300) {
        const bool unfollowed = FAnswer->UnfollowedRedirect();
        FAnswer.reset();
        FContext.ReportError(unfollowed ? UnfollowedRedirectError(status) : HttpStatusError(status));
        return false;
    }
    if (!FItem.CopyNewerOnly() && !FContext.ChecksDates())
        return true;
    const std::optional<std::int64_t> modified = FAnswer->LastModified();
    const double serverDate = modified ? DateTimeFromUnixSeconds(*modified) : NowDateTime();
    return TakeByDate(FContext, FWork, serverDate, dsSource, FName, [this] { FAnswer.reset(); });
}

bool THttpDownload::Save(TTargetFile& file, const TDiskRoom& room) {
    const std::int64_t length = FAnswer->ContentLength();
    FAnswer->SetTimeLimit(TimeLimit(length >= 0 ? std::uint64_t(length) : file.Limit()));
    std::uint32_t total = length > 0 ? std::uint32_t(length) : 0;
    if (total == 0 && FItem.ExpectedSize() > 0)
        total = FItem.ExpectedSize();
    std::uint64_t moved = 0;
    std::optional<TLibraryError> failure;
    if (length > 0 && std::uint64_t(length) > file.Limit())
        failure = AnswerTooLargeError();
    else if (file.Expecting() && length >= 0 && std::uint64_t(length) != FItem.ExactSize())
        failure = EngineError(eeContentMismatch, file.Path());
    else
        failure = Receive(file, room, total, moved);
    FAnswer.reset();
    if (!failure && !FContext.Cancelled())
        failure = Complete(file, length, moved);
    if (failure)
        FContext.ReportError(*failure);
    return !failure && moved > 0;
}

std::optional<TLibraryError> THttpDownload::Complete(TTargetFile& file, std::int64_t length,
                                                     std::uint64_t moved) {
    if (length >= 0 && moved != std::uint64_t(length))
        return ShortAnswerError();
    if (moved == 0)
        return std::nullopt;
    if (!file.Matches())
        return EngineError(eeContentMismatch, file.Path());
    if (!file.Commit())
        return EngineError(eeWriteTarget, file.Path());
    return std::nullopt;
}

std::optional<TLibraryError> THttpDownload::Receive(TTargetFile& file, const TDiskRoom& room,
                                                    std::uint32_t total, std::uint64_t& moved) {
    const TTick start = std::chrono::steady_clock::now();
    // The file takes the blocks where they lie in the answer's buffer; each block is shown and
    // reported on its own, the last time also after the answer's end.
    while (!FContext.Cancelled()) {
        const std::span<const char> blocks = FAnswer->Next(kBlockSize);
        if (blocks.empty() && FAnswer->Failed())
            return FContext.Cancelled() ? std::nullopt : std::optional(FAnswer->Error());
        const TTargetFile::TWriteResult written = file.Write(blocks.data(), blocks.size());
        // Past a limit that the disk set, and not the owner, the disk is full.
        if (written == TTargetFile::wrTooLarge)
            return !file.Expecting() && file.Limit() < FContext.Settings().MaxFileSize
                       ? NoRoomError(file.Path(), moved + blocks.size(), room.Free, room.Margin)
                       : AnswerTooLargeError();
        if (written == TTargetFile::wrFailed)
            return EngineError(eeWriteTarget, file.Path());
        if (blocks.empty()) {
            FContext.BlockProgress(moved, total, start, tdDownload);
            break;
        }
        for (std::size_t at = 0; at < blocks.size() && !FContext.Cancelled(); at += kBlockSize) {
            moved += std::min(kBlockSize, blocks.size() - at);
            FContext.BlockProgress(moved, total, start, tdDownload);
        }
    }
    return std::nullopt;
}

} // namespace lanterna
