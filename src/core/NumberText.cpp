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
    if (!std::isfinite(value) || value == 0.0) {
        return "0";
    }
    // The digits rounded to `significant` places, "d.dddddde+XX", then written out without
    // the exponent: zeros fill up to the point of a large number or after the point of a
    // small one.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*e", significant - 1, value);
    std::string scientific(buffer);
    double check = 0.0;
    if (std::from_chars(scientific.data(), scientific.data() + scientific.size(), check).ec != std::errc()) {
        // Rounded up beyond the largest double (1.79769313486232e+308): cut the digits
        // instead, so that what is written can be read back.
        std::snprintf(buffer, sizeof buffer, "%.*e", significant + 2, value);
        const std::string full(buffer);
        const std::size_t keep = static_cast<std::size_t>(significant) + (full.front() == '-' ? 2 : 1);
        scientific = full.substr(0, keep) + full.substr(full.find('e'));
    }
    std::string_view text(scientific);
    const bool negative = text.front() == '-';
    if (negative) {
        text.remove_prefix(1);
    }
    const std::size_t mark = text.find('e');
    std::string digits;
    for (const char c : text.substr(0, mark)) {
        if (c != '.') {
            digits.push_back(c);
        }
    }
    int exponent = 0;
    const std::string_view exponentText = text.substr(mark + 1);
    std::from_chars(exponentText.data() + (exponentText.front() == '+' ? 1 : 0),
                    exponentText.data() + exponentText.size(), exponent);
    std::string out;
    if (exponent < 0) {
        out = "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    } else if (static_cast<std::size_t>(exponent) + 1 >= digits.size()) {
        out = digits + std::string(static_cast<std::size_t>(exponent) + 1 - digits.size(), '0');
    } else {
        out = digits.substr(0, static_cast<std::size_t>(exponent) + 1) + "." +
              digits.substr(static_cast<std::size_t>(exponent) + 1);
    }
    if (out.find('.') != std::string::npos) {
        while (out.back() == '0') {
            out.pop_back();
        }
        if (out.back() == '.') {
            out.pop_back();
        }
    }
    if (negative) {
        out.insert(out.begin(), '-');
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
    if (!std::isfinite(value)) {
        return "";
    }
    const double rounded = std::nearbyint(value);
    if (rounded == 0.0) {
        return "";
    }
    const bool negative = rounded < 0.0;
    // Whole numbers beyond the range of long long are written with their 15 digits.
    std::string digits = std::fabs(rounded) < 1e18 ? std::to_string(static_cast<long long>(std::fabs(rounded)))
                                                   : formatDouble(std::fabs(rounded));
    std::string out;
    const int n = static_cast<int>(digits.size());
    for (int k = 0; k < n; ++k) {
        out.push_back(digits[k]);
        const int remaining = n - 1 - k;
        if (remaining > 0 && remaining % 3 == 0) {
            out.push_back(',');
        }
    }
    if (negative) {
        out.insert(out.begin(), '-');
    }
    return out;
}

} // namespace corvane
