#pragma once
// A keyer clock for tests: it never waits, time jumps to each deadline.

#include "cw/KeyerClock.h"

#include <mutex>
#include <vector>

namespace corvane::cw {

// A clock that never waits: time jumps to each deadline. Counting steps advances it by
// `stepDuration` per step. Every wait is remembered.
class InstantKeyerClock final : public KeyerClock {
public:
    struct Wait {
        enum class Kind { Spin, Sleep, Count } kind;
        TimePoint until; // the deadline, or the time after counting
        double steps = 0;
    };

    explicit InstantKeyerClock(std::chrono::nanoseconds stepDuration = std::chrono::nanoseconds(0))
        : m_step(stepDuration) {}

    TimePoint now() override;
    void spinUntil(TimePoint deadline) override;
    void sleepUntil(TimePoint deadline) override;
    void count(double steps) override;

    // Moves the time on, as the window thread's work between two characters would.
    void advance(std::chrono::nanoseconds by);
    std::vector<Wait> waits() const;

private:
    mutable std::mutex m_mutex;
    TimePoint m_now{};
    std::chrono::nanoseconds m_step;
    std::vector<Wait> m_waits;
};

} // namespace corvane::cw
