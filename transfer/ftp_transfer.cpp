// The FTP transfers of the engine: downloads and uploads of one file or of every file a mask
// matches, listings, deletions and the connection test, on connections kept between items.
#include "platform/dir_search.h"
#include "transfer/file_transfer.h"
#include "transfer/ftp_connection.h"
#include "transfer/progress_dialog.h"
#include "transfer/target_file.h"
#include "transfer/url_functions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPointer>

#include <array>
#include <optional>

namespace lanterna {

namespace {

constexpr std::size_t kBlockSize = 4096;

// Runs `action` when the scope ends, however it ends, unless `owner` has been destroyed by then:
// a run whose component goes away unwinds without touching it.
template <typename Action> class TAtExit {
public:
    TAtExit(QObject* owner, Action action) : FOwner(owner), FAction(std::move(action)) {}
    ~TAtExit() {
        if (FOwner)
            FAction();
    }
    TAtExit(const TAtExit&) = delete;
    TAtExit& operator=(const TAtExit&) = delete;

private:
    QPointer<QObject> FOwner;
    Action FAction;
};

// The path up to and with its last "/"; empty without one.
QString FolderPart(const QString& path) {
    return path.left(path.lastIndexOf(u'/') + 1);
}

TLibraryError FileError(int code, const QString& text, const QString& path) {
    return {code, text + path};
}

} // namespace

bool TFileTransfer::FtpConnect(const TFileTransferItem& item, TFtpHold& hold, bool reuse) {
    const QString key = FtpKey(item);
    if (reuse && FFtpConnection && key == FFtpKey) {
        hold.Connection = FFtpConnection.get();
        return true;
    }
    auto connection = std::make_unique<TFtpConnection>(
        TFtpOptions{item.FTPHost(), item.FTPPort(), item.FTPUserID(), item.FTPPassword(), FFTPPassive,
                    FTimeout, FLowSpeedLimit, FLowSpeedTime},
        [this] { return Idle(); });
    // The kept folder never describes a connection that this one replaces or stands beside.
    FFtpFolder.clear();
    const bool connected = connection->Connect();
    ProcessMessages();
    if (!connected) {
        if (!FCancelled)
            ReportError({6, QStringLiteral("Cannot connect to FTP server ") + item.FTPHost()});
        return false;
    }
    hold.Connection = connection.get();
    if (hold.Keep) {
        FFtpConnection = std::move(connection);
        FFtpKey = key;
    } else {
        hold.Own = std::move(connection);
    }
    return true;
}

void TFileTransfer::FtpRelease(TFtpHold& hold) {
    if (!hold.Connection)
        return;
    if (!hold.Keep) {
        hold.Own.reset();
        FFtpConnection.reset();
        FFtpKey.clear();
        FFtpFolder.clear();
    } else {
        if (hold.Changed)
            hold.Connection->ReturnTo(hold.Saved);
        // The next transfer on this connection finds it in this folder.
        FFtpFolder = hold.Connection->CurrentFolder();
    }
    hold.Connection = nullptr;
}

bool TFileTransfer::FtpPrepareFolder(TFtpConnection& connection, const QString& folder) {
    if (connection.SetCurrentFolder(folder))
        return true;
    const QString path = QString(folder).replace(u'\\', u'/');
    // An absolute folder is built from the root, not inside the current one.
    if (path.startsWith(u'/') && !connection.SetCurrentFolder(QStringLiteral("/")))
        return false;
    for (const QString& part : path.split(u'/', Qt::SkipEmptyParts))
        if (!connection.SetCurrentFolder(part) &&
            !(connection.CreateFolder(part) && connection.SetCurrentFolder(part)))
            return false;
    return true;
}

bool TFileTransfer::FtpEnterFolder(TFtpHold& hold, const QString& path, const QString& url) {
    if (!path.contains(u'/'))
        return true;
    hold.Saved = hold.Connection->CurrentFolder();
    hold.Changed = true;
    // A folder that cannot be set is not searched in another one.
    if (hold.Connection->SetCurrentFolder(FolderPart(path)))
        return true;
    if (!FCancelled)
        Fire(OnURLNotFound, url);
    return false;
}

TFtpFound TFileTransfer::FtpFind(TFtpConnection& connection, const QString& name, TFtpEntry& entry,
                                 bool needed) {
    const TFtpFound found = connection.Find(name, entry);
    if (found == fdUnknown && needed && !FCancelled)
        ReportError(connection.Error());
    return found;
}

std::optional<std::vector<TFtpEntry>> TFileTransfer::FtpListFolder(TFtpConnection& connection) {
    std::optional<std::vector<TFtpEntry>> entries = connection.List();
    if (!entries && !FCancelled)
        ReportError(connection.Error());
    return entries;
}

bool TFileTransfer::FtpDownload(int index, const TFileTransferItem& item, TTransferWork& work,
                                bool showItemLine) {
    FCancelled = false;
    work.NoNewFile = false;
    const QString name = LastSegment(item.URL());
    if (showItemLine)
        ItemLine(name, FShowServer ? FDlgFromServerLabel : QString(), item.FTPHost());
    ProcessMessages();

    TFtpHold hold;
    hold.Keep = work.KeepConnection;
    if (!FtpConnect(item, hold, true))
        return false;
    const TAtExit release(this, [&] { FtpRelease(hold); });
    TFtpConnection& ftp = *hold.Connection;
    if (!FtpEnterFolder(hold, item.URL(), item.URL()))
        return false;

    // A name that the server could not look up is not taken as missing when its date decides.
    const bool dated = item.CopyNewerOnly() || OnFileDateCheck;
    TFtpEntry entry;
    const TFtpFound found = FtpFind(ftp, name, entry, dated);
    if (found == fdUnknown && dated)
        return false;
    const std::uint32_t size = found == fdFound ? std::uint32_t(entry.Size) : 0;
    if (found == fdFound && dated) {
        const double date = DateTimeFromFileTime(entry.FileTime);
        if (OnFileDateCheck) {
            bool allow = true;
            Fire(OnFileDateCheck, index, date, allow);
            work.Date = date;
            if (!allow)
                return false;
        } else if (date > work.Date) {
            work.Date = date;
        } else {
            work.NoNewFile = true;
            const double before = work.Date;
            Fire(OnNoNewFileFound, name, before, date);
            work.Date = date;
            return false;
        }
    }

    ProcessMessages();
    if (!ftp.OpenRead(name)) {
        if (!FCancelled)
            Fire(OnURLNotFound, item.URL());
        return false;
    }
    ProcessMessages();
    QString path =
        TargetPath(item.TargetDir(), item.TargetFilename().isEmpty() ? name : item.TargetFilename());
    FLastTargetFile = path;
    FLastTargetDir = item.TargetDir();
    if (QFileInfo::exists(path)) {
        bool allow = true;
        Fire(OnCopyOverWrite, path, allow);
        if (!allow) {
            ftp.Abort();
            return false;
        }
        if (FCreateUniqueFilenames)
            path = UniqueName(path, [](const QString& candidate) { return QFileInfo::exists(candidate); });
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    TTargetFile file(path, DownloadLimit(path));
    if (!file.Open()) {
        ftp.Abort();
        ReportError(FileError(3, QStringLiteral("Cannot create target file "), path));
        return false;
    }

    const TTick start = std::chrono::steady_clock::now();
    std::uint64_t moved = 0;
    std::optional<TLibraryError> failure;
    std::array<char, kBlockSize> block;
    std::int64_t n = 1;
    while (n > 0 && !FCancelled) {
        n = ftp.Read(block.data(), block.size());
        if (n < 0) {
            if (!FCancelled)
                failure = ftp.Error();
            break;
        }
        const TTargetFile::TWriteResult written = file.Write(block.data(), std::size_t(n));
        if (written != TTargetFile::wrWritten) {
            failure = written == TTargetFile::wrTooLarge
                          ? AnswerTooLargeError()
                          : FileError(5, QStringLiteral("Error writing to destination file "), path);
            break;
        }
        moved += std::uint64_t(n);
        BlockProgress(moved, size, start, FDlgDwnload);
    }
    if (n != 0 || failure || FCancelled) {
        ftp.Abort();
        if (failure)
            ReportError(*failure);
        return false;
    }
    if (!file.Commit()) {
        ReportError(FileError(5, QStringLiteral("Error writing to destination file "), path));
        return false;
    }
    return true;
}

bool TFileTransfer::FtpMultiDownload(int index, const TFileTransferItem& item, TTransferWork& work) {
    const QString url = QString(item.URL()).replace(u'\\', u'/');
    const QString mask = LastSegment(url);
    ItemLine(mask, FShowServer ? FDlgFromServerLabel : QString(), item.FTPHost());
    ProcessMessages();

    TFtpHold hold;
    hold.Keep = true;
    if (!FtpConnect(item, hold, false))
        return false;
    const TAtExit release(this, [&] { FtpRelease(hold); });
    if (!FtpEnterFolder(hold, url, item.URL()))
        return false;
    const std::optional<std::vector<TFtpEntry>> entries = FtpListFolder(*hold.Connection);
    if (!entries)
        return false;
    // A name the server lists becomes a local file name: one that would leave the target folder
    // is skipped, and so are folders.
    QStringList names;
    for (const TFtpEntry& entry : *entries)
        if (!entry.Directory && IsPlainFileName(entry.Name) && MatchesMask(entry.Name, mask))
            names << entry.Name;

    for (qsizetype n = 0; n < names.size(); ++n) {
        const QString& name = names[n];
        FileLine(QString::number(n + 1) + u' ' + FDlgFileOfLabel + u' ' + QString::number(names.size()) +
                     QStringLiteral(" : "),
                 name, FShowServer ? FDlgFromServerLabel : QString(), item.FTPHost());
        TFileTransferItem file = item;
        file.SetURL(name);
        file.SetTargetFilename(name);
        TTransferWork fileWork{item.FileDate(), work.NoNewFile, true};
        FtpDownload(index, file, fileWork, false);
        work.NoNewFile = fileWork.NoNewFile;
        Fire(OnMultiFTPFileDone, name);
        // A cancel that ended a download may have dropped the connection: the next file opens anew.
        if (!FFtpConnection)
            break;
    }
    return true;
}

bool TFileTransfer::FtpUpload(int index, const TFileTransferItem& item, TTransferWork& work) {
    FDialog->Animation()->Play(ckUpload);
    FCancelled = false;
    ItemLine(LastSegment(item.URL()), FDlgToServerLabel, item.FTPHost());
    ProcessMessages();

    TFtpHold hold;
    hold.Keep = work.KeepConnection;
    if (!FtpConnect(item, hold, true))
        return false;
    const TAtExit release(this, [&] { FtpRelease(hold); });
    TFtpConnection& ftp = *hold.Connection;
    hold.Saved = ftp.CurrentFolder();
    hold.Changed = !item.TargetDir().isEmpty();
    if (hold.Changed && !FtpPrepareFolder(ftp, item.TargetDir()))
        return false;

    const QString source = item.URL();
    const QString remoteName = item.TargetFilename().isEmpty() ? LastSegment(source) : item.TargetFilename();
    if (item.CopyNewerOnly() || OnFileDateCheck) {
        // A remote file that the server could not look up might be the newer one: it stays.
        TFtpEntry entry;
        const TFtpFound found = FtpFind(ftp, remoteName, entry, true);
        if (found == fdUnknown)
            return false;
        if (found == fdFound) {
            bool allow = true;
            Fire(OnCopyOverWrite, remoteName, allow);
            if (!allow)
                return false;
            const double date = DateTimeFromFileTime(entry.FileTime);
            if (OnFileDateCheck) {
                allow = true;
                Fire(OnFileDateCheck, index, date, allow);
                work.Date = date;
                if (!allow)
                    return false;
            } else if (date > work.Date) {
                const double before = work.Date;
                work.Date = date;
                work.NoNewFile = true;
                Fire(OnNoNewFileFound, remoteName, before, date);
                return false;
            } else {
                work.Date = date;
            }
        }
    }

    // The source is opened before the remote file, so that a missing source never empties the copy
    // on the server. Only a plain file is read: a pipe or a device could block or never end.
    QFile local(source);
    if (!QFileInfo(source).isFile() || !local.open(QIODevice::ReadOnly)) {
        Fire(OnURLNotFound, source);
        ReportError(FileError(1, QStringLiteral("Cannot open source file "), source));
        return false;
    }
    const qint64 size = local.size();
    ProcessMessages();
    if (!ftp.OpenWrite(remoteName, size)) {
        if (!FCancelled)
            Fire(OnURLNotFound, item.URL());
        return false;
    }
    ProcessMessages();
    FLastTargetFile = source;
    FLastTargetDir = item.TargetDir();

    const TTick start = std::chrono::steady_clock::now();
    std::uint64_t moved = 0;
    std::array<char, kBlockSize> block;
    qint64 n = 0;
    do {
        n = local.read(block.data(), qint64(block.size()));
        if (n < 0) {
            ftp.Abort();
            ReportError(FileError(4, QStringLiteral("Error reading source file "), source));
            return false;
        }
        if (n > 0 && !ftp.Write(block.data(), std::size_t(n))) {
            if (!FCancelled)
                ReportError(ftp.Error());
            return false;
        }
        moved += std::uint64_t(n);
        BlockProgress(moved, std::uint32_t(size), start, FDlgUpload);
    } while (n > 0 && !FCancelled);
    if (FCancelled) {
        ftp.Abort();
        hold.Keep = false;
        return false;
    }
    if (!ftp.EndWrite()) {
        ReportError(ftp.Error());
        return false;
    }
    return true;
}

bool TFileTransfer::FtpMultiUpload(int index, const TFileTransferItem& item, TTransferWork& work) {
    FDialog->Animation()->Play(ckUpload);
    ItemLine(LastSegment(item.URL()), FDlgToServerLabel, item.FTPHost());
    ProcessMessages();

    // Every file goes over this one connection, which closes with the item.
    TFtpHold hold;
    hold.Keep = true;
    if (!FtpConnect(item, hold, false))
        return false;
    const TAtExit release(this, [&] {
        hold.Keep = false;
        FtpRelease(hold);
    });
    if (!item.TargetDir().isEmpty() && !FtpPrepareFolder(*hold.Connection, item.TargetDir()))
        return false;
    // The files name the prepared folder itself: a relative one would be made again inside it.
    const QString folder = hold.Connection->CurrentFolder();
    const QString sourceFolder = MaskFolder(item.URL());
    for (const TSearchRec& found : FindFiles(item.URL())) {
        if (found.Directory)
            continue;
        TFileTransferItem file = item;
        file.SetURL(sourceFolder + found.Name);
        file.SetTargetFilename(found.Name);
        file.SetTargetDir(folder);
        TTransferWork fileWork{work.Date, work.NoNewFile, true};
        FtpUpload(index, file, fileWork);
        work.Date = fileWork.Date;
        work.NoNewFile = fileWork.NoNewFile;
        Fire(OnMultiFTPFileDone, found.Name);
    }
    return true;
}

bool TFileTransfer::FtpList(int index, const TFileTransferItem& item) {
    const QString url = QString(item.URL()).replace(u'\\', u'/');
    QString mask = LastSegment(url);
    if (mask.isEmpty())
        mask = QStringLiteral("*");
    ItemLine(mask, FShowServer ? FDlgFromServerLabel : QString(), item.FTPHost());
    ProcessMessages();

    TFtpHold hold;
    if (!FtpConnect(item, hold, false))
        return false;
    const TAtExit release(this, [&] { FtpRelease(hold); });
    QStringList names;
    TFileDetailItems details;
    auto store = [&] {
        if (index < FItems.Count()) {
            FItems[index]->SetFileList(names);
            FItems[index]->SetFileDetails(details);
        }
    };
    store();
    // A folder that is missing or cannot be listed is a failure, not an empty listing.
    if (!FtpEnterFolder(hold, url, item.URL()))
        return false;
    const std::optional<std::vector<TFtpEntry>> entries = FtpListFolder(*hold.Connection);
    if (!entries)
        return false;
    for (const TFtpEntry& entry : *entries) {
        if (!MatchesMask(entry.Name, mask))
            continue;
        names << entry.Name;
        details.push_back({entry.Directory ? kFileAttributeDirectory : kFileAttributeNormal, entry.Name,
                           std::uint32_t(entry.Size), std::uint32_t(entry.Size >> 32), entry.FileTime});
        if (names.size() > 1)
            FDialog->SetFileLine(QString::number(names.size()) + u' ' + entry.Name);
    }
    store();
    return true;
}

bool TFileTransfer::FtpDelete(int index, const TFileTransferItem& item) {
    FDialog->Animation()->Play(ckUpload);
    ItemLine(LastSegment(item.URL()), FDlgToServerLabel, item.FTPHost());
    ProcessMessages();

    TFtpHold hold;
    if (!FtpConnect(item, hold, true))
        return false;
    const TAtExit release(this, [&] { FtpRelease(hold); });
    // The kept folder is where a kept connection really is: no need to move it there again.
    if (!item.TargetDir().isEmpty() && item.TargetDir() != FFtpFolder &&
        !hold.Connection->SetCurrentFolder(item.TargetDir()))
        return false;
    const QString name = item.TargetFilename().isEmpty() ? LastSegment(item.URL()) : item.TargetFilename();
    if (hold.Connection->Delete(name))
        Fire(OnRemovedFile, index);
    else
        Fire(OnRemovedFileFailed, index);
    return true;
}

bool TFileTransfer::FtpTest(const TFileTransferItem& item) {
    FDialog->Animation()->Play(ckUpload);
    TFtpHold hold;
    const bool connected = FtpConnect(item, hold, true);
    FtpRelease(hold);
    return connected;
}

} // namespace lanterna
