#include "cw/winkey/WinKeyerProtocol.h"

namespace corvane::cw {

namespace {

constexpr std::uint8_t kStatusTag = 0xC0;   // 11xx xxxx
constexpr std::uint8_t kSpeedPotTag = 0x80; // 10xx xxxx
constexpr std::uint8_t kTagMask = 0xC0;

constexpr std::uint8_t kWaitBit = 0x10;
constexpr std::uint8_t kKeyDownBit = 0x08;
constexpr std::uint8_t kBusyBit = 0x04;
constexpr std::uint8_t kBreakInBit = 0x02;
constexpr std::uint8_t kXoffBit = 0x01;

char byteChar(std::uint8_t value) {
    return static_cast<char>(value);
}

std::string command(WinkeyCommand code) {
    return std::string(1, byteChar(static_cast<std::uint8_t>(code)));
}

std::string command(WinkeyCommand code, std::uint8_t argument) {
    std::string out = command(code);
    out.push_back(byteChar(argument));
    return out;
}

} // namespace

std::string adminCommand(AdminCommand sub) {
    return command(WinkeyCommand::Admin, static_cast<std::uint8_t>(sub));
}

std::string hostOpenCommand() {
    return adminCommand(AdminCommand::HostOpen);
}

std::string hostCloseCommand() {
    return adminCommand(AdminCommand::HostClose);
}

std::string echoTestCommand(std::uint8_t value) {
    std::string out = adminCommand(AdminCommand::Echo);
    out.push_back(byteChar(value));
    return out;
}

std::string speedCommand(std::uint8_t wordsPerMinute) {
    return command(WinkeyCommand::SetSpeed, wordsPerMinute);
}

std::string weightCommand(std::uint8_t weight) {
    return command(WinkeyCommand::SetWeight, weight);
}

std::string pttLeadTailCommand(std::uint8_t leadIn10Ms, std::uint8_t tail10Ms) {
    std::string out = command(WinkeyCommand::SetPttLeadTail, leadIn10Ms);
    out.push_back(byteChar(tail10Ms));
    return out;
}

std::string pinConfigCommand(std::uint8_t pins) {
    return command(WinkeyCommand::SetPinConfig, pins);
}

std::string modeCommand(std::uint8_t mode) {
    return command(WinkeyCommand::SetMode, mode);
}

std::string ditDahRatioCommand(std::uint8_t ratio) {
    return command(WinkeyCommand::SetDitDahRatio, ratio);
}

std::string clearBufferCommand() {
    return command(WinkeyCommand::ClearBuffer);
}

std::string backspaceCommand() {
    return command(WinkeyCommand::Backspace);
}

std::string statusRequestCommand() {
    return command(WinkeyCommand::RequestStatus);
}

std::string speedPotRequestCommand() {
    return command(WinkeyCommand::GetSpeedPot);
}

std::string nullCommand() {
    return command(WinkeyCommand::Null);
}

std::optional<std::uint8_t> characterByte(char character) {
    const auto value = static_cast<std::uint8_t>(character);
    if (value < kFirstCharacterByte || value > 0x7E) {
        return std::nullopt;
    }
    return value;
}

int argumentCount(WinkeyCommand code) {
    switch (code) {
    case WinkeyCommand::Admin:
        return 1; // the sub-command; its own arguments follow
    case WinkeyCommand::SetPttLeadTail:
    case WinkeyCommand::MergeLetters:
        return 2;
    case WinkeyCommand::SetupSpeedPot:
        return 3;
    case WinkeyCommand::LoadDefaults:
        return 15;
    case WinkeyCommand::BufferPointer:
        return 1; // and one more for "add nulls"
    case WinkeyCommand::GetSpeedPot:
    case WinkeyCommand::Backspace:
    case WinkeyCommand::ClearBuffer:
    case WinkeyCommand::Null:
    case WinkeyCommand::RequestStatus:
    case WinkeyCommand::CancelBufferedSpeed:
    case WinkeyCommand::BufferedNull:
        return 0;
    default:
        return 1;
    }
}

int adminArgumentCount(AdminCommand sub) {
    switch (sub) {
    case AdminCommand::Calibrate:
    case AdminCommand::Echo:
    case AdminCommand::SendStandaloneMessage:
        return 1;
    case AdminCommand::LoadEeprom:
        return 256;
    default:
        return 0;
    }
}

int bufferPointerArgumentCount(std::uint8_t subCommand) {
    return subCommand == 3 ? 2 : 1;
}

KeyerByteKind classifyKeyerByte(std::uint8_t byte) {
    switch (byte & kTagMask) {
    case kStatusTag:
        return KeyerByteKind::Status;
    case kSpeedPotTag:
        return KeyerByteKind::SpeedPot;
    default:
        return KeyerByteKind::Data;
    }
}

KeyerStatus decodeStatus(std::uint8_t statusByte) {
    KeyerStatus s;
    s.wait = (statusByte & kWaitBit) != 0;
    s.keyDown = (statusByte & kKeyDownBit) != 0;
    s.busy = (statusByte & kBusyBit) != 0;
    s.breakIn = (statusByte & kBreakInBit) != 0;
    s.xoff = (statusByte & kXoffBit) != 0;
    return s;
}

std::uint8_t encodeStatus(const KeyerStatus& s) {
    std::uint8_t out = kStatusTag;
    out |= s.wait ? kWaitBit : 0;
    out |= s.keyDown ? kKeyDownBit : 0;
    out |= s.busy ? kBusyBit : 0;
    out |= s.breakIn ? kBreakInBit : 0;
    out |= s.xoff ? kXoffBit : 0;
    return out;
}

int sendStatusValue(const KeyerStatus& s) {
    if (s.xoff || s.wait) {
        return kHoldStatus;
    }
    return (s.busy || s.breakIn) ? kSendingStatus : 0;
}

std::vector<KeyerEvent> KeyerByteDecoder::decode(std::string_view bytes) {
    std::vector<KeyerEvent> events;
    events.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<std::uint8_t>(c);
        switch (classifyKeyerByte(byte)) {
        case KeyerByteKind::Status:
            events.push_back({KeyerEvent::Kind::Status, byte});
            break;
        case KeyerByteKind::SpeedPot:
            events.push_back({KeyerEvent::Kind::SpeedPot, static_cast<std::uint8_t>(speedPotValue(byte))});
            break;
        case KeyerByteKind::Data:
            if (m_repliesExpected > 0) {
                --m_repliesExpected;
                events.push_back({KeyerEvent::Kind::Reply, byte});
            } else {
                events.push_back({KeyerEvent::Kind::Echo, byte});
            }
            break;
        }
    }
    return events;
}

} // namespace corvane::cw
