#include "cw/Keyer.h"

#include "support/InstantKeyerClock.h"
#include "support/RecordingKeyLine.h"

#include <condition_variable>
#include <deque>
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

} // namespace
} // namespace corvane::cw
