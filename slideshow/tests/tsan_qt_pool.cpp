// Qt scales and converts large images on its global thread pool. Qt is not built for
// ThreadSanitizer, so the tool sees neither the pool's own locking nor the work handed to it, and
// reports the pool's memory calls as races with whichever of our threads made the picture. The
// pool's threads are therefore left unchecked as a whole, and only they: every call our own threads
// make into Qt (the loader thread and the UI thread sharing a picture, events between them) stays
// checked.
#include <QCoreApplication>
#include <QThreadPool>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <memory>
#include <mutex>

extern "C" void __tsan_ignore_thread_begin();
extern "C" void __tsan_ignore_thread_end();

namespace {

// Checking stays off until the thread ends, and is turned back on then, as the tool requires.
struct TUncheckedThread {
    TUncheckedThread() { __tsan_ignore_thread_begin(); }
    ~TUncheckedThread() { __tsan_ignore_thread_end(); }
};

struct TPoolStart {
    std::mutex Mutex;
    std::condition_variable Changed;
    int Started = 0;
    bool Released = false;
};

// Starts every thread the pool may ever run, each of which turns checking off for itself and then
// holds on until all have started, so that no two of these jobs share a thread. The threads never
// expire, so the pool never starts a checked one later. Standard locks, which the tool follows,
// keep this hand-shake itself checked.
void IgnoreQtPoolThreads() {
    QThreadPool* pool = QThreadPool::globalInstance();
    pool->setExpiryTimeout(-1);
    const int count = pool->maxThreadCount();
    const auto start = std::make_shared<TPoolStart>();
    for (int i = 0; i < count; ++i)
        pool->start([start] {
            thread_local TUncheckedThread unchecked;
            std::unique_lock lock(start->Mutex);
            ++start->Started;
            start->Changed.notify_all();
            start->Changed.wait_for(lock, std::chrono::seconds(30), [&] { return start->Released; });
        });
    std::unique_lock lock(start->Mutex);
    start->Changed.wait_for(lock, std::chrono::seconds(30), [&] { return start->Started == count; });
    if (start->Started < count)
        std::fprintf(stderr, "Only %d of %d image pool threads run unchecked\n", start->Started, count);
    start->Released = true;
    start->Changed.notify_all();
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(IgnoreQtPoolThreads)
