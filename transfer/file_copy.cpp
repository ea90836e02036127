// The file copy of the engine: a local file, or one on a network share mounted as a folder, copied
// into a temporary file beside the target that replaces the target once the whole file is there.
#include "transfer/date_time.h"
#include "transfer/file_transfer.h"
#include "transfer/progress_dialog.h"
#include "transfer/target_file.h"
#include "transfer/url_functions.h"

#include <QDir>
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

bool TFileTransfer::FileCopy(int index, const TFileTransferItem& item, TTransferWork& work) {
    FDialog->Animation()->Play(ckCopy);
    const QString share = item.FTPHost();
    const QString name = LastSegment(item.URL());
    ItemLine(name, FDlgFromServerLabel, share.isEmpty() ? item.URL().chopped(name.size()) : share);
    ProcessMessages();

    TShareConnection connection(share, item.FTPUserID(), item.FTPPassword());
    bool result = false;
    auto copy = [&] {
        if (!share.isEmpty() && !connection.Connect()) {
            Fire(OnConnectError);
            return;
        }
        const QString source = WithoutFileScheme(share.isEmpty() ? item.URL() : share + u'/' + item.URL());
        QString target =
            TargetPath(item.TargetDir(), item.TargetFilename().isEmpty() ? name : item.TargetFilename());
        FLastTargetFile = target;
        FLastTargetDir = item.TargetDir();
        if (source == target) {
            ReportError({0, QStringLiteral("Cannot copy identical files ") + source});
            return;
        }
        // Only a plain file is read: a pipe or a device could block or never end.
        const QFileInfo sourceInfo(source);
        QFile input(source);
        if (!sourceInfo.isFile() || !input.open(QIODevice::ReadOnly)) {
            ReportError({1, QStringLiteral("Cannot open source file ") + source});
            return;
        }
        if (item.CopyNewerOnly() || OnFileDateCheck) {
            const double date = DateTimeFromLocal(sourceInfo.lastModified());
            if (OnFileDateCheck) {
                bool allow = true;
                Fire(OnFileDateCheck, index, date, allow);
                if (!allow)
                    return;
                work.Date = date;
            } else if (date <= work.Date) {
                work.NoNewFile = true;
                const double before = work.Date;
                work.Date = date;
                input.close();
                Fire(OnNoNewFileFound, source, before, date);
                return;
            } else {
                work.Date = date;
            }
        }
        const qint64 size = input.size();
        if (size < 0) {
            ReportError({2, QStringLiteral("Zero length source file ") + source});
            return;
        }
        if (QFileInfo::exists(target)) {
            bool allow = true;
            Fire(OnCopyOverWrite, target, allow);
            if (!allow)
                return;
            if (FCreateUniqueFilenames)
                target =
                    UniqueName(target, [](const QString& candidate) { return QFileInfo::exists(candidate); });
        }
        const QString folder = QFileInfo(target).absolutePath();
        QDir().mkpath(folder);
        const TDiskRoom room = DiskRoom(folder);
        if (std::uint64_t(size) > room.Room()) {
            ReportError(NoRoomError(target, std::uint64_t(size), room.Free, room.Margin));
            return;
        }
        TTargetFile output(target, DownloadLimit(room));
        if (!output.Open()) {
            ReportError({3, QStringLiteral("Cannot create target file ") + target});
            return;
        }

        FCancelled = false;
        const TTick start = std::chrono::steady_clock::now();
        std::uint64_t moved = 0;
        std::vector<char> block(kCopyBlockSize);
        qint64 n = 0;
        do {
            n = input.read(block.data(), kCopyBlockSize);
            if (n < 0) {
                ReportError({4, QStringLiteral("Error reading source file ") + source});
                return;
            }
            // A source that grows while it is copied stops at the size limit, not at a full disk.
            if (output.Write(block.data(), std::size_t(n)) != TTargetFile::wrWritten) {
                ReportError({5, QStringLiteral("Error writing to destination file ") + target});
                return;
            }
            moved += std::uint64_t(n);
            BlockProgress(moved, std::uint32_t(size), start, FDlgCopying, true);
        } while (n > 0 && !FCancelled);
        if (FCancelled)
            return;
        if (!output.Commit()) {
            ReportError({5, QStringLiteral("Error writing to destination file ") + target});
            return;
        }
        result = true;
    };
    copy();
    if (!share.isEmpty() && !connection.Disconnect()) {
        Fire(OnConnectError);
        result = false;
    }
    return result;
}

} // namespace lanterna
