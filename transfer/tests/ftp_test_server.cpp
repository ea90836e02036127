#include "ftp_test_server.h"

#include "test_server.h"

#include <QFile>
#include <QFileInfo>

namespace lanterna::testing {

namespace {

// The system's interpreter: the distribution installs pyftpdlib for it.
QString Python() {
    const QString system = QStringLiteral("/usr/bin/python3");
    return QFileInfo(system).isExecutable() ? system : QStringLiteral("python3");
}

} // namespace

FtpTestServer::FtpTestServer(const QString& root, const QString& user, const QString& password) {
    FPort = StartServerProcess(FProcess, Python(),
                               {QStringLiteral(LANTERNA_FTP_SERVER), QStringLiteral("--root"), root,
                                QStringLiteral("--user"), user, QStringLiteral("--password"), password,
                                QStringLiteral("--log"), FLogDir.filePath(QStringLiteral("ftp.log"))});
}

FtpTestServer::~FtpTestServer() {
    FProcess.closeWriteChannel();
    if (!FProcess.waitForFinished(5000)) {
        FProcess.kill();
        FProcess.waitForFinished(5000);
    }
}

QStringList FtpTestServer::LogLines(const QString& kind) const {
    QStringList lines;
    QFile log(FLogDir.filePath(QStringLiteral("ftp.log")));
    if (!log.open(QIODevice::ReadOnly))
        return lines;
    const QString prefix = kind + u' ';
    for (const QByteArray& line : log.readAll().split('\n'))
        if (line.startsWith(prefix.toUtf8()))
            lines << QString::fromUtf8(line.mid(prefix.size()));
    return lines;
}

QStringList FtpTestServer::Logins() const {
    return LogLines(QStringLiteral("LOGIN"));
}

QStringList FtpTestServer::Commands() const {
    return LogLines(QStringLiteral("CMD"));
}

} // namespace lanterna::testing
