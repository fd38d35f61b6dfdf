#include "rig/Rigctld.h"

#include "rig/DecodeUtil.h"

#include <array>
#include <charconv>

namespace corvane::rig {

namespace {

std::string_view trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\r')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// The program's mode for a Hamlib mode name.
std::string polledMode(std::string_view hamlibMode) {
    if (hamlibMode == "CW" || hamlibMode == "CWR") {
        return "CW";
    }
    if (hamlibMode == "AM" || hamlibMode == "AMS" || hamlibMode == "SAM" || hamlibMode == "AMN") {
        return "AM";
    }
    if (hamlibMode == "FM" || hamlibMode == "WFM" || hamlibMode == "FMN") {
        return "FM";
    }
    return "PH";
}

std::optional<float> hzToMHz(std::string_view text) {
    const auto value = detail::decimalValue(text);
    if (!value) {
        return std::nullopt;
    }
    return detail::toMHz(*value, 1000000.0, true);
}

bool isModeName(std::string_view text) {
    if (text.empty() || text.size() > 16) {
        return false;
    }
    for (const char c : text) {
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-')) {
            return false;
        }
    }
    return text.front() >= 'A' && text.front() <= 'Z';
}

} // namespace

std::string questionRigctld(const RigCommands&, PollState&) {
    return "+f\n+m\n";
}

DecodeResult decodeRigctld(const RigCommands&, const PollState&, std::string_view reply) {
    DecodeResult r;
    bool begun = false;
    bool passbandNext = false; // the plain "m" reply: a mode line, then the passband line
    std::size_t start = 0;
    while (start < reply.size()) {
        const auto end = reply.find('\n', start);
        if (end == std::string_view::npos) {
            begun = true; // a line has begun
            break;
        }
        const std::string_view line = trim(reply.substr(start, end - start));
        start = end + 1;
        if (line.empty()) {
            continue;
        }
        if (passbandNext) {
            passbandNext = false;
            continue;
        }
        if (startsWith(line, "RPRT ")) {
            int code = 0;
            const auto number = line.substr(5);
            const auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), code);
            if (ec == std::errc() && ptr == number.data() + number.size() && code < 0 && r.error.empty()) {
                r.error = rigctldErrorText(code);
            }
            continue;
        }
        if (startsWith(line, "Frequency:")) {
            if (const auto f = hzToMHz(trim(line.substr(10)))) {
                r.frequencyMHz = f;
            }
            continue;
        }
        if (startsWith(line, "Mode:")) {
            const auto mode = trim(line.substr(5));
            if (isModeName(mode) && mode != "None") {
                r.mode = polledMode(mode);
            }
            continue;
        }
        if (line.back() == ':' || line.find(": ") != std::string_view::npos) {
            continue; // the command echo of an extended reply, or a value we do not use
        }
        if (!r.frequencyMHz) {
            if (const auto f = hzToMHz(line)) {
                r.frequencyMHz = f;
                continue;
            }
        }
        if (isModeName(line)) {
            if (line != "None") {
                r.mode = polledMode(line);
            }
            passbandNext = true;
        }
    }
    if (r.frequencyMHz || r.mode) {
        r.status = DecodeStatus::Decoded;
    } else {
        r.status = begun ? DecodeStatus::NeedMore : DecodeStatus::Garbage;
    }
    return r;
}

BuiltCommand frequencyRigctld(const RigCommands&, const PollState&, float frequencyMHz) {
    BuiltCommand built;
    const double hz = static_cast<double>(frequencyMHz) * 1000000.0;
    if (!(hz >= 0 && hz < 1e12)) {
        built.kind = BuiltCommand::Kind::Error;
        built.error = "The frequency cannot be sent to the radio.";
        return built;
    }
    built.kind = BuiltCommand::Kind::Bytes;
    built.command.bytes = "F " + std::to_string(static_cast<long long>(hz + 0.5)) + "\n";
    return built;
}

BuiltCommand modeRigctld(const RigCommands&, std::string_view mode) {
    struct Pair {
        std::string_view ours;
        std::string_view hamlib;
    };
    static constexpr Pair kModes[] = {{"CW", "CW"},    {"LSB", "LSB"},    {"USB", "USB"},   {"AM", "AM"},
                                      {"FM", "FM"},    {"RTTY", "RTTY"},  {"CW-R", "CWR"},  {"RTTY-R", "RTTYR"},
                                      {"FSK", "RTTY"}, {"DIG", "PKTUSB"}, {"PKT", "PKTUSB"}};
    BuiltCommand built;
    for (const auto& pair : kModes) {
        if (pair.ours == mode) {
            built.kind = BuiltCommand::Kind::Bytes;
            built.command.bytes = "M " + std::string(pair.hamlib) + " 0\n";
        }
    }
    return built;
}

std::string rigctldErrorText(int code) {
    static constexpr std::array<std::string_view, 18> kTexts = {
        "Command completed successfully",
        "Invalid parameter",
        "Invalid configuration",
        "Memory shortage",
        "Feature not implemented",
        "Communication timed out",
        "Input/output error",
        "Internal Hamlib error",
        "Protocol error",
        "Command rejected by the radio",
        "Command performed, but argument truncated",
        "Function not available",
        "VFO not targetable",
        "Error talking on the bus",
        "Collision on the bus",
        "Invalid pointer parameter",
        "Invalid VFO",
        "Argument out of domain of function",
    };
    const long long index = code < 0 ? -static_cast<long long>(code) : code;
    const std::string text = index < static_cast<long long>(kTexts.size())
                                 ? std::string(kTexts[static_cast<std::size_t>(index)])
                                 : std::string("Unknown error");
    return "rigctld: " + text + " (RPRT " + std::to_string(code) + ")";
}

} // namespace corvane::rig
