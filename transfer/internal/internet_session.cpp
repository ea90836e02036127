#include "transfer/internal/internet_session.h"

#include "transfer/url_functions.h"

#include <QRegularExpression>

#include <algorithm>
#include <cstring>

namespace lanterna {

namespace {

// The bound that holds when the owner sets no time-out: no silent server blocks a run for ever.
constexpr long kDefaultConnectSeconds = 60;
constexpr long kMaximumRedirections = 5;
// The library reads the network in pieces this large; the engine hands them on in 4096-byte blocks.
// Pieces and bound stay small enough to be still in the cache when they are written to the file.
constexpr long kReceiveBuffer = 64 * 1024;
// The most unread body held; beyond it the library is paused until the caller takes its blocks.
constexpr std::size_t kBodyBound = 256 * 1024;
// How long an upload waits for the server's "100 Continue" before it sends its body anyway.
constexpr long kContinueWaitMilliseconds = 1000;
// The most header bytes one answer may send.
constexpr qsizetype kHeaderBound = 64 * 1024;

// The first entry of a proxy list such as "http=proxy:8080 ftp=other:21" or "proxy:8080;other".
std::string FirstProxy(const QString& list) {
    const QStringList entries = list.split(QRegularExpression(QStringLiteral("[;\\s]+")), Qt::SkipEmptyParts);
    if (entries.isEmpty())
        return {};
    QString entry = entries.first();
    const qsizetype equals = entry.indexOf(u'=');
    if (equals >= 0)
        entry = entry.mid(equals + 1);
    return entry.toStdString();
}

bool IsBlankLine(const char* data, size_t length) {
    return (length == 2 && data[0] == '\r' && data[1] == '\n') || (length == 1 && data[0] == '\n');
}

// A Location header that names a place: the library follows only those.
bool IsUsableLocation(const char* data, size_t length) {
    return length >= 9 && strncasecmp(data, "location:", 9) == 0 &&
           !QByteArray(data + 9, qsizetype(length - 9)).trimmed().isEmpty();
}

} // namespace

TInternetSession::TInternetSession(TSessionOptions options) : FOptions(std::move(options)) {
    InitialiseLibrary();
    FMulti = curl_multi_init();
}

TInternetSession::~TInternetSession() {
    if (FMulti)
        curl_multi_cleanup(FMulti);
}

THttpRequest::THttpRequest(TInternetSession& session, std::function<bool()> idle)
    : FSession(session), FDrive(session.Multi(), std::move(idle), session.Options().Timeout),
      FEasy(FDrive.Easy()) {}

THttpRequest::~THttpRequest() {
    // The drive, destroyed after this, still holds the handle that uses the header lines.
    FDrive.Fail(CURLE_ABORTED_BY_CALLBACK, nullptr);
    curl_slist_free_all(FHeaders);
}

bool THttpRequest::Configure(const QString& url, const QList<QByteArray>& headers, bool keepAlive) {
    FDrive.Reset();
    if (!FEasy) {
        FDrive.Fail(CURLE_FAILED_INIT, nullptr);
        return false;
    }
    const TSessionOptions& options = FSession.Options();
    curl_easy_setopt(FEasy, CURLOPT_URL, RequestUrl(url).constData());
    curl_easy_setopt(FEasy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(FEasy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(FEasy, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(FEasy, CURLOPT_MAXREDIRS, kMaximumRedirections);
    curl_easy_setopt(FEasy, CURLOPT_USERAGENT, options.Agent.toUtf8().constData());
    curl_easy_setopt(FEasy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(FEasy, CURLOPT_ERRORBUFFER, FDrive.ErrorBuffer());
    curl_easy_setopt(FEasy, CURLOPT_BUFFERSIZE, kReceiveBuffer);
    curl_easy_setopt(FEasy, CURLOPT_FORBID_REUSE, keepAlive ? 0L : 1L);
    curl_easy_setopt(FEasy, CURLOPT_CONNECTTIMEOUT,
                     options.Timeout > 0 ? long(options.Timeout) : kDefaultConnectSeconds);
    curl_easy_setopt(FEasy, CURLOPT_LOW_SPEED_LIMIT, options.LowSpeedBytes);
    curl_easy_setopt(FEasy, CURLOPT_LOW_SPEED_TIME, options.LowSpeedSeconds);
    if (!options.Proxy.isEmpty()) {
        curl_easy_setopt(FEasy, CURLOPT_PROXY, FirstProxy(options.Proxy).c_str());
        // The proxy's credentials go to the proxy only, never to the server.
        if (!options.ProxyUserID.isEmpty() && !options.ProxyPassword.isEmpty()) {
            curl_easy_setopt(FEasy, CURLOPT_PROXYUSERNAME, options.ProxyUserID.toUtf8().constData());
            curl_easy_setopt(FEasy, CURLOPT_PROXYPASSWORD, options.ProxyPassword.toUtf8().constData());
        }
    }
    // Fresh from the server, also through caches on the way.
    for (const char* line : {"Cache-Control: no-cache", "Pragma: no-cache"})
        FHeaders = curl_slist_append(FHeaders, line);
    for (const QByteArray& line : headers)
        FHeaders = curl_slist_append(FHeaders, line.constData());
    curl_easy_setopt(FEasy, CURLOPT_HTTPHEADER, FHeaders);
    curl_easy_setopt(FEasy, CURLOPT_HEADERFUNCTION, &THttpRequest::HeaderCallback);
    curl_easy_setopt(FEasy, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(FEasy, CURLOPT_WRITEFUNCTION, &THttpRequest::WriteCallback);
    curl_easy_setopt(FEasy, CURLOPT_WRITEDATA, this);
    return true;
}

bool THttpRequest::Open(const QString& url, const QList<QByteArray>& headers, bool keepAlive) {
    if (!Configure(url, headers, keepAlive))
        return false;
    curl_easy_setopt(FEasy, CURLOPT_HTTPGET, 1L);
    if (!FDrive.Start())
        return false;
    FDrive.Drive([this] { return FHeadersDone; });
    return FHeadersDone || (FDrive.Done() && !FDrive.Failed());
}

bool THttpRequest::Reached() const {
    curl_off_t connected = 0;
    if (FEasy)
        curl_easy_getinfo(FEasy, CURLINFO_CONNECT_TIME_T, &connected);
    return connected > 0 || Status() > 0;
}

long THttpRequest::Status() const {
    long status = 0;
    if (FEasy)
        curl_easy_getinfo(FEasy, CURLINFO_RESPONSE_CODE, &status);
    return status;
}

std::int64_t THttpRequest::ContentLength() const {
    curl_off_t length = -1;
    if (FEasy)
        curl_easy_getinfo(FEasy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    return length;
}

std::optional<std::int64_t> THttpRequest::LastModified() const {
    for (const QByteArray& line : FHeaderBlock.split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon < 0 || line.left(colon).trimmed().toLower() != "last-modified")
            continue;
        const time_t seconds = curl_getdate(line.mid(colon + 1).trimmed().constData(), nullptr);
        if (seconds != -1)
            return std::int64_t(seconds);
    }
    return std::nullopt;
}

std::span<const char> THttpRequest::Next(std::size_t blockSize) {
    FBodyRead += FHandedOut;
    FHandedOut = 0;
    // What the caller has taken goes. Only whole blocks are handed out, so what moves to the front
    // is shorter than a block, and the buffer keeps its memory between the blocks.
    if (FBodyRead > 0) {
        const std::size_t rest = FBody.size() - FBodyRead;
        std::memmove(FBody.data(), FBody.data() + FBodyRead, rest);
        FBody.resize(rest);
        FBodyRead = 0;
    }
    if (FBody.capacity() < kBodyBound + kReceiveBuffer)
        FBody.reserve(kBodyBound + kReceiveBuffer);
    if (FReceivePaused && !FDrive.Done()) {
        FReceivePaused = false;
        curl_easy_pause(FEasy, CURLPAUSE_CONT);
    }
    auto unread = [this] { return FBody.size() - FBodyRead; };
    if (!FDrive.Done()) {
        // Takes in what has arrived meanwhile, so that the sender is not held up between blocks.
        FDrive.Perform();
        FDrive.Drive([&] { return unread() >= blockSize; });
    }
    std::size_t n = unread();
    if (!FDrive.Done() || FDrive.Failed())
        n -= n % blockSize;
    FHandedOut = n;
    return {FBody.data() + FBodyRead, n};
}

bool THttpRequest::Send(const QString& url, bool put, std::int64_t size) {
    // No content type: the body is the file as it is. The server may refuse the body before it is
    // sent ("100 Continue" asked for, waited for a second at most): its status is then read before
    // a closed connection could hide it.
    if (!Configure(url, {"Expect: 100-continue", "Content-Type:"}, false))
        return false;
    curl_easy_setopt(FEasy, CURLOPT_EXPECT_100_TIMEOUT_MS, kContinueWaitMilliseconds);
    if (put) {
        curl_easy_setopt(FEasy, CURLOPT_UPLOAD, 1L);
        curl_easy_setopt(FEasy, CURLOPT_INFILESIZE_LARGE, curl_off_t(size));
    } else {
        curl_easy_setopt(FEasy, CURLOPT_POST, 1L);
        curl_easy_setopt(FEasy, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(size));
    }
    FDrive.SendBody();
    if (!FDrive.Start())
        return false;
    FDrive.Drive([this] { return FDrive.WantsBody(); });
    return FDrive.WantsBody() || (FDrive.Done() && !FDrive.Failed());
}

bool THttpRequest::Write(const char* data, std::size_t size) {
    return FDrive.Push(data, size);
}

bool THttpRequest::End() {
    FDrive.Drive([] { return false; });
    return !FDrive.Failed();
}

size_t THttpRequest::Refuse(const char* reason) {
    // The library reports a callback that takes nothing as a write error.
    FDrive.Refuse(CURLE_WRITE_ERROR, reason);
    return 0;
}

size_t THttpRequest::HeaderCallback(char* data, size_t size, size_t count, void* self) {
    auto* request = static_cast<THttpRequest*>(self);
    const size_t length = size * count;
    request->FDrive.Touch();
    if (length >= 5 && std::strncmp(data, "HTTP/", 5) == 0) {
        // A new answer: after a redirection only the final one counts.
        request->FHeaderBlock.clear();
        request->FLocationSeen = false;
    }
    if (IsBlankLine(data, length)) {
        long status = 0;
        curl_easy_getinfo(request->FEasy, CURLINFO_RESPONSE_CODE, &status);
        const bool anotherAnswerFollows = status / 100 == 1 || (status / 100 == 3 && request->FLocationSeen);
        if (!anotherAnswerFollows)
            request->FHeadersDone = true;
        return length;
    }
    if (request->FHeaderBlock.size() + qsizetype(length) > kHeaderBound)
        return request->Refuse("The server's answer has more than 64 KB of headers");
    request->FHeaderBlock.append(data, qsizetype(length));
    if (IsUsableLocation(data, length))
        request->FLocationSeen = true;
    return length;
}

size_t THttpRequest::WriteCallback(char* data, size_t size, size_t count, void* self) {
    auto* request = static_cast<THttpRequest*>(self);
    if (request->FBody.size() - request->FBodyRead >= kBodyBound) {
        request->FReceivePaused = true;
        return CURL_WRITEFUNC_PAUSE;
    }
    request->FDrive.Touch();
    // The library hands on only the body of the answer it does not follow: that one is final.
    request->FHeadersDone = true;
    request->FBody.insert(request->FBody.end(), data, data + size * count);
    return size * count;
}

} // namespace lanterna
