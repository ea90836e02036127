#include "testing/ftp_test_server.h"

#include <QFile>

namespace lanterna::testing {

FtpTestServer::FtpTestServer(const QString& root, const QStringList& options)
    : FServer(SystemPython(),
              QStringList{QStringLiteral(LANTERNA_FTP_SERVER), QStringLiteral("--root"), root,
                          QStringLiteral("--log"), FLogDir.filePath(QStringLiteral("ftp.log"))} +
                  options) {}

QStringList FtpTestServer::LogLines(const QString& kind) const {
    QStringList lines;
    QFile log(FLogDir.filePath(QStringLiteral("ftp.log")));
    if (!log.open(QIODevice::ReadOnly))
        return lines;
    const QString prefix = kind + u' ';
    for (const QByteArray& line : log.readAll().split('\n'))
        if (line.startsWith(prefix.toUtf8()) || line == kind.toUtf8())
            lines << QString::fromUtf8(line.mid(prefix.size()));
    return lines;
}

QStringList FtpTestServer::Logins() const {
    return LogLines(QStringLiteral("LOGIN"));
}

QStringList FtpTestServer::Commands() const {
    return LogLines(QStringLiteral("CMD"));
}

int FtpTestServer::Closes() const {
    return int(LogLines(QStringLiteral("CLOSE")).size());
}

} // namespace lanterna::testing
