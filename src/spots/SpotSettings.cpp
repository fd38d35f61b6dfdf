#include "spots/SpotSettings.h"

#include "core/QuotedFields.h"

#include <array>
#include <utility>

namespace corvane::spots {

namespace {

std::string withoutQuotes(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c != '"') {
            out += c;
        }
    }
    return out;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

} // namespace

std::string_view spotSourceName(SpotSource source) {
    switch (source) {
    case SpotSource::None:
        return kSourceNone;
    case SpotSource::Tnc:
        return kSourceTnc;
    case SpotSource::Telnet:
        return kSourceTelnet;
    case SpotSource::Agw:
        return kSourceAgw;
    case SpotSource::Unset:
        break;
    }
    return {};
}

SpotSource spotSourceNamed(std::string_view name) {
    for (SpotSource source : kSourceChoices) {
        if (name == spotSourceName(source)) {
            return source;
        }
    }
    return SpotSource::Unset;
}

void applyTncDefaults(SpotSettings& settings) {
    settings.baud = "9600";
    settings.parity = "N";
    settings.dataBits = "8";
    settings.stopBits = "1";
    settings.handshaking = 3;
    settings.commandChar = "03";
}

std::string formatSpotSettings(const SpotSettings& s) {
    ItemWriter w;
    w.text(withoutQuotes(s.baud))
        .text(withoutQuotes(s.parity))
        .text(withoutQuotes(s.dataBits))
        .text(withoutQuotes(s.stopBits))
        .whole(s.port)
        .text(withoutQuotes(s.power))
        .text(withoutQuotes(s.source))
        .whole(s.convertToHex)
        .whole(s.handshaking)
        .whole(s.dxOnly)
        .boolean(s.listMode)
        .text(withoutQuotes(s.commandChar))
        .text(withoutQuotes(s.telnetPort))
        .text(withoutQuotes(s.telnetHost));
    return w.bytes();
}

std::optional<SpotSettings> parseSpotSettings(std::string_view bytes) {
    ItemReader r(bytes);
    SpotSettings s;
    auto text = [&r](std::string& out) {
        auto value = r.text();
        if (value) {
            out = std::move(*value);
        }
        return value.has_value();
    };
    auto whole = [&r](int& out, long long min, long long max) {
        auto value = r.whole(min, max);
        if (value) {
            out = static_cast<int>(*value);
        }
        return value.has_value();
    };
    bool ok = text(s.baud) && text(s.parity) && text(s.dataBits) && text(s.stopBits) && whole(s.port, 1, 10) &&
              text(s.power) && text(s.source) && whole(s.convertToHex, 0, 1) && whole(s.handshaking, 1, 4) &&
              whole(s.dxOnly, 0, 1);
    if (ok) {
        const auto list = r.boolean();
        ok = list.has_value();
        s.listMode = list.value_or(false);
    }
    ok = ok && text(s.commandChar) && text(s.telnetPort) && text(s.telnetHost);
    if (!ok) {
        return std::nullopt;
    }
    return s;
}

std::string serialSettingsString(const SpotSettings& s) {
    std::string_view baud = s.baud;
    while (!baud.empty() && baud.back() == ' ') {
        baud.remove_suffix(1);
    }
    return std::string(baud) + "," + s.parity + "," + s.dataBits + "," + s.stopBits;
}

std::optional<char> commandModeCharacter(std::string_view hexField) {
    while (!hexField.empty() && hexField.front() == ' ') {
        hexField.remove_prefix(1);
    }
    while (!hexField.empty() && hexField.back() == ' ') {
        hexField.remove_suffix(1);
    }
    if (hexField.empty() || hexField.size() > 8) {
        return std::nullopt;
    }
    unsigned value = 0;
    for (char c : hexField) {
        const int digit = hexDigit(c);
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * 16 + static_cast<unsigned>(digit);
    }
    if (value > 255) {
        return std::nullopt;
    }
    return static_cast<char>(value);
}

std::string socketErrorMessage(int number) {
    static constexpr std::array<std::pair<int, const char*>, 30> kMessages{{
        {7, "ERROR: Out of memory."},
        {380, "ERROR: The property value is invalid."},
        {383, "ERROR: The property is read-only."},
        {394, "ERROR: The property can't be read."},
        {1004, "ERROR: The operation was canceled."},
        {10014, "ERROR: The requested address is a broadcast address, but flag is not set."},
        {10035, "ERROR: Socket is non-blocking and the specified operation will block."},
        {10036, "ERROR: A blocking Winsock operation in progress."},
        {10037, "ERROR: The operation is completed. No blocking operation in progress"},
        {10038, "ERROR: The descriptor is not a socket."},
        {10040, "ERROR: The datagram is too large to fit into the buffer and is truncated."},
        {10043, "ERROR: The specified port is not supported."},
        {10048, "ERROR: Address in use."},
        {10049, "ERROR: Address not available from the local machine."},
        {10050, "ERROR: Network subsystem failed."},
        {10051, "ERROR: The network cannot be reached from this host at this time."},
        {10052, "ERROR: Connection has timed out when SO_KEEPALIVE is set."},
        {10053, "ERROR: Connection is aborted due to timeout or other failure."},
        {10054, "ERROR: The connection is reset by remote side.!"},
        {10055, "ERROR: No buffer space is available."},
        {10056, "ERROR: Socket is already connected."},
        {10057, "ERROR: Socket is not connected."},
        {10058, "ERROR: Socket has been shut down."},
        {10060, "ERROR: Socket has been shut down."},
        {10061, "ERROR: Connection is forcefully rejected."},
        {10093, "ERROR: WinsockInit should be called first."},
        {11001, "ERROR: Authoritative answer: Host not found."},
        {11002, "ERROR: Non-Authoritative answer: Host not found."},
        {11003, "ERROR: Non-recoverable errors."},
        {11004, "ERROR: Valid name, no data record of requested type."},
    }};
    for (const auto& [code, text] : kMessages) {
        if (code == number) {
            return text;
        }
    }
    return "Error number " + std::to_string(number);
}

} // namespace corvane::spots
