#pragma once
// Wave files made by the tests: a 44-byte PCM header and a tone.

#include <cmath>
#include <cstdint>
#include <string>

namespace corvane::test {

inline void putLe(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

// A PCM wave file of `dataBytes` bytes of a 440 Hz tone.
inline std::string waveBytes(std::uint32_t rate, int channels, int bits, std::uint32_t dataBytes) {
    std::string out = "RIFF";
    putLe(out, 36 + dataBytes, 4);
    out += "WAVEfmt ";
    putLe(out, 16, 4);
    putLe(out, 1, 2);
    putLe(out, static_cast<std::uint32_t>(channels), 2);
    putLe(out, rate, 4);
    const int align = channels * bits / 8;
    putLe(out, rate * static_cast<std::uint32_t>(align), 4);
    putLe(out, static_cast<std::uint32_t>(align), 2);
    putLe(out, static_cast<std::uint32_t>(bits), 2);
    out += "data";
    putLe(out, dataBytes, 4);
    for (std::uint32_t i = 0; i < dataBytes; ++i) {
        const double s = std::sin(2 * M_PI * 440.0 * (i / static_cast<double>(align)) / rate);
        out.push_back(static_cast<char>(bits == 8 ? 128 + static_cast<int>(60 * s) : (i % 2 ? 20 * s : 0)));
    }
    return out;
}

} // namespace corvane::test
