#include "platform/testing/local_http_server.h"

namespace lanterna::testing {

LocalHttpServer::LocalHttpServer(const QString& folder) {
    // Port 0: the system picks a free one, which the server prints first.
    const QString script =
        QStringLiteral("import functools, http.server, sys\n"
                       "h = functools.partial(http.server.SimpleHTTPRequestHandler, directory=sys.argv[1])\n"
                       "h.func.log_message = lambda *a: None\n"
                       "s = http.server.ThreadingHTTPServer(('127.0.0.1', 0), h)\n"
                       "print(s.server_address[1], flush=True)\n"
                       "s.serve_forever()\n");
    FProcess.start(QStringLiteral("python3"), {QStringLiteral("-c"), script, folder});
    if (FProcess.waitForReadyRead(10000))
        FUrl = QStringLiteral("http://127.0.0.1:") + QString::fromLatin1(FProcess.readLine().trimmed());
}

LocalHttpServer::~LocalHttpServer() {
    FProcess.kill();
    FProcess.waitForFinished(5000);
}

} // namespace lanterna::testing
