#pragma once
// Small text helpers shared by the export writers.

#include <string>
#include <string_view>

namespace corvane::exchange::detail {

inline std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && s.front() == ' ') {
        s.remove_prefix(1);
    }
    while (!s.empty() && s.back() == ' ') {
        s.remove_suffix(1);
    }
    return s;
}

inline std::string_view trimTrailingBlanks(std::string_view s) {
    while (!s.empty() && s.back() == ' ') {
        s.remove_suffix(1);
    }
    return s;
}

// The main window title as the export headers quote it: its first 50 characters, trimmed.
inline std::string_view titleForHeader(std::string_view title) {
    return trimBlanks(title.substr(0, 50));
}

inline constexpr std::string_view kCrLf = "\r\n";

} // namespace corvane::exchange::detail
