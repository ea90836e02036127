#pragma once
// The internet library as the engine uses it: one session per run that keeps the connections and
// the settings, and HTTP exchanges on it that the user-interface thread drives block by block.

#include "transfer/library_error.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <curl/curl.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace lanterna {

struct TSessionOptions {
    QString Agent;
    // A proxy list; the first entry is used. Empty: the system's settings.
    QString Proxy;
    QString ProxyUserID;
    QString ProxyPassword;
    // Seconds for connecting and for a wait in which no data moves; 0 leaves the engine's own bounds.
    int Timeout = 0;
};

class TInternetSession {
public:
    explicit TInternetSession(TSessionOptions options);
    ~TInternetSession();
    TInternetSession(const TInternetSession&) = delete;
    TInternetSession& operator=(const TInternetSession&) = delete;

    bool IsOpen() const { return FMulti != nullptr; }
    const TSessionOptions& Options() const { return FOptions; }
    CURLM* Multi() const { return FMulti; }

private:
    TSessionOptions FOptions;
    CURLM* FMulti;
};

// One HTTP exchange on a session. A download pulls the answer block by block, an upload pushes its
// body block by block. While it waits for the network it calls `idle` every few milliseconds;
// when `idle` returns false the exchange is given up.
class THttpRequest {
public:
    THttpRequest(TInternetSession& session, std::function<bool()> idle);
    ~THttpRequest();
    THttpRequest(const THttpRequest&) = delete;
    THttpRequest& operator=(const THttpRequest&) = delete;

    // Sends a GET (never answered from or into a cache, redirects followed) and waits for the
    // headers of the final answer. `headers` are extra request header lines.
    bool Open(const QString& url, const QList<QByteArray>& headers, bool keepAlive);
    long Status() const;
    // The announced length of the answer, -1 when it announces none.
    std::int64_t ContentLength() const;
    // Last-Modified of the answer as seconds since 1970, read as sent.
    std::optional<std::int64_t> LastModified() const;
    // Up to `size` bytes of the answer; 0 once the whole answer has been read; -1 on failure.
    std::int64_t Read(char* buffer, std::size_t size);

    // Starts a POST or PUT whose body has `size` bytes; true once the server can take the body.
    bool Send(const QString& url, bool put, std::int64_t size);
    // Hands the next piece of the body over; false on failure.
    bool Write(const char* data, std::size_t size);
    // Waits for the answer after the whole body is written.
    bool End();

    const TLibraryError& Error() const { return FError; }

private:
    static size_t HeaderCallback(char* data, size_t size, size_t count, void* self);
    static size_t WriteCallback(char* data, size_t size, size_t count, void* self);
    static size_t ReadCallback(char* data, size_t size, size_t count, void* self);

    void Configure(const QString& url, const QList<QByteArray>& headers, bool keepAlive);
    bool Start();
    // Runs the exchange until `ready` holds or the exchange has ended; returns `ready`.
    bool Drive(const std::function<bool()>& ready);
    // Lets the library move what the network has ready, without waiting, and notes the end.
    void Perform();
    // Takes in what has arrived while the caller works through the buffer, so that the sender is
    // not held up between the caller's blocks.
    void ReadAhead();
    void Finish(CURLcode result);

    TInternetSession& FSession;
    std::function<bool()> FIdle;
    CURL* FEasy;
    curl_slist* FHeaders = nullptr;
    bool FAdded = false;
    bool FDone = false;
    CURLcode FResult = CURLE_OK;
    TLibraryError FError;
    char FErrorBuffer[CURL_ERROR_SIZE] = {};
    std::chrono::steady_clock::time_point FLastActivity;

    // The answer.
    bool FHeadersDone = false;
    bool FLocationSeen = false;
    QByteArray FHeaderBlock;
    std::vector<char> FBody;
    std::size_t FBodyRead = 0;

    // The body being sent.
    const char* FUpload = nullptr;
    std::size_t FUploadLeft = 0;
    bool FPaused = false;
};

} // namespace lanterna
