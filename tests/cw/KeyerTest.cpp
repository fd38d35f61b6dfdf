#include "cw/Keyer.h"

#include "support/InstantKeyerClock.h"
#include "support/RecordingKeyLine.h"

#include <condition_variable>
#include <deque>
#include <future>
#include <gtest/gtest.h>
#include <mutex>

namespace corvane::cw {
namespace {

using namespace std::chrono_literals;

// Collects the done events of the keyer thread for the test thread.
class DoneQueue {
public:
    void push(char c, CharacterOutcome o) {
        std::lock_guard lock(m_mutex);
        m_events.emplace_back(c, o);
        m_cv.notify_all();
    }
    std::pair<char, CharacterOutcome> next() {
        std::unique_lock lock(m_mutex);
        m_cv.wait(lock, [this] { return !m_events.empty(); });
        auto e = m_events.front();
        m_events.pop_front();
        return e;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::deque<std::pair<char, CharacterOutcome>> m_events;
};

struct Bench {
    InstantKeyerClock clock{1us};
    RecordingKeyLine line{[this] { return clock.now(); }};
    DoneQueue done;
    Keyer keyer{line, clock, [this](char c, CharacterOutcome o) { done.push(c, o); }};

    CharacterOutcome send(char c) {
        EXPECT_TRUE(keyer.transmit(c));
        auto [sent, outcome] = done.next();
        EXPECT_EQ(sent, c);
        keyer.waitUntilIdle(); // a character is reported during its last gap unit
        return outcome;
    }
    // The line state per unit as a '1'/'0' string and the unit starts relative to the first.
    std::string units() const {
        std::string s;
        for (const auto& t : line.transitions()) {
            s.push_back(t.down ? '1' : '0');
        }
        return s;
    }
};

double msBetween(KeyerClock::TimePoint a, KeyerClock::TimePoint b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
}

TEST(Keyer, SetsTheLineForEveryUnitAndEndsEveryCharacterUp) {
    Bench b;
    b.keyer.setTiming({TimingMethod::Timer, 20, 0, 0});
    EXPECT_EQ(b.send('a'), CharacterOutcome::Sent);
    EXPECT_EQ(b.send(' '), CharacterOutcome::Sent);
    EXPECT_EQ(b.send('B'), CharacterOutcome::Sent);
    EXPECT_EQ(b.units(), "10111000"
                         "00000000"
                         "111010101000");
    EXPECT_FALSE(b.line.isDown());
}

TEST(Keyer, TimerDeadlinesAreAbsoluteAndCarryAcrossCharacters) {
    Bench b;
    b.keyer.setTiming({TimingMethod::Timer, 13, 0, 0});
    b.send('E');
    b.clock.advance(40us); // the window thread takes a while to hand over the next character
    b.send('T');
    const auto t = b.line.transitions();
    ASSERT_EQ(t.size(), 10u);
    // Unit k of the pair starts at k * 92.308 ms after the first, whatever the hand-over cost.
    for (std::size_t k = 1; k < t.size(); ++k) {
        if (k == 4) {
            EXPECT_NEAR(msBetween(t[0].at, t[k].at), 4 * 92.308, 0.041); // late by the hand-over only
        } else {
            EXPECT_NEAR(msBetween(t[0].at, t[k].at), k * 92.308, 1e-9) << k;
        }
    }
}

TEST(Keyer, ALongPauseStartsANewSchedule) {
    Bench b;
    b.keyer.setTiming({TimingMethod::Timer, 20, 0, 0});
    b.send('E');
    b.clock.advance(500ms);
    const auto before = b.clock.now();
    b.send('E');
    const auto t = b.line.transitions();
    EXPECT_EQ(t[4].at, before);
    EXPECT_NEAR(msBetween(t[4].at, t[5].at), 60.0, 1e-9);
}

TEST(Keyer, SleepWaitsWholeMillisecondsAndLoopCounts) {
    Bench sleep;
    sleep.keyer.setTiming({TimingMethod::Sleep, 13, 0, 0});
    sleep.send('I');
    for (const auto& w : sleep.clock.waits()) {
        EXPECT_EQ(w.kind, InstantKeyerClock::Wait::Kind::Sleep);
    }
    const auto t = sleep.line.transitions();
    EXPECT_EQ(t[1].at - t[0].at, 92ms);
    EXPECT_EQ(t[5].at - t[0].at, 5 * 92ms);

    Bench loop;
    loop.keyer.setTiming({TimingMethod::Loop, 20, 3000, 0});
    loop.send('E');
    const auto waits = loop.clock.waits();
    ASSERT_EQ(waits.size(), 4u);
    for (const auto& w : waits) {
        EXPECT_EQ(w.kind, InstantKeyerClock::Wait::Kind::Count);
        EXPECT_DOUBLE_EQ(w.steps, 3000.0);
    }

    Bench uncalibrated;
    uncalibrated.keyer.setTiming({TimingMethod::Loop, 20, 0, 0});
    uncalibrated.send('E');
    const auto u = uncalibrated.line.transitions();
    EXPECT_EQ(u.front().at, u.back().at); // no delay between the line changes
}

TEST(Keyer, WordSpaceAdjustmentChangesOnlyTheSpace) {
    Bench b;
    b.keyer.setTiming({TimingMethod::Timer, 20, 0, 3});
    b.send(' ');
    EXPECT_EQ(b.units(), std::string(11, '0'));
    b.keyer.setTiming({TimingMethod::Timer, 20, 0, -8});
    b.line.clear();
    EXPECT_EQ(b.send(' '), CharacterOutcome::Sent);
    EXPECT_EQ(b.units(), "");
}

TEST(Keyer, NoSpeedKeysNothingAndAFailingLineIsReleased) {
    Bench b;
    b.keyer.setTiming({TimingMethod::Timer, 0, 0, 0});
    EXPECT_EQ(b.send('T'), CharacterOutcome::NoSpeed);
    EXPECT_FALSE(b.line.isDown());
    EXPECT_EQ(b.units(), "0"); // only the release

    Bench f;
    f.keyer.setTiming({TimingMethod::Timer, 20, 0, 0});
    f.line.failCalls(2, 1); // the third unit of "T" fails; the release that follows works
    EXPECT_EQ(f.send('T'), CharacterOutcome::LineFailed);
    EXPECT_EQ(f.units(), "110");
    EXPECT_FALSE(f.line.isDown());
    EXPECT_EQ(f.send('E'), CharacterOutcome::Sent); // the next character goes out as usual

    Bench h;
    h.keyer.setTiming({TimingMethod::Timer, 20, 0, 0});
    EXPECT_EQ(h.send('%'), CharacterOutcome::Sent);
    EXPECT_TRUE(h.line.transitions().empty());
}

TEST(Keyer, RefusesASecondCharacterWhileOneIsOnTheAirAndStopsCleanly) {
    SteadyKeyerClock clock;
    RecordingKeyLine line;
    DoneQueue done;
    auto keyer = std::make_unique<Keyer>(line, clock, [&](char c, CharacterOutcome o) { done.push(c, o); });
    keyer->setTiming({TimingMethod::Sleep, 1, 0, 0}); // 1.2 s units
    ASSERT_TRUE(keyer->transmit('T'));
    EXPECT_FALSE(keyer->transmit('E'));
    keyer->stop();
    EXPECT_EQ(done.next(), std::make_pair('T', CharacterOutcome::Stopped));
    EXPECT_FALSE(line.isDown());
    EXPECT_FALSE(keyer->transmit('E'));
}

TEST(Keyer, TheDoneHandlerMayHandOverTheNextCharacter) {
    InstantKeyerClock clock;
    RecordingKeyLine line([&] { return clock.now(); });
    DoneQueue done;
    std::string text = "PARIS";
    std::size_t next = 1;
    Keyer* self = nullptr;
    Keyer keyer(line, clock, [&](char c, CharacterOutcome o) {
        if (next < text.size()) {
            self->transmit(text[next++]);
        } else {
            done.push(c, o);
        }
    });
    self = &keyer;
    keyer.setTiming({TimingMethod::Timer, 40, 0, 0});
    keyer.transmit(text[0]);
    EXPECT_EQ(done.next(), std::make_pair('S', CharacterOutcome::Sent));
    const auto t = line.transitions();
    // P A R I S: 14 + 8 + 10 + 6 + 8 units of 30 ms at 40 WPM, back to back.
    EXPECT_EQ(t.size(), 46u);
    EXPECT_NEAR(msBetween(t.front().at, t.back().at), 45 * 30.0, 1e-9);
}

// The line as runs of one state: each element or gap with its length in units and in time.
struct Run {
    bool down;
    std::size_t units;
    KeyerClock::TimePoint start;
};

std::vector<Run> runsOf(const std::vector<RecordingKeyLine::Transition>& t) {
    std::vector<Run> runs;
    for (const auto& change : t) {
        if (!runs.empty() && runs.back().down == change.down) {
            ++runs.back().units;
        } else {
            runs.push_back({change.down, 1, change.at});
        }
    }
    return runs;
}

// "PARIS" at 20 WPM (60 ms units, 6 ms tolerance), one character at a time, with wait number
// `lateWait` ending `late` after its deadline, or, with `lateLine`, the line change after that
// wait coming late itself.
std::vector<RecordingKeyLine::Transition> sendParisLate(TimingMethod method, std::size_t lateWait,
                                                        std::chrono::nanoseconds late, bool lateLine) {
    InstantKeyerClock clock;
    std::size_t calls = 0;
    RecordingKeyLine line([&] {
        if (lateLine && calls++ == lateWait + 1) {
            clock.advance(late); // the thread lost the processor just before switching the line
        }
        return clock.now();
    });
    if (!lateLine) {
        clock.wakeLate(lateWait, late);
    }
    DoneQueue done;
    Keyer keyer(line, clock, [&](char c, CharacterOutcome o) { done.push(c, o); });
    keyer.setTiming({method, 20, 0, 0});
    for (const char c : std::string("PARIS")) {
        keyer.transmit(c);
        done.next();
        keyer.waitUntilIdle();
    }
    return line.transitions();
}

TEST(Keyer, ALateChangeMovesTheRestOfTheScheduleAndNeverShortensAnElement) {
    using std::chrono::microseconds;
    const auto unit = 60000us;
    const auto tolerance = 6000us;
    const std::size_t units = 46; // P A R I S: 14 + 8 + 10 + 6 + 8
    const std::vector<microseconds> lates{1us, 3000us, tolerance, tolerance + 1us, 30000us, unit, 3 * unit, 10 * unit};
    for (const TimingMethod method : {TimingMethod::Timer, TimingMethod::Sleep}) {
        for (const bool lateLine : {false, true}) {
            for (std::size_t at = 0; at + 1 < units; ++at) {
                for (const auto late : lates) {
                    SCOPED_TRACE(::testing::Message() << "method " << static_cast<int>(method) << " lateLine "
                                                      << lateLine << " wait " << at << " late " << late.count());
                    const auto t = sendParisLate(method, at, late, lateLine);
                    ASSERT_EQ(t.size(), units);
                    // No element or gap shorter than its length less the tolerance (the last
                    // gap has no end to measure).
                    const auto runs = runsOf(t);
                    for (std::size_t r = 0; r + 1 < runs.size(); ++r) {
                        EXPECT_GE(runs[r + 1].start - runs[r].start, runs[r].units * unit - tolerance) << "run " << r;
                    }
                    // Before the late change: the absolute schedule. From it on: moved by the
                    // lateness when that exceeds the tolerance; else only the late change is off.
                    for (std::size_t k = 0; k < units; ++k) {
                        auto expected = t[0].at + k * unit;
                        if (k == at + 1 || (k > at + 1 && late > tolerance)) {
                            expected += late;
                        }
                        EXPECT_EQ(t[k].at, expected) << "change " << k;
                    }
                }
            }
        }
    }
}

TEST(Keyer, AnOnTimeRunStaysOnTheAbsoluteSchedule) {
    for (const TimingMethod method : {TimingMethod::Timer, TimingMethod::Sleep}) {
        const auto t = sendParisLate(method, 0, std::chrono::nanoseconds(0), false);
        for (std::size_t k = 0; k < t.size(); ++k) {
            EXPECT_EQ(t[k].at, t[0].at + k * 60ms) << k;
        }
    }
    // Lateness within the tolerance does not add up: the schedule stays where it was.
    InstantKeyerClock clock;
    RecordingKeyLine line([&] { return clock.now(); });
    for (std::size_t wait = 0; wait < 40; wait += 2) {
        clock.wakeLate(wait, 5ms);
    }
    DoneQueue done;
    Keyer keyer(line, clock, [&](char c, CharacterOutcome o) { done.push(c, o); });
    keyer.setTiming({TimingMethod::Timer, 20, 0, 0});
    for (const char c : std::string("PARIS")) {
        keyer.transmit(c);
        done.next();
        keyer.waitUntilIdle();
    }
    const auto t = line.transitions();
    for (std::size_t k = 0; k < t.size(); ++k) {
        EXPECT_EQ(t[k].at, t[0].at + k * 60ms + (k % 2 == 1 && k <= 39 ? 5ms : 0ms)) << k;
    }
}

TEST(Keyer, StopCutsTheUnitInProgressShort) {
    for (const TimingMethod method : {TimingMethod::Timer, TimingMethod::Sleep, TimingMethod::Loop}) {
        InstantKeyerClock clock;
        RecordingKeyLine line([&] { return clock.now(); });
        DoneQueue done;
        Keyer keyer(line, clock, [&](char c, CharacterOutcome o) { done.push(c, o); });
        keyer.setTiming({method, 1, 1e9, 0}); // 1.2 s units
        clock.holdWait(0);                    // the first unit of "T" never ends by itself
        ASSERT_TRUE(keyer.transmit('T'));
        clock.waitUntilHeld();
        EXPECT_TRUE(line.isDown());
        keyer.stop();
        EXPECT_EQ(done.next(), std::make_pair('T', CharacterOutcome::Stopped));
        EXPECT_FALSE(line.isDown());
        const auto waits = clock.waits();
        ASSERT_EQ(waits.size(), 1u);
        EXPECT_TRUE(waits[0].stopped);
    }
}

// Runs `wait` on a thread, asks it to stop once it had time to begin, and tells whether it
// came back (false) within a generous bound; a wait that cannot be cut short never does.
bool endsWhenStopped(std::function<bool(std::stop_token)> wait) {
    std::stop_source source;
    auto result = std::make_shared<std::promise<bool>>();
    auto ended = result->get_future();
    std::thread([wait = std::move(wait), token = source.get_token(), result] {
        result->set_value(wait(token));
    }).detach();
    std::this_thread::sleep_for(50ms);
    source.request_stop();
    return ended.wait_for(30s) == std::future_status::ready && !ended.get();
}

TEST(SteadyKeyerClock, EveryWaitEndsAtAStop) {
    SteadyKeyerClock spin;
    EXPECT_TRUE(endsWhenStopped([&](std::stop_token s) { return spin.spinUntil(spin.now() + 1h, s); }));
    SteadyKeyerClock sleep;
    EXPECT_TRUE(endsWhenStopped([&](std::stop_token s) { return sleep.sleepUntil(sleep.now() + 1h, s); }));
    SteadyKeyerClock count;
    EXPECT_TRUE(endsWhenStopped([&](std::stop_token s) { return count.count(1e18, s); }));
    // Without a stop the waits run to their end.
    SteadyKeyerClock clock;
    const auto deadline = clock.now() + 3ms;
    EXPECT_TRUE(clock.sleepUntil(deadline, {}));
    EXPECT_GE(clock.now(), deadline);
    EXPECT_TRUE(clock.spinUntil(clock.now() + 3ms, {}));
    EXPECT_TRUE(clock.count(1000, {}));
}

TEST(Keyer, StopEndsAOneWpmUnitAtOnceWithEveryMethod) {
    for (const TimingMethod method : {TimingMethod::Timer, TimingMethod::Sleep, TimingMethod::Loop}) {
        SteadyKeyerClock clock;
        RecordingKeyLine line;
        DoneQueue done;
        auto keyer = std::make_unique<Keyer>(line, clock, [&](char c, CharacterOutcome o) { done.push(c, o); });
        keyer->setTiming({method, 1, 1e12, 0}); // Loop: far more steps than a test can count
        ASSERT_TRUE(keyer->transmit('T'));
        EXPECT_TRUE(endsWhenStopped([&](std::stop_token) {
            keyer->stop();
            return false;
        }));
        EXPECT_EQ(done.next(), std::make_pair('T', CharacterOutcome::Stopped));
        EXPECT_FALSE(line.isDown());
    }
}

TEST(Keyer, TellsWhenTheLastUnitHasEnded) {
    InstantKeyerClock clock;
    RecordingKeyLine line([&] { return clock.now(); });
    std::string text = "PARIS";
    std::size_t next = 1;
    Keyer* self = nullptr;
    std::mutex m;
    std::condition_variable cv;
    int idles = 0;
    KeyerClock::TimePoint quietAt{};
    Keyer keyer(line, clock, [&](char, CharacterOutcome) {
        if (next < text.size()) {
            self->transmit(text[next++]);
        }
    });
    self = &keyer;
    keyer.setIdleHandler([&] {
        std::lock_guard lock(m);
        ++idles;
        quietAt = clock.now();
        cv.notify_all();
    });
    keyer.setTiming({TimingMethod::Timer, 40, 0, 0});
    keyer.transmit(text[0]);
    std::unique_lock lock(m);
    cv.wait(lock, [&] { return idles > 0; });
    EXPECT_EQ(idles, 1); // not between characters handed over in time
    const auto t = line.transitions();
    EXPECT_EQ(quietAt, t.back().at + 30ms); // the end of the last gap unit
    EXPECT_TRUE(keyer.idle());
}

} // namespace
} // namespace corvane::cw
