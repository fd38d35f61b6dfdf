#pragma once
// The WinKeyer window's settings, their file WK.txt in the per-user data folder, and the
// checks each field runs when the operator leaves it.
//
// WK.txt, eight items, one a line, CR LF ended, texts quoted and numbers bare:
//   1 com port (number)   2 speed   3 weight   4 lead-in   5 tail   6 ratio (texts)
//   7 pin configuration (number)   8 keyer mode (number)

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace corvane::cw {

inline constexpr std::string_view kWinKeyerFileName = "WK.txt";

// The "Pin 5 Configuration" and "Keyer Mode" buttons and the byte each stands for.
struct WinKeyerChoice {
    std::string_view objectName;
    std::string_view caption;
    std::uint8_t value;
};
inline constexpr WinKeyerChoice kPinConfigChoices[] = {
    {"optP5KeyOut", "P5 Key Out, P3 Off", 8},
    {"optP3KeyOut", "P5 Off, P3 Key Out", 4},
    {"optTone", "Tone", 6},
    {"optPtt", "PTT", 5},
};
inline constexpr WinKeyerChoice kKeyerModeChoices[] = {
    {"optIambicA", "Iambic A", 16},
    {"optIambicB", "Iambic B", 0},
    {"optUltimatic", "Ultimatic", 32},
    {"optBugKeyer", "Bug Keyer", 48},
};
inline constexpr std::uint8_t kDefaultPinConfig = 6;
inline constexpr std::uint8_t kDefaultKeyerMode = 0;

struct WinKeyerSettings {
    std::uint8_t comPort = 0;                   // WKComPort; port n is the device of serial port n
    std::string speedWpm;                       // "WPM:"; set from the CW speed when the window loads
    std::string weight = "50";                  // "Weight:"
    std::string leadIn = "0";                   // "Lead In:", 10 ms units
    std::string tail = "0";                     // "Tail:", 10 ms units
    std::string ratio = "50";                   // "Ratio:"
    std::uint8_t pinConfig = kDefaultPinConfig; // WKPinConfig
    std::uint8_t keyerMode = kDefaultKeyerMode; // WKMode

    bool operator==(const WinKeyerSettings&) const = default;
};

struct WinKeyerFileRead {
    WinKeyerSettings settings; // what was read; the defaults for the rest
    int itemsRead = 0;
};

// Reads WK.txt the quiet way: reading stops at the first item that is missing or cannot be
// read (a port or a button value that does not fit a byte included) and keeps what came
// before it; items 7 and 8 are read only while the file has more.
WinKeyerFileRead parseWinKeyerSettings(std::string_view bytes);

// The eight lines. A double quote cannot stand inside a quoted text, so any that reached a
// field is left out (the fields take digits only, so none should).
std::string formatWinKeyerSettings(const WinKeyerSettings& settings);

// The fields' checks when the operator leaves one. `text` is what the field shows after
// the check; `send` the value to hand to the keyer, if any.
struct FieldCheck {
    std::string text;
    std::optional<std::uint8_t> send;
};
// "WPM:": 0 to 99 is sent; a non-number becomes "18"; other numbers are not sent.
FieldCheck checkSpeedField(std::string_view text);
// "Weight:": 0 to 99 is sent; a non-number becomes "50".
FieldCheck checkWeightField(std::string_view text);
// "Ratio:": 32 to 67 is sent (the keyer's own range is 33 to 66); a non-number becomes "50".
FieldCheck checkRatioField(std::string_view text);

// "Lead In:" and "Tail:": when both hold numbers they are sent together (nothing is sent
// when one of them does not fit a byte); otherwise the field being left becomes "0".
struct LeadTailCheck {
    std::string leadIn;
    std::string tail;
    std::optional<std::pair<std::uint8_t, std::uint8_t>> send;
};
LeadTailCheck checkLeadTailFields(std::string_view leadIn, std::string_view tail, bool leavingLeadIn);

// "Com Port:": a non-number becomes "0"; a number that does not fit a byte leaves the
// field as typed and makes the port 0.
struct ComPortCheck {
    std::string text;
    std::uint8_t port = 0;
};
ComPortCheck checkComPortField(std::string_view text);

// The speed the CW speed field hands to an open keyer: above 4 and below 100 words per
// minute, rounded to a whole number (halves to even); nothing otherwise.
std::optional<std::uint8_t> coupledSpeed(std::string_view cwSpeedWpm);

} // namespace corvane::cw
