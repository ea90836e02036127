#pragma once
// The slide show's background loader: one worker thread at the lowest priority that builds the
// slides it is handed, one at a time, and hands the results back. It shares nothing with the
// user-interface thread but its job slot and result list, both behind one mutex.

#include "slideshow/internal/load_job.h"

#include <QObject>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace lanterna {

class TImageLoaderThread {
    Q_DISABLE_COPY_MOVE(TImageLoaderThread)

public:
    // After each result the thread asks `receiver` to run its invokable `member` (no arguments),
    // queued onto the receiver's thread; `member` must take the results every time it runs, even
    // when an earlier call has already taken them.
    TImageLoaderThread(QObject* receiver, const char* member);
    // Requests termination and waits for the thread to end.
    ~TImageLoaderThread();

    // Hands over the next job; the thread takes one job at a time.
    void Submit(TLoadJob job);
    std::vector<TLoadResult> TakeResults();

private:
    void Execute();

    QObject* const FReceiver;
    const char* const FMember;
    std::mutex FLock;
    std::condition_variable FWake;
    std::optional<TLoadJob> FJob;
    std::vector<TLoadResult> FResults;
    bool FTerminated = false;
    std::thread FThread;
};

} // namespace lanterna
