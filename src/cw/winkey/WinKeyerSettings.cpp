#include "cw/winkey/WinKeyerSettings.h"

#include "core/NumberText.h"
#include "core/QuotedFields.h"

#include <algorithm>
#include <cmath>

namespace corvane::cw {

namespace {

std::optional<std::uint8_t> readByte(ItemReader& reader) {
    const auto value = reader.whole(0, 255);
    if (!value) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(*value);
}

int readItems(ItemReader& reader, WinKeyerSettings& s) {
    const auto port = readByte(reader);
    if (!port) {
        return 0;
    }
    s.comPort = *port;
    int count = 1;
    for (std::string* field : {&s.speedWpm, &s.weight, &s.leadIn, &s.tail, &s.ratio}) {
        auto text = reader.text();
        if (!text) {
            return count;
        }
        *field = std::move(*text);
        ++count;
    }
    for (std::uint8_t* value : {&s.pinConfig, &s.keyerMode}) {
        const auto byte = readByte(reader);
        if (!byte) {
            return count;
        }
        *value = *byte;
        ++count;
    }
    return count;
}

std::string withoutQuotes(std::string_view text) {
    std::string out(text);
    out.erase(std::remove(out.begin(), out.end(), '"'), out.end());
    return out;
}

// The whole number a field stands for; nullopt when it is no number at all.
std::optional<long long> fieldNumber(std::string_view text) {
    const auto value = parseNumber(text);
    if (!value || !std::isfinite(*value) || std::fabs(*value) > 1e15) {
        return std::nullopt;
    }
    return roundHalfEven(*value);
}

FieldCheck checkRange(std::string_view text, long long low, long long high, std::string_view otherwise) {
    const auto number = fieldNumber(text);
    if (!number) {
        return {std::string(otherwise), std::nullopt};
    }
    FieldCheck out{std::string(text), std::nullopt};
    if (*number >= low && *number <= high) {
        out.send = static_cast<std::uint8_t>(*number);
    }
    return out;
}

} // namespace

WinKeyerFileRead parseWinKeyerSettings(std::string_view bytes) {
    WinKeyerFileRead result;
    ItemReader reader(bytes);
    result.itemsRead = readItems(reader, result.settings);
    return result;
}

std::string formatWinKeyerSettings(const WinKeyerSettings& s) {
    ItemWriter out;
    out.whole(s.comPort);
    out.text(withoutQuotes(s.speedWpm));
    out.text(withoutQuotes(s.weight));
    out.text(withoutQuotes(s.leadIn));
    out.text(withoutQuotes(s.tail));
    out.text(withoutQuotes(s.ratio));
    out.whole(s.pinConfig);
    out.whole(s.keyerMode);
    return out.bytes();
}

FieldCheck checkSpeedField(std::string_view text) {
    return checkRange(text, 0, 99, "18");
}

FieldCheck checkWeightField(std::string_view text) {
    return checkRange(text, 0, 99, "50");
}

FieldCheck checkRatioField(std::string_view text) {
    return checkRange(text, 32, 67, "50");
}

LeadTailCheck checkLeadTailFields(std::string_view leadIn, std::string_view tail, bool leavingLeadIn) {
    LeadTailCheck out{std::string(leadIn), std::string(tail), std::nullopt};
    const auto lead = fieldNumber(leadIn);
    const auto after = fieldNumber(tail);
    if (lead && after) {
        if (*lead >= 0 && *lead <= 255 && *after >= 0 && *after <= 255) {
            out.send = std::pair{static_cast<std::uint8_t>(*lead), static_cast<std::uint8_t>(*after)};
        }
        return out;
    }
    (leavingLeadIn ? out.leadIn : out.tail) = "0";
    return out;
}

ComPortCheck checkComPortField(std::string_view text) {
    const auto number = fieldNumber(text);
    if (!number) {
        return {"0", 0};
    }
    ComPortCheck out{std::string(text), 0};
    if (*number >= 0 && *number <= 255) {
        out.port = static_cast<std::uint8_t>(*number);
    }
    return out;
}

std::optional<std::uint8_t> coupledSpeed(std::string_view cwSpeedWpm) {
    const auto value = parseNumber(cwSpeedWpm);
    if (!value || !(*value > 4.0) || !(*value < 100.0)) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(roundHalfEven(*value));
}

} // namespace corvane::cw
