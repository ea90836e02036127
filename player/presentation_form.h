#pragma once
// The presentation window: borderless, filled by the slide show, with a close button, the logo and
// the clock laid over the slides.

#include "platform/screen_saver.h"
#include "platform/timer.h"
#include "player/presentation_settings.h"
#include "slideshow/folder_watch.h"

#include <QWidget>

#include <functional>

class QLabel;
class QPushButton;

namespace lanterna {
class TGradientLabel;
class TSlideShow;
} // namespace lanterna

namespace player {

class TForm2 final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm2)

public:
    // The window's size when it is not maximised.
    static constexpr QSize kDesignSize{771, 450};

    TForm2();

    // How long the window stays open before OnStayedOpen, in ms.
    static constexpr int kStayedOpenDelay = 30000;

    // The settings the slides are loaded with; the program wires it to the settings window.
    std::function<TPresentationSettings()> Settings = [] { return TPresentationSettings{}; };
    // Runs once in the program's life, when the window has first stood open for StayedOpenDelay:
    // the proof that the program runs, for the updater.
    std::function<void()> OnStayedOpen;
    int StayedOpenDelay = kStayedOpenDelay; // shorter in tests

    lanterna::TSlideShow* SlideShow;
    QPushButton* ZavritBut;
    QLabel* Logo;
    lanterna::TGradientLabel* Hodiny;

    // Builds the slide list anew from the settings and starts rotating; from then on the slides
    // follow the folder's files (also a folder that does not exist yet) while the show goes on.
    void NactiSlideButClick();
    const lanterna::TFolderWatch& FolderWatch() const { return FFolderWatch; }
    void ZavritButClick();

protected:
    void resizeEvent(QResizeEvent* event) override;
    // While the presentation shows, the screen never blanks.
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void StayedOpen();

    lanterna::TScreenSaverInhibitor FScreenSaver;
    lanterna::TFolderWatch FFolderWatch;
    lanterna::TTimer FStayedOpenTimer{nullptr, kStayedOpenDelay, false};
    bool FStayedOpen = false;
};

} // namespace player
