#pragma once
// A clock for tests that stands still until the test moves it.

#include "core/Clock.h"

namespace corvane {

// A clock that stands still until a test moves it.
class ManualClock final : public Clock {
public:
    explicit ManualClock(DateTime local, double utcMinusLocalHours = 0.0)
        : m_local(local), m_utcOffset(utcMinusLocalHours) {}
    DateTime localNow() const override { return m_local; }
    DateTime utcNow() const override { return applyUtcOffset(m_local, m_utcOffset); }
    std::int64_t monotonicMs() const override { return m_monotonicMs; }

    void setLocal(DateTime local) { m_local = local; }
    void advanceSeconds(std::int64_t seconds) {
        m_local = addSeconds(m_local, seconds);
        m_monotonicMs += seconds * 1000;
    }
    void advanceMs(std::int64_t ms) { m_monotonicMs += ms; }

private:
    DateTime m_local;
    double m_utcOffset;
    std::int64_t m_monotonicMs = 0;
};

} // namespace corvane
