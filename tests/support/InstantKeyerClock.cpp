#include "support/InstantKeyerClock.h"

#include <algorithm>

namespace corvane::cw {

KeyerClock::TimePoint InstantKeyerClock::now() {
    std::lock_guard lock(m_mutex);
    return m_now;
}

void InstantKeyerClock::spinUntil(TimePoint deadline) {
    std::lock_guard lock(m_mutex);
    m_now = std::max(m_now, deadline);
    m_waits.push_back({Wait::Kind::Spin, deadline, 0});
}

void InstantKeyerClock::sleepUntil(TimePoint deadline) {
    std::lock_guard lock(m_mutex);
    m_now = std::max(m_now, deadline);
    m_waits.push_back({Wait::Kind::Sleep, deadline, 0});
}

void InstantKeyerClock::count(double steps) {
    std::lock_guard lock(m_mutex);
    if (steps > 0) {
        m_now += std::chrono::duration_cast<std::chrono::nanoseconds>(m_step * steps);
    }
    m_waits.push_back({Wait::Kind::Count, m_now, steps});
}

void InstantKeyerClock::advance(std::chrono::nanoseconds by) {
    std::lock_guard lock(m_mutex);
    m_now += by;
}

std::vector<InstantKeyerClock::Wait> InstantKeyerClock::waits() const {
    std::lock_guard lock(m_mutex);
    return m_waits;
}

} // namespace corvane::cw
