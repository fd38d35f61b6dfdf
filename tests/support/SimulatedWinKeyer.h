#pragma once
// A WinKeyer on a pseudo-terminal, for tests and benchmarks: the program opens
// devicePath() as its serial port, and a thread of this helper plays the keyer on the other
// side (see PseudoTerminalPeer.h). It speaks the host protocol as a WK2/WK3 keyer does:
//   - echo test and host open (answered with the version byte), host close;
//   - characters queue in its buffer and are "sent" at the set speed (1200 / WPM ms a unit,
//     the units of the Morse table); it reports busy (C4) when it starts and idle (C0)
//     when the buffer has run empty, XOFF (C5) while more than xoffAbove characters wait;
//   - clear buffer stops at once, backspace drops the last character not yet started,
//     status request answers the status, speed, weight, ratio and the rest are remembered.
// It can also be told to stay silent, to answer garbage, or to vanish (the device goes away
// as a USB keyer unplugged does).

#include "support/PseudoTerminalPeer.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace corvane::test {

class SimulatedWinKeyer final : public PseudoTerminalPeer {
public:
    enum class Behaviour { Keyer, Silent, Garbage };

    struct Keyed {
        char character;
        Clock::time_point started;
        Clock::time_point finished;
    };

    explicit SimulatedWinKeyer(std::uint8_t version = 23);
    ~SimulatedWinKeyer() override;
    SimulatedWinKeyer(const SimulatedWinKeyer&) = delete;
    SimulatedWinKeyer& operator=(const SimulatedWinKeyer&) = delete;

    void setBehaviour(Behaviour behaviour);
    void setXoffAbove(int characters);

    // What the keyer got and did so far.
    std::string received() const;                              // every byte from the host
    std::optional<Clock::time_point> firstCharacterAt() const; // the first character byte
    std::string keyed() const;                                 // the characters it finished sending
    std::vector<Keyed> keyedTimes() const;
    std::string queued() const;       // in its buffer, not yet started
    std::vector<int> speeds() const;  // every speed command, in order
    std::string statusesSent() const; // every status byte it reported
    bool hostOpen() const;
    bool busy() const;
    int clears() const;
    int backspaces() const;
    int weight() const;
    int ratio() const;
    int pinConfig() const;
    int mode() const;
    std::pair<int, int> leadTail() const;
    void forgetReceived(); // received() and statusesSent() start again from empty

    // Waits (on the calling thread, which the keyer does not need) until `done` holds or
    // the time is up; true when it held. Not for a thread that must keep an event loop going.
    bool waitUntil(const std::function<bool(const SimulatedWinKeyer&)>& done, std::chrono::milliseconds timeout);

private:
    void fromProgram(const std::uint8_t* bytes, std::size_t count, Clock::time_point now) override;
    int waitMs() const override;
    void idle(Clock::time_point now) override;
    void gone() override;
    void take(std::uint8_t byte, Clock::time_point now);
    void command(const std::vector<std::uint8_t>& bytes);
    void admin(const std::vector<std::uint8_t>& bytes);
    void character(char c, Clock::time_point now);
    void startNext(Clock::time_point now);
    void finishCurrent(Clock::time_point now);
    void stopSending();
    void reportStatus(bool force = false);
    std::uint8_t statusByte() const;
    void reply(std::uint8_t byte);
    int argumentsNeeded() const;
    Clock::duration characterTime(char c) const;

    std::uint8_t m_version;
    Behaviour m_behaviour = Behaviour::Keyer;
    int m_xoffAbove = 4;
    bool m_hostOpen = false;
    std::vector<std::uint8_t> m_pending; // a command still waiting for its arguments
    std::deque<char> m_buffer;
    std::optional<char> m_current;
    Clock::time_point m_currentStarted{};
    Clock::time_point m_currentEnds{};
    std::uint8_t m_lastStatus = 0xC0;
    std::string m_received;
    std::optional<Clock::time_point> m_firstCharacterAt;
    std::vector<Keyed> m_keyed;
    std::vector<int> m_speeds;
    std::string m_statuses;
    int m_speedWpm = 20;
    int m_clears = 0;
    int m_backspaces = 0;
    int m_weight = 50;
    int m_ratio = 50;
    int m_pinConfig = 6;
    int m_mode = 0;
    std::pair<int, int> m_leadTail{0, 0};
    std::uint32_t m_garbage = 0x1234567u;
};

} // namespace corvane::test
