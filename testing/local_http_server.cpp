#include "testing/local_http_server.h"

namespace lanterna::testing {

namespace {

// Port 0: the system picks a free one. The server ends with its standard input.
const char* const kScript =
    "import functools, http.server, os, sys, threading\n"
    "h = functools.partial(http.server.SimpleHTTPRequestHandler, directory=sys.argv[1])\n"
    "h.func.log_message = lambda *a: None\n"
    "s = http.server.ThreadingHTTPServer(('127.0.0.1', 0), h)\n"
    "threading.Thread(target=s.serve_forever, daemon=True).start()\n"
    "print('PORT', s.server_address[1], flush=True)\n"
    "sys.stdin.read()\n"
    "os._exit(0)\n";

} // namespace

LocalHttpServer::LocalHttpServer(const QString& folder)
    : FServer(SystemPython(), {QStringLiteral("-c"), QString::fromLatin1(kScript), folder}) {}

QString LocalHttpServer::Url() const {
    return FServer.Started() ? QStringLiteral("http://127.0.0.1:%1").arg(FServer.Port()) : QString();
}

} // namespace lanterna::testing
