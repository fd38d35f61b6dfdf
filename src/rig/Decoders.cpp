#include "rig/Decoders.h"

#include "core/NumberText.h"
#include "rig/DecodeUtil.h"
#include "rig/HexText.h"

#include <cfloat>
#include <cmath>

namespace corvane::rig {

namespace detail {

std::optional<double> decimalValue(std::string_view text) {
    for (const char c : text) {
        // Radios send digits; grouping commas and exponents are not theirs.
        if (c == ',' || c == 'e' || c == 'E') {
            return std::nullopt;
        }
    }
    return parseNumber(text);
}

std::optional<double> hexValue(std::string_view digits) {
    if (digits.empty() || digits.size() > 12) {
        return std::nullopt;
    }
    double value = 0;
    for (const char c : digits) {
        int d = -1;
        if (c >= '0' && c <= '9') {
            d = c - '0';
        } else if (c >= 'A' && c <= 'F') {
            d = c - 'A' + 10;
        }
        if (d < 0) {
            return std::nullopt;
        }
        value = value * 16 + d;
    }
    return value;
}

std::optional<float> toMHz(double value, double divisor, bool roundTo5Decimals) {
    double mhz = value / divisor;
    if (!std::isfinite(mhz) || mhz < 0 || mhz > FLT_MAX) {
        return std::nullopt;
    }
    if (roundTo5Decimals) {
        mhz = std::nearbyint(mhz * 100000.0) / 100000.0;
    }
    return static_cast<float>(mhz);
}

} // namespace detail

using detail::mid;

namespace {

DecodeResult finish(DecodeResult r, bool begun) {
    if (r.frequencyMHz || r.mode || r.kenwoodVfo) {
        r.status = DecodeStatus::Decoded;
    } else {
        r.status = begun ? DecodeStatus::NeedMore : DecodeStatus::Garbage;
    }
    return r;
}

// A frequency of `count` decimal digits at pos, in Hz.
std::optional<float> hzDigits(std::string_view reply, std::size_t pos, std::size_t count) {
    const auto value = detail::decimalValue(mid(reply, pos, count));
    if (!value) {
        return std::nullopt;
    }
    return detail::toMHz(*value, 1000000.0, true);
}

bool isCwKenwoodDigit(char c) {
    return c == '3' || c == '7';
}

// The hex digit at 0-based index, or 0 when the reply is shorter.
char hexDigitAt(const std::string& hex, std::size_t index) {
    return index < hex.size() ? hex[index] : '\0';
}

// Yaesu 890, 990, 1000 and 1000 D: a 24-bit frequency in 10 Hz units at a digit offset, the
// mode in the low half of byte 8.
DecodeResult decodeYaesuBinary(std::string_view reply, std::size_t firstDigit) {
    DecodeResult r;
    if (reply.size() < 5) {
        return finish(r, true);
    }
    const std::string hex = hexDigits(reply);
    if (const auto value = detail::hexValue(mid(hex, firstDigit, 6))) {
        r.frequencyMHz = detail::toMHz(*value, 100000.0, true);
    }
    switch (hexDigitAt(hex, 15)) {
    case '2':
        r.mode = "CW";
        break;
    case '0':
    case '1':
    case '3':
    case '4':
    case '5':
    case '6':
    case '7':
        r.mode = "PH";
        break;
    default:
        break;
    }
    return finish(r, true);
}

DecodeResult decodeCiv(const PollState& state, std::string_view reply, double divisor) {
    DecodeResult r;
    if (state.modeTurn == 1) {
        const CivScan scan = scanCiv(reply, 0x03);
        if (scan.complete) {
            const std::string& d = scan.digits;
            std::string text;
            if (mid(d, 0, 1) != "0") {
                text += mid(d, 0, 1);
            }
            if (mid(d, 0, 2) != "00") {
                text += mid(d, 1, 1);
            }
            if (mid(d, 0, 3) != "000") {
                text += mid(d, 2, 1);
            }
            text += mid(d, 3, 1);
            text += '.';
            text += mid(d, 4, 6);
            if (const auto value = detail::decimalValue(text)) {
                r.frequencyMHz = detail::toMHz(*value, divisor, false);
            }
        }
        return finish(r, scan.begun || scan.complete);
    }
    const CivScan scan = scanCiv(reply, 0x04);
    if (scan.complete && !scan.digits.empty()) {
        r.mode = scan.digits == "03" ? "CW" : "PH";
    }
    return finish(r, scan.begun || scan.complete);
}

} // namespace

void DecodeResult::applyTo(PollState& state) const {
    if (frequencyMHz) {
        state.frequencyMHz = *frequencyMHz;
    }
    if (mode) {
        state.mode = *mode;
    }
    if (kenwoodVfo) {
        state.kenwoodVfo = *kenwoodVfo;
    }
}

void ReplyBuffer::append(std::string_view bytes) {
    const std::size_t room = kMaxReplyBytes - m_bytes.size();
    const std::size_t take = bytes.size() < room ? bytes.size() : room;
    m_bytes.append(bytes.substr(0, take));
    m_dropped += bytes.size() - take;
}

void ReplyBuffer::clear() {
    m_bytes.clear();
    m_dropped = 0;
}

DecodeResult ReplyDecoder::feed(std::string_view bytes) {
    m_buffer.append(bytes);
    return m_decode(m_commands, m_state, m_buffer.bytes());
}

CivScan scanCiv(std::string_view reply, unsigned char command) {
    enum class State { Empty, GotFirstFE, GotSecondFE, WaitForFD };
    constexpr unsigned char kPreamble = 0xFE;
    constexpr unsigned char kEnd = 0xFD;
    CivScan scan;
    State state = State::Empty;
    int skip = 0;
    std::string digits;
    for (const char c : reply) {
        const auto b = static_cast<unsigned char>(c);
        if (skip > 0) {
            --skip;
            continue;
        }
        switch (state) {
        case State::Empty:
            if (b == kPreamble) {
                state = State::GotFirstFE;
            }
            break;
        case State::GotFirstFE:
            if (b == kPreamble) {
                state = State::GotSecondFE;
                skip = 2; // the two addresses
            } else {
                state = State::Empty;
            }
            break;
        case State::GotSecondFE:
            if (b == command) {
                state = State::WaitForFD;
                digits.clear();
                scan.begun = true;
            } else {
                state = State::Empty;
            }
            break;
        case State::WaitForFD:
            if (b == kEnd) {
                state = State::Empty;
                scan.begun = false;
                if (!digits.empty()) { // an echo of the question carries no data
                    scan.complete = true;
                    scan.digits = digits;
                    return scan;
                }
                break;
            }
            if (command == 0x04) {
                scan.complete = true;
                scan.begun = false;
                scan.digits = hexDigits(std::string_view(&c, 1));
                return scan;
            }
            if (digits.size() < 16) {
                digits.insert(0, hexDigits(std::string_view(&c, 1)));
            }
            break;
        }
    }
    return scan;
}

DecodeResult decodeKenwood(const RigCommands& commands, const PollState&, std::string_view reply) {
    DecodeResult r;
    bool begun = false;
    if (commands.frequencyCommand.size() >= 3) {
        const auto p = reply.find(commands.frequencyCommand.substr(0, 2));
        if (p != std::string_view::npos) {
            begun = true;
            if (reply.size() >= p + 14) {
                r.frequencyMHz = hzDigits(reply, p + 2, 11);
            }
        }
    }
    const auto m = reply.find("MD");
    if (m != std::string_view::npos) {
        begun = true;
        if (reply.size() >= m + 3) {
            r.mode = isCwKenwoodDigit(reply[m + 2]) ? "CW" : "PH";
        }
    }
    return finish(r, begun);
}

DecodeResult decodeKenwood2(const RigCommands&, const PollState&, std::string_view reply) {
    DecodeResult r;
    const auto p = reply.find("IF");
    if (p == std::string_view::npos) {
        return finish(r, false);
    }
    if (reply.size() < p + 14) {
        return finish(r, true);
    }
    r.frequencyMHz = hzDigits(reply, p + 2, 11);
    if (!r.frequencyMHz) {
        return finish(r, true);
    }
    // A reply cut short before the mode or VFO digit leaves them for the next one.
    if (reply.size() > p + 29) {
        r.mode = reply[p + 29] == '3' ? "CW" : "PH";
    }
    if (reply.size() > p + 30) {
        const char vfo = reply[p + 30];
        if (vfo >= '0' && vfo <= '9') {
            r.kenwoodVfo = static_cast<std::uint8_t>(vfo - '0');
        }
    }
    return finish(r, true);
}

DecodeResult decodeIcom(const RigCommands&, const PollState& state, std::string_view reply) {
    return decodeCiv(state, reply, 1.0);
}

DecodeResult decodeIcom735(const RigCommands&, const PollState& state, std::string_view reply) {
    return decodeCiv(state, reply, 100.0);
}

DecodeResult decodeYaesu(const RigCommands&, const PollState&, std::string_view reply) {
    DecodeResult r;
    if (reply.size() < 5) {
        return finish(r, true);
    }
    const std::string modeDigits = hexDigits(reply.substr(4, 1));
    if (modeDigits.find_first_not_of("0123456789") != std::string::npos) {
        return finish(r, false); // a hex letter in the mode byte: the whole reply is discarded
    }
    switch (std::stoi(modeDigits)) {
    case 0:
    case 1:
    case 4:
    case 8:
    case 84:
    case 88:
        r.mode = "PH";
        break;
    case 2:
    case 3:
    case 82:
    case 83:
        r.mode = "CW";
        break;
    default:
        break;
    }
    if (const auto value = detail::decimalValue(hexDigits(reply.substr(0, 4)))) {
        r.frequencyMHz = detail::toMHz(*value, 100000.0, false);
    }
    return finish(r, true);
}

DecodeResult decodeYaesu757(const RigCommands&, const PollState&, std::string_view reply) {
    DecodeResult r;
    if (reply.size() < 9) {
        return finish(r, true);
    }
    // Bytes 9, 8, 7, 6: BCD in 10 Hz units, most significant byte last on the wire.
    std::string bcd;
    for (std::size_t byte = 9; byte >= 6; --byte) {
        bcd += hexDigits(reply.substr(byte - 1, 1));
    }
    const auto value = detail::decimalValue(bcd);
    if (!value) {
        return finish(r, true);
    }
    r.frequencyMHz = detail::toMHz(*value, 100000.0, true);
    if (reply.size() >= 10) {
        const std::string modeDigits = hexDigits(reply.substr(9, 1));
        int mode = 0; // read up to the first letter: "0A" is 0
        for (const char c : modeDigits) {
            if (c < '0' || c > '9') {
                break;
            }
            mode = mode * 10 + (c - '0');
        }
        switch (mode) {
        case 0:
        case 1:
            r.mode = "PH";
            break;
        case 2:
        case 3:
            r.mode = "CW";
            break;
        case 4:
            r.mode = "AM";
            break;
        case 5:
            r.mode = "FM";
            break;
        default:
            break;
        }
    }
    return finish(r, true);
}

DecodeResult decodeYaesu890(const RigCommands&, const PollState&, std::string_view reply) {
    return decodeYaesuBinary(reply, 4);
}

DecodeResult decodeYaesu990(const RigCommands&, const PollState&, std::string_view reply) {
    return decodeYaesuBinary(reply, 2);
}

DecodeResult decodeYaesu1000(const RigCommands&, const PollState&, std::string_view reply) {
    return decodeYaesuBinary(reply, 3);
}

DecodeResult decodeYaesu920(const RigCommands&, const PollState&, std::string_view reply) {
    DecodeResult r;
    if (reply.size() < 5) {
        return finish(r, true);
    }
    const std::string hex = hexDigits(reply);
    if (const auto value = detail::hexValue(mid(hex, 2, 8))) {
        r.frequencyMHz = detail::toMHz(*value, 1000000.0, true);
    }
    if (hex.size() > 15) {
        r.mode = hex[15] == '1' ? "CW" : "PH";
    }
    return finish(r, true);
}

DecodeResult decodeFtdx9000(const RigCommands& commands, const PollState&, std::string_view reply) {
    DecodeResult r;
    bool begun = false;
    if (commands.frequencyCommand.size() >= 2) {
        const auto p = reply.find(commands.frequencyCommand.substr(0, 2));
        if (p != std::string_view::npos) {
            begun = true;
            if (reply.size() >= p + 10) { // all eight digits are there
                r.frequencyMHz = hzDigits(reply, p + 2, 8);
            }
        }
    }
    if (commands.modeCommand.size() >= 3) {
        const auto m = reply.find(commands.modeCommand.substr(0, 3));
        if (m != std::string_view::npos) {
            begun = true;
            if (reply.size() >= m + 4) {
                r.mode = reply[m + 3] == '3' ? "CW" : "PH";
            }
        }
    }
    return finish(r, begun);
}

DecodeResult decodeTenTecFrontPanel(const RigCommands&, const PollState& state, std::string_view reply) {
    DecodeResult r;
    const std::string hex = hexDigits(reply);
    if (state.modeTurn == 1) {
        if (reply.size() >= 5) { // the letter and four frequency bytes
            if (const auto value = detail::hexValue(mid(hex, 2, 8))) {
                r.frequencyMHz = detail::toMHz(*value, 1000000.0, true);
            }
        }
        return finish(r, true);
    }
    if (reply.size() >= 3) {
        switch (hex[3]) {
        case '3':
            r.mode = "CW";
            break;
        case '0':
        case '1':
        case '2':
        case '4':
            r.mode = "PH";
            break;
        default:
            break;
        }
    }
    return finish(r, true);
}

DecodeResult decodeOrion(const RigCommands&, const PollState&, std::string_view reply) {
    DecodeResult r;
    bool begun = false;
    const auto p = reply.find("@AF");
    if (p != std::string_view::npos) {
        begun = true;
        const auto end = reply.find('\r', p + 3);
        if (end != std::string_view::npos && end > p + 3) {
            if (const auto value = detail::decimalValue(reply.substr(p + 3, end - p - 3))) {
                r.frequencyMHz = detail::toMHz(*value, 1000000.0, true);
            }
        }
    }
    const auto m = reply.find("@RMM");
    if (m != std::string_view::npos) {
        begun = true;
        if (reply.size() > m + 4) {
            r.mode = (reply[m + 4] == '2' || reply[m + 4] == '3') ? "CW" : "PH";
        }
    }
    return finish(r, begun);
}

DecodeResult decodeNothing(const RigCommands&, const PollState&, std::string_view) {
    DecodeResult r;
    r.status = DecodeStatus::NoDecoder;
    return r;
}

} // namespace corvane::rig
