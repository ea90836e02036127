#include "platform/timer.h"

#include "platform/error_display.h"

#include <algorithm>

namespace lanterna {

TTimer::TTimer(QObject* parent, int interval, bool enabled)
    : QObject(parent), FInterval(interval), FEnabled(enabled) {
    FTimer.setTimerType(Qt::PreciseTimer);
    connect(&FTimer, &QTimer::timeout, this, &TTimer::Tick);
    UpdateTimer();
}

void TTimer::SetEnabled(bool value) {
    if (value == FEnabled)
        return;
    FEnabled = value;
    UpdateTimer();
}

void TTimer::SetInterval(int value) {
    if (value == FInterval)
        return;
    FInterval = value;
    UpdateTimer();
}

void TTimer::UpdateTimer() {
    FTimer.stop();
    if (FEnabled && FInterval > 0) {
        FTimer.setInterval(std::max(FInterval, kMinimumPeriod));
        FTimer.start();
    }
}

void TTimer::Tick() {
    if (OnTimer)
        RunGuarded([this] { OnTimer(this); });
}

} // namespace lanterna
