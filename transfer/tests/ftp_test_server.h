#pragma once
// The FTP server of the engine's tests and benchmark (ftp_server.py on pyftpdlib), started on a
// free port of 127.0.0.1 and stopped again. It serves one folder to a user and to anonymous log-ins.

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace lanterna::testing {

class FtpTestServer {
public:
    explicit FtpTestServer(const QString& root, const QString& user = QStringLiteral("user"),
                           const QString& password = QStringLiteral("secret"));
    ~FtpTestServer();
    FtpTestServer(const FtpTestServer&) = delete;
    FtpTestServer& operator=(const FtpTestServer&) = delete;

    bool Started() const { return FPort > 0; }
    int Port() const { return FPort; }
    // The log-ins so far, by user name ("anonymous" for the anonymous ones).
    QStringList Logins() const;
    // The commands so far, "VERB argument", without passwords.
    QStringList Commands() const;

private:
    QStringList LogLines(const QString& kind) const;

    QTemporaryDir FLogDir;
    QProcess FProcess;
    int FPort = 0;
};

} // namespace lanterna::testing
