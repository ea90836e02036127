#pragma once
// The settings the start and presentation windows follow, as the settings window's controls hold
// them at the moment they are asked for.

#include <QString>

namespace player {

struct TPresentationSettings {
    QString SlideDirectory;
    int RotateInterval = 6; // seconds per slide
    bool FullScreen = false;
    bool LogoVisible = false;
    bool ClockVisible = false;
};

} // namespace player
