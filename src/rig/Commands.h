#pragma once
// Questions (send phase) and frequency and mode commands, per radio family. Pure functions:
// they return bytes and the pauses to keep before them; the link sends and waits.

#include "rig/RigTypes.h"

#include <optional>
#include <string>
#include <string_view>

namespace corvane::rig {

// --- Questions -----------------------------------------------------------------------------
// Frequency command text, then mode command text, each when not empty.
std::string questionTextPair(const RigCommands& commands, PollState& state);
// Frequency and mode questions alternately as 6 hex bytes (CI-V; each needs 17 characters).
std::string questionCiv(const RigCommands& commands, PollState& state);
// The 5 hex bytes of the frequency command (needs 14 characters).
std::string questionYaesu(const RigCommands& commands, PollState& state);
// Mode and frequency command texts alternately (each needs 2 characters).
std::string questionFtdx9000(const RigCommands& commands, PollState& state);
// As the FTdx9000 but 3 hex bytes (each needs 7 characters).
std::string questionTenTecFrontPanel(const RigCommands& commands, PollState& state);
// Frequency and mode command texts, each followed by a carriage return.
std::string questionOrion(const RigCommands& commands, PollState& state);
// Both commands as hex bytes when "Convert to Hex" is ticked, else as text.
std::string questionOther(const RigCommands& commands, PollState& state);
std::string questionNothing(const RigCommands& commands, PollState& state);

// --- Numbers in commands -------------------------------------------------------------------
// Whole Hz (frequency x 1 000 000) and 10 Hz units (x 100 000), rounded half to even.
long long frequencyHz(float frequencyMHz);
long long frequencyTenHz(float frequencyMHz);
// Decimal digits left-padded with zeros to width; nullopt when the value is negative or
// does not fit.
std::optional<std::string> zeroPadded(long long value, int width);
// Packed BCD bytes of a digit string (two digits a byte), in order or pairs swapped.
std::string bcdBytes(std::string_view digits, bool pairsSwapped);
// The CI-V bus address: characters 7 and 8 of the frequency command as a hex byte.
std::optional<unsigned char> civAddress(const RigCommands& commands);

// --- Frequency commands --------------------------------------------------------------------
BuiltCommand frequencyKenwood(const RigCommands& commands, const PollState& state, float frequencyMHz);
BuiltCommand frequencyKenwood2(const RigCommands& commands, const PollState& state, float frequencyMHz);
BuiltCommand frequencyElecraft(const RigCommands& commands, const PollState& state, float frequencyMHz);
BuiltCommand frequencyIcom(const RigCommands& commands, const PollState& state, float frequencyMHz);
BuiltCommand frequencyOmniVI(const RigCommands& commands, const PollState& state, float frequencyMHz);
BuiltCommand frequencyTenTecFrontPanel(const RigCommands& commands, const PollState& state, float frequencyMHz);
BuiltCommand frequencyOrion(const RigCommands& commands, const PollState& state, float frequencyMHz);
BuiltCommand frequencyPegasus(const RigCommands& commands, const PollState& state, float frequencyMHz);
BuiltCommand frequencyYaesu(const RigCommands& commands, const PollState& state, float frequencyMHz);
BuiltCommand frequencyYaesu890(const RigCommands& commands, const PollState& state, float frequencyMHz);
BuiltCommand frequencyYaesu1000(const RigCommands& commands, const PollState& state, float frequencyMHz);
BuiltCommand frequencyFtdx9000(const RigCommands& commands, const PollState& state, float frequencyMHz);
BuiltCommand frequencyNothing(const RigCommands& commands, const PollState& state, float frequencyMHz);

// --- Mode commands -------------------------------------------------------------------------
BuiltCommand modeIcom(const RigCommands& commands, std::string_view mode);
BuiltCommand modeKenwood(const RigCommands& commands, std::string_view mode);
BuiltCommand modeYaesu(const RigCommands& commands, std::string_view mode);
BuiltCommand modeYaesu890(const RigCommands& commands, std::string_view mode);
BuiltCommand modeFtdx9000(const RigCommands& commands, std::string_view mode);
BuiltCommand modeNothing(const RigCommands& commands, std::string_view mode);

} // namespace corvane::rig
