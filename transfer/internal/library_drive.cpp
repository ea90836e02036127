#include "transfer/internal/library_drive.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <mutex>

namespace lanterna {

namespace {

// The stall limit when the owner sets no time-out: no silent server blocks a run for ever. A
// stall is a wait in which no byte moves either way.
constexpr int kDefaultStallSeconds = 60;
// How long one wait for the network lasts before the caller's windows are served again.
constexpr int kPollMilliseconds = 20;
constexpr auto kIdleEvery = std::chrono::milliseconds(kPollMilliseconds);

CURL* NewEasyHandle() {
    InitialiseLibrary();
    return curl_easy_init();
}

} // namespace

void InitialiseLibrary() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

TLibraryDrive::TLibraryDrive(CURLM* multi, std::function<bool()> idle, int timeout)
    : FMulti(multi), FEasy(NewEasyHandle()), FIdle(std::move(idle)),
      FTimeout(timeout > 0 ? timeout : kDefaultStallSeconds) {}

TLibraryDrive::~TLibraryDrive() {
    if (FAdded)
        curl_multi_remove_handle(FMulti, FEasy);
    if (FEasy)
        curl_easy_cleanup(FEasy);
}

void TLibraryDrive::Reset() {
    FDone = false;
    FResult = CURLE_OK;
    FRefused = false;
    FRefusal = nullptr;
    FTextPending = false;
    FErrorBuffer[0] = 0;
    FUpload = nullptr;
    FUploadLeft = 0;
    FBodyEnded = false;
    FBodyWanted = false;
}

bool TLibraryDrive::Start() {
    if (!FEasy || !FMulti || curl_multi_add_handle(FMulti, FEasy) != CURLM_OK) {
        Finish(CURLE_FAILED_INIT);
        return false;
    }
    FAdded = true;
    FStarted = std::chrono::steady_clock::now();
    return true;
}

bool TLibraryDrive::Drive(const std::function<bool()>& ready) {
    using Clock = std::chrono::steady_clock;
    const auto stallLimit = std::chrono::seconds(FTimeout);
    auto lastIdle = Clock::now();
    // Only the time spent waiting here counts towards a stall, not the caller's between the waits.
    FLastActivity = lastIdle;
    while (!ready() && !FDone) {
        Perform();
        if (ready() || FDone)
            break;
        curl_multi_poll(FMulti, nullptr, 0, kPollMilliseconds, nullptr);
        const auto now = Clock::now();
        // Whole seconds on both sides: a limit of any size compares without overflow.
        if (FTimeLimit && std::chrono::duration_cast<std::chrono::seconds>(now - FStarted) >= *FTimeLimit) {
            char text[CURL_ERROR_SIZE];
            std::snprintf(text, sizeof text, "The transfer did not end within %lld seconds",
                          static_cast<long long>(FTimeLimit->count()));
            Fail(CURLE_OPERATION_TIMEDOUT, text);
        } else if (now - FLastActivity >= stallLimit) {
            char text[CURL_ERROR_SIZE];
            std::snprintf(text, sizeof text, "No data moved for %d seconds", FTimeout);
            Fail(CURLE_OPERATION_TIMEDOUT, text);
        } else if (now - lastIdle >= kIdleEvery) {
            lastIdle = now;
            if (FIdle && !FIdle())
                Fail(CURLE_ABORTED_BY_CALLBACK, nullptr);
        }
    }
    return ready();
}

void TLibraryDrive::Perform() {
    if (FTextPending) {
        FTextPending = false;
        FErrorBuffer[0] = 0;
        curl_easy_setopt(FEasy, CURLOPT_ERRORBUFFER, FErrorBuffer);
    }
    int running = 0;
    curl_multi_perform(FMulti, &running);
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(FMulti, &queued))
        if (message->msg == CURLMSG_DONE && message->easy_handle == FEasy)
            Finish(message->data.result);
}

void TLibraryDrive::Fail(CURLcode result, const char* text) {
    if (text)
        std::snprintf(FErrorBuffer, sizeof FErrorBuffer, "%s", text);
    Finish(result);
}

void TLibraryDrive::Refuse(CURLcode result, const char* text) {
    FRefused = true;
    FRefusedResult = result;
    FRefusal = text;
}

void TLibraryDrive::SendBody() {
    curl_easy_setopt(FEasy, CURLOPT_READFUNCTION, &TLibraryDrive::ReadCallback);
    curl_easy_setopt(FEasy, CURLOPT_READDATA, this);
}

bool TLibraryDrive::Push(const char* data, std::size_t size) {
    FUpload = data;
    FUploadLeft = size;
    ResumeBody();
    Drive([this] { return FUploadLeft == 0; });
    return FUploadLeft == 0 && !Failed();
}

void TLibraryDrive::EndBody() {
    FBodyEnded = true;
    ResumeBody();
}

void TLibraryDrive::ResumeBody() {
    if (FBodyWanted) {
        FBodyWanted = false;
        curl_easy_pause(FEasy, CURLPAUSE_CONT);
    }
}

size_t TLibraryDrive::ReadCallback(char* data, size_t size, size_t count, void* self) {
    auto* drive = static_cast<TLibraryDrive*>(self);
    if (drive->FUploadLeft == 0) {
        if (drive->FBodyEnded)
            return 0;
        drive->FBodyWanted = true;
        return CURL_READFUNC_PAUSE;
    }
    drive->Touch();
    const size_t n = std::min(drive->FUploadLeft, size * count);
    std::memcpy(data, drive->FUpload, n);
    drive->FUpload += n;
    drive->FUploadLeft -= n;
    return n;
}

void TLibraryDrive::Finish(CURLcode result) {
    FDone = true;
    if (FRefused)
        result = FRefusedResult;
    FResult = result;
    if (FAdded) {
        curl_multi_remove_handle(FMulti, FEasy);
        FAdded = false;
    }
    if (result != CURLE_OK)
        FError = LibraryError(result, FRefused ? FRefusal : FErrorBuffer);
}

} // namespace lanterna
