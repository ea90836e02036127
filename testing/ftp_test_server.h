#pragma once
// The FTP server of the engine's tests (ftp_server.py on pyftpdlib), on a free port of 127.0.0.1
// while the object lives. It serves one folder to the user "user" with the password "secret" and to
// anonymous log-ins.

#include "testing/server_process.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace lanterna::testing {

class FtpTestServer {
public:
    // `options` are the server's own: {"--without", "MLST,SIZE"}, {"--idle-timeout", "1"}.
    explicit FtpTestServer(const QString& root, const QStringList& options = {});

    bool Started() const { return FServer.Started(); }
    int Port() const { return FServer.Port(); }
    // The log-ins so far, by user name ("anonymous" for the anonymous ones).
    QStringList Logins() const;
    // The commands so far, "VERB argument", without passwords.
    QStringList Commands() const;
    // How many control connections the server has closed or seen closed.
    int Closes() const;

private:
    QStringList LogLines(const QString& kind) const;

    QTemporaryDir FLogDir;
    ServerProcess FServer;
};

} // namespace lanterna::testing
