#pragma once
// The local file that a transfer writes, which programs also use to write a file whole or not at
// all. The bytes go into a temporary file beside the target;
// only a complete transfer replaces the target (flushed to disk, then renamed over it, keeping the
// permissions of the file it replaces). Every other ending removes the temporary file, so a failed
// or cancelled transfer leaves the previous target as it was and nothing else behind. Beside it: the
// room a transfer may fill on a disk, and the removal of what killed runs left.

#include <QByteArray>
#include <QCryptographicHash>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace lanterna {

// The space a transfer may fill on a disk: what the system leaves a writer there, less a margin that
// keeps the disk usable (1 % of the disk's size, at least 1 MiB and at most 16 MiB).
struct TDiskRoom {
    // UINT64_MAX when the disk cannot be asked: the room is then not bounded.
    std::uint64_t Free = UINT64_MAX;
    std::uint64_t Margin = 0;
    std::uint64_t Room() const { return Free > Margin ? Free - Margin : 0; }
};

// The room on the disk that holds `folder`, which must exist.
TDiskRoom DiskRoom(const QString& folder);

// Removes every temporary file that a target file left in `folder` (not in its subfolders), whatever
// its age. Only for an owner that knows that no transfer writes into the folder meanwhile, such as one
// holding the folder's lock; a target file that opens removes only its own target's temporaries
// untouched for an hour.
void RemoveTemporaries(const QString& folder);

class TTargetFile {
public:
    enum TWriteResult : std::uint8_t { wrWritten, wrTooLarge, wrFailed };

    // `limit` is the most bytes the file takes, whatever the other side announced.
    TTargetFile(QString path, std::uint64_t limit);
    ~TTargetFile();
    TTargetFile(const TTargetFile&) = delete;
    TTargetFile& operator=(const TTargetFile&) = delete;

    // The file is to hold exactly `size` bytes whose SHA-256 is `sha256`: the limit becomes `size`,
    // and the bytes are hashed as they are written.
    void Expect(std::uint64_t size, const QByteArray& sha256);
    bool Expecting() const { return FHash != nullptr; }
    // False when the bytes written so far are not the expected ones.
    bool Matches() const;
    // Creates the temporary file in the target's folder, which must exist. It takes the permissions of
    // a regular file it replaces, less set-user-ID, set-group-ID and sticky bits; a symbolic link is
    // replaced by the file itself and lends nothing, so the file then gets a new file's permissions.
    bool Open();
    // Takes the next bytes. Past the limit nothing is written and the file is refused.
    TWriteResult Write(const char* data, std::size_t size);
    // Writes what is still held, flushes it to the disk and renames it over the target.
    bool Commit();
    // Removes the temporary file; the target stays as it was.
    void Discard();

    const QString& Path() const { return FPath; }
    std::uint64_t Size() const { return FSize; }
    std::uint64_t Limit() const { return FLimit; }
    // Why the last operation failed, in the system's words.
    const QString& ErrorString() const { return FError; }

private:
    bool WriteOut(const char* data, std::size_t size);
    bool Flush();
    void Fail();

    QString FPath;
    QString FTemporaryPath;
    std::uint64_t FLimit;
    std::uint64_t FSize = 0;
    std::unique_ptr<QCryptographicHash> FHash;
    std::uint64_t FExpectedSize = 0;
    QByteArray FExpectedHash;
    int FHandle = -1;
    // Small pieces gathered into one write.
    std::vector<char> FBatch;
    QString FError;
};

} // namespace lanterna
