#include "voice/VoiceSettings.h"

#include "core/NumberText.h"
#include "core/QuotedFields.h"

namespace corvane {

namespace {

std::string trimmed(std::string_view s) {
    while (!s.empty() && s.front() == ' ') {
        s.remove_prefix(1);
    }
    while (!s.empty() && s.back() == ' ') {
        s.remove_suffix(1);
    }
    return std::string(s);
}

} // namespace

long long VoiceSettings::repeatIntervalMs() const {
    const auto seconds = parseNumber(loopSeconds);
    return seconds ? roundHalfEven(*seconds * 1000.0) : 0;
}

std::optional<VoiceSettings> parseVoiceSettings(std::string_view bytes, int* faultLine) {
    VoiceSettings s;
    ItemReader r(bytes);
    const auto fail = [&]() -> std::optional<VoiceSettings> {
        if (faultLine != nullptr) {
            *faultLine = r.line();
        }
        return std::nullopt;
    };
    for (auto& path : s.recordingPaths) {
        auto v = r.text();
        if (!v) {
            return fail();
        }
        path = trimmed(*v);
    }
    auto port = r.text();
    if (!port) {
        return fail();
    }
    s.pttPort = *port;
    auto line = r.text();
    if (!line) {
        return fail();
    }
    if (!trimmed(*line).empty()) {
        auto value = parseNumber(*line);
        if (!value || (*value != 0 && *value != 1 && *value != 2)) {
            return fail();
        }
        s.pttLine = static_cast<PttLine>(static_cast<int>(*value));
    }
    auto loop = r.text();
    auto address = r.text();
    if (!loop || !address) {
        return fail();
    }
    s.loopSeconds = *loop;
    s.parallelAddress = *address;
    return s;
}

std::string formatVoiceSettings(const VoiceSettings& s) {
    ItemWriter w;
    for (const auto& path : s.recordingPaths) {
        w.text(trimmed(path));
    }
    w.text(s.pttPort);
    std::string out = w.bytes();
    if (s.pttLine) {
        out += std::to_string(static_cast<int>(*s.pttLine));
    }
    out += kLineEnd;
    ItemWriter tail;
    tail.text(s.loopSeconds).text(s.parallelAddress);
    return out + tail.bytes();
}

} // namespace corvane
