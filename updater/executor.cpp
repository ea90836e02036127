#include "updater/executor.h"

#include "platform/shell.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <signal.h>

#include <thread>

namespace updater {

void TExecutor::exec(const QString& fileName, const QString& parameters, const QString& directory) {
    // A relative name is looked for in the directory the program is to run in.
    const QString path = directory.isEmpty() ? fileName : QDir(directory).absoluteFilePath(fileName);
    const QFileInfo file(path);
    if (file.isFile() && file.isExecutable())
        QProcess::startDetached(file.absoluteFilePath(), QProcess::splitCommand(parameters), directory);
    else
        lanterna::ShellOpen(path);
}

void TExecutor::ExecuteAndWait(const QString& commandLine, std::uint16_t /*showState*/,
                               std::chrono::milliseconds longest) {
    if (commandLine.size() > kMaxCommandLine)
        return;
    QStringList arguments = QProcess::splitCommand(commandLine);
    if (arguments.isEmpty())
        return;
    const QString program = arguments.takeFirst();
    qint64 pid = 0;
    // Detached, so that a program still running when the wait gives up is left to run.
    if (!QProcess::startDetached(program, arguments, QString(), &pid) || pid <= 0)
        return;
    const auto deadline = std::chrono::steady_clock::now() + longest;
    while (::kill(pid_t(pid), 0) == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

} // namespace updater
