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
