#pragma once
// Keeps watch over a picture folder while a show runs: a file watcher, and a periodic rescan for
// the folders whose changes the watcher does not hear of (network folders). The folder is listed on
// a worker thread, so a folder that hangs never freezes the window, and a burst of changes (a sync
// copying many files) is taken in as one.

#include <QElapsedTimer>
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

namespace lanterna {

struct TFolderEntry {
    QString Path;
    qint64 Size = 0;
    qint64 Modified = 0; // ms since the epoch
    bool operator==(const TFolderEntry&) const = default;
};

struct TFolderListing {
    // False when the folder is missing or cannot be read; then Files is empty.
    bool Readable = false;
    std::vector<TFolderEntry> Files;
    bool operator==(const TFolderListing&) const = default;
};

// The files (not folders) of the mask's folder whose names the mask matches, in the directory's
// own order, each with its path as the folder part of the mask followed by its name.
TFolderListing ListFolder(const QString& mask);

class TFolderWatch : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFolderWatch)

public:
    // A change is taken in once the folder has been quiet this long, or this long after the change
    // began when it goes on changing.
    static constexpr int kQuietMs = 1000;
    static constexpr int kLongestWaitMs = 4000;
    // How often the folder is listed when the watcher reports nothing.
    static constexpr int kRescanMs = 3000;

    explicit TFolderWatch(QObject* parent = nullptr);
    // Stops the worker; one stuck in a folder that does not answer is left to end on its own.
    ~TFolderWatch() override;

    // Watches the mask's folder from now on (a folder that does not exist yet is watched for); the
    // first listing is always announced.
    void Watch(const QString& mask);
    void Stop();
    const QString& Mask() const { return FMask; }
    // Listings finished since the watch began (tests wait for them).
    int Scans() const { return FScans; }

    // Raised on this object's thread when the folder's files differ from the last announced listing:
    // the new listing, and the files it still holds whose size or time has changed.
    std::function<void(const TFolderListing& listing, const QStringList& changed)> OnChange;

private:
    struct TShared;
    enum TScanKind : std::uint8_t { skProbe, skApply };

    void FolderChanged();
    void RequestScan(TScanKind kind);
    Q_INVOKABLE void ScanFinished();
    void Take(TFolderListing listing, TScanKind kind);

    std::shared_ptr<TShared> FShared;
    QString FMask;
    QFileSystemWatcher FWatcher;
    QTimer FQuiet;
    QTimer FRescan;
    QElapsedTimer FChangeBegan;
    std::thread FThread;
    TFolderListing FKnown;
    // The next listing is announced even when it equals the known one: the first, and the first
    // after the folder could not be read (its slides may have lost their files meanwhile).
    bool FAnnounceNext = true;
    bool FFolderReadable = true;
    int FScans = 0;
};

} // namespace lanterna
