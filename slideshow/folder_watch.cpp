#include "slideshow/folder_watch.h"

#include "platform/dir_search.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMetaObject>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>

namespace lanterna {

namespace {

// How long closing waits for a listing in progress before leaving the worker to itself.
constexpr auto kStopWait = std::chrono::seconds(2);

QString WatchedPath(const QString& mask) {
    const QString folder = MaskFolder(mask);
    return QDir(folder.isEmpty() ? QStringLiteral(".") : folder).absolutePath();
}

} // namespace

TFolderListing ListFolder(const QString& mask) {
    TFolderListing listing;
    const QFileInfo folder(WatchedPath(mask));
    if (!folder.isDir() || !folder.isReadable() || !folder.isExecutable())
        return listing;
    listing.Readable = true;
    const QString prefix = MaskFolder(mask);
    for (const TSearchRec& entry : FindFiles(mask)) {
        if (entry.Directory)
            continue;
        const QString path = prefix + entry.Name;
        const QFileInfo file(path);
        if (!file.isFile())
            continue;
        listing.Files.push_back({path, file.size(), file.lastModified().toMSecsSinceEpoch()});
    }
    return listing;
}

// What the front and the worker share. The worker holds its own reference, so that one left in a
// folder that does not answer can still finish safely after the front has gone.
struct TFolderWatch::TShared {
    std::mutex Lock;
    std::condition_variable Wake;
    std::condition_variable Idle;
    QObject* Receiver = nullptr;
    QString Mask;
    std::uint64_t Generation = 0;
    bool Wanted = false;
    TScanKind WantedKind = skProbe;
    bool Busy = false;
    bool Quit = false;
    // Only the latest listing waits to be taken; an apply request is never lost in a merge.
    struct TDone {
        std::uint64_t Generation;
        TScanKind Kind;
        TFolderListing Listing;
    };
    std::optional<TDone> Done;

    static void Run(const std::shared_ptr<TShared>& s) {
        std::unique_lock lock(s->Lock);
        for (;;) {
            s->Wake.wait(lock, [&] { return s->Quit || s->Wanted; });
            if (s->Quit)
                return;
            const QString mask = s->Mask;
            const std::uint64_t generation = s->Generation;
            TScanKind kind = s->WantedKind;
            s->Wanted = false;
            s->WantedKind = skProbe;
            s->Busy = true;
            lock.unlock();
            TFolderListing listing = ListFolder(mask);
            lock.lock();
            s->Busy = false;
            s->Idle.notify_all();
            if (s->Quit)
                return;
            if (generation != s->Generation)
                continue;
            if (s->Done && s->Done->Kind == skApply)
                kind = skApply;
            s->Done = TDone{generation, kind, std::move(listing)};
            // Under the lock, so that the front cannot be destroyed in between.
            QMetaObject::invokeMethod(s->Receiver, "ScanFinished", Qt::QueuedConnection);
        }
    }
};

TFolderWatch::TFolderWatch(QObject* parent) : QObject(parent), FShared(std::make_shared<TShared>()) {
    FShared->Receiver = this;
    FThread = std::thread(&TShared::Run, FShared);
    FQuiet.setSingleShot(true);
    connect(&FQuiet, &QTimer::timeout, this, [this] { RequestScan(skApply); });
    FRescan.setInterval(kRescanMs);
    connect(&FRescan, &QTimer::timeout, this, [this] {
        if (!FQuiet.isActive())
            RequestScan(skProbe);
    });
    connect(&FWatcher, &QFileSystemWatcher::directoryChanged, this, [this] { FolderChanged(); });
}

TFolderWatch::~TFolderWatch() {
    std::unique_lock lock(FShared->Lock);
    FShared->Quit = true;
    FShared->Wake.notify_all();
    const bool idle = FShared->Idle.wait_for(lock, kStopWait, [this] { return !FShared->Busy; });
    lock.unlock();
    if (idle)
        FThread.join();
    else
        FThread.detach();
}

void TFolderWatch::Watch(const QString& mask) {
    Stop();
    FMask = mask;
    FKnown = {};
    FAnnounceNext = true;
    FFolderReadable = true;
    FScans = 0;
    if (const QString path = WatchedPath(mask); QFileInfo(path).isDir())
        FWatcher.addPath(path);
    {
        std::lock_guard lock(FShared->Lock);
        FShared->Mask = mask;
    }
    FRescan.start();
    RequestScan(skApply);
}

void TFolderWatch::Stop() {
    if (const QStringList paths = FWatcher.directories(); !paths.isEmpty())
        FWatcher.removePaths(paths);
    FQuiet.stop();
    FRescan.stop();
    FMask.clear();
    std::lock_guard lock(FShared->Lock);
    ++FShared->Generation;
    FShared->Wanted = false;
    FShared->Done.reset();
}

void TFolderWatch::FolderChanged() {
    if (!FQuiet.isActive())
        FChangeBegan.start();
    const qint64 left = kLongestWaitMs - FChangeBegan.elapsed();
    FQuiet.start(int(std::clamp<qint64>(left, 0, kQuietMs)));
}

void TFolderWatch::RequestScan(TScanKind kind) {
    {
        std::lock_guard lock(FShared->Lock);
        FShared->Wanted = true;
        if (kind == skApply)
            FShared->WantedKind = skApply;
    }
    FShared->Wake.notify_all();
}

void TFolderWatch::ScanFinished() {
    std::optional<TShared::TDone> done;
    {
        std::lock_guard lock(FShared->Lock);
        if (FShared->Done && FShared->Done->Generation == FShared->Generation)
            done = std::move(FShared->Done);
        FShared->Done.reset();
    }
    if (done)
        Take(std::move(done->Listing), done->Kind);
}

void TFolderWatch::Take(TFolderListing listing, TScanKind kind) {
    ++FScans;
    if (listing.Readable && !FFolderReadable)
        FAnnounceNext = true;
    FFolderReadable = listing.Readable;
    // Nothing is taken from a folder that cannot be read: the show goes on with what it has.
    if (!listing.Readable)
        return;
    // A folder removed and made again, or one that did not exist at first, is watched anew.
    if (FWatcher.directories().isEmpty())
        FWatcher.addPath(WatchedPath(FMask));
    if (!FAnnounceNext && listing == FKnown)
        return;
    // A change that only the rescan saw waits for the folder to be quiet, as one the watcher reports.
    if (kind == skProbe) {
        FolderChanged();
        return;
    }
    QHash<QString, const TFolderEntry*> known;
    for (const TFolderEntry& entry : FKnown.Files)
        known.insert(entry.Path, &entry);
    QStringList changed;
    for (const TFolderEntry& entry : listing.Files) {
        if (const TFolderEntry* before = known.value(entry.Path); before && *before != entry)
            changed << entry.Path;
    }
    FKnown = std::move(listing);
    FAnnounceNext = false;
    if (OnChange)
        OnChange(FKnown, changed);
}

} // namespace lanterna
