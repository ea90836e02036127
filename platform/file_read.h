#pragma once
// Reading files that may be anything a folder can hold: only regular files are read (also behind a
// link), opening never waits for a writer or a device, and no read takes more than a given size.

#include <QByteArray>
#include <QFile>
#include <QString>

#include <optional>

namespace lanterna {

// A regular file opened for reading. The descriptor is opened and closed here, not by Qt, so that
// every open and close of it is made by the same code.
class TRegularFile {
public:
    TRegularFile() = default;
    TRegularFile(const TRegularFile&) = delete;
    TRegularFile& operator=(const TRegularFile&) = delete;
    ~TRegularFile();

    // Opens `fileName` when it is a regular file; False for a FIFO, a device, a folder, a missing
    // or an unreadable file, without blocking on any of them.
    bool Open(const QString& fileName);
    QFile& File() { return FFile; }

private:
    QFile FFile;
    int FDescriptor = -1;
};

// The whole regular file when it holds at most `maxBytes`; nothing otherwise (also when it grows
// past the limit while it is read).
std::optional<QByteArray> ReadRegularFile(const QString& fileName, qint64 maxBytes);

} // namespace lanterna
