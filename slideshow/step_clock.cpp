#include "slideshow/step_clock.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cmath>

namespace lanterna {

TStepClock::TStepClock(double periodMs, TSource source) : FPeriod(periodMs), FSource(std::move(source)) {}

double TStepClock::SteadyMilliseconds() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

void TStepClock::Start() {
    FOrigin = FSource();
    FTaken = 0;
}

int TStepClock::Tick() {
    const double periods = std::floor((FSource() - FOrigin) / FPeriod + 0.5);
    // A clock that went back, or ran far ahead, is not followed beyond what an int can count.
    const long long due = static_cast<long long>(std::clamp(periods, 0.0, double(INT_MAX)));
    const long long steps = std::clamp(due - FTaken, 1LL, static_cast<long long>(INT_MAX));
    FTaken += steps;
    return static_cast<int>(steps);
}

} // namespace lanterna
