#include "testing/server_process.h"

#include <QDeadlineTimer>
#include <QFileInfo>

#include <algorithm>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace lanterna::testing {

namespace {

// A loaded machine may take long to start an interpreter; a server that says nothing in this time
// is taken as not started.
constexpr int kStartLimitMs = 30000;
constexpr int kStopLimitMs = 5000;

} // namespace

ServerProcess::ServerProcess(const QString& program, const QStringList& arguments) {
    FProcess.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    FProcess.start(program, arguments);
    if (!FProcess.waitForStarted(kStartLimitMs))
        return;
    const QDeadlineTimer deadline(kStartLimitMs);
    while (FProcess.state() == QProcess::Running && !FProcess.canReadLine() && !deadline.hasExpired())
        FProcess.waitForReadyRead(int(std::max<qint64>(1, deadline.remainingTime())));
    if (!FProcess.canReadLine())
        return;
    const QByteArray line = FProcess.readLine().trimmed();
    FPort = line.startsWith("PORT ") ? line.mid(5).toInt() : 0;
}

ServerProcess::~ServerProcess() {
    if (FProcess.state() == QProcess::NotRunning)
        return;
    FProcess.closeWriteChannel();
    if (!FProcess.waitForFinished(kStopLimitMs)) {
        FProcess.kill();
        FProcess.waitForFinished(kStopLimitMs);
    }
}

QString SystemPython() {
    const QString system = QStringLiteral("/usr/bin/python3");
    return QFileInfo(system).isExecutable() ? system : QStringLiteral("python3");
}

int ClosedPort() {
    // Bind a free port and let it go again: nothing listens there afterwards.
    const int probe = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(probe, reinterpret_cast<sockaddr*>(&address), length);
    getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
    close(probe);
    return ntohs(address.sin_port);
}

} // namespace lanterna::testing
