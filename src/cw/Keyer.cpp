#include "cw/Keyer.h"

#include "cw/MorseTable.h"

namespace corvane::cw {

Keyer::Keyer(KeyLine& line, KeyerClock& clock, DoneHandler onDone)
    : m_line(line), m_clock(clock), m_onDone(std::move(onDone)) {
    m_thread = std::thread([this] { run(); });
}

Keyer::~Keyer() {
    stop();
}

void Keyer::setTiming(const KeyTiming& timing) {
    std::lock_guard lock(m_mutex);
    m_timing = timing;
}

KeyTiming Keyer::timing() const {
    std::lock_guard lock(m_mutex);
    return m_timing;
}

bool Keyer::transmit(char character) {
    {
        std::lock_guard lock(m_mutex);
        if (m_busy || m_stop) {
            return false;
        }
        m_busy = true;
        m_pending = character;
    }
    m_wake.notify_one();
    return true;
}

bool Keyer::busy() const {
    std::lock_guard lock(m_mutex);
    return m_busy;
}

void Keyer::waitUntilIdle() {
    std::unique_lock lock(m_mutex);
    m_idleChanged.wait(lock, [this] { return (m_idle && !m_pending) || m_stop; });
}

void Keyer::stop() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_one();
    if (m_thread.joinable() && m_thread.get_id() != std::this_thread::get_id()) {
        m_thread.join();
    }
}

bool Keyer::stopRequested() const {
    std::lock_guard lock(m_mutex);
    return m_stop;
}

void Keyer::run() {
    for (;;) {
        char character = 0;
        {
            std::unique_lock lock(m_mutex);
            m_idle = true;
            m_idleChanged.notify_all();
            m_wake.wait(lock, [this] { return m_stop || m_pending.has_value(); });
            m_idle = false;
            if (m_stop) {
                if (m_pending) {
                    // Handed over but never started: it is still reported, as stopped.
                    character = *m_pending;
                    m_pending.reset();
                    m_busy = false;
                    lock.unlock();
                    if (m_onDone) {
                        m_onDone(character, CharacterOutcome::Stopped);
                    }
                }
                return;
            }
            character = *m_pending;
            m_pending.reset();
        }
        bool reported = false;
        const CharacterOutcome outcome = key(character, reported);
        if (!reported) {
            finish(character, outcome);
        }
    }
}

void Keyer::finish(char character, CharacterOutcome outcome) {
    {
        std::lock_guard lock(m_mutex);
        m_busy = false;
    }
    if (m_onDone) {
        m_onDone(character, outcome);
    }
}

CharacterOutcome Keyer::key(char character, bool& reported) {
    const std::string plan = elementPlan(character, timing().wordSpaceAdjust);
    if (plan.empty()) {
        return CharacterOutcome::Sent;
    }
    m_clock.characterStarts(timing().method);
    // Continue the schedule of the previous character when it ended less than a unit ago.
    KeyerClock::TimePoint deadline = m_clock.now();
    if (m_lastDeadline) {
        const auto unit = unitLengthMs(timing().speedWpm);
        const auto late = std::chrono::duration<double, std::milli>(deadline - *m_lastDeadline).count();
        if (unit && late >= 0.0 && late < *unit) {
            deadline = *m_lastDeadline;
        }
    }
    m_lastDeadline.reset();
    CharacterOutcome outcome = CharacterOutcome::Sent;
    for (std::size_t i = 0; i < plan.size(); ++i) {
        const char unit = plan[i];
        if (stopRequested()) {
            outcome = CharacterOutcome::Stopped;
            break;
        }
        const KeyTiming now = timing();
        if (!unitLengthMs(now.speedWpm)) {
            outcome = CharacterOutcome::NoSpeed;
            break;
        }
        if (!(unit == '1' ? m_line.keyDown() : m_line.keyUp())) {
            outcome = CharacterOutcome::LineFailed;
            break;
        }
        // With the key up for the last unit of its gap the character is as good as sent:
        // it is reported now, so that the next one is handed over before this gap ends
        // and starts exactly on its deadline.
        if (i + 1 == plan.size() && unit == '0') {
            reported = true;
            finish(character, CharacterOutcome::Sent);
        }
        if (!waitUnit(now, deadline)) {
            outcome = CharacterOutcome::NoSpeed;
            break;
        }
    }
    if (reported) {
        m_lastDeadline = deadline;
        return CharacterOutcome::Sent;
    }
    if (outcome == CharacterOutcome::Sent) {
        m_lastDeadline = deadline;
    } else {
        m_line.keyUp(); // never leave the key closed; a second failure has nowhere to go
    }
    return outcome;
}

bool Keyer::waitUnit(const KeyTiming& timing, KeyerClock::TimePoint& deadline) {
    switch (timing.method) {
    case TimingMethod::Timer: {
        const auto unit = timerUnit(timing.speedWpm);
        if (!unit) {
            return false;
        }
        deadline += *unit;
        m_clock.spinUntil(deadline);
        return true;
    }
    case TimingMethod::Sleep: {
        const auto unit = sleepUnit(timing.speedWpm);
        if (!unit) {
            return false;
        }
        deadline += *unit;
        m_clock.sleepUntil(deadline);
        return true;
    }
    case TimingMethod::Loop: {
        const auto steps = loopCount(timing.loopOffset, timing.speedWpm);
        if (!steps) {
            return false;
        }
        m_clock.count(*steps);
        deadline = m_clock.now();
        return true;
    }
    }
    return false;
}

} // namespace corvane::cw
