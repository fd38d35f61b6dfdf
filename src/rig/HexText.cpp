#include "rig/HexText.h"

namespace corvane::rig {

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

constexpr char kDigits[] = "0123456789ABCDEF";

} // namespace

std::optional<std::string> hexTextToBytes(std::string_view text, std::size_t maxBytes) {
    // Blanks after the last group are not a group.
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    std::string out;
    for (std::size_t pos = 0; pos < text.size() && out.size() < maxBytes; pos += 3) {
        const std::string_view group = text.substr(pos, 2);
        int value = 0;
        for (const char c : group) {
            const int digit = hexValue(c);
            if (digit < 0) {
                return std::nullopt;
            }
            value = value * 16 + digit;
        }
        out.push_back(static_cast<char>(value));
    }
    return out;
}

std::string hexDigits(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out.push_back(kDigits[b >> 4]);
        out.push_back(kDigits[b & 0x0F]);
    }
    return out;
}

std::string hexDump(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 3);
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out.push_back(kDigits[b >> 4]);
        out.push_back(kDigits[b & 0x0F]);
        out.push_back(' ');
    }
    return out;
}

} // namespace corvane::rig
