#pragma once
// A disk of a few megabytes for tests of full disks: a tmpfs mounted on a temporary folder while the
// object lives. Only a privileged process may mount one; a test skips when Mounted() is false.

#include <QString>
#include <QTemporaryDir>

namespace lanterna::testing {

class SmallDisk {
public:
    explicit SmallDisk(qint64 bytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool Mounted() const { return FMounted; }
    // Why the disk is not mounted, in the system's words.
    const QString& Error() const { return FError; }
    QString Path() const { return FFolder.path(); }
    QString FilePath(const QString& name) const { return FFolder.filePath(name); }

private:
    QTemporaryDir FFolder;
    bool FMounted = false;
    QString FError;
};

} // namespace lanterna::testing
