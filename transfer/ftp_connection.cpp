#include "transfer/ftp_connection.h"

#include <QDate>
#include <QUrl>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <mutex>

namespace lanterna {

namespace {

// Bounds that hold when the owner sets no time-out: no silent server blocks a run for ever.
constexpr long kDefaultConnectSeconds = 60;
constexpr long kDefaultStallSeconds = 60;
constexpr int kPollMilliseconds = 20;
constexpr auto kIdleEvery = std::chrono::milliseconds(kPollMilliseconds);
constexpr long kReceiveBuffer = 256 * 1024;
// A listing longer than this is refused: no server answer grows the engine's memory without end.
constexpr std::size_t kListingLimit = 8 * 1024 * 1024;
// A download holds at most this much unread; the library waits while it is full.
constexpr std::size_t kReadAheadLimit = 1024 * 1024;

void InitialiseLibrary() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// Joins and tidies a remote path: "." and empty parts go, ".." takes one part off.
QString NormalPath(const QString& path) {
    QStringList parts;
    for (const QString& part : path.split(u'/', Qt::SkipEmptyParts)) {
        if (part == u"..") {
            if (!parts.isEmpty())
                parts.removeLast();
        } else if (part != u".") {
            parts << part;
        }
    }
    return u'/' + parts.join(u'/');
}

// A name that a command line can carry: the server reads up to the line end.
bool IsSafeText(const QString& text) {
    return !text.contains(u'\r') && !text.contains(u'\n') && !text.contains(QChar(0));
}

bool IsUnknownCommand(long reply) {
    return reply == 500 || reply == 501 || reply == 502 || reply == 504;
}

} // namespace

TFtpConnection::TFtpConnection(TFtpOptions options, std::function<bool()> idle)
    : FOptions(std::move(options)), FIdle(std::move(idle)) {
    InitialiseLibrary();
    FMulti = curl_multi_init();
    FEasy = curl_easy_init();
    // One control connection: the log-in is made once and every exchange reuses it.
    if (FMulti)
        curl_multi_setopt(FMulti, CURLMOPT_MAXCONNECTS, 1L);
}

TFtpConnection::~TFtpConnection() {
    if (FAdded)
        curl_multi_remove_handle(FMulti, FEasy);
    if (FEasy)
        curl_easy_cleanup(FEasy);
    // Closes the kept control connection, with a QUIT.
    if (FMulti)
        curl_multi_cleanup(FMulti);
    curl_slist_free_all(FQuote);
}

QString TFtpConnection::PathOf(const QString& name) const {
    return NormalPath(name.startsWith(u'/') ? name : FCurrent + u'/' + name);
}

void TFtpConnection::Configure(const QString& path) {
    curl_easy_reset(FEasy);
    curl_slist_free_all(FQuote);
    FQuote = nullptr;
    FDone = false;
    FResult = CURLE_OK;
    FErrorBuffer[0] = 0;
    FBody.clear();
    FBodyRead = 0;
    FOverLimit = false;
    FOpened = false;
    FUpload = nullptr;
    FUploadLeft = 0;
    FUploadEnded = false;
    FPaused = false;

    // The path travels whole, its first "/" written as %2F so that it counts from the root.
    QByteArray url = "ftp://" + QUrl::toPercentEncoding(FOptions.Host, "[]:") + ':' +
                     QByteArray::number(FOptions.Port) + '/';
    if (path != u"/")
        url += "%2F" + QUrl::toPercentEncoding(path.mid(1), "/");
    curl_easy_setopt(FEasy, CURLOPT_URL, url.constData());
    curl_easy_setopt(FEasy, CURLOPT_PROTOCOLS_STR, "ftp");
    curl_easy_setopt(FEasy, CURLOPT_FTP_FILEMETHOD, long(CURLFTPMETHOD_NOCWD));
    curl_easy_setopt(FEasy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(FEasy, CURLOPT_ERRORBUFFER, FErrorBuffer);
    curl_easy_setopt(FEasy, CURLOPT_BUFFERSIZE, kReceiveBuffer);
    if (!FOptions.User.isEmpty() && !FOptions.Password.isEmpty()) {
        curl_easy_setopt(FEasy, CURLOPT_USERNAME, FOptions.User.toUtf8().constData());
        curl_easy_setopt(FEasy, CURLOPT_PASSWORD, FOptions.Password.toUtf8().constData());
    }
    if (!FOptions.Passive)
        curl_easy_setopt(FEasy, CURLOPT_FTPPORT, "-");
    const long seconds = FOptions.Timeout > 0 ? long(FOptions.Timeout) : kDefaultStallSeconds;
    curl_easy_setopt(FEasy, CURLOPT_CONNECTTIMEOUT,
                     FOptions.Timeout > 0 ? long(FOptions.Timeout) : kDefaultConnectSeconds);
    curl_easy_setopt(FEasy, CURLOPT_SERVER_RESPONSE_TIMEOUT, seconds);
    curl_easy_setopt(FEasy, CURLOPT_ACCEPTTIMEOUT_MS, seconds * 1000);
    curl_easy_setopt(FEasy, CURLOPT_HEADERFUNCTION, &TFtpConnection::HeaderCallback);
    curl_easy_setopt(FEasy, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(FEasy, CURLOPT_WRITEFUNCTION, &TFtpConnection::WriteCallback);
    curl_easy_setopt(FEasy, CURLOPT_WRITEDATA, this);
}

bool TFtpConnection::Start() {
    if (!FEasy || !FMulti || curl_multi_add_handle(FMulti, FEasy) != CURLM_OK) {
        Finish(CURLE_FAILED_INIT);
        return false;
    }
    FAdded = true;
    return true;
}

bool TFtpConnection::RunToEnd() {
    if (!Start())
        return false;
    Drive([] { return false; });
    return FResult == CURLE_OK;
}

bool TFtpConnection::Command(const QByteArray& command) {
    if (!FEasy) {
        Fail(CURLE_FAILED_INIT, nullptr);
        return false;
    }
    Configure(QStringLiteral("/"));
    curl_easy_setopt(FEasy, CURLOPT_NOBODY, 1L);
    // A refused command must not cost the connection: the library is told to go on after it, and
    // its answer is read here.
    if (!command.isEmpty()) {
        const QByteArray going = '*' + command;
        FQuote = curl_slist_append(nullptr, going.constData());
        curl_easy_setopt(FEasy, CURLOPT_QUOTE, FQuote);
    }
    if (!RunToEnd())
        return false;
    long reply = 0;
    curl_easy_getinfo(FEasy, CURLINFO_RESPONSE_CODE, &reply);
    if (!command.isEmpty() && reply >= 400) {
        char text[CURL_ERROR_SIZE];
        std::snprintf(text, sizeof text, "The server refused %s (%ld)", command.left(4).constData(), reply);
        Fail(CURLE_QUOTE_ERROR, text);
        return false;
    }
    return true;
}

bool TFtpConnection::Connect() {
    if (!Command({}))
        return false;
    const char* entry = nullptr;
    curl_easy_getinfo(FEasy, CURLINFO_FTP_ENTRY_PATH, &entry);
    FCurrent = entry && *entry == '/' ? NormalPath(QString::fromUtf8(entry)) : QStringLiteral("/");
    return true;
}

bool TFtpConnection::SetCurrentFolder(const QString& folder) {
    const QString path = PathOf(folder);
    if (!IsSafeText(path)) {
        Fail(CURLE_URL_MALFORMAT, nullptr);
        return false;
    }
    if (!Command("CWD " + path.toUtf8()))
        return false;
    FCurrent = path;
    return true;
}

bool TFtpConnection::CreateFolder(const QString& name) {
    const QString path = PathOf(name);
    if (!IsSafeText(path)) {
        Fail(CURLE_URL_MALFORMAT, nullptr);
        return false;
    }
    return Command("MKD " + path.toUtf8());
}

bool TFtpConnection::Delete(const QString& name) {
    const QString path = PathOf(name);
    if (!IsSafeText(path)) {
        Fail(CURLE_URL_MALFORMAT, nullptr);
        return false;
    }
    return Command("DELE " + path.toUtf8());
}

std::optional<std::vector<TFtpEntry>> TFtpConnection::List() {
    for (;;) {
        if (!FEasy || !IsSafeText(FCurrent)) {
            Fail(CURLE_URL_MALFORMAT, nullptr);
            return std::nullopt;
        }
        Configure(FCurrent == u"/" ? FCurrent : FCurrent + u'/');
        FBodyLimit = kListingLimit;
        if (FMachineListing)
            curl_easy_setopt(FEasy, CURLOPT_CUSTOMREQUEST, "MLSD");
        if (RunToEnd()) {
            const QByteArray text(FBody.data(), qsizetype(FBody.size()));
            FBody.clear();
            return FMachineListing ? ParseMachineListing(text)
                                   : ParsePlainListing(text, QDate::currentDate());
        }
        long reply = 0;
        curl_easy_getinfo(FEasy, CURLINFO_RESPONSE_CODE, &reply);
        if (!FMachineListing || !IsUnknownCommand(reply))
            return std::nullopt;
        FMachineListing = false;
    }
}

bool TFtpConnection::OpenRead(const QString& name) {
    const QString path = PathOf(name);
    if (!FEasy || !IsSafeText(path)) {
        Fail(CURLE_URL_MALFORMAT, nullptr);
        return false;
    }
    Configure(path);
    FBodyLimit = kReadAheadLimit;
    if (!Start())
        return false;
    Drive([this] { return FOpened; });
    return FOpened || (FDone && FResult == CURLE_OK);
}

std::int64_t TFtpConnection::Read(char* buffer, std::size_t size) {
    for (;;) {
        const std::size_t available = FBody.size() - FBodyRead;
        if (available > 0) {
            const std::size_t n = std::min(available, size);
            std::memcpy(buffer, FBody.data() + FBodyRead, n);
            FBodyRead += n;
            return std::int64_t(n);
        }
        FBody.clear();
        FBodyRead = 0;
        if (FDone)
            return FResult == CURLE_OK ? 0 : -1;
        // The library held back what did not fit: it may go on now.
        curl_easy_pause(FEasy, CURLPAUSE_CONT);
        Drive([this] { return !FBody.empty(); });
    }
}

bool TFtpConnection::OpenWrite(const QString& name, std::int64_t size) {
    const QString path = PathOf(name);
    if (!FEasy || !IsSafeText(path)) {
        Fail(CURLE_URL_MALFORMAT, nullptr);
        return false;
    }
    Configure(path);
    curl_easy_setopt(FEasy, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(FEasy, CURLOPT_INFILESIZE_LARGE, curl_off_t(size));
    curl_easy_setopt(FEasy, CURLOPT_READFUNCTION, &TFtpConnection::ReadCallback);
    curl_easy_setopt(FEasy, CURLOPT_READDATA, this);
    if (!Start())
        return false;
    // The library asks for data only once the server has opened the file.
    Drive([this] { return FPaused; });
    return FPaused;
}

bool TFtpConnection::Write(const char* data, std::size_t size) {
    FUpload = data;
    FUploadLeft = size;
    if (FPaused) {
        FPaused = false;
        curl_easy_pause(FEasy, CURLPAUSE_CONT);
    }
    Drive([this] { return FUploadLeft == 0; });
    return FUploadLeft == 0 && !(FDone && FResult != CURLE_OK);
}

bool TFtpConnection::EndWrite() {
    FUploadEnded = true;
    if (FPaused) {
        FPaused = false;
        curl_easy_pause(FEasy, CURLPAUSE_CONT);
    }
    Drive([] { return false; });
    return FResult == CURLE_OK;
}

void TFtpConnection::Abort() {
    if (!FDone)
        Fail(CURLE_ABORTED_BY_CALLBACK, nullptr);
    FBody.clear();
    FBody.shrink_to_fit();
}

bool TFtpConnection::Drive(const std::function<bool()>& ready) {
    using Clock = std::chrono::steady_clock;
    const auto stallLimit =
        std::chrono::seconds(FOptions.Timeout > 0 ? FOptions.Timeout : kDefaultStallSeconds);
    auto lastIdle = Clock::now();
    FLastActivity = lastIdle;
    while (!ready() && !FDone) {
        Perform();
        if (ready() || FDone)
            break;
        curl_multi_poll(FMulti, nullptr, 0, kPollMilliseconds, nullptr);
        const auto now = Clock::now();
        if (now - FLastActivity >= stallLimit) {
            char text[CURL_ERROR_SIZE];
            std::snprintf(text, sizeof text, "No data moved for %lld seconds",
                          static_cast<long long>(stallLimit.count()));
            Fail(CURLE_OPERATION_TIMEDOUT, text);
        } else if (now - lastIdle >= kIdleEvery) {
            lastIdle = now;
            if (FIdle && !FIdle())
                Fail(CURLE_ABORTED_BY_CALLBACK, nullptr);
        }
    }
    return ready();
}

void TFtpConnection::Perform() {
    int running = 0;
    curl_multi_perform(FMulti, &running);
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(FMulti, &queued))
        if (message->msg == CURLMSG_DONE && message->easy_handle == FEasy)
            Finish(message->data.result);
}

void TFtpConnection::Fail(CURLcode result, const char* text) {
    if (text)
        std::snprintf(FErrorBuffer, sizeof FErrorBuffer, "%s", text);
    Finish(result);
}

void TFtpConnection::Finish(CURLcode result) {
    FDone = true;
    if (FOverLimit)
        result = CURLE_FILESIZE_EXCEEDED;
    FResult = result;
    if (FAdded) {
        curl_multi_remove_handle(FMulti, FEasy);
        FAdded = false;
    }
    if (result != CURLE_OK)
        FError = LibraryError(result, FOverLimit ? nullptr : FErrorBuffer);
}

size_t TFtpConnection::HeaderCallback(char* data, size_t size, size_t count, void* self) {
    auto* connection = static_cast<TFtpConnection*>(self);
    const size_t length = size * count;
    connection->FLastActivity = std::chrono::steady_clock::now();
    // "150" or "125": the server has opened the file and the data connection.
    if (length >= 3 && (std::strncmp(data, "150", 3) == 0 || std::strncmp(data, "125", 3) == 0))
        connection->FOpened = true;
    return length;
}

size_t TFtpConnection::WriteCallback(char* data, size_t size, size_t count, void* self) {
    auto* connection = static_cast<TFtpConnection*>(self);
    const size_t length = size * count;
    connection->FLastActivity = std::chrono::steady_clock::now();
    connection->FOpened = true;
    const std::size_t unread = connection->FBody.size() - connection->FBodyRead;
    if (unread + length > connection->FBodyLimit) {
        // A listing that long is refused; a download waits until its reader has caught up.
        if (connection->FBodyLimit == kListingLimit) {
            connection->FOverLimit = true;
            return 0;
        }
        if (unread > 0)
            return CURL_WRITEFUNC_PAUSE;
    }
    if (connection->FBodyRead > 0) {
        connection->FBody.erase(connection->FBody.begin(),
                                connection->FBody.begin() + std::ptrdiff_t(connection->FBodyRead));
        connection->FBodyRead = 0;
    }
    connection->FBody.insert(connection->FBody.end(), data, data + length);
    return length;
}

size_t TFtpConnection::ReadCallback(char* data, size_t size, size_t count, void* self) {
    auto* connection = static_cast<TFtpConnection*>(self);
    if (connection->FUploadLeft == 0) {
        if (connection->FUploadEnded)
            return 0;
        connection->FPaused = true;
        return CURL_READFUNC_PAUSE;
    }
    connection->FLastActivity = std::chrono::steady_clock::now();
    const size_t n = std::min(connection->FUploadLeft, size * count);
    std::memcpy(data, connection->FUpload, n);
    connection->FUpload += n;
    connection->FUploadLeft -= n;
    return n;
}

} // namespace lanterna
