#include "cw/KeyerClock.h"

#include "cw/CwTiming.h"

#include <algorithm>
#include <pthread.h>
#include <sched.h>
#include <thread>

namespace corvane::cw {

namespace {
// How long before a "Timer" deadline the thread stops sleeping and starts watching the
// clock: long enough to absorb a late wake-up of the sleep before it.
constexpr auto kSpinMargin = std::chrono::milliseconds(2);
// "Sleep" sleeps towards each deadline and watches the clock only for the last moment, so
// that a late wake-up does not move the element.
constexpr auto kSleepSpinMargin = std::chrono::microseconds(1000);
} // namespace

void SteadyKeyerClock::spinUntil(TimePoint deadline) {
    const auto wake = deadline - kSpinMargin;
    if (std::chrono::steady_clock::now() < wake) {
        std::this_thread::sleep_until(wake);
    }
    while (std::chrono::steady_clock::now() < deadline) {
    }
}

void SteadyKeyerClock::sleepUntil(TimePoint deadline) {
    const auto wake = deadline - kSleepSpinMargin;
    if (std::chrono::steady_clock::now() < wake) {
        std::this_thread::sleep_until(wake);
    }
    while (std::chrono::steady_clock::now() < deadline) {
    }
}

void SteadyKeyerClock::count(double steps) {
    countLoop(steps);
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
