#pragma once
// The WinKeyer's serial host protocol (WK2 and WK3 keyers and compatibles): 1200 baud,
// 8 data bits, no parity, 2 stop bits, DTR raised and RTS low.
//
// Host to keyer: a command byte below 0x20 followed by its arguments; any byte from 0x20
// on is a character for the keyer's send buffer. Administrative commands are 0x00
// followed by a sub-command byte (and its arguments).
//
// Keyer to host, told apart by the top bits of each byte:
//   11xx xxxx  status byte: bit 4 wait, bit 3 key down (pushbutton report in WK2 mode),
//              bit 2 busy sending, bit 1 paddle break-in, bit 0 XOFF (buffer over 2/3 full)
//   10xx xxxx  speed pot byte: the pot's words per minute above its minimum, 0..63
//   0xxx xxxx  a reply (the echo test's byte, the firmware version of host open) or, when
//              echoing is on, a character the keyer has just sent
// Every reply is a single byte, so a reply is recognised one byte at a time however the
// bytes are split over reads and whatever status bytes come between them.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::cw {

enum class WinkeyCommand : std::uint8_t {
    Admin = 0x00,              // + AdminCommand
    SidetoneControl = 0x01,    // + frequency code
    SetSpeed = 0x02,           // + words per minute (5..99; 0 hands speed to the pot)
    SetWeight = 0x03,          // + weight 10..90 (50 is standard)
    SetPttLeadTail = 0x04,     // + lead-in, tail (10 ms units)
    SetupSpeedPot = 0x05,      // + minimum, range, unused
    SetPause = 0x06,           // + 1 pause, 0 go on
    GetSpeedPot = 0x07,        // answered by a speed pot byte
    Backspace = 0x08,          // drops the last character queued and not yet sent
    SetPinConfig = 0x09,       // + pin configuration
    ClearBuffer = 0x0A,        // drops everything queued and stops sending
    KeyImmediate = 0x0B,       // + 1 key down, 0 key up (tune)
    SetHscw = 0x0C,            // + lpm / 100
    SetFarnsworth = 0x0D,      // + words per minute
    SetMode = 0x0E,            // + mode register
    LoadDefaults = 0x0F,       // + 15 values
    SetFirstExtension = 0x10,  // + ms
    SetKeyCompensation = 0x11, // + ms
    SetPaddleSwitchpoint = 0x12,
    Null = 0x13,           // does nothing; resynchronises a half-sent command
    SoftwarePaddle = 0x14, // + 0 none, 1 dit, 2 dah, 3 both
    RequestStatus = 0x15,  // answered by a status byte
    BufferPointer = 0x16,  // + sub-command (and one more byte for "add nulls")
    SetDitDahRatio = 0x17, // + ratio 33..66 (50 is 1:3)
    // Buffered commands: they take effect in order with the characters around them.
    BufferedPtt = 0x18,         // + 1 on, 0 off
    BufferedKey = 0x19,         // + seconds
    BufferedWait = 0x1A,        // + seconds
    MergeLetters = 0x1B,        // + two characters sent as one prosign
    BufferedSpeed = 0x1C,       // + words per minute
    BufferedHscwSpeed = 0x1D,   // + lpm / 100
    CancelBufferedSpeed = 0x1E, //
    BufferedNull = 0x1F,        //
};

enum class AdminCommand : std::uint8_t {
    Calibrate = 0x00, // + one byte; has no effect on current keyers
    Reset = 0x01,
    HostOpen = 0x02, // answered by the firmware version byte
    HostClose = 0x03,
    Echo = 0x04, // + a byte, answered by the same byte
    PaddleA2d = 0x05,
    SpeedA2d = 0x06,
    GetValues = 0x07,
    GetCalibration = 0x09,
    SetWk1Mode = 0x0A,
    SetWk2Mode = 0x0B,
    DumpEeprom = 0x0C,
    LoadEeprom = 0x0D,
    SendStandaloneMessage = 0x0E, // + message number
};

// The lowest byte the keyer takes as a character; every byte below it is a command.
inline constexpr std::uint8_t kFirstCharacterByte = 0x20;

// The byte the echo test sends; any byte below 0x80 would do, this one has alternating bits.
inline constexpr std::uint8_t kEchoTestByte = 0x55;

// Commands, as the bytes that go on the wire.
std::string adminCommand(AdminCommand command);
std::string hostOpenCommand();                                                  // 00 02
std::string hostCloseCommand();                                                 // 00 03
std::string echoTestCommand(std::uint8_t value = kEchoTestByte);                // 00 04 nn
std::string speedCommand(std::uint8_t wordsPerMinute);                          // 02 nn
std::string weightCommand(std::uint8_t weight);                                 // 03 nn
std::string pttLeadTailCommand(std::uint8_t leadIn10Ms, std::uint8_t tail10Ms); // 04 nn nn
std::string pinConfigCommand(std::uint8_t pins);                                // 09 nn
std::string modeCommand(std::uint8_t mode);                                     // 0E nn
std::string ditDahRatioCommand(std::uint8_t ratio);                             // 17 nn
std::string clearBufferCommand();                                               // 0A
std::string backspaceCommand();                                                 // 08
std::string statusRequestCommand();                                             // 15
std::string speedPotRequestCommand();                                           // 07
std::string nullCommand();                                                      // 13

// The byte of a character for the keyer's buffer; nothing for a byte the keyer would take
// as a command (below 0x20), for DEL and for anything above 0x7E.
std::optional<std::uint8_t> characterByte(char character);

// How many argument bytes follow a command byte (for an admin command: the sub-command and
// its own arguments are counted by adminArgumentCount). The pointer command takes one or
// two, which bufferPointerArgumentCount tells from its first argument.
int argumentCount(WinkeyCommand command);
int adminArgumentCount(AdminCommand command);
int bufferPointerArgumentCount(std::uint8_t subCommand);

// One byte from the keyer.
enum class KeyerByteKind { Status, SpeedPot, Data };
KeyerByteKind classifyKeyerByte(std::uint8_t byte);

struct KeyerStatus {
    bool wait = false;
    bool keyDown = false; // also the pushbutton report of WK2 mode
    bool busy = false;
    bool breakIn = false;
    bool xoff = false;
    bool operator==(const KeyerStatus&) const = default;
};
KeyerStatus decodeStatus(std::uint8_t statusByte);
std::uint8_t encodeStatus(const KeyerStatus& status);

// The status as the send loop reads it: 0 idle; 4 sending (busy, or the paddle breaking
// in); 5: the keyer wants no more characters yet (XOFF, or waiting for an internal event).
// The key-down bit does not count, since in WK2 mode it marks a pushbutton report instead.
inline constexpr int kSendingStatus = 4;
inline constexpr int kHoldStatus = 5;
int sendStatusValue(const KeyerStatus& status);

// Words per minute above the pot's minimum, from a speed pot byte.
inline int speedPotValue(std::uint8_t potByte) {
    return potByte & 0x3F;
}

// What the bytes from the keyer say.
struct KeyerEvent {
    enum class Kind {
        Status,   // value: the status byte
        SpeedPot, // value: the pot's words per minute above its minimum
        Reply,    // value: the reply byte to the oldest command still waiting for one
        Echo,     // value: a character the keyer sent (serial or paddle echo)
    };
    Kind kind;
    std::uint8_t value;
    bool operator==(const KeyerEvent&) const = default;
};

// Splits what the keyer sends into events. The host tells it how many one-byte replies it
// is waiting for (echo test, host open); data bytes are taken as those replies first and as
// echoed characters after. Bytes may come split over any number of reads.
class KeyerByteDecoder {
public:
    void expectReplies(int count) { m_repliesExpected += count; }
    void cancelReplies() { m_repliesExpected = 0; }
    int repliesExpected() const { return m_repliesExpected; }

    std::vector<KeyerEvent> decode(std::string_view bytes);

private:
    int m_repliesExpected = 0;
};

} // namespace corvane::cw
