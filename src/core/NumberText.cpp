#include "core/NumberText.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace corvane {

std::optional<double> parseNumber(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t')) {
        ++begin;
    }
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t')) {
        --end;
    }
    if (begin == end) {
        return std::nullopt;
    }
    // Build a plain form without grouping commas, then convert it without the locale.
    std::string clean;
    clean.reserve(end - begin);
    std::size_t i = begin;
    bool negative = false;
    if (text[i] == '+' || text[i] == '-') {
        negative = text[i] == '-';
        ++i;
    }
    bool digits = false;
    bool point = false;
    for (; i < end; ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            clean.push_back(c);
            digits = true;
        } else if (c == ',' && !point && digits) {
            continue;
        } else if (c == '.' && !point) {
            clean.push_back('.');
            point = true;
        } else {
            break;
        }
    }
    if (!digits) {
        return std::nullopt;
    }
    if (i < end && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < end && (text[j] == '+' || text[j] == '-')) {
            exponent.push_back(text[j]);
            ++j;
        }
        bool expDigits = false;
        while (j < end && text[j] >= '0' && text[j] <= '9') {
            exponent.push_back(text[j]);
            expDigits = true;
            ++j;
        }
        if (!expDigits) {
            return std::nullopt;
        }
        clean += exponent;
        i = j;
    }
    if (i != end) {
        return std::nullopt;
    }
    double value = 0.0;
    const auto result = std::from_chars(clean.data(), clean.data() + clean.size(), value);
    if (result.ec != std::errc() || result.ptr != clean.data() + clean.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

namespace {

std::string formatSignificant(double value, int significant) {
    if (!std::isfinite(value)) {
        return "0";
    }
    if (value == 0.0) {
        return "0";
    }
    // Round to the requested significant digits, then print without an exponent.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*e", significant - 1, value);
    double rounded = 0.0;
    std::from_chars(buffer, buffer + std::char_traits<char>::length(buffer), rounded);
    const int magnitude = static_cast<int>(std::floor(std::log10(std::fabs(rounded))));
    const int decimals = std::max(0, significant - 1 - magnitude);
    auto res = std::to_chars(buffer, buffer + sizeof buffer, rounded, std::chars_format::fixed, decimals);
    std::string out(buffer, res.ptr);
    if (out.find('.') != std::string::npos) {
        while (!out.empty() && out.back() == '0') {
            out.pop_back();
        }
        if (!out.empty() && out.back() == '.') {
            out.pop_back();
        }
    }
    if (out == "-0") {
        out = "0";
    }
    return out;
}

} // namespace

std::string formatSingle(double value) {
    return formatSignificant(static_cast<float>(value), 7);
}

std::string formatDouble(double value) {
    return formatSignificant(value, 15);
}

long long roundHalfEven(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    const double rounded = std::nearbyint(value);
    // 2^63 is a double exactly; every whole double below it in size fits a long long.
    constexpr double kLimit = 9223372036854775808.0;
    if (rounded >= kLimit) {
        return std::numeric_limits<long long>::max();
    }
    if (rounded < -kLimit) {
        return std::numeric_limits<long long>::min();
    }
    return static_cast<long long>(rounded);
}

std::string formatGroupedWhole(double value) {
    const long long whole = roundHalfEven(value);
    if (whole == 0) {
        return "";
    }
    const bool negative = whole < 0;
    std::string digits = std::to_string(negative ? -whole : whole);
    std::string out;
    const int n = static_cast<int>(digits.size());
    for (int k = 0; k < n; ++k) {
        out.push_back(digits[k]);
        const int remaining = n - 1 - k;
        if (remaining > 0 && remaining % 3 == 0) {
            out.push_back(',');
        }
    }
    return negative ? "-" + out : out;
}

} // namespace corvane
