// UpDate: fetches the files that UpDate.dat in the current directory lists.
#include "updater/program.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    updater::InitialiseApplication();
    updater::Program program(QCoreApplication::arguments().mid(1));
    program.Show();
    return QApplication::exec();
}
