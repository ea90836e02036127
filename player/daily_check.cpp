#include "player/daily_check.h"

#include "player/start_form.h"
#include "player/update_settings.h"
#include "player/version_check.h"

#include <QRandomGenerator>

namespace player {

bool DailyCheckDue(const QDateTime& now, int hour, int minute, const QDate& lastCheck) {
    if (hour < 0 || hour > 23)
        hour = kDefaultUpdateHour;
    const QTime time = now.time();
    return now.date() != lastCheck && time.hour() == hour && time.minute() >= minute;
}

TDailyCheck::TDailyCheck(TForm1& form1)
    : FForm1(form1), FTimer(nullptr, kInterval, true), FMinute(QRandomGenerator::global()->bounded(60)) {
    FTimer.OnTimer = [this](lanterna::TTimer*) { Tick(); };
}

void TDailyCheck::Tick() {
    if (FForm1.StavSystemu != QStringLiteral("RUN"))
        return;
    const QDateTime now = Now();
    if (!DailyCheckDue(now, FForm1.ConfiguredUpdateHour, FMinute, FLastCheck))
        return;
    FLastCheck = now.date();
    CheckInBackground(FForm1);
}

} // namespace player
