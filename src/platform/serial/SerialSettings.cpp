#include "platform/serial/SerialSettings.h"

#include "core/SettingsStore.h"

#include <charconv>
#include <vector>

namespace corvane {

namespace {

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) {
        s.remove_suffix(1);
    }
    return s;
}

std::optional<int> wholeNumber(std::string_view s) {
    int value = 0;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), value);
    if (s.empty() || r.ec != std::errc() || r.ptr != s.data() + s.size()) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<SerialLineSettings> parseSerialSettings(std::string_view text) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (;;) {
        const auto comma = text.find(',', start);
        parts.push_back(trim(text.substr(start, comma == std::string_view::npos ? text.npos : comma - start)));
        if (comma == std::string_view::npos) {
            break;
        }
        start = comma + 1;
    }
    if (parts.size() != 4) {
        return std::nullopt;
    }
    SerialLineSettings s;
    const auto baud = wholeNumber(parts[0]);
    if (!baud || *baud <= 0) {
        return std::nullopt;
    }
    s.baud = *baud;
    if (parts[1].size() != 1) {
        return std::nullopt;
    }
    const char parity = static_cast<char>(parts[1][0] & ~0x20);
    if (std::string_view("NOEMS").find(parity) == std::string_view::npos) {
        return std::nullopt;
    }
    s.parity = parity;
    const auto bits = wholeNumber(parts[2]);
    if (!bits || *bits < 5 || *bits > 8) {
        return std::nullopt;
    }
    s.dataBits = *bits;
    if (parts[3] == "1") {
        s.stopBitsTimesTwo = 2;
    } else if (parts[3] == "1.5") {
        s.stopBitsTimesTwo = 3;
    } else if (parts[3] == "2") {
        s.stopBitsTimesTwo = 4;
    } else {
        return std::nullopt;
    }
    return s;
}

std::string formatSerialSettings(const SerialLineSettings& s) {
    const char* stop = s.stopBitsTimesTwo == 3 ? "1.5" : (s.stopBitsTimesTwo == 4 ? "2" : "1");
    return std::to_string(s.baud) + "," + s.parity + "," + std::to_string(s.dataBits) + "," + stop;
}

std::string defaultSerialDevice(int port) {
    if (port < 1) {
        return {};
    }
    return "/dev/ttyUSB" + std::to_string(port - 1);
}

std::string serialDeviceKey(int port) {
    return "SerialPortDevice" + std::to_string(port);
}

std::string serialDevicePath(int port, const SettingsStore* store) {
    if (port < 1) {
        return {};
    }
    if (store != nullptr) {
        std::string chosen = store->get(serialDeviceKey(port));
        if (!chosen.empty()) {
            return chosen;
        }
    }
    return defaultSerialDevice(port);
}

} // namespace corvane
