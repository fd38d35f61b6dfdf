#pragma once
// The clock seam: local and UTC calendar time and a monotonic millisecond count. The
// windows take the time from here, so tests can set it.

#include "core/DateTime.h"

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

} // namespace corvane
