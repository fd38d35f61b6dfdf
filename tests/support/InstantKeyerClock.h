#pragma once
// A keyer clock for tests: it never waits, time jumps to each deadline.

#include "cw/KeyerClock.h"

#include <condition_variable>
#include <cstddef>
#include <map>
#include <mutex>
#include <vector>

namespace corvane::cw {

// A clock that never waits: time jumps to each deadline. Counting steps advances it by
// `stepDuration` per step. Every wait is remembered. A wait can be made to end late, as a
// loaded machine wakes the thread late, or be held until the keyer is stopped.
class InstantKeyerClock final : public KeyerClock {
public:
    struct Wait {
        enum class Kind { Spin, Sleep, Count } kind;
        TimePoint until; // the deadline, or the time after counting
        double steps = 0;
        bool stopped = false; // cut short by a stop
    };

    explicit InstantKeyerClock(std::chrono::nanoseconds stepDuration = std::chrono::nanoseconds(0))
        : m_step(stepDuration) {}

    TimePoint now() override;
    bool spinUntil(TimePoint deadline, std::stop_token stop) override;
    bool sleepUntil(TimePoint deadline, std::stop_token stop) override;
    bool count(double steps, std::stop_token stop) override;

    // Moves the time on, as the window thread's work between two characters would.
    void advance(std::chrono::nanoseconds by);
    // Wait number `index` (from 0, all kinds counted) ends `by` after its deadline.
    void wakeLate(std::size_t index, std::chrono::nanoseconds by);
    // Wait number `index` does not end until the keyer is stopped.
    void holdWait(std::size_t index);
    // Blocks until the held wait has begun.
    void waitUntilHeld();
    std::vector<Wait> waits() const;

private:
    bool finish(Wait::Kind kind, TimePoint until, double steps, const std::stop_token& stop);

    mutable std::mutex m_mutex;
    std::condition_variable_any m_changed;
    TimePoint m_now{};
    std::chrono::nanoseconds m_step;
    std::vector<Wait> m_waits;
    std::map<std::size_t, std::chrono::nanoseconds> m_late;
    std::size_t m_holdIndex = static_cast<std::size_t>(-1);
    bool m_holding = false;
};

} // namespace corvane::cw
