#include "transfer/target_file.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStorageInfo>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lanterna {

namespace {

// Small pieces are gathered into writes of this size. Pieces from this size up go to the file as they
// are: a second copy costs more than the extra write, and a buffer this small is still in the cache.
constexpr std::size_t kBatchSize = 256 * 1024;
constexpr std::size_t kDirectSize = 64 * 1024;
// Names already taken by another writer's temporary file are retried this often.
constexpr int kNameAttempts = 16;

QString SystemError() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

// A living writer touches its file at least every quarter of an hour (a transfer that moves fewer than
// 300 bytes a second fails, and at most 256 KiB gather before a write); a temporary file of this
// target untouched for longer was left by a killed run.
constexpr qint64 kStaleTemporarySeconds = 60 * 60;
// The disk's margin: a hundredth of it, within these bounds.
constexpr std::uint64_t kSmallestMargin = 1024 * 1024;
constexpr std::uint64_t kLargestMargin = 16 * 1024 * 1024;

// A temporary name as Open makes them: "." + the target's name + "." + a base-36 number + ".part".
const QRegularExpression& TemporaryName() {
    static const QRegularExpression name(QStringLiteral("^\\..+\\.[0-9a-z]{1,7}\\.part$"));
    return name;
}

// Removes the temporary files in `folder` whose names start with `prefix` and that were last written
// before `before` (invalid: at any time). Only regular files: a link of that name is not ours.
void RemoveTemporariesBefore(const QString& folder, const QString& prefix, const QDateTime& before) {
    const QFileInfoList parts =
        QDir(folder).entryInfoList({QStringLiteral(".*.part")}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo& part : parts) {
        if (part.fileName().startsWith(prefix) && TemporaryName().match(part.fileName()).hasMatch() &&
            !part.isSymLink() && (!before.isValid() || part.lastModified().toUTC() < before))
            QFile::remove(part.absoluteFilePath());
    }
}

// Removes what killed runs left of this target, so that power cuts during updates cannot fill the
// folder over the months.
void RemoveStaleTemporaries(const QFileInfo& target) {
    RemoveTemporariesBefore(target.absolutePath(), QLatin1Char('.') + target.fileName() + QLatin1Char('.'),
                            QDateTime::currentDateTimeUtc().addSecs(-kStaleTemporarySeconds));
}

} // namespace

TDiskRoom DiskRoom(const QString& folder) {
    const QStorageInfo disk(folder);
    if (!disk.isValid() || disk.bytesAvailable() < 0 || disk.bytesTotal() < 0)
        return {};
    return {std::uint64_t(disk.bytesAvailable()),
            std::clamp(std::uint64_t(disk.bytesTotal()) / 100, kSmallestMargin, kLargestMargin)};
}

void RemoveTemporaries(const QString& folder) {
    // Also a file written a moment ago, or dated ahead by a clock set back: no writer is left.
    RemoveTemporariesBefore(folder, QStringLiteral("."), QDateTime());
}

TTargetFile::TTargetFile(QString path, std::uint64_t limit) : FPath(std::move(path)), FLimit(limit) {}

TTargetFile::~TTargetFile() {
    Discard();
}

void TTargetFile::Expect(std::uint64_t size, const QByteArray& sha256) {
    FLimit = std::min(FLimit, size);
    FExpectedSize = size;
    FExpectedHash = sha256;
    FHash = std::make_unique<QCryptographicHash>(QCryptographicHash::Sha256);
}

bool TTargetFile::Matches() const {
    return !FHash || (FSize == FExpectedSize && FHash->result() == FExpectedHash);
}

bool TTargetFile::Open() {
    Discard();
    FSize = 0;
    if (FHash)
        FHash->reset();
    const QFileInfo target(FPath);
    RemoveStaleTemporaries(target);
    // A hidden name in the same folder: the rename stays on one file system and is atomic.
    for (int attempt = 0; attempt < kNameAttempts && FHandle < 0; ++attempt) {
        FTemporaryPath = target.absolutePath() + QStringLiteral("/.") + target.fileName() + u'.' +
                         QString::number(QRandomGenerator::global()->generate(), 36) +
                         QStringLiteral(".part");
        FHandle = ::open(QFile::encodeName(FTemporaryPath).constData(),
                         O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (FHandle < 0 && errno != EEXIST)
            break;
    }
    if (FHandle < 0) {
        FError = SystemError();
        FTemporaryPath.clear();
        return false;
    }
    // The mode of the file itself, not of what a link points to (the rename replaces the link). The
    // special bits stay behind: a replaced program must not run with rights its new bytes never had.
    struct stat existing {};
    if (::lstat(QFile::encodeName(FPath).constData(), &existing) == 0 && S_ISREG(existing.st_mode))
        ::fchmod(FHandle, existing.st_mode & 0777);
    return true;
}

TTargetFile::TWriteResult TTargetFile::Write(const char* data, std::size_t size) {
    if (FHandle < 0)
        return wrFailed;
    if (size > FLimit - FSize) {
        FError = QStringLiteral("The file would exceed %1 bytes").arg(FLimit);
        Discard();
        return wrTooLarge;
    }
    FSize += size;
    if (FHash)
        FHash->addData(QByteArrayView(data, qsizetype(size)));
    if (size >= kDirectSize)
        return Flush() && WriteOut(data, size) ? wrWritten : wrFailed;
    if (FBatch.capacity() < kBatchSize)
        FBatch.reserve(kBatchSize);
    while (size > 0) {
        const std::size_t n = std::min(size, kBatchSize - FBatch.size());
        FBatch.insert(FBatch.end(), data, data + n);
        data += n;
        size -= n;
        if (FBatch.size() == kBatchSize && !Flush())
            return wrFailed;
    }
    return wrWritten;
}

bool TTargetFile::Commit() {
    if (FHandle < 0 || !Flush())
        return false;
    if (::fsync(FHandle) != 0 || ::close(FHandle) != 0) {
        FHandle = -1;
        Fail();
        return false;
    }
    FHandle = -1;
    if (std::rename(QFile::encodeName(FTemporaryPath).constData(), QFile::encodeName(FPath).constData()) !=
        0) {
        Fail();
        return false;
    }
    FTemporaryPath.clear();
    return true;
}

void TTargetFile::Discard() {
    if (FHandle >= 0)
        ::close(FHandle);
    FHandle = -1;
    if (!FTemporaryPath.isEmpty())
        ::unlink(QFile::encodeName(FTemporaryPath).constData());
    FTemporaryPath.clear();
    FBatch.clear();
}

bool TTargetFile::WriteOut(const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(FHandle, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            Fail();
            return false;
        }
        data += n;
        size -= std::size_t(n);
    }
    return true;
}

bool TTargetFile::Flush() {
    const bool written = WriteOut(FBatch.data(), FBatch.size());
    FBatch.clear();
    return written;
}

void TTargetFile::Fail() {
    FError = SystemError();
    Discard();
}

} // namespace lanterna
