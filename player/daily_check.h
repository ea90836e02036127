#pragma once
// The once-a-day check of a running sign that applies signed releases by itself ("AutoUpdate"):
// at a minute drawn for each sign within the configured hour ("UpdateHour"), so that the signs of
// a chain do not all call their update server at once.

#include "platform/timer.h"

#include <QDate>
#include <QDateTime>

#include <functional>

namespace player {

class TForm1;

// Whether the check is due at `now`: in hour `hour` (kDefaultUpdateHour when it is no hour of the
// day) from minute `minute` on, and not yet made on that day (`lastCheck`).
bool DailyCheckDue(const QDateTime& now, int hour, int minute, const QDate& lastCheck);

class TDailyCheck {
public:
    // How often the clock is looked at; well below a minute, so that no minute of the hour is missed.
    static constexpr int kInterval = 20000;

    explicit TDailyCheck(TForm1& form1);
    TDailyCheck(const TDailyCheck&) = delete;
    TDailyCheck& operator=(const TDailyCheck&) = delete;

    // The local time; replaceable in tests.
    std::function<QDateTime()> Now = [] { return QDateTime::currentDateTime(); };

    // The minute of the hour this sign checks at, drawn at random when the program starts.
    int Minute() const { return FMinute; }
    void SetMinute(int value) { FMinute = value; }

    // Once the program runs, checks in the background when the check is due.
    void Tick();

private:
    TForm1& FForm1;
    lanterna::TTimer FTimer;
    int FMinute;
    QDate FLastCheck;
};

} // namespace player
