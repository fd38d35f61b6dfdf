#pragma once
// RigCntrl.txt: the rig link settings, one item a line (CR LF), texts quoted, numbers bare.
//
//   1 baud (5 characters, space padded: "9600 ")   9 power "N", "R" or "D"
//   2 parity "O", "N" or "E"                       10 poll rate "F", "M", "S" or "R"
//   3 data bits "7" or "8"                         11 model name (SelectedRig)
//   4 stop bits "1" or "2"                         12 convert to hex 0 / 1
//   5 mode question text                           13 use frequency 0 / 1
//   6 frequency question text                      14 mode source 1 Rig, 2 Frequency, 3 Don't Use
//   7 settings string "9600,N,8,1"                 15 rigctld host (text)
//   8 port number 1..10                            16 rigctld TCP port (number)
//
// Items 15 and 16 were added for the network model; a file of 14 items reads with the
// default host and port.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace corvane::rig {

inline constexpr std::string_view kRigSettingsFile = "RigCntrl.txt";
inline constexpr std::string_view kDefaultRigctldHost = "localhost";
inline constexpr int kDefaultRigctldPort = 4532;
// The longest host name there is (a DNS name holds at most 253 characters).
inline constexpr std::size_t kMaxRigctldHostLength = 253;
inline constexpr int kRigSettingsItems = 16;
inline constexpr int kRigSettingsItemsBeforeNetwork = 14;

enum class PollRate : char { Fast = 'F', Medium = 'M', Slow = 'S', Rare = 'R' };
enum class PowerLine : char { None = 'N', Rts = 'R', Dtr = 'D' };
enum class ModeSource : std::uint8_t { Rig = 1, Frequency = 2, DontUse = 3 };

// The polling timer's interval: 50, 250, 1000 or 5000 ms (a reading takes two ticks).
int pollIntervalMs(PollRate rate);

// The rigctld TCP port as typed: a whole number from 1 to 65535, blanks around it allowed;
// nothing for any other text.
std::optional<int> parseRigctldPort(std::string_view text);

struct RigLinkSettings {
    std::string baud = "56000"; // trimmed; written padded to five characters
    char parity = 'N';
    char dataBits = '8';
    char stopBits = '1';
    std::string modeCommand;
    std::string frequencyCommand;
    int port = 1; // 1..10
    PowerLine power = PowerLine::None;
    PollRate pollRate = PollRate::Medium;
    std::string model = "None"; // SelectedRig
    bool convertToHex = false;
    bool useFrequency = true;
    ModeSource modeSource = ModeSource::Rig;
    std::string rigctldHost = std::string(kDefaultRigctldHost);
    int rigctldPort = kDefaultRigctldPort; // 1..65535

    // "9600,N,8,1" from the trimmed baud and the three letters.
    std::string settingsString() const;

    bool operator==(const RigLinkSettings&) const = default;
};

struct RigSettingsReadResult {
    RigLinkSettings settings; // the items read over the defaults given; the rest unchanged
    int itemsRead = 0;        // items taken before the end or the first bad value
    bool modelRead = false;   // item 11 was read (SelectedRig takes it)
};

// Reads the file over `defaults`: reading stops at the first missing or bad value, the items
// read before it are kept. A baud, letter or number outside its list is a bad value.
RigSettingsReadResult parseRigSettings(std::string_view bytes, const RigLinkSettings& defaults = {});

// The sixteen lines, byte for byte as the reader takes them back. Double quotes cannot stand
// in a quoted item and are left out of the texts.
std::string formatRigSettings(const RigLinkSettings& settings);

} // namespace corvane::rig
