#pragma once
// Single-shot timers on a made-up time line: nothing fires until the test moves time on,
// and then every timer that falls due fires in the order of its deadline (timers started by
// a callback included), so tests of waiting code run at machine speed.

#include "core/OneShotTimer.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

namespace corvane::test {

class ManualTimer;

class ManualTimeline {
public:
    std::int64_t nowMs() const { return m_nowMs; }
    // Moves time on by `ms`, firing what falls due on the way.
    inline void advance(std::int64_t ms);
    // Moves time on to the next deadline and fires it; false when no timer is running.
    inline bool fireNext();

private:
    friend class ManualTimer;
    inline ManualTimer* nextDue(std::int64_t until) const;
    std::int64_t m_nowMs = 0;
    std::vector<ManualTimer*> m_timers;
};

class ManualTimer final : public OneShotTimer {
public:
    explicit ManualTimer(ManualTimeline& timeline) : m_timeline(timeline) { m_timeline.m_timers.push_back(this); }
    ~ManualTimer() override { std::erase(m_timeline.m_timers, this); }
    ManualTimer(const ManualTimer&) = delete;
    ManualTimer& operator=(const ManualTimer&) = delete;

    void start(int intervalMs, std::function<void()> fired) override {
        m_deadlineMs = m_timeline.nowMs() + intervalMs;
        m_fired = std::move(fired);
        m_active = true;
        ++starts;
        lastIntervalMs = intervalMs;
    }
    void stop() override { m_active = false; }
    bool isActive() const override { return m_active; }
    std::int64_t deadlineMs() const { return m_deadlineMs; }

    int starts = 0;
    int lastIntervalMs = -1;

private:
    friend class ManualTimeline;
    void fire() {
        m_active = false;
        auto fired = m_fired; // the callback may start the timer again
        if (fired) {
            fired();
        }
    }

    ManualTimeline& m_timeline;
    std::function<void()> m_fired;
    std::int64_t m_deadlineMs = 0;
    bool m_active = false;
};

ManualTimer* ManualTimeline::nextDue(std::int64_t until) const {
    ManualTimer* next = nullptr;
    for (ManualTimer* t : m_timers) {
        if (t->m_active && t->m_deadlineMs <= until && (next == nullptr || t->m_deadlineMs < next->m_deadlineMs)) {
            next = t;
        }
    }
    return next;
}

void ManualTimeline::advance(std::int64_t ms) {
    const std::int64_t until = m_nowMs + ms;
    while (ManualTimer* t = nextDue(until)) {
        m_nowMs = std::max(m_nowMs, t->m_deadlineMs);
        t->fire();
    }
    m_nowMs = until;
}

bool ManualTimeline::fireNext() {
    ManualTimer* t = nextDue(INT64_MAX);
    if (t == nullptr) {
        return false;
    }
    m_nowMs = std::max(m_nowMs, t->m_deadlineMs);
    t->fire();
    return true;
}

} // namespace corvane::test
