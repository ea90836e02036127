#pragma once
// The settings window. Its controls are the player's live settings; SlideShow.cfg keeps them
// between runs. It also carries the version check and the hand-over to the updater.

#include "player/player_windows.h"
#include "player/presentation_settings.h"

#include <QWidget>

class QCheckBox;
class QPushButton;

namespace lanterna {
class TDirectoryEdit;
class TGradientPanel;
class TSpinEdit;
} // namespace lanterna

namespace player {

class TForm3 final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm3)

public:
    explicit TForm3(Windows& windows);

    lanterna::TGradientPanel* Panel1;
    lanterna::TDirectoryEdit* SlideDirectory;
    lanterna::TSpinEdit* RotateInterval;
    QCheckBox* FullScreen;
    QCheckBox* LogoVisible;
    QCheckBox* ClockVisible;
    QCheckBox* ZjistitNovouVerziPriStartu;
    QPushButton* ZjistitNovouVerziBut;
    QPushButton* AktualizaceBut;
    QPushButton* ZavritBut;
    QPushButton* UlozitBut;

    // What the controls hold now.
    TPresentationSettings PresentationSettings() const;

    // The configuration file next to the program.
    QString ConfigFileName() const;

    void NacistButClick();
    void UlozitButClick();
    void ZavritButClick();
    void LogoVisibleClick();
    void ZjistitNovouVerziButClick();
    void AktualizaceButClick();

private:
    Windows& FWindows;
};

} // namespace player
