#pragma once
// The exchange files of the Ten-Tec Pegasus control program: it writes PEGASUS.OUT (the
// radio's frequency in MHz and its mode) and reads PEGASUS.IN (a frequency and a mode to set).

#include "rig/RigTypes.h"

#include <string>
#include <string_view>

namespace corvane::rig {

inline constexpr std::string_view kPegasusOutFile = "PEGASUS.OUT";
inline constexpr std::string_view kPegasusInFile = "PEGASUS.IN";

// PEGASUS.OUT: a number and a text, comma- or line-separated, the text optionally quoted. A
// non-empty mode other than "CW" becomes "PH". Garbage when the contents cannot be read.
DecodeResult decodePegasusOut(std::string_view bytes);

// PEGASUS.IN: the frequency in MHz as shortest decimal text on line 1, the mode on line 2.
std::string formatPegasusIn(float frequencyMHz, std::string_view mode);

} // namespace corvane::rig
