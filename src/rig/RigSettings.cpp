#include "rig/RigSettings.h"

#include "core/QuotedFields.h"

#include <algorithm>
#include <array>

namespace corvane::rig {

namespace {

constexpr std::array<std::string_view, 9> kBauds = {"1200",  "2400",  "4800",  "9600", "14400",
                                                    "19200", "28800", "38400", "56000"};

std::string trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

std::string withoutQuotes(std::string_view text) {
    std::string out(text);
    out.erase(std::remove(out.begin(), out.end(), '"'), out.end());
    return out;
}

// A one-letter item that must be one of `allowed`.
bool letter(ItemReader& reader, std::string_view allowed, char& out) {
    const auto value = reader.text();
    if (!value || value->size() != 1 || allowed.find((*value)[0]) == std::string_view::npos) {
        return false;
    }
    out = (*value)[0];
    return true;
}

int readItems(ItemReader& reader, RigLinkSettings& s, bool& modelRead) {
    int count = 0;
    const auto step = [&](bool ok) {
        if (ok) {
            ++count;
        }
        return ok;
    };
    const auto baud = reader.text();
    if (!baud) {
        return count;
    }
    const std::string baudText = trimmed(*baud);
    if (!step(std::find(kBauds.begin(), kBauds.end(), baudText) != kBauds.end())) {
        return count;
    }
    s.baud = baudText;
    if (!step(letter(reader, "ONE", s.parity)) || !step(letter(reader, "78", s.dataBits)) ||
        !step(letter(reader, "12", s.stopBits))) {
        return count;
    }
    auto mode = reader.text();
    if (!step(mode.has_value())) {
        return count;
    }
    s.modeCommand = std::move(*mode);
    auto frequency = reader.text();
    if (!step(frequency.has_value())) {
        return count;
    }
    s.frequencyCommand = std::move(*frequency);
    // The settings string is rebuilt from the fields; its stored copy is only checked for presence.
    if (!step(reader.text().has_value())) {
        return count;
    }
    const auto port = reader.whole(1, 10);
    if (!step(port.has_value())) {
        return count;
    }
    s.port = static_cast<int>(*port);
    char power = 'N';
    if (!step(letter(reader, "NRD", power))) {
        return count;
    }
    s.power = static_cast<PowerLine>(power);
    char rate = 'M';
    if (!step(letter(reader, "FMSR", rate))) {
        return count;
    }
    s.pollRate = static_cast<PollRate>(rate);
    auto model = reader.text();
    if (!step(model.has_value())) {
        return count;
    }
    s.model = std::move(*model);
    modelRead = true;
    const auto hex = reader.whole(0, 1);
    if (!step(hex.has_value())) {
        return count;
    }
    s.convertToHex = *hex == 1;
    const auto use = reader.whole(0, 1);
    if (!step(use.has_value())) {
        return count;
    }
    s.useFrequency = *use == 1;
    const auto source = reader.whole(1, 3);
    if (!step(source.has_value())) {
        return count;
    }
    s.modeSource = static_cast<ModeSource>(*source);
    auto host = reader.text();
    if (!host || trimmed(*host).empty() || trimmed(*host).size() > kMaxRigctldHostLength) {
        return count;
    }
    s.rigctldHost = trimmed(*host);
    ++count;
    const auto tcpPort = reader.whole(1, 65535);
    if (!step(tcpPort.has_value())) {
        return count;
    }
    s.rigctldPort = static_cast<int>(*tcpPort);
    return count;
}

} // namespace

int pollIntervalMs(PollRate rate) {
    switch (rate) {
    case PollRate::Fast:
        return 50;
    case PollRate::Medium:
        return 250;
    case PollRate::Slow:
        return 1000;
    case PollRate::Rare:
        return 5000;
    }
    return 250;
}

std::optional<int> parseRigctldPort(std::string_view text) {
    const std::string digits = trimmed(text);
    if (digits.empty() || digits.size() > 5 || digits.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    const int port = std::stoi(digits);
    if (port < 1 || port > 65535) {
        return std::nullopt;
    }
    return port;
}

std::string RigLinkSettings::settingsString() const {
    return trimmed(baud) + ',' + parity + ',' + dataBits + ',' + stopBits;
}

RigSettingsReadResult parseRigSettings(std::string_view bytes, const RigLinkSettings& defaults) {
    RigSettingsReadResult result;
    result.settings = defaults;
    ItemReader reader(bytes);
    result.itemsRead = readItems(reader, result.settings, result.modelRead);
    return result;
}

std::string formatRigSettings(const RigLinkSettings& s) {
    std::string baud = trimmed(withoutQuotes(s.baud));
    if (baud.size() < 5) {
        baud.append(5 - baud.size(), ' ');
    }
    ItemWriter out;
    out.text(baud);
    out.text(std::string(1, s.parity));
    out.text(std::string(1, s.dataBits));
    out.text(std::string(1, s.stopBits));
    out.text(withoutQuotes(s.modeCommand));
    out.text(withoutQuotes(s.frequencyCommand));
    out.text(withoutQuotes(s.settingsString()));
    out.whole(s.port);
    out.text(std::string(1, static_cast<char>(s.power)));
    out.text(std::string(1, static_cast<char>(s.pollRate)));
    out.text(withoutQuotes(s.model));
    out.whole(s.convertToHex ? 1 : 0);
    out.whole(s.useFrequency ? 1 : 0);
    out.whole(static_cast<int>(s.modeSource));
    out.text(withoutQuotes(s.rigctldHost));
    out.whole(s.rigctldPort);
    return out.bytes();
}

} // namespace corvane::rig
