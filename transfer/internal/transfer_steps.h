#pragma once
// The steps that the kinds of transfer share: the local file an item names, the decision on a
// source's date and the opening of a local target.

#include "transfer/internal/library_error.h"
#include "transfer/internal/transfer_context.h"
#include "transfer/target_file.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace lanterna {

// The local file of `item`: its target folder with its target name, or with `name` when it gives none.
QString TargetOf(const TFileTransferItem& item, const QString& name);

// Whose date decides a transfer: the source's, which goes on when it is newer than the item's date,
// or the target's, which lets the transfer go on unless it is the newer one.
enum TDatedSide : std::uint8_t { dsSource, dsTarget };

// Whether a transfer goes on, once the date `date` of its `side` decides: the owner's
// OnFileDateCheck when it is set, else the rule of the side against `work.Date`. A transfer that
// stops by that rule is reported through OnNoNewFileFound under `name`, after `letGo` has freed what
// the transfer holds. `work.Date` becomes `date`.
bool TakeByDate(TTransferContext& context, TTransferWork& work, double date, TDatedSide side,
                const QString& name, const std::function<void()>& letGo = {});

// How a transfer wants its target opened.
struct TTargetRequest {
    QString Path{};
    // The size known before the first byte, 0 when not known: a file that does not fit on its disk
    // is refused before anything is written.
    std::uint64_t Known = 0;
    // The size and SHA-256 that the owner listed; none when the hash is empty.
    std::uint64_t ExactSize = 0;
    QByteArray SHA256{};
    // What a target that cannot be created is reported as.
    TEngineError CreateError = eeCreateTarget;
};

// The opened target: the path it took, and the file, or the error to report once the transfer has
// let go of its source. Neither: the owner refused to overwrite the file.
struct TOpenedTarget {
    QString Path;
    std::unique_ptr<TTargetFile> File;
    std::optional<TLibraryError> Error;
    TDiskRoom Room;
};

// Opens the target of a transfer. A file that exists is replaced only when OnCopyOverWrite allows it,
// and is kept beside a unique new name when CreateUniqueFilenames asks for one; the folder is made,
// and the file takes at most MaxFileSize bytes and never more than the room on its disk.
TOpenedTarget OpenTarget(TTransferContext& context, const TTargetRequest& request);

} // namespace lanterna
