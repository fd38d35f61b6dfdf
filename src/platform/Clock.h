#pragma once
// The clock seam: local and UTC calendar time and a monotonic millisecond count. The
// windows take the time from here, so tests can set it.

#include "log/DateTime.h"

#include <cstdint>

namespace corvane {

class Clock {
public:
    virtual ~Clock() = default;
    virtual DateTime localNow() const = 0;
    virtual DateTime utcNow() const = 0;
    virtual std::int64_t monotonicMs() const = 0;
};

class SystemClock final : public Clock {
public:
    DateTime localNow() const override;
    DateTime utcNow() const override;
    std::int64_t monotonicMs() const override;
};

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
