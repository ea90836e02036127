#include "transfer/internal/file_copy.h"

#include "transfer/internal/date_time.h"
#include "transfer/internal/transfer_steps.h"
#include "transfer/url_functions.h"

#include <QFile>
#include <QFileInfo>

#include <vector>

namespace lanterna {

namespace {

constexpr qint64 kCopyBlockSize = 16384;

// A network share is a folder that is already mounted: connecting checks that it can be reached,
// and only a connected share can be disconnected. User and password are kept for the record.
class TShareConnection {
public:
    TShareConnection(QString share, QString user, QString password)
        : FShare(std::move(share)), FUser(std::move(user)), FPassword(std::move(password)) {}

    bool Connect() {
        FConnected = QFileInfo(FShare).isDir();
        return FConnected;
    }
    bool Disconnect() {
        const bool wasConnected = FConnected;
        FConnected = false;
        return wasConnected;
    }

private:
    QString FShare;
    QString FUser;
    QString FPassword;
    bool FConnected = false;
};

QString WithoutFileScheme(const QString& path) {
    return path.startsWith(QLatin1String("FILE://"), Qt::CaseInsensitive) ? path.mid(7) : path;
}

} // namespace

TFileCopy::TFileCopy(TTransferContext& context, const TFileTransferItem& item, TTransferWork& work)
    : FContext(context), FItem(item), FWork(work), FShare(item.FTPHost()), FName(LastSegment(item.URL())) {}

bool TFileCopy::Run() {
    FContext.PlayClip(ckCopy);
    FContext.ItemLine(FName, FContext.Settings().FromServerLabel,
                      FShare.isEmpty() ? FItem.URL().chopped(FName.size()) : FShare);
    FContext.ProcessMessages();

    TShareConnection connection(FShare, FItem.FTPUserID(), FItem.FTPPassword());
    bool result = false;
    if (!FShare.isEmpty() && !connection.Connect())
        FContext.ConnectError();
    else
        result = Copy();
    if (!FShare.isEmpty() && !connection.Disconnect()) {
        FContext.ConnectError();
        result = false;
    }
    return result;
}

bool TFileCopy::Copy() {
    const QString source = WithoutFileScheme(FShare.isEmpty() ? FItem.URL() : FShare + u'/' + FItem.URL());
    const QString target = TargetOf(FItem, FName);
    FContext.SetLastTarget(target, FItem.TargetDir());
    if (source == target) {
        FContext.ReportError(EngineError(eeIdenticalFiles, source));
        return false;
    }
    // Only a plain file is read: a pipe or a device could block or never end.
    const QFileInfo sourceInfo(source);
    QFile input(source);
    if (!sourceInfo.isFile() || !input.open(QIODevice::ReadOnly)) {
        FContext.ReportError(EngineError(eeOpenSource, source));
        return false;
    }
    if ((FItem.CopyNewerOnly() || FContext.ChecksDates()) &&
        !TakeSourceDate(input, DateTimeFromLocal(sourceInfo.lastModified())))
        return false;
    const qint64 size = input.size();
    if (size < 0) {
        FContext.ReportError(EngineError(eeZeroLength, source));
        return false;
    }
    const TOpenedTarget opened = OpenTarget(FContext, {.Path = target, .Known = std::uint64_t(size)});
    if (!opened.File) {
        if (opened.Error)
            FContext.ReportError(*opened.Error);
        return false;
    }
    FContext.ResetCancel();
    return Move(input, *opened.File, size);
}

bool TFileCopy::TakeSourceDate(QFile& input, double date) {
    const double itemDate = FWork.Date;
    if (TakeByDate(FContext, FWork, date, dsSource, input.fileName(), [&input] { input.close(); }))
        return true;
    // A copy that the owner refuses by its date keeps the item's own date.
    if (FContext.ChecksDates())
        FWork.Date = itemDate;
    return false;
}

bool TFileCopy::Move(QFile& input, TTargetFile& output, qint64 size) {
    const TTick start = std::chrono::steady_clock::now();
    std::uint64_t moved = 0;
    std::vector<char> block(kCopyBlockSize);
    qint64 n = 0;
    do {
        n = input.read(block.data(), kCopyBlockSize);
        if (n < 0) {
            FContext.ReportError(EngineError(eeReadSource, input.fileName()));
            return false;
        }
        // A source that grows while it is copied stops at the size limit, not at a full disk.
        if (output.Write(block.data(), std::size_t(n)) != TTargetFile::wrWritten) {
            FContext.ReportError(EngineError(eeWriteTarget, output.Path()));
            return false;
        }
        moved += std::uint64_t(n);
        FContext.BlockProgress(moved, std::uint32_t(size), start, tdCopy);
    } while (n > 0 && !FContext.Cancelled());
    if (FContext.Cancelled())
        return false;
    if (!output.Commit()) {
        FContext.ReportError(EngineError(eeWriteTarget, output.Path()));
        return false;
    }
    return true;
}

} // namespace lanterna
