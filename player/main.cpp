// Lanterna: the slide-show player.
#include "player/program.h"

#include <QApplication>

#include <csignal>

int main(int argc, char** argv) {
    // Started again by the updater, the player inherits an error output that may be a pipe whose
    // reader is gone: a warning written there must fail, not end the show.
    std::signal(SIGPIPE, SIG_IGN);
    QApplication app(argc, argv);
    player::InitialiseApplication();
    player::Program program(QCoreApplication::applicationFilePath(), QCoreApplication::arguments().mid(1));
    program.Show();
    return QApplication::exec();
}
