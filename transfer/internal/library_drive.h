#pragma once
// Drives one easy handle of the internet library on a multi handle from the user-interface thread:
// runs an exchange until the caller's condition holds or the exchange ends, serves the caller's
// windows every few milliseconds while it waits, and ends an exchange in which nothing moves.

#include "transfer/internal/library_error.h"

#include <curl/curl.h>

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>

namespace lanterna {

// Readies the internet library, once per process.
void InitialiseLibrary();

class TLibraryDrive {
public:
    // `multi` must outlive the drive. `idle` is called every few milliseconds while the drive
    // waits; false gives the exchange up. `timeout` is the stall limit in seconds, 0 the engine's own.
    TLibraryDrive(CURLM* multi, std::function<bool()> idle, int timeout);
    ~TLibraryDrive();
    TLibraryDrive(const TLibraryDrive&) = delete;
    TLibraryDrive& operator=(const TLibraryDrive&) = delete;

    // The handle the exchanges run on, owned by the drive; null when the library had no memory.
    CURL* Easy() const { return FEasy; }
    // Readies the drive for a new exchange on the same handle. Its error buffer is the library's.
    void Reset();
    char* ErrorBuffer() { return FErrorBuffer; }
    // The library keeps only the first text it notes in an exchange. When that may be a harmless
    // note, the buffer is handed to the library later: at its next step after this call.
    void RecordTextFromNextStep() { FTextPending = true; }

    // Hands the handle to the library; when it cannot, the exchange has ended.
    bool Start();
    // Runs the exchange until `ready` holds or the exchange has ended; returns `ready`.
    bool Drive(const std::function<bool()>& ready);
    // Lets the library move what the network has ready, without waiting, and notes the end.
    void Perform();
    // Ends the exchange; `text`, when given, replaces the library's words for the reason.
    void Fail(CURLcode result, const char* text);
    // From inside a callback that stops the library: the exchange will end with this result and
    // text (null: the result's own) whatever the library reports.
    void Refuse(CURLcode result, const char* text);
    // Every exchange, counted from its Start, ends within `limit`, however steadily its bytes move.
    void SetTimeLimit(std::chrono::seconds limit) { FTimeLimit = limit; }
    // Something moved: the stall limit counts from now.
    void Touch() { FLastActivity = std::chrono::steady_clock::now(); }

    // The body of an upload: the library reads it from the drive, piece by piece.
    void SendBody();
    // True while the library waits for the next piece.
    bool WantsBody() const { return FBodyWanted; }
    // Hands one piece over and runs the exchange until the library has taken it; false on failure.
    bool Push(const char* data, std::size_t size);
    // No more pieces: the library's next read ends the body.
    void EndBody();

    bool Done() const { return FDone; }
    bool Failed() const { return FDone && FResult != CURLE_OK; }
    CURLcode Result() const { return FResult; }
    const TLibraryError& Error() const { return FError; }

private:
    static size_t ReadCallback(char* data, size_t size, size_t count, void* self);
    void Finish(CURLcode result);
    void ResumeBody();

    CURLM* FMulti;
    CURL* FEasy;
    std::function<bool()> FIdle;
    int FTimeout;
    bool FAdded = false;
    bool FTextPending = false;
    bool FDone = true;
    CURLcode FResult = CURLE_OK;
    bool FRefused = false;
    CURLcode FRefusedResult = CURLE_OK;
    const char* FRefusal = nullptr;
    TLibraryError FError;
    char FErrorBuffer[CURL_ERROR_SIZE] = {};
    std::chrono::steady_clock::time_point FLastActivity;
    std::chrono::steady_clock::time_point FStarted;
    std::optional<std::chrono::seconds> FTimeLimit;

    const char* FUpload = nullptr;
    std::size_t FUploadLeft = 0;
    bool FBodyEnded = false;
    bool FBodyWanted = false;
};

} // namespace lanterna
