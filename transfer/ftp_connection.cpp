#include "transfer/ftp_connection.h"

#include <QDate>
#include <QUrl>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace lanterna {

namespace {

// Bounds that hold when the owner sets no time-out: no silent server blocks a run for ever.
constexpr long kDefaultConnectSeconds = 60;
constexpr long kDefaultAnswerSeconds = 60;
constexpr long kReceiveBuffer = 256 * 1024;
// A listing longer than this is refused: no server answer grows the engine's memory without end.
constexpr std::size_t kListingLimit = 8 * 1024 * 1024;
// A download holds at most this much unread; the library waits while it is full.
constexpr std::size_t kReadAheadLimit = 1024 * 1024;

// One control connection: the log-in is made once and every exchange reuses it.
CURLM* NewMultiHandle() {
    InitialiseLibrary();
    CURLM* multi = curl_multi_init();
    if (multi)
        curl_multi_setopt(multi, CURLMOPT_MAXCONNECTS, 1L);
    return multi;
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
    : FOptions(std::move(options)), FMulti(NewMultiHandle(), &curl_multi_cleanup),
      FDrive(FMulti.get(), std::move(idle), FOptions.Timeout), FEasy(FDrive.Easy()) {}

// The drive lets its handle go first; the multi handle then closes the kept control connection,
// with a QUIT.
TFtpConnection::~TFtpConnection() {
    FDrive.Fail(CURLE_ABORTED_BY_CALLBACK, nullptr);
    curl_slist_free_all(FQuote);
}

QString TFtpConnection::PathOf(const QString& name) const {
    return NormalPath(name.startsWith(u'/') ? name : FCurrent + u'/' + name);
}

void TFtpConnection::Configure(const QString& path) {
    curl_easy_reset(FEasy);
    curl_slist_free_all(FQuote);
    FQuote = nullptr;
    FDrive.Reset();
    FBody.clear();
    FBodyRead = 0;
    FOpened = false;

    // The path travels whole, its first "/" written as %2F so that it counts from the root.
    QByteArray url = "ftp://" + QUrl::toPercentEncoding(FOptions.Host, "[]:") + ':' +
                     QByteArray::number(FOptions.Port) + '/';
    if (path != u"/")
        url += "%2F" + QUrl::toPercentEncoding(path.mid(1), "/");
    curl_easy_setopt(FEasy, CURLOPT_URL, url.constData());
    curl_easy_setopt(FEasy, CURLOPT_PROTOCOLS_STR, "ftp");
    curl_easy_setopt(FEasy, CURLOPT_FTP_FILEMETHOD, long(CURLFTPMETHOD_NOCWD));
    curl_easy_setopt(FEasy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(FEasy, CURLOPT_ERRORBUFFER, FDrive.ErrorBuffer());
    curl_easy_setopt(FEasy, CURLOPT_BUFFERSIZE, kReceiveBuffer);
    if (!FOptions.User.isEmpty() && !FOptions.Password.isEmpty()) {
        curl_easy_setopt(FEasy, CURLOPT_USERNAME, FOptions.User.toUtf8().constData());
        curl_easy_setopt(FEasy, CURLOPT_PASSWORD, FOptions.Password.toUtf8().constData());
    }
    if (!FOptions.Passive)
        curl_easy_setopt(FEasy, CURLOPT_FTPPORT, "-");
    const long seconds = FOptions.Timeout > 0 ? long(FOptions.Timeout) : kDefaultAnswerSeconds;
    curl_easy_setopt(FEasy, CURLOPT_CONNECTTIMEOUT,
                     FOptions.Timeout > 0 ? long(FOptions.Timeout) : kDefaultConnectSeconds);
    curl_easy_setopt(FEasy, CURLOPT_SERVER_RESPONSE_TIMEOUT, seconds);
    curl_easy_setopt(FEasy, CURLOPT_ACCEPTTIMEOUT_MS, seconds * 1000);
    curl_easy_setopt(FEasy, CURLOPT_HEADERFUNCTION, &TFtpConnection::HeaderCallback);
    curl_easy_setopt(FEasy, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(FEasy, CURLOPT_WRITEFUNCTION, &TFtpConnection::WriteCallback);
    curl_easy_setopt(FEasy, CURLOPT_WRITEDATA, this);
}

bool TFtpConnection::RunToEnd() {
    if (!FDrive.Start())
        return false;
    FDrive.Drive([] { return false; });
    return !FDrive.Failed();
}

bool TFtpConnection::Command(const QByteArray& command) {
    if (!FEasy) {
        FDrive.Fail(CURLE_FAILED_INIT, nullptr);
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
        FDrive.Fail(CURLE_QUOTE_ERROR, text);
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
        FDrive.Fail(CURLE_URL_MALFORMAT, nullptr);
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
        FDrive.Fail(CURLE_URL_MALFORMAT, nullptr);
        return false;
    }
    return Command("MKD " + path.toUtf8());
}

bool TFtpConnection::Delete(const QString& name) {
    const QString path = PathOf(name);
    if (!IsSafeText(path)) {
        FDrive.Fail(CURLE_URL_MALFORMAT, nullptr);
        return false;
    }
    return Command("DELE " + path.toUtf8());
}

std::optional<std::vector<TFtpEntry>> TFtpConnection::List() {
    for (;;) {
        if (!FEasy || !IsSafeText(FCurrent)) {
            FDrive.Fail(CURLE_URL_MALFORMAT, nullptr);
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
        FDrive.Fail(CURLE_URL_MALFORMAT, nullptr);
        return false;
    }
    Configure(path);
    FBodyLimit = kReadAheadLimit;
    if (!FDrive.Start())
        return false;
    FDrive.Drive([this] { return FOpened; });
    return FOpened || (FDrive.Done() && !FDrive.Failed());
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
        if (FDrive.Done())
            return FDrive.Failed() ? -1 : 0;
        // The library held back what did not fit: it may go on now.
        curl_easy_pause(FEasy, CURLPAUSE_CONT);
        FDrive.Drive([this] { return !FBody.empty(); });
    }
}

bool TFtpConnection::OpenWrite(const QString& name, std::int64_t size) {
    const QString path = PathOf(name);
    if (!FEasy || !IsSafeText(path)) {
        FDrive.Fail(CURLE_URL_MALFORMAT, nullptr);
        return false;
    }
    Configure(path);
    curl_easy_setopt(FEasy, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(FEasy, CURLOPT_INFILESIZE_LARGE, curl_off_t(size));
    FDrive.SendBody();
    if (!FDrive.Start())
        return false;
    // The library asks for data only once the server has opened the file.
    FDrive.Drive([this] { return FDrive.WantsBody(); });
    return FDrive.WantsBody();
}

bool TFtpConnection::Write(const char* data, std::size_t size) {
    return FDrive.Push(data, size);
}

bool TFtpConnection::EndWrite() {
    FDrive.EndBody();
    FDrive.Drive([] { return false; });
    return !FDrive.Failed();
}

void TFtpConnection::Abort() {
    if (!FDrive.Done())
        FDrive.Fail(CURLE_ABORTED_BY_CALLBACK, nullptr);
    FBody.clear();
    FBody.shrink_to_fit();
}

size_t TFtpConnection::HeaderCallback(char* data, size_t size, size_t count, void* self) {
    auto* connection = static_cast<TFtpConnection*>(self);
    const size_t length = size * count;
    connection->FDrive.Touch();
    // "150" or "125": the server has opened the file and the data connection.
    if (length >= 3 && (std::strncmp(data, "150", 3) == 0 || std::strncmp(data, "125", 3) == 0))
        connection->FOpened = true;
    return length;
}

size_t TFtpConnection::WriteCallback(char* data, size_t size, size_t count, void* self) {
    auto* connection = static_cast<TFtpConnection*>(self);
    const size_t length = size * count;
    connection->FDrive.Touch();
    connection->FOpened = true;
    const std::size_t unread = connection->FBody.size() - connection->FBodyRead;
    if (unread + length > connection->FBodyLimit) {
        // A listing that long is refused; a download waits until its reader has caught up.
        if (connection->FBodyLimit == kListingLimit) {
            connection->FDrive.Refuse(CURLE_FILESIZE_EXCEEDED, nullptr);
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

} // namespace lanterna
