#pragma once
// A key line for tests that remembers every change with its time.

#include "cw/KeyLine.h"

#include <chrono>
#include <functional>
#include <mutex>
#include <vector>

namespace corvane::cw {

// Remembers every call with the time it was made (the monotonic clock unless told otherwise).
// It can be told to fail from the n-th call on.
class RecordingKeyLine final : public KeyLine {
public:
    using Clock = std::chrono::steady_clock;
    struct Transition {
        bool down;
        Clock::time_point at;
    };

    explicit RecordingKeyLine(std::function<Clock::time_point()> now = [] { return Clock::now(); })
        : m_now(std::move(now)) {}

    bool keyDown() override { return record(true); }
    bool keyUp() override { return record(false); }

    // Calls numbered from 0; `count` calls from `call` on fail and are recorded as not made.
    void failCalls(std::size_t call, std::size_t count = static_cast<std::size_t>(-1)) {
        std::lock_guard lock(m_mutex);
        m_failFrom = call;
        m_failCount = count;
    }
    std::vector<Transition> transitions() const {
        std::lock_guard lock(m_mutex);
        return m_transitions;
    }
    std::size_t size() const {
        std::lock_guard lock(m_mutex);
        return m_transitions.size();
    }
    std::size_t failedCalls() const {
        std::lock_guard lock(m_mutex);
        return m_failed;
    }
    bool isDown() const {
        std::lock_guard lock(m_mutex);
        return m_down;
    }
    void clear() {
        std::lock_guard lock(m_mutex);
        m_transitions.clear();
        m_calls = 0;
        m_failed = 0;
    }
    // A reserve that keeps allocation off the keyer thread while measuring.
    void reserve(std::size_t n) {
        std::lock_guard lock(m_mutex);
        m_transitions.reserve(n);
    }

private:
    bool record(bool down) {
        const auto at = m_now();
        std::lock_guard lock(m_mutex);
        const std::size_t call = m_calls++;
        if (call >= m_failFrom && call - m_failFrom < m_failCount) {
            ++m_failed;
            return false;
        }
        m_down = down;
        m_transitions.push_back({down, at});
        return true;
    }

    std::function<Clock::time_point()> m_now;
    mutable std::mutex m_mutex;
    std::vector<Transition> m_transitions;
    std::size_t m_calls = 0;
    std::size_t m_failFrom = static_cast<std::size_t>(-1);
    std::size_t m_failCount = 0;
    std::size_t m_failed = 0;
    bool m_down = false;
};

} // namespace corvane::cw
