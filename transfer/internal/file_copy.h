#pragma once
// The file copy: a local file, or one on a network share mounted as a folder, copied into a
// temporary file beside the target that replaces the target once the whole file is there.

#include "transfer/internal/transfer_context.h"

#include <QString>
#include <QtGlobal>

class QFile;

namespace lanterna {

class TTargetFile;

class TFileCopy {
public:
    TFileCopy(TTransferContext& context, const TFileTransferItem& item, TTransferWork& work);
    TFileCopy(const TFileCopy&) = delete;
    TFileCopy& operator=(const TFileCopy&) = delete;

    bool Run();

private:
    // The copy between connecting to the share and disconnecting from it.
    bool Copy();
    // Whether the date of `source` lets the copy go on, when dates decide.
    bool TakeSourceDate(QFile& input, double date);
    // Moves the `size` bytes of `input` into `output` and replaces the target with them.
    bool Move(QFile& input, TTargetFile& output, qint64 size);

    TTransferContext& FContext;
    const TFileTransferItem& FItem;
    TTransferWork& FWork;
    const QString FShare;
    const QString FName;
};

} // namespace lanterna
