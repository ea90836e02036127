#include "release/release_apply.h"

#include "platform/file_read.h"
#include "platform/ini_text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lanterna {

namespace {

const QString kStaging = QStringLiteral(".release-staging");
const QString kAside = QStringLiteral(".release-previous");
const QString kJournal = QStringLiteral(".release-journal");
const QString kLock = QStringLiteral(".release-lock");
const QString kSection = QStringLiteral("APPLY");
const QString kApplying = QStringLiteral("applying");
const QString kApplied = QStringLiteral("applied");
constexpr qint64 kMaxJournalBytes = 256 * 1024;
constexpr int kMaxValueLength = 2047;

bool Exists(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

bool Rename(const QString& from, const QString& to) {
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

// Makes the renames in `folder` last through a power cut.
void SyncFolder(const QString& folder) {
    const int handle = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle >= 0) {
        ::fsync(handle);
        ::close(handle);
    }
}

// A new file takes the permissions of the file it replaces (read from that file, not through a
// link), never its set-user or set-group bits.
void TakeMode(const QString& from, const QString& to) {
    struct stat old {};
    if (::lstat(QFile::encodeName(from).constData(), &old) == 0 && S_ISREG(old.st_mode))
        ::chmod(QFile::encodeName(to).constData(), old.st_mode & 0777);
}

void RemoveFolder(const QString& path) {
    if (QFileInfo(path).isSymLink())
        QFile::remove(path);
    else
        QDir(path).removeRecursively();
}

struct TJournal {
    QString Phase, Version, Previous;
    QStringList Names, Existed;
};

std::optional<TJournal> ReadJournal(const QString& path) {
    const std::optional<QByteArray> bytes = ReadRegularFile(path, kMaxJournalBytes);
    if (!bytes)
        return std::nullopt;
    const TIniText text(*bytes);
    const auto value = [&](const QString& key) { return text.Lookup(kSection, key, kMaxValueLength); };
    TJournal journal{value(QStringLiteral("Phase")),
                     value(QStringLiteral("Version")),
                     value(QStringLiteral("Previous")),
                     {},
                     {}};
    const int count = value(QStringLiteral("Files")).toInt();
    for (int i = 1; i <= count; ++i) {
        const QString name = value(QStringLiteral("File%1").arg(i));
        journal.Names << name;
        if (value(QStringLiteral("Existed%1").arg(i)) == QLatin1String("1"))
            journal.Existed << name;
    }
    return journal;
}

} // namespace

TReleaseFolder::TReleaseFolder(QString folder) : FFolder(std::move(folder)) {}

QString TReleaseFolder::Path(const QString& name) const {
    return QDir(FFolder).filePath(name);
}

QString TReleaseFolder::Aside(const QString& name) const {
    return Path(kAside) + u'/' + name;
}

QString TReleaseFolder::StagingFolder() const {
    return Path(kStaging);
}

bool TReleaseFolder::PrepareStaging(QString& error) {
    RemoveFolder(StagingFolder());
    if (QDir().mkpath(StagingFolder()))
        return true;
    error = QStringLiteral("Cannot create folder ") + StagingFolder();
    return false;
}

bool TReleaseFolder::WriteJournal(const QString& phase, const QString& version, const QString& previous,
                                  const QStringList& names, const QStringList& existed,
                                  QString& error) const {
    QStringList lines = {QStringLiteral("[APPLY]"), QStringLiteral("Phase=") + phase,
                         QStringLiteral("Version=") + version, QStringLiteral("Previous=") + previous,
                         QStringLiteral("Files=%1").arg(names.size())};
    for (int i = 1; i <= names.size(); ++i)
        lines << QStringLiteral("File%1=").arg(i) + names[i - 1]
              << QStringLiteral("Existed%1=%2").arg(i).arg(existed.contains(names[i - 1]) ? 1 : 0);
    QSaveFile file(Path(kJournal));
    if (file.open(QIODevice::WriteOnly) && file.write((lines.join(u'\n') + u'\n').toUtf8()) >= 0 &&
        file.commit())
        return true;
    error = file.fileName() + QStringLiteral(": ") + file.errorString();
    return false;
}

bool TReleaseFolder::Apply(const QString& version, const QString& previous, const QStringList& names,
                           const QString& last, QString& error) {
    QStringList order = names;
    if (order.removeAll(last) > 0)
        order << last;
    QStringList existed;
    for (const QString& name : order) {
        const QFileInfo old(Path(name));
        // Only files are replaced: a folder of the same name would be moved aside and lost.
        if (old.exists() && !old.isFile() && !old.isSymLink()) {
            error = QStringLiteral("Cannot replace a folder by file ") + Path(name);
            return false;
        }
        if (Exists(Path(name)))
            existed << name;
    }
    RemoveFolder(Path(kAside));
    if (!QDir().mkpath(Path(kAside))) {
        error = QStringLiteral("Cannot create folder ") + Path(kAside);
        return false;
    }
    if (!WriteJournal(kApplying, version, previous, order, existed, error))
        return false;
    for (const QString& name : order) {
        if (existed.contains(name))
            TakeMode(Path(name), StagingFolder() + u'/' + name);
        const bool moved = (!existed.contains(name) || Rename(Path(name), Aside(name))) &&
                           Rename(StagingFolder() + u'/' + name, Path(name));
        if (!moved) {
            error = QStringLiteral("Cannot replace file ") + Path(name);
            QString undone;
            Undo(undone);
            return false;
        }
    }
    SyncFolder(FFolder);
    return WriteJournal(kApplied, version, previous, order, existed, error);
}

bool TReleaseFolder::Undo(QString& error) {
    const std::optional<TJournal> journal = ReadJournal(Path(kJournal));
    bool undone = true;
    if (journal) {
        for (auto name = journal->Names.crbegin(); name != journal->Names.crend(); ++name) {
            if (Exists(Aside(*name)))
                undone = Rename(Aside(*name), Path(*name)) && undone;
            else if (!journal->Existed.contains(*name) && !Exists(StagingFolder() + u'/' + *name))
                undone = (!Exists(Path(*name)) || QFile::remove(Path(*name))) && undone;
        }
        SyncFolder(FFolder);
    }
    if (!undone) {
        error = QStringLiteral("The previous release could not be put back whole in ") + FFolder;
        return false;
    }
    QFile::remove(Path(kJournal));
    RemoveFolder(Path(kAside));
    RemoveFolder(StagingFolder());
    return true;
}

void TReleaseFolder::Keep() {
    // Without a journal the folder holds a whole set, so the journal goes before the old set.
    QFile::remove(Path(kJournal));
    RemoveFolder(Path(kAside));
    RemoveFolder(StagingFolder());
}

bool TReleaseFolder::RollBack(QString& error) {
    return Undo(error);
}

QString TReleaseFolder::Version() const {
    const std::optional<TJournal> journal = ReadJournal(Path(kJournal));
    return journal ? journal->Version : QString();
}

QString TReleaseFolder::Previous() const {
    const std::optional<TJournal> journal = ReadJournal(Path(kJournal));
    return journal ? journal->Previous : QString();
}

bool TReleaseFolder::AwaitsHealth() const {
    const std::optional<TJournal> journal = ReadJournal(Path(kJournal));
    return journal && journal->Phase == kApplied;
}

bool TReleaseFolder::Recover() {
    const std::optional<TJournal> journal = ReadJournal(Path(kJournal));
    // No updater waits for the applied set any more (the caller holds the folder's lock): the set
    // is whole, and it stays.
    if (journal && journal->Phase == kApplied) {
        Keep();
        return true;
    }
    if (journal || Exists(Path(kJournal))) {
        QString error;
        Undo(error);
        return true;
    }
    // Without a journal, an old set aside is one already kept.
    const bool leftovers = Exists(Path(kAside));
    RemoveFolder(Path(kAside));
    return leftovers;
}

TReleaseLock::TReleaseLock(const QString& folder)
    : FLock(std::make_unique<QLockFile>(QDir(folder).filePath(kLock))) {
    // A run holds it for minutes; only a lock whose owner is gone counts as stale.
    FLock->setStaleLockTime(0);
}

TReleaseLock::~TReleaseLock() = default;

bool TReleaseLock::TryLock() {
    return FLock->tryLock(0);
}

void RecoverRelease(const QString& folder) {
    TReleaseLock lock(folder);
    if (lock.TryLock())
        TReleaseFolder(folder).Recover();
}

} // namespace lanterna
