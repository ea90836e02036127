#include "platform/file_read.h"

#include <algorithm>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lanterna {

TRegularFile::~TRegularFile() {
    FFile.close();
    if (FDescriptor >= 0)
        ::close(FDescriptor);
}

bool TRegularFile::Open(const QString& fileName) {
    // Resources compiled into the program are no files of the file system.
    if (fileName.startsWith(QLatin1Char(':'))) {
        FFile.setFileName(fileName);
        return FFile.open(QIODevice::ReadOnly);
    }
    // Non-blocking, so that a FIFO without a writer cannot hold the caller; the type is checked on
    // the open descriptor, so that nothing can swap the file between the check and the read.
    const int fd = ::open(QFile::encodeName(fileName).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return false;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!FFile.open(fd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle)) {
        ::close(fd);
        return false;
    }
    FDescriptor = fd;
    return true;
}

std::optional<QByteArray> ReadRegularFile(const QString& fileName, qint64 maxBytes) {
    TRegularFile regular;
    if (!regular.Open(fileName) || regular.File().size() > maxBytes)
        return std::nullopt;
    QFile& file = regular.File();
    // One byte more than the size, so that a file still growing is noticed.
    QByteArray bytes = file.read(std::min(file.size(), maxBytes) + 1);
    if (bytes.size() > maxBytes || file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

} // namespace lanterna
