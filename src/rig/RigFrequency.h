#pragma once
// Frequencies as the program shows and hands them on, and the mode picked by frequency.

#include <string>
#include <string_view>

namespace corvane::rig {

// The text a logged contact takes (RigFrequencyText): MHz with exactly three decimals and no
// digit before the point below 1 MHz ("1.830", ".000").
std::string rigFrequencyText(float frequencyMHz);

// The rig window's "Frequency:" display: five decimals, no digit before the point below 1 MHz.
std::string frequencyDisplayText(float frequencyMHz);

// "Mode by: Frequency": the mode of the fixed HF/VHF table for a frequency strictly inside
// one of its ranges, otherwise `decodedMode` (so on 160 m the decoded mode stands).
std::string modeByFrequency(float frequencyMHz, std::string_view decodedMode);

} // namespace corvane::rig
