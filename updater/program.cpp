#include "updater/program.h"

#include "platform/fonts.h"
#include "updater/list_form.h"
#include "updater/main_form.h"

#include <QApplication>

namespace updater {

void InitialiseApplication() {
    // The name, not the display name: Qt would append a display name to every window caption.
    QCoreApplication::setApplicationName(QStringLiteral("Kelvra UpDater"));
    // Only closing the main window ends the program; the list window just hides.
    QApplication::setQuitOnLastWindowClosed(false);
    lanterna::RegisterFonts();
}

Program::Program(const QStringList& arguments) {
    FForm1 = std::make_unique<TForm1>(FWindows, arguments);
    FWindows.Form1 = FForm1.get();
    FForm2 = std::make_unique<TForm2>(FWindows);
    FWindows.Form2 = FForm2.get();
}

Program::~Program() {
    // The timer must not tick into half-destroyed windows.
    FForm1->Timer1->SetEnabled(false);
}

void Program::Show() {
    FForm1->show();
}

} // namespace updater
