#pragma once
// A colour as the windows show it.

#include <cstdint>

namespace corvane {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    friend bool operator==(const Rgb&, const Rgb&) = default;
};

} // namespace corvane
