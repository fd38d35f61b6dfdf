#pragma once
// The values the rig link keeps between polls and the results the family functions return.
// All plain data: the link (a Qt object) owns one PollState and runs the returned commands
// on its timers.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace corvane::rig {

// What the questions and the frequency commands are built from: the two command boxes.
struct RigCommands {
    std::string frequencyCommand; // "FA;", "FE FE 64 E0 03 FD", ...
    std::string modeCommand;
    bool convertToHex = false; // only "Other" uses it
};

// Polling state of one link. Survives End Test and model changes, as the radio does.
struct PollState {
    bool awaitingReply = false;   // a question went out on the previous tick
    int modeTurn = 0;             // alternating models: 1 after a frequency question, 0 after a mode question
    float frequencyMHz = 0.0F;    // last decoded frequency (RigFrequency), 0 until the first decode
    std::string mode;             // last decoded mode: "CW", "PH", "AM", "FM" or empty (RigMode)
    std::uint8_t kenwoodVfo = 10; // VFO digit of the last "IF" reply; 10 until the first
};

enum class DecodeStatus {
    Decoded,  // a frequency, a mode or a VFO digit was taken
    NeedMore, // a reply has begun but is not complete yet; more bytes may finish it
    Garbage,  // nothing in the bytes the decoder understands (or a reply it must discard)
    NoDecoder // the model has no decoder ("Other", "None"): the reply is only shown
};

// What one read phase's bytes gave. Unset members leave the link's values as they are.
struct DecodeResult {
    DecodeStatus status = DecodeStatus::Garbage;
    std::optional<float> frequencyMHz;
    std::optional<std::string> mode;
    std::optional<std::uint8_t> kenwoodVfo;
    std::string error; // an error the radio reported (the network model's "RPRT -n"), for the status line

    // Copies the set values into the state.
    void applyTo(PollState& state) const;
};

// One command to the radio: wait pausesMs[0], let events run, wait pausesMs[1], ... then send
// bytes. The link runs the pauses on timers; the window thread never sleeps.
struct RigCommand {
    std::vector<int> pausesMs;
    std::string bytes;
    bool empty() const { return bytes.empty(); }
};

// The result of building a frequency or mode command.
struct BuiltCommand {
    enum class Kind {
        None,        // the model sends nothing (no command, or no code for the mode)
        Bytes,       // send command.bytes after command.pausesMs
        PegasusFile, // write pegasusText to the Pegasus exchange file after command.pausesMs
        Error        // the command cannot be built; error says why (shown to the operator)
    };
    Kind kind = Kind::None;
    RigCommand command;
    std::string pegasusText;
    std::string error;
};

// The pause before a mode command, after the port's queue has drained.
inline constexpr int kModeCommandPauseMs = 99;
// The longest wait for the port's output queue to drain (WaitForSend).
inline constexpr int kWaitForSendMs = 2000;

} // namespace corvane::rig
