#include "player/typy.h"

#include "platform/types.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <curl/curl.h>

#include <memory>

namespace player {

using lanterna::Exception;

namespace {

// A stalled server must not block the player for ever: give up when nothing moves for this long.
constexpr long kConnectTimeoutSeconds = 20;
constexpr long kStallSeconds = 30;
// Nothing the update server publishes comes near this; an endless answer cannot fill the disk.
constexpr curl_off_t kMaxBodyBytes = curl_off_t(1) << 30;

struct Transfer {
    QSaveFile* File;
    QByteArray StatusLine;
    bool WriteFailed = false;
};

size_t WriteBody(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    const qint64 n = qint64(size * count);
    if (t->File->write(data, n) != n) {
        t->WriteFailed = true;
        return 0;
    }
    return size_t(n);
}

size_t ReadHeader(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    const QByteArray line = QByteArray(data, qsizetype(size * count)).trimmed();
    if (line.startsWith("HTTP/"))
        t->StatusLine = line; // the last one wins (after a 100 Continue)
    return size * count;
}

void EnsureCurl() {
    static const bool ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    if (!ready)
        throw Exception(QStringLiteral("The HTTP library could not be started"));
}

} // namespace

void StahnoutSoubor(const QString& url, const QString& fileName) {
    EnsureCurl();
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw Exception(QStringLiteral("Cannot create file \"%1\". %2")
                            .arg(QFileInfo(fileName).absoluteFilePath(), file.errorString()));

    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), &curl_easy_cleanup);
    if (!curl)
        throw Exception(QStringLiteral("The HTTP library could not be started"));
    Transfer transfer{&file, {}};
    const QByteArray address = url.toUtf8();
    char error[CURL_ERROR_SIZE] = {};
    CURL* c = curl.get();
    curl_easy_setopt(c, CURLOPT_URL, address.constData());
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, error);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, WriteBody);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, ReadHeader);
    curl_easy_setopt(c, CURLOPT_HEADERDATA, &transfer);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, kStallSeconds);
    curl_easy_setopt(c, CURLOPT_MAXFILESIZE_LARGE, kMaxBodyBytes);

    const CURLcode result = curl_easy_perform(c);
    long status = 0;
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
    if (transfer.WriteFailed)
        throw Exception(QStringLiteral("Cannot write file \"%1\". %2").arg(fileName, file.errorString()));
    if (result != CURLE_OK)
        throw Exception(QString::fromUtf8(error[0] ? error : curl_easy_strerror(result)).trimmed());
    // Redirects are not followed: like any status from 300 on they are an error of the request.
    if (status >= 300 || status < 200)
        throw Exception(QString::fromLatin1(transfer.StatusLine));
    if (!file.commit())
        throw Exception(QStringLiteral("Cannot create file \"%1\". %2").arg(fileName, file.errorString()));
}

} // namespace player
