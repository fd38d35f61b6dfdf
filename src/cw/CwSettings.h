#pragma once
// cw.txt: the CW setup window's messages and keying settings, eighteen items, one a line.
//
//  1-9   messages F1 to F9 (text)        14  word-space adjustment (text)
//  10    serial keying port (text)       15  keying option 0..5 (number)
//  11    speed in WPM (text)             16  parallel port address (text)
//  12    message F10 (text)              17  display switch, 1 ticked, 0 not (number)
//  13    message F11 (text)              18  repeat pause in seconds (text)

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace corvane::cw {

enum class KeyingOption : std::uint8_t { None = 0, Rts = 1, Dtr = 2, Printer = 3, WinKey = 5 };

// The option of a stored number; false for 4 and anything outside 0..5.
bool keyingOptionFromNumber(long long value, KeyingOption& out);

inline constexpr int kMessageCount = 11; // F1 .. F11
inline constexpr int kCwSettingsItems = 18;
inline constexpr std::string_view kDefaultF9 = "VVV DE ";

struct CwSettings {
    std::array<std::string, kMessageCount> messages{}; // [0] = F1 ... [10] = F11
    std::string serialPort = "0";
    std::string speedWpm = "13";
    std::string wordSpace = "0";
    KeyingOption keyingOption = KeyingOption::None;
    std::string parallelAddress = "&H378";
    bool displayText = true;
    std::string repeatSeconds = "0";

    bool operator==(const CwSettings&) const = default;
};

struct CwSettingsReadResult {
    CwSettings settings;       // the items read; the defaults for the rest
    int itemsRead = 0;         // how many of the eighteen items were read
    bool complete = false;     // all eighteen were read
    KeyingOption keyingOption; // the option to select: the stored one after a full read, else None
};

// Reads cw.txt the quiet way: reading stops at the first item that is missing or cannot be
// read and the fields keep what was read before it. An F9 message read empty becomes
// "VVV DE ". The stored keying option is selected only when the whole file was read.
CwSettingsReadResult parseCwSettings(std::string_view bytes);

// The eighteen lines, CR LF ended, texts quoted and numbers bare. A double quote cannot be
// written inside a quoted text, so any that reached a field is left out.
std::string formatCwSettings(const CwSettings& settings);

// Whether every text of the settings can be written as it is (no double quote).
bool cwSettingsQuotable(const CwSettings& settings);

// The repeat pause of the "Loop (Sec)" field in whole milliseconds (seconds * 1000, halves
// to even): true for a number from 0 up to but not including 60; false for anything else
// (the field then becomes "0" and the interval 0).
bool repeatIntervalMs(std::string_view field, int& intervalMs);

} // namespace corvane::cw
