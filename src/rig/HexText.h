#pragma once
// Command text and raw bytes. The command boxes of the rig window hold either literal text or
// spaced two-digit hex bytes ("FE FE 64 E0 03 FD"); replies are shown as spaced hex dumps.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace corvane::rig {

// The bytes of a hex command: the groups at character positions 1, 4, 7, ... (two characters
// each, the last may be a single digit), read as hexadecimal, upper or lower case. At most
// maxBytes groups are read when given; blanks after the last group are ignored. nullopt when a group is not
// hexadecimal, so a mistyped command sends nothing rather than stray bytes.
std::optional<std::string> hexTextToBytes(std::string_view text, std::size_t maxBytes = std::string::npos);

// Two uppercase hex digits per byte, high nibble first, no separators: "\xFE\x03" -> "FE03".
std::string hexDigits(std::string_view bytes);

// The display form of a reply: two digits and one space per byte, a space after the last too.
std::string hexDump(std::string_view bytes);

} // namespace corvane::rig
