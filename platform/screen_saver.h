#pragma once
// Keeps the screen saver and display power saving off while held: a sign must never blank.
// Where the desktop session offers the freedesktop screen-saver service, an inhibit is taken there;
// on an X11 display the screen-saver extension is suspended as well, which also holds off power
// saving. Without either (the offscreen platform) holding does nothing.

#include <QtGlobal>

namespace lanterna {

class TScreenSaverInhibitor {
public:
    TScreenSaverInhibitor() = default;
    ~TScreenSaverInhibitor();
    Q_DISABLE_COPY_MOVE(TScreenSaverInhibitor)

    void Hold();
    void Release();
    bool Held() const { return FHeld; }

private:
    bool FHeld = false;
    bool FX11Suspended = false;
    quint32 FSessionCookie = 0;
    bool FSessionInhibited = false;
};

} // namespace lanterna
