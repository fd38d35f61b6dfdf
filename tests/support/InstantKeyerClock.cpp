#include "support/InstantKeyerClock.h"

#include <algorithm>

namespace corvane::cw {

KeyerClock::TimePoint InstantKeyerClock::now() {
    std::lock_guard lock(m_mutex);
    return m_now;
}

bool InstantKeyerClock::finish(Wait::Kind kind, TimePoint until, double steps, const std::stop_token& stop) {
    std::unique_lock lock(m_mutex);
    const std::size_t index = m_waits.size();
    if (index == m_holdIndex) {
        m_holding = true;
        m_changed.notify_all();
        m_changed.wait(lock, stop, [] { return false; });
        m_waits.push_back({kind, until, steps, true});
        return false;
    }
    if (kind == Wait::Kind::Count) {
        if (steps > 0) {
            m_now += std::chrono::duration_cast<std::chrono::nanoseconds>(m_step * steps);
        }
        until = m_now;
    } else {
        m_now = std::max(m_now, until);
    }
    if (const auto late = m_late.find(index); late != m_late.end()) {
        m_now += late->second;
    }
    m_waits.push_back({kind, until, steps, false});
    return true;
}

bool InstantKeyerClock::spinUntil(TimePoint deadline, std::stop_token stop) {
    return finish(Wait::Kind::Spin, deadline, 0, stop);
}

bool InstantKeyerClock::sleepUntil(TimePoint deadline, std::stop_token stop) {
    return finish(Wait::Kind::Sleep, deadline, 0, stop);
}

bool InstantKeyerClock::count(double steps, std::stop_token stop) {
    return finish(Wait::Kind::Count, {}, steps, stop);
}

void InstantKeyerClock::advance(std::chrono::nanoseconds by) {
    std::lock_guard lock(m_mutex);
    m_now += by;
}

void InstantKeyerClock::wakeLate(std::size_t index, std::chrono::nanoseconds by) {
    std::lock_guard lock(m_mutex);
    m_late[index] = by;
}

void InstantKeyerClock::holdWait(std::size_t index) {
    std::lock_guard lock(m_mutex);
    m_holdIndex = index;
}

void InstantKeyerClock::waitUntilHeld() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_holding; });
}

std::vector<InstantKeyerClock::Wait> InstantKeyerClock::waits() const {
    std::lock_guard lock(m_mutex);
    return m_waits;
}

} // namespace corvane::cw
