#pragma once
// The radio models of the rig window, one row each in list order. A row is data (the name,
// the line and command defaults the list click writes into the window, how the link reaches
// the radio) and the family functions it shares with its relatives: the question builder,
// the reply decoder and the frequency and mode command builders.

#include "rig/RigTypes.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace corvane::rig {

// Line parameters a model writes into the window; an empty optional leaves the field as it is.
struct LineDefaults {
    std::optional<std::string_view> baud;
    std::optional<char> dataBits;
    std::optional<char> stopBits;
    std::optional<char> parity;
};

// How the link reaches the radio.
enum class Transport {
    None,        // "None": no link
    Serial,      // a CAT line on a serial port
    PegasusFile, // the Pegasus control program's exchange files; no port is opened
    Network      // Hamlib's rigctld over TCP
};

// Question for the send phase; may flip state.modeTurn. Empty when nothing is to be sent.
using QuestionFn = std::string (*)(const RigCommands& commands, PollState& state);
// Decoder for the read phase: pure, over everything the read phase received so far.
using DecodeFn = DecodeResult (*)(const RigCommands& commands, const PollState& state, std::string_view reply);
// Frequency command for a frequency in MHz (taken by value; the caller's value is not changed).
using FrequencyFn = BuiltCommand (*)(const RigCommands& commands, const PollState& state, float frequencyMHz);
// Mode command for a mode name ("CW", "LSB", "USB", "AM", "FM", "RTTY", "CW-R", "RTTY-R", "FSK",
// "DIG", "PKT"); Kind::None when the model has no code for it.
using ModeFn = BuiltCommand (*)(const RigCommands& commands, std::string_view mode);

struct RigModel {
    std::string_view name; // list text and SelectedRig value
    LineDefaults line;
    std::string_view frequencyCommand; // default of "String to read frequency:"
    std::string_view modeCommand;      // default of "String to read mode:"
    bool convertToHex = false;         // default of "Convert to Hex"
    Transport transport = Transport::Serial;
    bool icomNote = false;        // shows the note about the CI-V address when selected
    bool hexBoxEnabled = false;   // "Convert to Hex" can be ticked ("Other" only)
    bool rtsCtsHandshake = false; // the port is opened with RTS/CTS handshaking
    std::string_view openBytes;   // sent once the port is open
    std::string_view closeBytes;  // sent at exit while polling
    QuestionFn question = nullptr;
    DecodeFn decode = nullptr;
    FrequencyFn frequency = nullptr;
    ModeFn modeCommandFor = nullptr;
};

// All rows in list order: "None" first, "Other" and then "Hamlib (rigctld)" last.
std::span<const RigModel> rigModels();

// The row of a model name, compared exactly; nullptr for an unknown name.
const RigModel* findRigModel(std::string_view name);
// The row of a model name compared without regard to case (the start-up check of SelectedRig).
const RigModel* findRigModelNoCase(std::string_view name);

inline constexpr std::string_view kNoRig = "None";
inline constexpr std::string_view kRigctldModel = "Hamlib (rigctld)";
inline constexpr std::string_view kIcomNote =
    "Icom radio users will have to replace the 64 in the string with the ID for your particular radio.  Please "
    "check your Icom user's manual for details.";

} // namespace corvane::rig
