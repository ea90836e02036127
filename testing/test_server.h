#pragma once
// The fault-injecting HTTP server (fault_server.py) of the engine's tests, the updater's tests and
// tools, and the transfer benchmark, on a free port of 127.0.0.1 while the object lives.

#include "testing/server_process.h"

#include <QByteArray>
#include <QJsonArray>
#include <QString>
#include <QTemporaryDir>

namespace lanterna::testing {

class TestServer {
public:
    // `uploadDir` receives uploaded bodies; `root` holds the files served under /static/. Either
    // left empty is a temporary folder of the server's own, so that no test writes outside its own.
    explicit TestServer(const QString& uploadDir = {}, const QString& root = {});

    bool Started() const { return FServer.Started(); }
    int Port() const { return FServer.Port(); }
    // http://127.0.0.1:port followed by `path`.
    QString Url(const QString& path) const;
    // The requests the server has seen: objects with "method", "path" and "headers" (lower-case keys).
    QJsonArray Log() const;

private:
    QTemporaryDir FScratch;
    ServerProcess FServer;
};

// The bytes the server sends for a file of `size` bytes: byte i is i % 251.
QByteArray Pattern(qsizetype size);

} // namespace lanterna::testing
