#include "updater/program.h"

#include "platform/fonts.h"
#include "release/release_apply.h"
#include "transfer/file_transfer.h"
#include "updater/list_form.h"
#include "updater/main_form.h"

#include <QApplication>
#include <QDir>

namespace updater {

void InitialiseApplication() {
    // The name, not the display name: Qt would append a display name to every window caption.
    QCoreApplication::setApplicationName(QStringLiteral("Kelvra UpDater"));
    // Only closing the main window ends the program; the list window just hides.
    QApplication::setQuitOnLastWindowClosed(false);
    lanterna::RegisterFonts();
}

Program::Program(const QStringList& arguments) {
    // An update cut short leaves the old or the new set whole before anything reads the folder.
    lanterna::RecoverRelease(QDir::currentPath());
    FForm1 = std::make_unique<TForm1>(arguments);
    FWindows.Form1 = FForm1.get();
    FForm2 = std::make_unique<TForm2>(*FForm1);
    FWindows.Form2 = FForm2.get();

    // The main window's buttons drive the list window, which reports the run back on the main window.
    TForm2* list = FForm2.get();
    FForm1->OnLoadList = [list] { list->NacistDavkuClick(); };
    FForm1->OnStartDownload = [list] { list->StartButClick(); };
    FForm1->OnCancelDownload = [list] { list->FileTransfer1->CancelCopy(); };
    FForm1->OnShowList = [list] {
        list->show();
        list->raise();
        list->activateWindow();
    };
}

Program::~Program() {
    // The timer must not tick into half-destroyed windows.
    FForm1->Timer1->SetEnabled(false);
}

void Program::Show() {
    FForm1->show();
}

} // namespace updater
