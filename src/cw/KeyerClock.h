#pragma once
// The waits of the keyer thread, behind an interface so that tests run at machine speed.

#include "cw/CwTiming.h"

#include <chrono>
#include <mutex>
#include <vector>

namespace corvane::cw {

class KeyerClock {
public:
    using TimePoint = std::chrono::steady_clock::time_point;
    virtual ~KeyerClock() = default;
    virtual TimePoint now() = 0;
    // "Timer": returns at the deadline, keeping the processor for the last stretch.
    virtual void spinUntil(TimePoint deadline) = 0;
    // "Sleep": gives the processor up until the deadline.
    virtual void sleepUntil(TimePoint deadline) = 0;
    // "Loop": counts to `steps`.
    virtual void count(double steps) = 0;
    // Called on the keyer thread before each character with the method it will be timed by.
    virtual void characterStarts(TimingMethod /*method*/) {}
};

// The monotonic clock of the machine.
class SteadyKeyerClock final : public KeyerClock {
public:
    TimePoint now() override { return std::chrono::steady_clock::now(); }
    void spinUntil(TimePoint deadline) override;
    void sleepUntil(TimePoint deadline) override;
    void count(double steps) override;
    // "Timer" and "Sleep" ask for the lowest real-time priority for the keyer thread, so that
    // a busy machine delays the line changes less; "Loop" counts at normal priority, since
    // it keeps a processor busy for the whole character. Without the right to raise the
    // priority the thread simply stays as it is.
    void characterStarts(TimingMethod method) override;

private:
    bool m_realtime = false;
};

} // namespace corvane::cw
