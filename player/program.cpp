#include "player/program.h"

#include "platform/fonts.h"
#include "player/daily_check.h"
#include "player/presentation_form.h"
#include "player/settings_form.h"
#include "player/start_form.h"
#include "release/health_mark.h"
#include "release/release_apply.h"

#include <QApplication>
#include <QFileInfo>

namespace player {

void InitialiseApplication() {
    // The name, not the display name: Qt would append a display name to every window caption.
    QCoreApplication::setApplicationName(QStringLiteral("Kelvra Lide Show"));
    // Only closing the start window ends the program; the others just hide.
    QApplication::setQuitOnLastWindowClosed(false);
    lanterna::RegisterFonts();
}

Program::Program(const QString& executablePath, const QStringList& arguments) {
    // An update cut short leaves the old or the new set whole before the player reads any of it.
    lanterna::RecoverRelease(QFileInfo(executablePath).absolutePath());
    FForm1 = std::make_unique<TForm1>(FWindows, executablePath, arguments);
    FWindows.Form1 = FForm1.get();
    FForm2 = std::make_unique<TForm2>();
    FWindows.Form2 = FForm2.get();
    FForm3 = std::make_unique<TForm3>(FWindows);
    FWindows.Form3 = FForm3.get();

    // The settings window knows the other two; they ask it for its settings through these events.
    TForm3* settings = FForm3.get();
    const auto current = [settings] { return settings->PresentationSettings(); };
    FForm1->Settings = current;
    FForm2->Settings = current;
    FForm1->OnLoadSettings = [settings] { settings->NacistButClick(); };
    FForm1->OnShowSettings = [settings] {
        settings->show();
        settings->raise();
        settings->activateWindow();
    };

    // A mark that cannot be written is no failure of the show: the updater finds no proof then.
    FForm2->OnStayedOpen = [form1 = FForm1.get()] { lanterna::WriteHealthMark(form1->SystemDirectory); };
    FDailyCheck = std::make_unique<TDailyCheck>(*FForm1);
}

Program::~Program() {
    // The timer must not tick into half-destroyed windows.
    FForm1->Timer1->SetEnabled(false);
}

void Program::Show() {
    FForm1->show();
}

} // namespace player
