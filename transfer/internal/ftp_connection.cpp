#include "transfer/internal/ftp_connection.h"

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
// The most of one reply line that is kept.
constexpr std::size_t kReplyLineLimit = 1024;

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

// "Service not available, closing control connection".
constexpr long kClosingReply = 421;

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

void TFtpConnection::Configure(const QString& path, bool data) {
    curl_easy_reset(FEasy);
    curl_slist_free_all(FQuote);
    FQuote = nullptr;
    FDrive.Reset();
    FBody.clear();
    FBodyRead = 0;
    FOpened = false;
    FReplyText.clear();
    FFactsLine.clear();

    // The path travels whole, its first "/" written as %2F so that it counts from the root.
    QByteArray url = "ftp://" + QUrl::toPercentEncoding(FOptions.Host, "[]:") + ':' +
                     QByteArray::number(FOptions.Port) + '/';
    if (path != u"/")
        url += "%2F" + QUrl::toPercentEncoding(path.mid(1), "/");
    curl_easy_setopt(FEasy, CURLOPT_URL, url.constData());
    curl_easy_setopt(FEasy, CURLOPT_PROTOCOLS_STR, "ftp");
    curl_easy_setopt(FEasy, CURLOPT_FTP_FILEMETHOD, long(CURLFTPMETHOD_NOCWD));
    curl_easy_setopt(FEasy, CURLOPT_NOSIGNAL, 1L);
    FTextRecorded = FOptions.Passive || !data;
    if (FTextRecorded)
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
    curl_easy_setopt(FEasy, CURLOPT_LOW_SPEED_LIMIT, FOptions.LowSpeedBytes);
    curl_easy_setopt(FEasy, CURLOPT_LOW_SPEED_TIME, FOptions.LowSpeedSeconds);
    curl_easy_setopt(FEasy, CURLOPT_FRESH_CONNECT, FRenew ? 1L : 0L);
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

long TFtpConnection::Reply() const {
    long reply = 0;
    if (FEasy)
        curl_easy_getinfo(FEasy, CURLINFO_RESPONSE_CODE, &reply);
    return reply;
}

bool TFtpConnection::Exchange(const QList<QByteArray>& commands) {
    if (!FEasy) {
        FDrive.Fail(CURLE_FAILED_INIT, nullptr);
        return false;
    }
    Configure(QStringLiteral("/"), false);
    curl_easy_setopt(FEasy, CURLOPT_NOBODY, 1L);
    // A refused command must not cost the connection: the library is told to go on after it, and
    // its answer is read here.
    for (const QByteArray& command : commands)
        FQuote = curl_slist_append(FQuote, QByteArray('*' + command).constData());
    if (FQuote)
        curl_easy_setopt(FEasy, CURLOPT_QUOTE, FQuote);
    if (!RunToEnd())
        return false;
    if (Reply() == kClosingReply) {
        FDrive.Fail(CURLE_RECV_ERROR, "The server closed the connection (421)");
        return false;
    }
    return true;
}

bool TFtpConnection::Refused(const QByteArray& command) {
    const long reply = Reply();
    if (reply < 400)
        return false;
    char text[CURL_ERROR_SIZE];
    std::snprintf(text, sizeof text, "The server refused %s (%ld)", command.left(4).constData(), reply);
    FDrive.Fail(CURLE_QUOTE_ERROR, text);
    return true;
}

bool TFtpConnection::Command(const QByteArray& command) {
    const QList<QByteArray> commands = command.isEmpty() ? QList<QByteArray>() : QList<QByteArray>{command};
    return Renewing([&] { return Exchange(commands) && !Refused(command); });
}

bool TFtpConnection::Renewing(const std::function<bool()>& exchange) {
    if (exchange())
        return true;
    if (!ClosedByServer())
        return false;
    FRenew = true;
    const bool done = exchange();
    FRenew = false;
    return done;
}

// The server closed a control connection that the library reused: it said so (421) or the
// connection broke before this exchange moved anything.
bool TFtpConnection::ClosedByServer() const {
    long connects = 1;
    curl_easy_getinfo(FEasy, CURLINFO_NUM_CONNECTS, &connects);
    const CURLcode result = FDrive.Result();
    return connects == 0 && !FOpened &&
           (Reply() == kClosingReply || result == CURLE_SEND_ERROR || result == CURLE_RECV_ERROR ||
            result == CURLE_GOT_NOTHING);
}

bool TFtpConnection::Connect() {
    if (!Command({}))
        return false;
    const char* entry = nullptr;
    curl_easy_getinfo(FEasy, CURLINFO_FTP_ENTRY_PATH, &entry);
    FCurrent = entry && *entry == '/' ? NormalPath(QString::fromUtf8(entry)) : QStringLiteral("/");
    return true;
}

bool TFtpConnection::AcceptsPath(const QString& path) {
    if (FEasy && IsSafeText(path))
        return true;
    FDrive.Fail(CURLE_URL_MALFORMAT, nullptr);
    return false;
}

bool TFtpConnection::PathCommand(const QByteArray& verb, const QString& path) {
    if (!IsSafeText(path)) {
        FDrive.Fail(CURLE_URL_MALFORMAT, nullptr);
        return false;
    }
    return Command(verb + ' ' + path.toUtf8());
}

bool TFtpConnection::SetCurrentFolder(const QString& folder) {
    const QString path = PathOf(folder);
    if (!PathCommand("CWD", path))
        return false;
    FCurrent = path;
    return true;
}

bool TFtpConnection::CreateFolder(const QString& name) {
    return PathCommand("MKD", PathOf(name));
}

bool TFtpConnection::Delete(const QString& name) {
    return PathCommand("DELE", PathOf(name));
}

std::optional<std::vector<TFtpEntry>> TFtpConnection::List() {
    if (!AcceptsPath(FCurrent))
        return std::nullopt;
    auto listing = [this] {
        Configure(FCurrent == u"/" ? FCurrent : FCurrent + u'/', true);
        FBodyLimit = kListingLimit;
        if (FMachineListing)
            curl_easy_setopt(FEasy, CURLOPT_CUSTOMREQUEST, "MLSD");
        return RunToEnd();
    };
    bool listed = Renewing(listing);
    if (!listed && FMachineListing && IsUnknownCommand(Reply())) {
        FMachineListing = false;
        listed = Renewing(listing);
    }
    if (!listed)
        return std::nullopt;
    const QByteArray text(FBody.data(), qsizetype(FBody.size()));
    FBody.clear();
    return FMachineListing ? ParseMachineListing(text) : ParsePlainListing(text, QDate::currentDate());
}

TFtpFound TFtpConnection::Find(const QString& name, TFtpEntry& entry) {
    const QString path = PathOf(name);
    if (!AcceptsPath(path))
        return fdUnknown;
    std::optional<TFtpFound> found;
    if (FMachineLookup && !(found = FindByFacts(path.toUtf8(), entry)))
        FMachineLookup = false;
    if (!found && FSizeLookup && !(found = FindBySizeAndDate(path.toUtf8(), entry)))
        FSizeLookup = false;
    if (!found)
        found = FindListed(name, entry);
    if (*found == fdFound)
        entry.Name = name;
    return *found;
}

std::optional<TFtpFound> TFtpConnection::FindByFacts(const QByteArray& path, TFtpEntry& entry) {
    if (!Renewing([&] { return Exchange({"MLST " + path}); }))
        return fdUnknown;
    const long reply = Reply();
    if (reply / 100 != 2)
        return IsUnknownCommand(reply) ? std::nullopt : std::optional(fdMissing);
    // "type=file;size=1234;modify=20240131120000; /path/name"
    const std::vector<TFtpEntry> facts = ParseMachineListing(FFactsLine);
    if (facts.empty())
        return std::nullopt;
    entry = facts.front();
    return fdFound;
}

std::optional<TFtpFound> TFtpConnection::FindBySizeAndDate(const QByteArray& path, TFtpEntry& entry) {
    // Some servers give no size in text mode, which a listing may have left set.
    if (!Renewing([&] { return Exchange({"TYPE I", "SIZE " + path}); }))
        return fdUnknown;
    long reply = Reply();
    if (reply / 100 != 2)
        return IsUnknownCommand(reply) ? std::nullopt : std::optional(fdMissing);
    bool sized = false;
    entry.Size = FReplyText.trimmed().toULongLong(&sized);
    if (!Renewing([&] { return Exchange({"MDTM " + path}); }))
        return fdUnknown;
    reply = Reply();
    if (IsUnknownCommand(reply) || !sized)
        return std::nullopt;
    if (Refused("MDTM"))
        return fdUnknown;
    entry.FileTime = FileTimeFromMachineTime(FReplyText.trimmed());
    return fdFound;
}

TFtpFound TFtpConnection::FindListed(const QString& name, TFtpEntry& entry) {
    const std::optional<std::vector<TFtpEntry>> entries = List();
    if (!entries)
        return fdUnknown;
    for (const TFtpEntry& listed : *entries) {
        if (listed.Name == name) {
            entry = listed;
            return fdFound;
        }
    }
    return fdMissing;
}

bool TFtpConnection::OpenRead(const QString& name) {
    const QString path = PathOf(name);
    if (!AcceptsPath(path))
        return false;
    return Renewing([&] {
        Configure(path, true);
        FBodyLimit = kReadAheadLimit;
        if (!FDrive.Start())
            return false;
        FDrive.Drive([this] { return FOpened; });
        return FOpened || (FDrive.Done() && !FDrive.Failed());
    });
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
    if (!AcceptsPath(path))
        return false;
    return Renewing([&] {
        Configure(path, true);
        curl_easy_setopt(FEasy, CURLOPT_UPLOAD, 1L);
        curl_easy_setopt(FEasy, CURLOPT_INFILESIZE_LARGE, curl_off_t(size));
        FDrive.SendBody();
        if (!FDrive.Start())
            return false;
        // The library asks for data only once the server has opened the file.
        FDrive.Drive([this] { return FDrive.WantsBody(); });
        if (FDrive.WantsBody())
            RecordTextOnceConnected();
        return FDrive.WantsBody();
    });
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

// In active mode the library notes a harmless failure on its listening socket and on the connection
// it accepts there, and then keeps no later text of the exchange: the buffer goes to it only once data
// moves on the accepted connection.
void TFtpConnection::RecordTextOnceConnected() {
    if (!FTextRecorded) {
        FTextRecorded = true;
        FDrive.RecordTextFromNextStep();
    }
}

size_t TFtpConnection::HeaderCallback(char* data, size_t size, size_t count, void* self) {
    auto* connection = static_cast<TFtpConnection*>(self);
    const size_t length = size * count;
    connection->FDrive.Touch();
    const QByteArray line = QByteArray(data, qsizetype(std::min(length, kReplyLineLimit))).trimmed();
    if (length > 0 && data[0] == ' ')
        connection->FFactsLine = line;
    else
        connection->FReplyText = line.mid(4);
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
    connection->RecordTextOnceConnected();
    const std::size_t unread = connection->FBody.size() - connection->FBodyRead;
    if (unread + length > connection->FBodyLimit) {
        // A listing that long is refused; a download waits until its reader has caught up.
        if (connection->FBodyLimit == kListingLimit) {
            connection->FDrive.Refuse(CURLE_FILESIZE_EXCEEDED, "The folder's listing is longer than 8 MB");
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
