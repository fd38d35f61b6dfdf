#include "cw/KeyerClock.h"

#include "cw/CwTiming.h"

#include <algorithm>
#include <pthread.h>
#include <sched.h>

namespace corvane::cw {

namespace {
// How long before a "Timer" deadline the thread stops sleeping and starts watching the
// clock: long enough to absorb a late wake-up of the sleep before it.
constexpr auto kSpinMargin = std::chrono::milliseconds(2);
// "Sleep" sleeps towards each deadline and watches the clock only for the last moment, so
// that a late wake-up does not move the element.
constexpr auto kSleepSpinMargin = std::chrono::microseconds(1000);
} // namespace

bool SteadyKeyerClock::rest(TimePoint until, const std::stop_token& stop) {
    std::unique_lock lock(m_mutex);
    m_wake.wait_until(lock, stop, until, [] { return false; });
    return !stop.stop_requested();
}

bool SteadyKeyerClock::watch(TimePoint deadline, const std::stop_token& stop) {
    while (std::chrono::steady_clock::now() < deadline) {
        if (stop.stop_requested()) {
            return false;
        }
    }
    return true;
}

bool SteadyKeyerClock::spinUntil(TimePoint deadline, std::stop_token stop) {
    const auto wake = deadline - kSpinMargin;
    if (std::chrono::steady_clock::now() < wake && !rest(wake, stop)) {
        return false;
    }
    return watch(deadline, stop);
}

bool SteadyKeyerClock::sleepUntil(TimePoint deadline, std::stop_token stop) {
    const auto wake = deadline - kSleepSpinMargin;
    if (std::chrono::steady_clock::now() < wake && !rest(wake, stop)) {
        return false;
    }
    return watch(deadline, stop);
}

bool SteadyKeyerClock::count(double steps, std::stop_token stop) {
    return countLoop(steps, stop);
}

void SteadyKeyerClock::characterStarts(TimingMethod method) {
    const bool wanted = method != TimingMethod::Loop;
    if (wanted == m_realtime) {
        return;
    }
    sched_param param{};
    param.sched_priority = wanted ? sched_get_priority_min(SCHED_FIFO) : 0;
    if (pthread_setschedparam(pthread_self(), wanted ? SCHED_FIFO : SCHED_OTHER, &param) == 0 || !wanted) {
        m_realtime = wanted;
    }
}

} // namespace corvane::cw
