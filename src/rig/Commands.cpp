#include "rig/Commands.h"

#include "core/NumberText.h"
#include "rig/HexText.h"
#include "rig/Pegasus.h"

#include <cmath>
#include <string>

namespace corvane::rig {

namespace {

std::string hexOrNothing(std::string_view text, std::size_t maxBytes = std::string::npos) {
    auto bytes = hexTextToBytes(text, maxBytes);
    return bytes ? std::move(*bytes) : std::string();
}

BuiltCommand bytesCommand(std::vector<int> pausesMs, std::string bytes) {
    BuiltCommand built;
    built.kind = BuiltCommand::Kind::Bytes;
    built.command.pausesMs = std::move(pausesMs);
    built.command.bytes = std::move(bytes);
    return built;
}

BuiltCommand failure(std::string error) {
    BuiltCommand built;
    built.kind = BuiltCommand::Kind::Error;
    built.error = std::move(error);
    return built;
}

BuiltCommand outOfRange(float frequencyMHz) {
    return failure("The frequency " + formatSingle(frequencyMHz) + " MHz cannot be sent to this radio.");
}

// Hz (or 10 Hz units) as `width` zero-padded digits, or nullopt when it does not fit.
std::optional<std::string> digitsOf(long long value, int width) {
    return zeroPadded(value, width);
}

bool usable(float frequencyMHz) {
    return std::isfinite(frequencyMHz) && frequencyMHz >= 0.0F;
}

BuiltCommand kenwoodStyle(std::string_view prefix, float frequencyMHz, std::vector<int> pausesMs) {
    if (!usable(frequencyMHz)) {
        return outOfRange(frequencyMHz);
    }
    const auto digits = digitsOf(frequencyHz(frequencyMHz), 11);
    if (!digits) {
        return outOfRange(frequencyMHz);
    }
    return bytesCommand(std::move(pausesMs), std::string(prefix) + *digits + ';');
}

BuiltCommand civFrequency(const RigCommands& commands, float frequencyMHz, std::vector<int> pausesMs) {
    const auto address = civAddress(commands);
    if (!address) {
        return failure("The radio's address (characters 7 and 8 of the frequency command) is not a hex number.");
    }
    if (!usable(frequencyMHz)) {
        return outOfRange(frequencyMHz);
    }
    const auto digits = digitsOf(frequencyHz(frequencyMHz), 10);
    if (!digits) {
        return outOfRange(frequencyMHz);
    }
    std::string bytes = "\xFE\xFE";
    bytes += static_cast<char>(*address);
    bytes += "\xE0\x05";
    bytes += bcdBytes(*digits, true);
    bytes += '\xFD';
    return bytesCommand(std::move(pausesMs), std::move(bytes));
}

BuiltCommand yaesuBcd(float frequencyMHz, bool pairsSwapped, char opcode, std::vector<int> pausesMs) {
    if (!usable(frequencyMHz)) {
        return outOfRange(frequencyMHz);
    }
    const auto digits = digitsOf(frequencyTenHz(frequencyMHz), 8);
    if (!digits) {
        return outOfRange(frequencyMHz);
    }
    return bytesCommand(std::move(pausesMs), bcdBytes(*digits, pairsSwapped) + opcode);
}

BuiltCommand modeBytes(std::string bytes) {
    if (bytes.empty()) {
        return {};
    }
    return bytesCommand({kModeCommandPauseMs}, std::move(bytes));
}

struct ModeCode {
    std::string_view mode;
    std::string_view code;
};

template <std::size_t N> std::string_view lookup(const ModeCode (&table)[N], std::string_view mode) {
    for (const auto& entry : table) {
        if (entry.mode == mode) {
            return entry.code;
        }
    }
    return {};
}

} // namespace

// --- Questions ---

std::string questionTextPair(const RigCommands& c, PollState&) {
    return c.frequencyCommand + c.modeCommand;
}

std::string questionCiv(const RigCommands& c, PollState& state) {
    std::string out;
    if (state.modeTurn == 0) {
        if (c.frequencyCommand.size() >= 17) {
            out = hexOrNothing(c.frequencyCommand, 6);
        }
        state.modeTurn = 1;
    } else {
        if (c.modeCommand.size() >= 17) {
            out = hexOrNothing(c.modeCommand, 6);
        }
        state.modeTurn = 0;
    }
    return out;
}

std::string questionYaesu(const RigCommands& c, PollState&) {
    return c.frequencyCommand.size() >= 14 ? hexOrNothing(c.frequencyCommand, 5) : std::string();
}

std::string questionFtdx9000(const RigCommands& c, PollState& state) {
    std::string out;
    if (state.modeTurn == 1) {
        if (c.modeCommand.size() >= 2) {
            out = c.modeCommand;
        }
        state.modeTurn = 0;
    } else {
        if (c.frequencyCommand.size() >= 2) {
            out = c.frequencyCommand;
        }
        state.modeTurn = 1;
    }
    return out;
}

std::string questionTenTecFrontPanel(const RigCommands& c, PollState& state) {
    std::string out;
    if (state.modeTurn == 1) {
        if (c.modeCommand.size() >= 7) {
            out = hexOrNothing(c.modeCommand, 3);
        }
        state.modeTurn = 0;
    } else {
        if (c.frequencyCommand.size() >= 7) {
            out = hexOrNothing(c.frequencyCommand, 3);
        }
        state.modeTurn = 1;
    }
    return out;
}

std::string questionOrion(const RigCommands& c, PollState&) {
    std::string out;
    if (!c.frequencyCommand.empty()) {
        out += c.frequencyCommand + '\r';
    }
    if (!c.modeCommand.empty()) {
        out += c.modeCommand + '\r';
    }
    return out;
}

std::string questionOther(const RigCommands& c, PollState&) {
    if (!c.convertToHex) {
        return c.frequencyCommand + c.modeCommand;
    }
    return hexOrNothing(c.frequencyCommand) + hexOrNothing(c.modeCommand);
}

std::string questionNothing(const RigCommands&, PollState&) {
    return {};
}

// --- Numbers ---

long long frequencyHz(float frequencyMHz) {
    return roundHalfEven(static_cast<double>(frequencyMHz) * 1000000.0);
}

long long frequencyTenHz(float frequencyMHz) {
    return roundHalfEven(static_cast<double>(frequencyMHz) * 100000.0);
}

std::optional<std::string> zeroPadded(long long value, int width) {
    if (value < 0) {
        return std::nullopt;
    }
    std::string digits = std::to_string(value);
    if (static_cast<int>(digits.size()) > width) {
        return std::nullopt;
    }
    return std::string(static_cast<std::size_t>(width) - digits.size(), '0') + digits;
}

std::string bcdBytes(std::string_view digits, bool pairsSwapped) {
    std::string out;
    for (std::size_t i = 0; i + 1 < digits.size(); i += 2) {
        out.push_back(static_cast<char>(((digits[i] - '0') << 4) | (digits[i + 1] - '0')));
    }
    if (pairsSwapped) {
        out = std::string(out.rbegin(), out.rend());
    }
    return out;
}

std::optional<unsigned char> civAddress(const RigCommands& commands) {
    if (commands.frequencyCommand.size() < 8) {
        return std::nullopt;
    }
    const auto bytes = hexTextToBytes(std::string_view(commands.frequencyCommand).substr(6, 2));
    if (!bytes || bytes->size() != 1 || commands.frequencyCommand[7] == ' ') {
        return std::nullopt;
    }
    return static_cast<unsigned char>((*bytes)[0]);
}

// --- Frequency commands ---

BuiltCommand frequencyKenwood(const RigCommands& c, const PollState&, float f) {
    return kenwoodStyle(std::string_view(c.frequencyCommand).substr(0, 2), f, {205});
}

BuiltCommand frequencyKenwood2(const RigCommands&, const PollState& state, float f) {
    return kenwoodStyle(state.kenwoodVfo == 1 ? "FB" : "FA", f, {205});
}

BuiltCommand frequencyElecraft(const RigCommands&, const PollState&, float f) {
    return kenwoodStyle("FA", f, {205, 1000});
}

BuiltCommand frequencyIcom(const RigCommands& c, const PollState&, float f) {
    return civFrequency(c, f, {140});
}

BuiltCommand frequencyOmniVI(const RigCommands& c, const PollState&, float f) {
    return civFrequency(c, f, {140, 220});
}

BuiltCommand frequencyTenTecFrontPanel(const RigCommands&, const PollState&, float f) {
    if (!usable(f)) {
        return outOfRange(f);
    }
    const long long hz = frequencyHz(f);
    if (hz > 0xFFFFFFFFLL) {
        return outOfRange(f);
    }
    std::string bytes = "*A";
    for (int shift = 24; shift >= 0; shift -= 8) {
        bytes.push_back(static_cast<char>((hz >> shift) & 0xFF));
    }
    bytes.push_back('\r');
    return bytesCommand({205}, std::move(bytes));
}

BuiltCommand frequencyOrion(const RigCommands&, const PollState&, float f) {
    if (!usable(f)) {
        return outOfRange(f);
    }
    // The Orion takes the frequency in whole Hz, as its "@AF" reply gives it, without padding.
    const long long hz = frequencyHz(f);
    if (!digitsOf(hz, 11)) {
        return outOfRange(f);
    }
    return bytesCommand({205}, "*AF" + std::to_string(hz) + '\r');
}

BuiltCommand frequencyPegasus(const RigCommands&, const PollState& state, float f) {
    if (!usable(f)) {
        return outOfRange(f);
    }
    BuiltCommand built;
    built.kind = BuiltCommand::Kind::PegasusFile;
    built.command.pausesMs = {205};
    built.pegasusText = formatPegasusIn(f, state.mode);
    return built;
}

BuiltCommand frequencyYaesu(const RigCommands&, const PollState&, float f) {
    return yaesuBcd(f, false, '\x01', {205});
}

BuiltCommand frequencyYaesu890(const RigCommands&, const PollState&, float f) {
    return yaesuBcd(f, true, '\x0A', {205});
}

BuiltCommand frequencyYaesu1000(const RigCommands&, const PollState&, float f) {
    return yaesuBcd(f, true, '\x0A', {10});
}

BuiltCommand frequencyFtdx9000(const RigCommands& c, const PollState&, float f) {
    if (!usable(f)) {
        return outOfRange(f);
    }
    const auto digits = digitsOf(frequencyHz(f), 8);
    if (!digits) {
        return outOfRange(f);
    }
    return bytesCommand({205}, std::string(std::string_view(c.frequencyCommand).substr(0, 2)) + *digits + ';');
}

BuiltCommand frequencyNothing(const RigCommands&, const PollState&, float) {
    return {};
}

// --- Mode commands ---

BuiltCommand modeIcom(const RigCommands& c, std::string_view mode) {
    struct IcomMode {
        std::string_view mode;
        unsigned char code;
    };
    static constexpr IcomMode kCodes[] = {{"LSB", 0x00},  {"USB", 0x01}, {"AM", 0x02},   {"CW", 0x03},
                                          {"RTTY", 0x04}, {"FM", 0x05},  {"CW-R", 0x07}, {"RTTY-R", 0x08}};
    const IcomMode* found = nullptr;
    for (const auto& entry : kCodes) {
        if (entry.mode == mode) {
            found = &entry;
        }
    }
    if (found == nullptr) {
        return {};
    }
    const auto address = civAddress(c);
    if (!address) {
        return failure("The radio's address (characters 7 and 8 of the frequency command) is not a hex number.");
    }
    std::string bytes = "\xFE\xFE";
    bytes += static_cast<char>(*address);
    bytes += "\xE0\x06";
    bytes += static_cast<char>(found->code);
    bytes += '\xFD';
    return modeBytes(std::move(bytes));
}

BuiltCommand modeKenwood(const RigCommands&, std::string_view mode) {
    static constexpr ModeCode kCodes[] = {{"CW", "MD3;"},   {"LSB", "MD1;"}, {"USB", "MD2;"}, {"AM", "MD5;"},
                                          {"RTTY", "MD6;"}, {"FM", "MD4;"},  {"FSK", "MD6;"}};
    return modeBytes(std::string(lookup(kCodes, mode)));
}

BuiltCommand modeYaesu(const RigCommands&, std::string_view mode) {
    static constexpr ModeCode kCodes[] = {
        {"CW", "02 00 00 00 07"},  {"LSB", "00 00 00 00 07"},  {"USB", "01 00 00 00 07"}, {"AM", "04 00 00 00 07"},
        {"DIG", "0A 00 00 00 07"}, {"RTTY", "0A 00 00 00 07"}, {"FM", "08 00 00 00 07"},  {"PKT", "0C 00 00 00 07"}};
    return modeBytes(hexOrNothing(lookup(kCodes, mode)));
}

BuiltCommand modeYaesu890(const RigCommands&, std::string_view mode) {
    static constexpr ModeCode kCodes[] = {
        {"CW", "00 00 00 02 0C"}, {"CW-R", "00 00 00 03 0C"}, {"LSB", "00 00 00 00 0C"}, {"USB", "00 00 00 01 0C"},
        {"AM", "00 00 00 04 0C"}, {"RTTY", "00 00 00 08 0C"}, {"FM", "00 00 00 06 0C"},  {"PKT", "00 00 00 0A 0C"}};
    return modeBytes(hexOrNothing(lookup(kCodes, mode)));
}

BuiltCommand modeFtdx9000(const RigCommands& c, std::string_view mode) {
    static constexpr ModeCode kCodes[] = {{"CW", "3"}, {"LSB", "1"},  {"USB", "2"}, {"FM", "4"},
                                          {"AM", "5"}, {"RTTY", "6"}, {"CW-R", "7"}};
    const std::string_view digit = lookup(kCodes, mode);
    if (digit.empty()) {
        return {};
    }
    return modeBytes(std::string(std::string_view(c.modeCommand).substr(0, 3)) + std::string(digit) + ';');
}

BuiltCommand modeNothing(const RigCommands&, std::string_view) {
    return {};
}

} // namespace corvane::rig
