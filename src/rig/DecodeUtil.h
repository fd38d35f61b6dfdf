#pragma once
// Helpers the decoders share: positions, numbers and the float the link keeps.

#include <optional>
#include <string>
#include <string_view>

namespace corvane::rig::detail {

// Like a 1-based Mid$: the characters that exist from pos (0-based) on, at most count.
inline std::string_view mid(std::string_view text, std::size_t pos, std::size_t count) {
    if (pos >= text.size()) {
        return {};
    }
    return text.substr(pos, count);
}

// A decimal text read as a number (blanks around it allowed); nullopt when it is not one.
std::optional<double> decimalValue(std::string_view text);
// Hex digits read as one hexadecimal number; nullopt when empty or not hexadecimal.
std::optional<double> hexValue(std::string_view digits);
// value / divisor, rounded to 5 decimals when asked, as the float the link keeps; nullopt for
// a negative, non-finite or out-of-range result, so garbage never becomes a frequency.
std::optional<float> toMHz(double value, double divisor, bool roundTo5Decimals);

} // namespace corvane::rig::detail
