#pragma once
// A transceiver on a pseudo-terminal, for tests and benchmarks: the program opens
// devicePath() as the rig port and a thread of this helper plays the radio on the other side
// (see PseudoTerminalPeer.h).
// It keeps a frequency and a mode, answers its family's questions from them and applies its
// family's set commands:
//   - Kenwood (and Elecraft, and the FTdx9000's shorter "FA" of 8 digits): "FA;", "FB;",
//     "MD;", "IF;" answered, "FA...;", "FB...;", "MDn;" applied; text up to ";".
//   - CI-V (Icom, Ten-Tec Omni VI, Icom 735 with four frequency bytes): frames FE FE to from
//     command [data] FD; the radio hears its own question on the shared bus (the echo), then
//     answers 03 (frequency) and 04 (mode) and acknowledges 05 and 06 with FB.
//   - Yaesu five-byte frames: 03 read (four BCD bytes of 10 Hz, then the mode), 01 set
//     frequency, 07 set mode, 00 and 80 the CAT switch.
//   - Ten-Tec Orion: "?AF", "?RMM" answered as "@AF<Hz>", "@RMM<digit>", "*AF<Hz>" applied;
//     lines end with a carriage return.
// It can vanish, split every reply in two writes some milliseconds apart, stay silent, or flood the
// line with bytes that never stop.

#include "support/PseudoTerminalPeer.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace corvane::test {

class SimulatedRadio final : public PseudoTerminalPeer {
public:
    enum class Family { Kenwood, KenwoodShort, CiV, CiV4, Yaesu, Orion };
    enum class Behaviour { Radio, Silent, Flood };

    struct Command {
        std::string bytes;
        Clock::time_point at; // when its last byte arrived
    };

    explicit SimulatedRadio(Family family, std::uint8_t civAddress = 0x64);
    ~SimulatedRadio() override;
    SimulatedRadio(const SimulatedRadio&) = delete;
    SimulatedRadio& operator=(const SimulatedRadio&) = delete;

    void setBehaviour(Behaviour behaviour);
    // Every reply goes out in two writes, gapMs apart (0: in one write).
    void setSplitGapMs(int gapMs);
    void setFrequencyHz(long long hz);
    void setModeCode(int code); // the family's own mode number (Kenwood MD digit, CI-V code ...)

    long long frequencyHz() const;
    int modeCode() const;
    long long vfoBHz() const;
    // Whether the program's side of the line is set to RTS/CTS handshaking now (a
    // pseudo-terminal keeps the setting, though it has no such lines).
    bool rtsCtsHandshake() const;
    std::vector<Command> commands() const; // every complete command heard, in order
    std::string received() const;          // every byte heard
    void forget();                         // commands() and received() start again

    // Waits on the calling thread (which the radio does not need) until `done` holds.
    bool waitUntil(const std::function<bool(const SimulatedRadio&)>& done, std::chrono::milliseconds timeout) const;

private:
    void fromProgram(const std::uint8_t* bytes, std::size_t count, Clock::time_point now) override;
    int waitMs() const override;
    void idle(Clock::time_point now) override;
    void take(std::uint8_t byte, Clock::time_point now);
    void kenwood(const std::string& text);
    void civ(const std::string& frame);
    void yaesu(const std::string& frame);
    void orion(const std::string& line);
    void reply(const std::string& bytes);

    Family m_family;
    std::uint8_t m_address;

    Behaviour m_behaviour = Behaviour::Radio;
    int m_splitGapMs = 0;
    long long m_frequencyHz = 1830500;
    long long m_vfoBHz = 3550000;
    int m_mode = 3;
    std::string m_pending;
    std::string m_received;
    std::vector<Command> m_commands;
    std::uint32_t m_noise = 0x2545F491u;
};

} // namespace corvane::test
