#include "player/typy.h"

#include "platform/types.h"
#include "transfer/target_file.h"
#include "transfer/url_functions.h"

#include <QFileInfo>

#include <curl/curl.h>

#include <algorithm>
#include <memory>
#include <optional>

namespace player {

using lanterna::Exception;
using lanterna::TTargetFile;

namespace {

constexpr long kConnectTimeoutSeconds = 20;

// How a program of this platform begins: an error page or an empty reply is none.
#ifdef Q_OS_WIN
const QByteArrayList kProgramHeaders = {QByteArrayLiteral("MZ")};
#else
const QByteArrayList kProgramHeaders = {QByteArrayLiteral("\x7f"
                                                          "ELF"),
                                        QByteArrayLiteral("#!")};
#endif
constexpr qsizetype kHeaderBytes = 4;

bool IsProgram(const QByteArray& start) {
    return std::any_of(kProgramHeaders.begin(), kProgramHeaders.end(),
                       [&](const QByteArray& header) { return start.startsWith(header); });
}

struct TTransfer {
    TTargetFile* File;
    QByteArray StatusLine;
    QByteArray Start; // the first bytes, to tell a program from an error page
    TTargetFile::TWriteResult Written = TTargetFile::wrWritten;
    THttpValidators Received;
};

// A validator is sent back as it came; only printable ASCII of a bounded length is kept, so that
// no value read from a server or a file can make a second header line.
constexpr qsizetype kMaxValidatorBytes = 256;

QByteArray UsableValidator(const QByteArray& value) {
    const bool printable =
        std::all_of(value.begin(), value.end(), [](char c) { return c >= 0x20 && c <= 0x7e; });
    return printable && value.size() <= kMaxValidatorBytes ? value : QByteArray();
}

// The value of the header line `line` when its name is `name` (lower case, colon included).
std::optional<QByteArray> HeaderValue(const QByteArray& line, const QByteArray& name) {
    if (line.size() < name.size() || line.left(name.size()).toLower() != name)
        return std::nullopt;
    return line.mid(name.size()).trimmed();
}

size_t WriteBody(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<TTransfer*>(user);
    const size_t n = size * count;
    if (t->Start.size() < kHeaderBytes)
        t->Start.append(data, std::min(qsizetype(n), kHeaderBytes - t->Start.size()));
    t->Written = t->File->Write(data, n);
    return t->Written == TTargetFile::wrWritten ? n : 0;
}

size_t ReadHeader(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<TTransfer*>(user);
    const QByteArray line = QByteArray(data, qsizetype(size * count)).trimmed();
    if (line.startsWith("HTTP/"))
        t->StatusLine = line.left(256); // the last one wins (after a 100 Continue)
    else if (const auto etag = HeaderValue(line, "etag:"))
        t->Received.ETag = UsableValidator(*etag);
    else if (const auto modified = HeaderValue(line, "last-modified:"))
        t->Received.LastModified = UsableValidator(*modified);
    return size * count;
}

using THeaderList = std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)>;

void AppendHeader(THeaderList& list, const QByteArray& name, const QByteArray& value) {
    if (value.isEmpty())
        return;
    // Appending returns the list's head, or nothing (the list unchanged) when out of memory.
    const QByteArray header = name + ": " + value;
    if (curl_slist* head = curl_slist_append(list.get(), header.constData())) {
        list.release();
        list.reset(head);
    }
}

// The request headers that ask whether the body `known` describes has changed.
THeaderList ConditionalHeaders(const THttpValidators& known) {
    THeaderList list(nullptr, &curl_slist_free_all);
    AppendHeader(list, "If-None-Match", UsableValidator(known.ETag));
    AppendHeader(list, "If-Modified-Since", UsableValidator(known.LastModified));
    return list;
}

void Configure(CURL* c, const QByteArray& address, TTransfer& transfer, const TDownloadBounds& bounds,
               char* error) {
    curl_easy_setopt(c, CURLOPT_URL, address.constData());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, error);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, WriteBody);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, ReadHeader);
    curl_easy_setopt(c, CURLOPT_HEADERDATA, &transfer);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
    curl_easy_setopt(c, CURLOPT_TIMEOUT, bounds.OverallSeconds);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, bounds.LowSpeedBytes);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, bounds.LowSpeedSeconds);
}

void EnsureCurl() {
    static const bool ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    if (!ready)
        throw Exception(QStringLiteral("The HTTP library could not be started"));
}

} // namespace

bool StahnoutSoubor(const QString& url, const QString& fileName, const TDownloadBounds& bounds,
                    THttpValidators* validators, const TExpectedBody* expected) {
    EnsureCurl();
    const QString path = QFileInfo(fileName).absoluteFilePath();
    TTargetFile file(fileName, bounds.MaxBytes);
    if (expected)
        file.Expect(expected->Size, expected->SHA256);
    if (!file.Open())
        throw Exception(QStringLiteral("Cannot create file \"%1\". %2").arg(path, file.ErrorString()));

    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), &curl_easy_cleanup);
    if (!curl)
        throw Exception(QStringLiteral("The HTTP library could not be started"));
    TTransfer transfer{&file, {}, {}, TTargetFile::wrWritten, {}};
    char error[CURL_ERROR_SIZE] = {};
    CURL* c = curl.get();
    Configure(c, url.toUtf8(), transfer, bounds, error);
    const THeaderList conditions = ConditionalHeaders(validators ? *validators : THttpValidators());
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, conditions.get());

    const CURLcode result = curl_easy_perform(c);
    long status = 0;
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
    if (transfer.Written == TTargetFile::wrTooLarge)
        throw Exception(QStringLiteral("The reply from %1 is larger than %2 bytes")
                            .arg(lanterna::MaskCredentials(url))
                            .arg(bounds.MaxBytes));
    if (transfer.Written == TTargetFile::wrFailed)
        throw Exception(QStringLiteral("Cannot write file \"%1\". %2").arg(path, file.ErrorString()));
    if (result != CURLE_OK)
        throw Exception(lanterna::MaskCredentials(
            QString::fromUtf8(error[0] ? error : curl_easy_strerror(result)).trimmed()));
    // "Not Modified" answers only a request that asked whether the body changed.
    if (status == 304 && conditions)
        return false;
    // Redirects are not followed: like any status from 300 on they are an error of the request.
    if (status >= 300 || status < 200)
        throw Exception(QString::fromLatin1(transfer.StatusLine));
    if (bounds.Program && !IsProgram(transfer.Start))
        throw Exception(QStringLiteral("The reply from %1 is not a program for this system")
                            .arg(lanterna::MaskCredentials(url)));
    if (!file.Matches())
        throw Exception(QStringLiteral("The file from %1 is not the one the signed update description lists")
                            .arg(lanterna::MaskCredentials(url)));
    if (!file.Commit())
        throw Exception(QStringLiteral("Cannot create file \"%1\". %2").arg(path, file.ErrorString()));
    if (validators)
        *validators = transfer.Received;
    return true;
}

} // namespace player
