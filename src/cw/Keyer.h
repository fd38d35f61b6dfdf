#pragma once
// The keyer thread: keys one character at a time on a KeyLine, timing every unit against
// absolute deadlines so that no error accumulates over a message.
//
//                transmit(c)
//      ┌──────┐ ───────────▶ ┌────────┐  for each unit: line down ('1') or up ('0'),
//      │ Idle │              │ Keying │  then wait until the unit's deadline
//      └──────┘ ◀─────────── └────────┘
//         ▲    done(c, Sent)     │ no speed, line failed, stop()
//         │                      ▼
//         └──── done(c, …) ── Releasing: line up
//
//   stop(): any state ─▶ Stopped (the wait in progress is cut short, a character on the air
//           is released; the thread ends)
//
// Slip, never squeeze: the deadlines stay absolute while every line change comes on time, but
// a change later than a tenth of a unit (a loaded machine wakes the thread late) moves the rest
// of the schedule by that lateness. The element or gap before it grows; none after it shrinks.
//
// The window thread hands over one character and hears through the done handler (called on
// the keyer thread, after the keyer is Idle again, so the handler may hand over the next).
// A character handed over on time continues the previous one's schedule, so the pauses between
// characters keep their length. The idle handler is called once the last unit of the last
// character handed over has ended.

#include "cw/CwTiming.h"
#include "cw/KeyLine.h"
#include "cw/KeyerClock.h"

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <stop_token>
#include <thread>

namespace corvane::cw {

struct KeyTiming {
    TimingMethod method = TimingMethod::Timer;
    double speedWpm = 13.0;
    double loopOffset = 0.0; // "Loop" steps per 60 ms
    int wordSpaceAdjust = 0;
};

enum class CharacterOutcome {
    Sent,       // every unit was keyed and timed (also a character with no elements)
    NoSpeed,    // the speed gave no unit length: nothing more keyed, the line is up
    LineFailed, // the line could not be switched: the rest was dropped, the line released
    Stopped,    // the keyer was stopped while the character was on the air
};

class Keyer {
public:
    using DoneHandler = std::function<void(char character, CharacterOutcome outcome)>;
    using IdleHandler = std::function<void()>;

    Keyer(KeyLine& line, KeyerClock& clock, DoneHandler onDone);
    ~Keyer(); // stops the thread
    Keyer(const Keyer&) = delete;
    Keyer& operator=(const Keyer&) = delete;

    // The timing is read again for every unit: a new speed counts from the next unit.
    void setTiming(const KeyTiming& timing);
    KeyTiming timing() const;

    // Hands one character to the thread; false when one is still on the air or the keyer stopped.
    bool transmit(char character);
    bool busy() const;
    // True when nothing is on the air: the last unit has ended and no character is waiting.
    bool idle() const;
    // Called on the keyer thread each time the line falls quiet after a character (the end of
    // its last unit, when no next character was handed over in time).
    void setIdleHandler(IdleHandler onIdle);
    // Ends the thread; a character on the air is cut short and the line released.
    void stop();
    // Blocks until the last character, its final gap included, has left the line.
    void waitUntilIdle();

private:
    void run();
    CharacterOutcome key(char character, bool& reported);
    void finish(char character, CharacterOutcome outcome);
    enum class WaitResult { Waited, NoSpeed, Stopped };
    WaitResult waitUnit(const KeyTiming& timing, KeyerClock::TimePoint& deadline);
    bool stopRequested() const;

    KeyLine& m_line;
    KeyerClock& m_clock;
    DoneHandler m_onDone;
    IdleHandler m_onIdle; // guarded by m_mutex

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idleChanged;
    bool m_idle = false;
    KeyTiming m_timing;
    std::optional<char> m_pending;
    bool m_busy = false;
    bool m_stop = false;
    std::stop_source m_stopSource;
    // The deadline the last character ended on; the next one goes on from it. Keyer thread only.
    std::optional<KeyerClock::TimePoint> m_lastDeadline;
    std::thread m_thread;
};

} // namespace corvane::cw
