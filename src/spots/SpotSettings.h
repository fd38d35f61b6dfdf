#pragma once
// PackSpot.txt, the spot source settings: fourteen items, one a line, CR LF ended; texts
// quoted, numbers bare, the list mode #TRUE# / #FALSE#:
//
//   1 baud (text)            6 power "N"/"R"/"D"        11 list mode (boolean)
//   2 parity "O"/"N"/"E"     7 source (text)            12 TNC command-mode hex (text)
//   3 data bits (text)       8 convert-to-hex (0/1)     13 Telnet port (text)
//   4 stop bits (text)       9 handshaking 1..4         14 Telnet host (text)
//   5 port 1..10            10 DX-only box (0/1, read and not applied)
//
// Also the serial settings string and the socket error messages of the setup window.

#include <optional>
#include <string>
#include <string_view>

namespace corvane::spots {

inline constexpr std::string_view kSourceNone = "None";
inline constexpr std::string_view kSourceTnc = "TNC";
inline constexpr std::string_view kSourceTelnet = "Telnet";
inline constexpr std::string_view kSourceAgw = "AGW Packet Engine";

// The spot source as the program works with it; the texts above are its names in the file
// and in the source list. Unset: nothing chosen yet (no settings file, or an unknown name).
enum class SpotSource { Unset, None, Tnc, Telnet, Agw };

// The source list's entries, in their order.
inline constexpr SpotSource kSourceChoices[] = {SpotSource::None, SpotSource::Tnc, SpotSource::Telnet, SpotSource::Agw};

// "" for Unset.
std::string_view spotSourceName(SpotSource source);
// Unset for any text that names no source.
SpotSource spotSourceNamed(std::string_view name);
// A source that opens a link (TNC, Telnet or the AGW engine).
constexpr bool opensLink(SpotSource source) {
    return source == SpotSource::Tnc || source == SpotSource::Telnet || source == SpotSource::Agw;
}

struct SpotSettings {
    std::string baud = "9600";
    std::string parity = "N";
    std::string dataBits = "8";
    std::string stopBits = "1";
    int port = 1;
    std::string power = "N";
    std::string source; // empty: nothing chosen
    int convertToHex = 0;
    int handshaking = 3;
    int dxOnly = 0;
    bool listMode = false;
    std::string commandChar = "03";
    std::string telnetPort;
    std::string telnetHost;

    bool operator==(const SpotSettings&) const = default;
};

// What choosing "TNC" in the source list sets: 9.6k, parity None, 8 data bits, 1 stop bit,
// handshaking "RTS" and command-mode character "03"; the rest stays.
void applyTncDefaults(SpotSettings& settings);

// The fourteen lines. Double quotes inside a text cannot be stored and are left out.
std::string formatSpotSettings(const SpotSettings& settings);
// The stored settings, or nullopt when the file does not hold the fourteen values (the
// window then stays as created). The DX-only value is read into dxOnly; callers do not
// apply it.
std::optional<SpotSettings> parseSpotSettings(std::string_view bytes);

// "9600,N,8,1": baud (trailing blanks removed), parity, data bits, stop bits.
std::string serialSettingsString(const SpotSettings& settings);

// The TNC command-mode character: the field read as a hexadecimal number 0..255.
std::optional<char> commandModeCharacter(std::string_view hexField);

// The status line for a socket error number ("Error number 12345" for unknown numbers).
std::string socketErrorMessage(int number);

} // namespace corvane::spots
