// The HTTP download of the engine: one GET into a temporary file beside the target, which
// replaces the target only once the whole answer has arrived.
#include "transfer/base64.h"
#include "transfer/date_time.h"
#include "transfer/file_transfer.h"
#include "transfer/internet_session.h"
#include "transfer/progress_dialog.h"
#include "transfer/target_file.h"
#include "transfer/url_functions.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <limits>
#include <optional>
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

TLibraryError FileError(int code, const QString& text, const QString& path) {
    return {code, text + path};
}

} // namespace

std::uint64_t TFileTransfer::DownloadLimit(const QString& path) const {
    return DownloadLimit(DiskRoom(QFileInfo(path).absolutePath()));
}

std::uint64_t TFileTransfer::DownloadLimit(const TDiskRoom& room) const {
    return std::min(FMaxFileSize, room.Room());
}

std::chrono::seconds TFileTransfer::DownloadTimeLimit(std::uint64_t size) const {
    const std::uint64_t perRate = size / std::uint64_t(std::max(FTimeLimitRate, 1));
    return std::chrono::seconds(
        std::min(std::uint64_t(std::max(FTimeLimitBase, 0)) + perRate, kLongestTimeLimit));
}

bool TFileTransfer::HttpDownload(int index, const TFileTransferItem& item, TTransferWork& work) {
    work.NoNewFile = false;
    const QString name = LastSegment(item.URL());
    const QString requestUrl = ProxyRewrite(item.URL(), FProxyUserID, FProxyPassword);
    ItemLine(item.DisplayURL().isEmpty() ? name : item.DisplayURL(),
             FShowServer ? FDlgFromServerLabel : QString(), ServerOf(requestUrl));
    ProcessMessages();

    QString user = item.HTTPUserID();
    QString password = item.HTTPPassword();
    if (item.Authenticate() == waAlways && (user.isEmpty() || password.isEmpty()) &&
        !AskLogin(requestUrl, user, password))
        return false;

    // The proxy's credentials travel in the session, so the library gets the URL as the owner wrote it.
    std::unique_ptr<THttpRequest> answer;
    for (;;) {
        answer = std::make_unique<THttpRequest>(*FSession, [this] { return Idle(); });
        answer->SetTimeLimit(DownloadTimeLimit(0));
        const bool opened =
            answer->Open(item.URL(), AuthorizationHeaders(user, password), FHTTPKeepAliveAuthentication);
        ProcessMessages();
        if (!opened) {
            // A server that was never reached is not found; one that broke a limit after answering
            // is an error with the library's reason.
            if (FCancelled)
                return false;
            if (answer->Reached())
                ReportError(answer->Error());
            else
                Fire(OnURLNotFound, MaskCredentials(requestUrl));
            return false;
        }
        if (answer->Status() != 401 || item.Authenticate() == waNever)
            break;
        if (!AskLogin(requestUrl, user, password))
            return false;
    }

    const long status = answer->Status();
    if (status >= 300) {
        const bool unfollowed = answer->UnfollowedRedirect();
        answer.reset();
        ReportError(unfollowed ? UnfollowedRedirectError(status) : HttpStatusError(status));
        return false;
    }

    if (item.CopyNewerOnly() || OnFileDateCheck) {
        const std::optional<std::int64_t> modified = answer->LastModified();
        const double serverDate = modified ? DateTimeFromUnixSeconds(*modified) : NowDateTime();
        if (OnFileDateCheck) {
            work.Date = serverDate;
            bool allow = true;
            Fire(OnFileDateCheck, index, serverDate, allow);
            if (!allow)
                return false;
        } else if (serverDate > work.Date) {
            work.Date = serverDate;
        } else {
            work.NoNewFile = true;
            const double before = work.Date;
            answer.reset();
            Fire(OnNoNewFileFound, name, before, serverDate);
            work.Date = serverDate;
            return false;
        }
    }

    QString path = TargetPath(item.TargetDir(), item.TargetFilename().isEmpty() ? LastSegment(requestUrl)
                                                                                : item.TargetFilename());
    if (QFileInfo::exists(path)) {
        bool allow = true;
        Fire(OnCopyOverWrite, path, allow);
        if (!allow)
            return false;
        if (FCreateUniqueFilenames)
            path = UniqueName(path, [](const QString& candidate) { return QFileInfo::exists(candidate); });
    }
    FLastTargetFile = path;
    FLastTargetDir = item.TargetDir();
    return HttpSave(item, std::move(answer), path);
}

bool TFileTransfer::HttpSave(const TFileTransferItem& item, std::unique_ptr<THttpRequest> answer,
                             const QString& path) {
    const QString folder = QFileInfo(path).absolutePath();
    QDir().mkpath(folder);
    // A file whose size is known and that does not fit on the disk is refused before its body is read.
    const std::int64_t length = answer->ContentLength();
    const bool listed = !item.SHA256().isEmpty();
    const std::uint64_t known = length >= 0 ? std::uint64_t(length) : listed ? item.ExactSize() : 0;
    const TDiskRoom room = DiskRoom(folder);
    if (known > room.Room()) {
        answer.reset();
        ReportError(NoRoomError(path, known, room.Free, room.Margin));
        return false;
    }
    TTargetFile file(path, DownloadLimit(room));
    if (listed)
        file.Expect(item.ExactSize(), item.SHA256());
    if (!file.Open()) {
        answer.reset();
        ReportError(FileError(3, QStringLiteral("Cannot create file "), path));
        return false;
    }
    answer->SetTimeLimit(DownloadTimeLimit(length >= 0 ? std::uint64_t(length) : file.Limit()));

    std::uint32_t total = length > 0 ? std::uint32_t(length) : 0;
    if (total == 0 && item.ExpectedSize() > 0)
        total = item.ExpectedSize();
    std::uint64_t moved = 0;
    std::optional<TLibraryError> failure;
    if (length > 0 && std::uint64_t(length) > file.Limit())
        failure = AnswerTooLargeError();
    else if (file.Expecting() && length >= 0 && std::uint64_t(length) != item.ExactSize())
        failure = ContentMismatchError(path);
    else
        failure = ReceiveBody(*answer, file, room, total, moved);
    answer.reset();
    if (!failure && !FCancelled && length >= 0 && moved != std::uint64_t(length))
        failure = ShortAnswerError();
    if (failure) {
        ReportError(*failure);
        return false;
    }
    bool result = moved > 0;
    if (result && !FCancelled && !file.Matches()) {
        ReportError(ContentMismatchError(path));
        result = false;
    }
    if (result && !FCancelled && !file.Commit()) {
        ReportError(FileError(5, QStringLiteral("Error writing to destination file "), path));
        result = false;
    }
    return result;
}

std::optional<TLibraryError> TFileTransfer::ReceiveBody(THttpRequest& answer, TTargetFile& file,
                                                        const TDiskRoom& room, std::uint32_t total,
                                                        std::uint64_t& moved) {
    const TTick start = std::chrono::steady_clock::now();
    // The file takes the blocks where they lie in the answer's buffer; each block is shown and
    // reported on its own, the last time also after the answer's end.
    while (!FCancelled) {
        const std::span<const char> blocks = answer.Next(kBlockSize);
        if (blocks.empty() && answer.Failed())
            return FCancelled ? std::nullopt : std::optional(answer.Error());
        const TTargetFile::TWriteResult written = file.Write(blocks.data(), blocks.size());
        // Past a limit that the disk set, and not the owner, the disk is full.
        if (written == TTargetFile::wrTooLarge)
            return !file.Expecting() && file.Limit() < FMaxFileSize
                       ? NoRoomError(file.Path(), moved + blocks.size(), room.Free, room.Margin)
                       : AnswerTooLargeError();
        if (written == TTargetFile::wrFailed)
            return FileError(5, QStringLiteral("Error writing to destination file "), file.Path());
        if (blocks.empty()) {
            BlockProgress(moved, total, start, FDlgDwnload);
            break;
        }
        for (std::size_t at = 0; at < blocks.size() && !FCancelled; at += kBlockSize) {
            moved += std::min(kBlockSize, blocks.size() - at);
            BlockProgress(moved, total, start, FDlgDwnload);
        }
    }
    return std::nullopt;
}

} // namespace lanterna
