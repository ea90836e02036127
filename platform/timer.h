#pragma once
// A timer with the classic component semantics on top of QTimer: Enabled, Interval (0 never
// fires) and OnTimer. An interval below one display frame (16 ms) ticks every 16 ms.

#include <QObject>
#include <QTimer>

#include <functional>

namespace lanterna {

class TTimer final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TTimer)

public:
    static constexpr int kMinimumPeriod = 16;

    explicit TTimer(QObject* parent = nullptr, int interval = 1000, bool enabled = true);

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    int Interval() const { return FInterval; }
    // Changing the interval of a running timer restarts its period.
    void SetInterval(int value);
    // The period the timer really ticks at, in ms.
    int Period() const { return FTimer.interval(); }
    bool Active() const { return FTimer.isActive(); }

    // Runs on every tick; an error escaping it goes to the default error display.
    std::function<void(TTimer* sender)> OnTimer;

private:
    void UpdateTimer();
    void Tick();

    QTimer FTimer;
    int FInterval;
    bool FEnabled;
};

} // namespace lanterna
