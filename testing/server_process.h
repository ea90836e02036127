#pragma once
// One launcher for the test servers (the fault-injecting HTTP server, the FTP server, the static
// folder server): a program that listens on a free port of 127.0.0.1, prints "PORT n" as its first
// line and ends when its standard input closes; stopped when the object goes.

#include <QProcess>
#include <QString>
#include <QStringList>

namespace lanterna::testing {

class ServerProcess {
public:
    ServerProcess(const QString& program, const QStringList& arguments);
    ~ServerProcess();
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    bool Started() const { return FPort > 0; }
    // The port, or 0 when the program did not start or did not say its port in time.
    int Port() const { return FPort; }

private:
    QProcess FProcess;
    int FPort = 0;
};

// The system's Python interpreter, for which the distribution installs pyftpdlib; "python3" from
// the search path where there is none.
QString SystemPython();

// A loopback port on which nothing listens.
int ClosedPort();

} // namespace lanterna::testing
