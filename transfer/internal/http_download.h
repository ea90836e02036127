#pragma once
// The HTTP download: one GET into a temporary file beside the target, which replaces the target
// only once the whole answer has arrived.

#include "transfer/internal/transfer_context.h"

#include <QString>

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>

namespace lanterna {

struct TDiskRoom;
class THttpRequest;
class TTargetFile;

class THttpDownload {
public:
    THttpDownload(TTransferContext& context, const TFileTransferItem& item, TTransferWork& work);
    ~THttpDownload();
    THttpDownload(const THttpDownload&) = delete;
    THttpDownload& operator=(const THttpDownload&) = delete;

    bool Run();

private:
    // Sends the request, asking for a login as the item says; false after reporting why it failed.
    bool Request();
    // Whether the answer's status and, when dates decide, its date let the download go on.
    bool TakeAnswer();
    // The body of the answer into the opened target.
    bool Save(TTargetFile& file, const TDiskRoom& room);
    // Moves the body block by block, counting the bytes in `moved`; the failure that ended it, if
    // any. `room` tells a full disk from a file over its size limit.
    std::optional<TLibraryError> Receive(TTargetFile& file, const TDiskRoom& room, std::uint32_t total,
                                         std::uint64_t& moved);
    // The end of a body that was not cancelled: it has the length announced and the bytes listed,
    // and replaces the target; an empty body leaves the target as it was.
    std::optional<TLibraryError> Complete(TTargetFile& file, std::int64_t length, std::uint64_t moved);
    // The time a download of `size` bytes may take.
    std::chrono::seconds TimeLimit(std::uint64_t size) const;

    TTransferContext& FContext;
    const TFileTransferItem& FItem;
    TTransferWork& FWork;
    const QString FName;
    const QString FRequestUrl;
    std::unique_ptr<THttpRequest> FAnswer;
};

} // namespace lanterna
