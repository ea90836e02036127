// UpDate: fetches the files that UpDate.dat in the current directory lists.
#include "updater/program.h"

#include <QApplication>

#include <csignal>

int main(int argc, char** argv) {
    // Started by the player, the updater inherits its error output, which may be a pipe whose reader
    // has gone with the player: a warning written there must fail, not end the update half way.
    std::signal(SIGPIPE, SIG_IGN);
    QApplication app(argc, argv);
    updater::InitialiseApplication();
    updater::Program program(QCoreApplication::arguments().mid(1));
    program.Show();
    return QApplication::exec();
}
