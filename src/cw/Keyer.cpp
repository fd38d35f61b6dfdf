#include "cw/Keyer.h"

#include "cw/MorseTable.h"

namespace corvane::cw {

namespace {
// A line change later than this share of a unit moves the rest of the schedule.
constexpr double kSlipTolerance = 0.1;
} // namespace

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

bool Keyer::idle() const {
    std::lock_guard lock(m_mutex);
    return m_idle && !m_pending;
}

void Keyer::setIdleHandler(IdleHandler onIdle) {
    std::lock_guard lock(m_mutex);
    m_onIdle = std::move(onIdle);
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
    m_stopSource.request_stop(); // cuts the wait in progress short
    m_wake.notify_one();
    m_idleChanged.notify_all();
    if (m_thread.joinable() && m_thread.get_id() != std::this_thread::get_id()) {
        m_thread.join();
    }
}

bool Keyer::stopRequested() const {
    return m_stopSource.stop_requested();
}

void Keyer::run() {
    bool keyedSinceIdle = false;
    for (;;) {
        char character = 0;
        IdleHandler onIdle;
        {
            std::lock_guard lock(m_mutex);
            m_idle = true;
            m_idleChanged.notify_all();
            if (keyedSinceIdle && !m_pending && !m_stop) {
                onIdle = m_onIdle;
            }
        }
        keyedSinceIdle = false;
        if (onIdle) {
            onIdle(); // the line is quiet; a character handed over meanwhile is picked up below
        }
        {
            std::unique_lock lock(m_mutex);
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
        keyedSinceIdle = true;
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
    // The schedule goes on from the deadline the previous character ended on; the first line
    // change tells whether it is still on time (a character handed over late starts a new one).
    std::optional<KeyerClock::TimePoint> deadline = m_lastDeadline;
    m_lastDeadline.reset();
    CharacterOutcome outcome = CharacterOutcome::Sent;
    for (std::size_t i = 0; i < plan.size(); ++i) {
        const char unit = plan[i];
        if (stopRequested()) {
            outcome = CharacterOutcome::Stopped;
            break;
        }
        const KeyTiming now = timing();
        const auto unitMs = unitLengthMs(now.speedWpm);
        if (!unitMs) {
            outcome = CharacterOutcome::NoSpeed;
            break;
        }
        if (!(unit == '1' ? m_line.keyDown() : m_line.keyUp())) {
            outcome = CharacterOutcome::LineFailed;
            break;
        }
        // Slip, never squeeze: a change that came late moves the rest of the schedule.
        const KeyerClock::TimePoint changedAt = m_clock.now();
        const auto tolerance = std::chrono::duration<double, std::milli>(kSlipTolerance * *unitMs);
        if (!deadline || changedAt - *deadline > tolerance) {
            deadline = changedAt;
        }
        // With the key up for the last unit of its gap the character is as good as sent:
        // it is reported now, so that the next one is handed over before this gap ends
        // and starts exactly on its deadline.
        if (i + 1 == plan.size() && unit == '0') {
            reported = true;
            finish(character, CharacterOutcome::Sent);
        }
        const WaitResult waited = waitUnit(now, *deadline);
        if (waited != WaitResult::Waited) {
            outcome = waited == WaitResult::Stopped ? CharacterOutcome::Stopped : CharacterOutcome::NoSpeed;
            break;
        }
    }
    if (reported) {
        // The line is up; a stop during the last gap unit leaves nothing to release.
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

Keyer::WaitResult Keyer::waitUnit(const KeyTiming& timing, KeyerClock::TimePoint& deadline) {
    const std::stop_token stop = m_stopSource.get_token();
    bool waited = false;
    switch (timing.method) {
    case TimingMethod::Timer: {
        const auto unit = timerUnit(timing.speedWpm);
        if (!unit) {
            return WaitResult::NoSpeed;
        }
        deadline += *unit;
        waited = m_clock.spinUntil(deadline, stop);
        break;
    }
    case TimingMethod::Sleep: {
        const auto unit = sleepUnit(timing.speedWpm);
        if (!unit) {
            return WaitResult::NoSpeed;
        }
        deadline += *unit;
        waited = m_clock.sleepUntil(deadline, stop);
        break;
    }
    case TimingMethod::Loop: {
        const auto steps = loopCount(timing.loopOffset, timing.speedWpm);
        if (!steps) {
            return WaitResult::NoSpeed;
        }
        waited = m_clock.count(*steps, stop);
        deadline = m_clock.now();
        break;
    }
    }
    return waited ? WaitResult::Waited : WaitResult::Stopped;
}

} // namespace corvane::cw
