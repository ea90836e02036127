#pragma once
// The start window: title, version and logo, the ways on ("Pokračovat", "Nastavit"), and the
// one-second timer that runs the start-up sequence once and then keeps the clock current.

#include "platform/timer.h"
#include "player/player_windows.h"
#include "player/presentation_settings.h"
#include "player/update_settings.h"

#include <QPoint>
#include <QStringList>
#include <QWidget>

#include <chrono>
#include <functional>
#include <optional>

class QLabel;
class QPushButton;

namespace lanterna {
class TGradientLabel;
class TReflectionImage;
} // namespace lanterna

namespace player {

class TForm1 final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm1)

public:
    // `executablePath` is the running program's file; `arguments` its command line without it.
    TForm1(Windows& windows, const QString& executablePath, QStringList arguments);

    QString SystemDirectory;
    QString StavSystemu;
    // The update server named by the configuration's "UpdateServer" key; empty for the default.
    QString ConfiguredUpdateServer;
    // The configuration's "AutoUpdate": signed releases are applied without asking.
    bool ConfiguredAutoUpdate = false;
    // The configuration's "UpdateHour": the hour in which a running sign checks once a day.
    int ConfiguredUpdateHour = kDefaultUpdateHour;
    // How long the question about a new version waits at an "/AUTOSTART" start; shorter in tests.
    std::chrono::milliseconds AutostartQuestionLimit = kAutostartQuestionLimit;

    lanterna::TGradientLabel* CelkovaCena;
    lanterna::TGradientLabel* Verze;
    lanterna::TReflectionImage* Logo;
    lanterna::TReflectionImage* ReflectionImage1;
    QLabel* HtmlLabel1;
    QPushButton* PokracovatBut;
    QPushButton* NastavitBut;
    lanterna::TTimer* Timer1;

    // Whether the first argument of the command line is "/AUTOSTART".
    bool AutoStarted() const;

    void FormCreate();
    void Timer1Timer();
    void PokracovatButClick();
    void NastavitButClick();

    // The settings window's part, wired by the program: reading SlideShow.cfg at start-up, showing
    // the window for "Nastavit", and the live settings the presentation follows.
    std::function<void()> OnLoadSettings;
    std::function<void()> OnShowSettings;
    std::function<TPresentationSettings()> Settings = [] { return TPresentationSettings{}; };

    // Opens a link of the contact line; the shell by default, replaceable in tests.
    std::function<void(const QString& link)> OpenLink;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void RunStartUp();

    Windows& FWindows;
    QString FExecutablePath;
    QStringList FArguments;
    // Where the presentation stood before it was last maximised.
    std::optional<QPoint> FNormalPlace;
};

} // namespace player
