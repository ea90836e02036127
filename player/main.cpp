// Lanterna: the slide-show player.
#include "player/program.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    player::InitialiseApplication();
    player::Program program(QCoreApplication::applicationFilePath(), QCoreApplication::arguments().mid(1));
    program.Show();
    return QApplication::exec();
}
