#include "slideshow/internal/image_loader_thread.h"

#include "slideshow/internal/slide_builder.h"

#include <QMetaObject>

#ifdef __linux__
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace lanterna {

namespace {

void LowerThisThreadsPriority() {
#ifdef __linux__
    setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), 19);
#endif
}

} // namespace

TImageLoaderThread::TImageLoaderThread(QObject* receiver, const char* member)
    : FReceiver(receiver), FMember(member), FThread([this] { Execute(); }) {}

TImageLoaderThread::~TImageLoaderThread() {
    {
        std::lock_guard lock(FLock);
        FTerminated = true;
    }
    FWake.notify_all();
    FThread.join();
}

void TImageLoaderThread::Submit(TLoadJob job) {
    {
        std::lock_guard lock(FLock);
        FJob = std::move(job);
    }
    FWake.notify_all();
}

std::vector<TLoadResult> TImageLoaderThread::TakeResults() {
    std::lock_guard lock(FLock);
    return std::exchange(FResults, {});
}

void TImageLoaderThread::Execute() {
    LowerThisThreadsPriority();
    for (;;) {
        TLoadJob job;
        {
            std::unique_lock lock(FLock);
            FWake.wait(lock, [this] { return FTerminated || FJob.has_value(); });
            if (FTerminated)
                break;
            job = std::move(*FJob);
            FJob.reset();
        }
        TLoadResult result;
        result.Tag = job.Tag;
        try {
            result = BuildSlide(job);
        } catch (const std::exception&) {
            // One slide that fails (a drawing handler's error, memory that is not there) stays
            // without a picture; the loader goes on with the next.
        }
        std::lock_guard lock(FLock);
        FResults.push_back(std::move(result));
        // Posted under the lock, which the receiver takes before Qt frees the queued call: Qt's own
        // locking of its event queue is invisible to ThreadSanitizer, ours is not.
        QMetaObject::invokeMethod(FReceiver, FMember, Qt::QueuedConnection);
    }
}

} // namespace lanterna
