#pragma once
// The local file that a transfer writes. The bytes go into a temporary file beside the target;
// only a complete transfer replaces the target (flushed to disk, then renamed over it, keeping the
// permissions of the file it replaces). Every other ending removes the temporary file, so a failed
// or cancelled transfer leaves the previous target as it was and nothing else behind.

#include <QByteArray>
#include <QCryptographicHash>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace lanterna {

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
    // Creates the temporary file in the target's folder, which must exist.
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
