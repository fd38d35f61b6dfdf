#pragma once
// Hamlib's network daemon rigctld: its text protocol over TCP. The link asks with the
// extended commands "+f" and "+m" (each reply ends with "RPRT <n>") and tunes with
// "F <Hz>" and "M <mode> 0".

#include "rig/RigTypes.h"

#include <string>
#include <string_view>

namespace corvane::rig {

std::string questionRigctld(const RigCommands& commands, PollState& state);
// Reads the replies to "+f" and "+m" (and the plain forms: a line of Hz, a mode line and a
// passband line). "RPRT -n" sets DecodeResult::error to a readable text.
DecodeResult decodeRigctld(const RigCommands& commands, const PollState& state, std::string_view reply);
BuiltCommand frequencyRigctld(const RigCommands& commands, const PollState& state, float frequencyMHz);
BuiltCommand modeRigctld(const RigCommands& commands, std::string_view mode);

// The text for a Hamlib error number ("RPRT -5" -> "Communication timed out").
std::string rigctldErrorText(int code);

} // namespace corvane::rig
