#pragma once
// The waits of the keyer thread, behind an interface so that tests run at machine speed.

#include "cw/CwTiming.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stop_token>

namespace corvane::cw {

// Every wait ends early, returning false, once a stop is requested on its token: stopping the
// keyer never waits for the rest of a unit (1.2 s at 1 WPM).
class KeyerClock {
public:
    using TimePoint = std::chrono::steady_clock::time_point;
    virtual ~KeyerClock() = default;
    virtual TimePoint now() = 0;
    // "Timer": returns at the deadline, keeping the processor for the last stretch.
    virtual bool spinUntil(TimePoint deadline, std::stop_token stop) = 0;
    // "Sleep": gives the processor up until the deadline.
    virtual bool sleepUntil(TimePoint deadline, std::stop_token stop) = 0;
    // "Loop": counts to `steps`.
    virtual bool count(double steps, std::stop_token stop) = 0;
    // Called on the keyer thread before each character with the method it will be timed by.
    virtual void characterStarts(TimingMethod /*method*/) {}
};

// The monotonic clock of the machine.
class SteadyKeyerClock final : public KeyerClock {
public:
    TimePoint now() override { return std::chrono::steady_clock::now(); }
    bool spinUntil(TimePoint deadline, std::stop_token stop) override;
    bool sleepUntil(TimePoint deadline, std::stop_token stop) override;
    bool count(double steps, std::stop_token stop) override;
    // "Timer" and "Sleep" ask for the lowest real-time priority for the keyer thread, so that
    // a busy machine delays the line changes less; "Loop" counts at normal priority, since
    // it keeps a processor busy for the whole character. Without the right to raise the
    // priority the thread simply stays as it is.
    void characterStarts(TimingMethod method) override;

private:
    // Sleeps until `until` or a stop, whichever comes first; false on a stop.
    bool rest(TimePoint until, const std::stop_token& stop);
    // Watches the clock until the deadline; false on a stop.
    static bool watch(TimePoint deadline, const std::stop_token& stop);

    bool m_realtime = false;
    std::mutex m_mutex;
    std::condition_variable_any m_wake;
};

} // namespace corvane::cw
