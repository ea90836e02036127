#pragma once
// The internet library as the engine uses it: one session per run that keeps the connections and
// the settings, and HTTP exchanges on it that the user-interface thread drives block by block.

#include "transfer/internal/library_drive.h"
#include "transfer/internal/library_error.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <curl/curl.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
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
    // An exchange that moves fewer than LowSpeedBytes a second for LowSpeedSeconds fails.
    long LowSpeedBytes = 300;
    long LowSpeedSeconds = 30;
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

    // Sends a GET (never answered from or into a cache, a few redirects followed) and waits for
    // the headers of the final answer. `headers` are extra request header lines.
    bool Open(const QString& url, const QList<QByteArray>& headers, bool keepAlive);
    // Whether a connection to the server was made, also when the exchange failed afterwards.
    bool Reached() const;
    long Status() const;
    // A redirection that was not followed because it names no place to go.
    bool UnfollowedRedirect() const { return Status() / 100 == 3; }
    // The announced length of the answer, -1 when it announces none.
    std::int64_t ContentLength() const;
    // Last-Modified of the answer as seconds since 1970, read as sent.
    std::optional<std::int64_t> LastModified() const;
    // The next whole blocks of the answer where they lie in the buffer, valid until the next call;
    // only the answer's last piece may be shorter. Empty once the answer has ended: Failed() then
    // tells whether it ended badly.
    std::span<const char> Next(std::size_t blockSize);
    bool Failed() const { return FDrive.Failed(); }
    // The exchange, counted from its request, ends within `limit`; it may be set again once the
    // headers tell the size.
    void SetTimeLimit(std::chrono::seconds limit) { FDrive.SetTimeLimit(limit); }

    // Starts a POST or PUT whose body has `size` bytes; true once the server can take the body.
    bool Send(const QString& url, bool put, std::int64_t size);
    // Hands the next piece of the body over; false on failure.
    bool Write(const char* data, std::size_t size);
    // Waits for the answer after the whole body is written.
    bool End();

    const TLibraryError& Error() const { return FDrive.Error(); }

private:
    static size_t HeaderCallback(char* data, size_t size, size_t count, void* self);
    static size_t WriteCallback(char* data, size_t size, size_t count, void* self);

    // False when the library had no handle: the exchange has then ended.
    bool Configure(const QString& url, const QList<QByteArray>& headers, bool keepAlive);
    // Ends the exchange from inside a callback with the engine's own text for the reason.
    size_t Refuse(const char* reason);

    TInternetSession& FSession;
    TLibraryDrive FDrive;
    CURL* const FEasy;
    curl_slist* FHeaders = nullptr;

    // The answer.
    bool FHeadersDone = false;
    bool FLocationSeen = false;
    QByteArray FHeaderBlock;
    // The answer's body between the network and the caller, bounded: the library is paused while
    // the caller has not taken what is there.
    std::vector<char> FBody;
    std::size_t FBodyRead = 0;
    std::size_t FHandedOut = 0;
    bool FReceivePaused = false;
};

} // namespace lanterna
