#include "testing/small_disk.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <sys/mount.h>

namespace lanterna::testing {

SmallDisk::SmallDisk(qint64 bytes) {
    if (!FFolder.isValid()) {
        FError = FFolder.errorString();
        return;
    }
    const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0700";
    FMounted =
        ::mount("tmpfs", QFile::encodeName(FFolder.path()).constData(), "tmpfs", 0, options.constData()) == 0;
    if (!FMounted)
        FError = QString::fromLocal8Bit(std::strerror(errno));
}

SmallDisk::~SmallDisk() {
    // Whatever a failed test left open, the folder is freed before it is removed.
    if (FMounted)
        ::umount2(QFile::encodeName(FFolder.path()).constData(), MNT_DETACH);
}

} // namespace lanterna::testing
