#pragma once
// Starting programs and documents: through the desktop's shell, or as a program that is waited for.

#include <QObject>
#include <QString>

#include <chrono>
#include <cstdint>

namespace updater {

class TExecutor final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TExecutor)

public:
    // The longest command line ExecuteAndWait accepts.
    static constexpr int kMaxCommandLine = 512;
    // How long ExecuteAndWait waits at most; the program itself runs on after that.
    static constexpr std::chrono::hours kLongestWait{1};

    explicit TExecutor(QObject* owner = nullptr) : QObject(owner) {}

    // Opens `fileName`: a program is started with `parameters` in `directory`, anything else is
    // opened with the desktop's handler for it. Nothing is reported when it cannot be.
    void exec(const QString& fileName, const QString& parameters, const QString& directory);

    // Runs the command line (program and arguments, quoted as a shell would) in the current
    // directory as a child of this process and returns once it has ended (and is reaped); at once
    // when it cannot start or the line is too long. A program that outlives `longest` runs on (should
    // it end before this process, it is reaped when this process ends). `showState` is the window show code
    // the program is asked for; programs here choose their own windows, so it has no effect.
    void ExecuteAndWait(const QString& commandLine, std::uint16_t showState,
                        std::chrono::milliseconds longest = kLongestWait);
};

} // namespace updater
