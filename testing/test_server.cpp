#include "testing/test_server.h"

#include <QJsonDocument>

#include <curl/curl.h>

namespace lanterna::testing {

namespace {

size_t Collect(char* data, size_t size, size_t count, void* out) {
    static_cast<QByteArray*>(out)->append(data, qsizetype(size * count));
    return size * count;
}

} // namespace

TestServer::TestServer(const QString& uploadDir, const QString& root)
    : FServer(SystemPython(), {QStringLiteral(LANTERNA_FAULT_SERVER), QStringLiteral("--upload-dir"),
                               uploadDir.isEmpty() ? FScratch.path() : uploadDir, QStringLiteral("--root"),
                               root.isEmpty() ? FScratch.path() : root}) {}

QString TestServer::Url(const QString& path) const {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(Port()).arg(path);
}

QJsonArray TestServer::Log() const {
    QByteArray body;
    CURL* curl = curl_easy_init();
    const QByteArray url = Url(QStringLiteral("/log")).toUtf8();
    curl_easy_setopt(curl, CURLOPT_URL, url.constData());
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &Collect);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
    curl_easy_setopt(curl, CURLOPT_PROXY, "");
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, 30L);
    curl_easy_perform(curl);
    curl_easy_cleanup(curl);
    return QJsonDocument::fromJson(body).array();
}

QByteArray Pattern(qsizetype size) {
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char(i % 251);
    return bytes;
}

} // namespace lanterna::testing
