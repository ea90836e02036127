#include "testing/nginx_server.h"

#include "testing/server_process.h"
#include "testing/test_files.h"

#include <QStandardPaths>
#include <QTest>

#include <curl/curl.h>
#include <unistd.h>

namespace lanterna::testing {

namespace {

QByteArray Configuration(const QString& scratch, const QString& root, int port) {
    const QByteArray dir = scratch.toUtf8();
    // As root, nginx would serve as "nobody", who cannot read a test's private folders.
    const QByteArray user = ::geteuid() == 0 ? "user root;\n" : "";
    return user + "daemon off;\nworker_processes 1;\npid " + dir + "/nginx.pid;\nerror_log " + dir +
           "/error.log;\nevents {}\nhttp {\n  access_log " + dir + "/access.log;\n  client_body_temp_path " +
           dir + ";\n  proxy_temp_path " + dir + ";\n  fastcgi_temp_path " + dir + ";\n  uwsgi_temp_path " +
           dir + ";\n  scgi_temp_path " + dir +
           ";\n  types { text/plain dat; }\n  default_type application/octet-stream;\n" +
           "  server {\n    listen 127.0.0.1:" + QByteArray::number(port) + ";\n    root " + root.toUtf8() +
           ";\n  }\n}\n";
}

// True once something answers HTTP on `port`.
bool Answers(int port) {
    CURL* curl = curl_easy_init();
    const QByteArray url = "http://127.0.0.1:" + QByteArray::number(port) + "/";
    curl_easy_setopt(curl, CURLOPT_URL, url.constData());
    curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, 2L);
    const bool answered = curl_easy_perform(curl) == CURLE_OK;
    curl_easy_cleanup(curl);
    return answered;
}

} // namespace

NginxServer::NginxServer(const QString& root) {
    const QString nginx =
        QStandardPaths::findExecutable(QStringLiteral("nginx"), {QStringLiteral("/usr/sbin")});
    if (nginx.isEmpty() || !FScratch.isValid())
        return;
    const int port = ClosedPort();
    const QString configuration = FScratch.filePath(QStringLiteral("nginx.conf"));
    if (!WriteFileBytes(configuration, Configuration(FScratch.path(), root, port)))
        return;
    FProcess.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    FProcess.start(nginx, {QStringLiteral("-p"), FScratch.path(), QStringLiteral("-c"), configuration});
    if (FProcess.waitForStarted(10000) &&
        QTest::qWaitFor([&] { return FProcess.state() == QProcess::Running && Answers(port); }, 10000))
        FPort = port;
}

NginxServer::~NginxServer() {
    if (FProcess.state() == QProcess::NotRunning)
        return;
    FProcess.terminate();
    if (!FProcess.waitForFinished(5000)) {
        FProcess.kill();
        FProcess.waitForFinished(5000);
    }
}

QString NginxServer::Url() const {
    return FPort > 0 ? QStringLiteral("http://127.0.0.1:%1").arg(FPort) : QString();
}

} // namespace lanterna::testing
