#pragma once
// Paces an animation by the clock: one step per period of real time. A timer tick that comes late is
// made good with several steps, so an animation keeps its length in real time on a busy machine.

#include <functional>

namespace lanterna {

class TStepClock {
public:
    // Milliseconds from any fixed origin.
    using TSource = std::function<double()>;

    explicit TStepClock(double periodMs, TSource source = SteadyMilliseconds);

    // Starts counting periods from now.
    void Start();
    // The steps to take at this tick, counted as taken: every period since the start that has not had
    // its step yet, and at least one, so that an early tick still advances. A tick less than half a
    // period late counts as on time.
    int Tick();

    double Period() const { return FPeriod; }
    void SetSource(TSource source) { FSource = std::move(source); }

    static double SteadyMilliseconds();

private:
    double FPeriod;
    TSource FSource;
    double FOrigin = 0;
    long long FTaken = 0;
};

} // namespace lanterna
