#include "test_server.h"

#include <QJsonDocument>

#include <curl/curl.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace lanterna::testing {

namespace {

size_t Collect(char* data, size_t size, size_t count, void* out) {
    static_cast<QByteArray*>(out)->append(data, qsizetype(size * count));
    return size * count;
}

} // namespace

TestServer::TestServer(const QString& uploadDir, const QString& root) {
    FPort = StartServerProcess(FProcess, QStringLiteral("python3"),
                               {QStringLiteral(LANTERNA_FAULT_SERVER), QStringLiteral("--upload-dir"),
                                uploadDir.isEmpty() ? FScratch.path() : uploadDir, QStringLiteral("--root"),
                                root.isEmpty() ? FScratch.path() : root});
}

TestServer::~TestServer() {
    FProcess.closeWriteChannel();
    if (!FProcess.waitForFinished(5000)) {
        FProcess.kill();
        FProcess.waitForFinished(5000);
    }
}

QString TestServer::Url(const QString& path) const {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(FPort).arg(path);
}

QJsonArray TestServer::Log() const {
    QByteArray body;
    CURL* curl = curl_easy_init();
    const QByteArray url = Url(QStringLiteral("/log")).toUtf8();
    curl_easy_setopt(curl, CURLOPT_URL, url.constData());
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &Collect);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
    curl_easy_setopt(curl, CURLOPT_PROXY, "");
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

int StartServerProcess(QProcess& process, const QString& program, const QStringList& arguments) {
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, arguments);
    if (!process.waitForStarted(10000))
        return 0;
    while (process.state() == QProcess::Running && !process.canReadLine())
        process.waitForReadyRead(10000);
    const QByteArray line = process.readLine().trimmed();
    return line.startsWith("PORT ") ? line.mid(5).toInt() : 0;
}

int ClosedPort() {
    // Bind a free port and let it go again: nothing listens there afterwards.
    const int probe = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(probe, reinterpret_cast<sockaddr*>(&address), length);
    getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
    close(probe);
    return ntohs(address.sin_port);
}

} // namespace lanterna::testing
