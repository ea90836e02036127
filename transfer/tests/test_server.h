#pragma once
// The fault-injecting HTTP server of the engine's tests and benchmark (fault_server.py), started
// on a free port of 127.0.0.1 and stopped again.

#include <QByteArray>
#include <QJsonArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace lanterna::testing {

class TestServer {
public:
    // `uploadDir` receives uploaded bodies; `root` holds the files served under /static/. Either
    // left empty is a temporary folder of the server's own, so that no test writes outside its own.
    explicit TestServer(const QString& uploadDir = {}, const QString& root = {});
    ~TestServer();
    TestServer(const TestServer&) = delete;
    TestServer& operator=(const TestServer&) = delete;

    bool Started() const { return FPort > 0; }
    int Port() const { return FPort; }
    // http://127.0.0.1:port followed by `path`.
    QString Url(const QString& path) const;
    // The requests the server has seen: objects with "method", "path" and "headers" (lower-case keys).
    QJsonArray Log() const;

private:
    QTemporaryDir FScratch;
    QProcess FProcess;
    int FPort = 0;
};

// The bytes the server sends for a file of `size` bytes: byte i is i % 251.
QByteArray Pattern(qsizetype size);

// Starts a server program that prints "PORT n" as its first line and ends with its stdin; the port,
// or 0 when it did not start.
int StartServerProcess(QProcess& process, const QString& program, const QStringList& arguments);

// A loopback port on which nothing listens.
int ClosedPort();

} // namespace lanterna::testing
