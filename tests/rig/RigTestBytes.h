#pragma once
// Byte strings for the rig tests: "FE FE 64" -> three bytes.

#include <string>
#include <string_view>

namespace corvane::rig::test {

inline std::string bytes(std::string_view hex) {
    std::string out;
    int value = 0;
    int digits = 0;
    for (const char c : hex) {
        if (c == ' ') {
            continue;
        }
        const int d = (c >= '0' && c <= '9') ? c - '0' : (c >= 'A' && c <= 'F') ? c - 'A' + 10 : c - 'a' + 10;
        value = value * 16 + d;
        if (++digits == 2) {
            out.push_back(static_cast<char>(value));
            value = 0;
            digits = 0;
        }
    }
    return out;
}

} // namespace corvane::rig::test
