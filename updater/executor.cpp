#include "updater/executor.h"

#include "platform/shell.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

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

namespace {

// Starts the program as a child of this process, with the caller's environment and current
// directory; 0 when it cannot start.
pid_t Spawn(const QStringList& arguments) {
    std::vector<QByteArray> encoded;
    for (const QString& argument : arguments)
        encoded.push_back(QFile::encodeName(argument));
    std::vector<char*> argv;
    for (QByteArray& argument : encoded)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    return ::posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) == 0 ? pid : 0;
}

// Waits until the child has ended, and reaps it, or until the deadline. The wait is on the child's
// process descriptor; a kernel without one is asked in short steps.
void WaitForChild(pid_t pid, std::chrono::steady_clock::time_point deadline) {
    const int descriptor = int(::syscall(SYS_pidfd_open, pid, 0));
    while (::waitpid(pid, nullptr, WNOHANG) == 0) {
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            break;
        pollfd ended{descriptor, POLLIN, 0};
        if (descriptor >= 0)
            ::poll(&ended, 1, int(std::min<std::int64_t>(left.count(), INT_MAX)));
        else
            ::poll(nullptr, 0, 10);
    }
    if (descriptor >= 0)
        ::close(descriptor);
}

} // namespace

void TExecutor::ExecuteAndWait(const QString& commandLine, std::uint16_t /*showState*/,
                               std::chrono::milliseconds longest) {
    if (commandLine.size() > kMaxCommandLine)
        return;
    const QStringList arguments = QProcess::splitCommand(commandLine);
    if (arguments.isEmpty())
        return;
    // A program still running when the wait gives up is left to run.
    if (const pid_t pid = Spawn(arguments))
        WaitForChild(pid, std::chrono::steady_clock::now() + longest);
}

} // namespace updater
