#include "rig/TuneSteps.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace corvane::rig {

namespace {

constexpr std::array<TuneBand, 16> kBands = {{{"160", 1.9},
                                              {"80", 3.75},
                                              {"60", 5.368},
                                              {"40", 7.15},
                                              {"30", 10.13},
                                              {"20", 14.175},
                                              {"17", 18.118},
                                              {"15", 21.225},
                                              {"12", 24.94},
                                              {"10", 28.5},
                                              {"6", 52},
                                              {"2", 146},
                                              {"1.25", 223.5},
                                              {"70", 435},
                                              {"33", 915},
                                              {"23", 1270}}};

constexpr std::array<TuneStep, 5> kSteps = {
    {{"10 Hz", 0.00001}, {"1 MHz", 1}, {"5 KHz", 0.005}, {"1 KHz", 0.001}, {"100 Hz", 0.0001}}};

constexpr std::array<TuneStep, 5> kScanSteps = {
    {{"500 Hz", 0.0005}, {"100 Hz", 0.0001}, {"30 Hz", 0.00003}, {"10 Hz", 0.00001}, {"2.5 KHz", 0.0025}}};

} // namespace

std::span<const TuneBand> tuneBands() {
    return kBands;
}

std::span<const TuneStep> tuneSteps() {
    return kSteps;
}

std::span<const TuneStep> scanSteps() {
    return kScanSteps;
}

bool tuneKeyAccepted(int code) {
    return code == 8 || (code >= 46 && code <= 57);
}

std::optional<double> tuneNumber(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    int digits = 0;
    int points = 0;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            ++digits;
        } else if (c == '.') {
            ++points;
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0 || points > 1 || text.size() > 30) {
        return std::nullopt;
    }
    const std::string copy(text);
    return std::strtod(copy.c_str(), nullptr);
}

std::string shortestDecimal(double value) {
    char text[64];
    for (int precision = 1; precision <= 15; ++precision) {
        std::snprintf(text, sizeof text, "%.*g", precision, value);
        if (std::strtod(text, nullptr) == value) {
            break;
        }
    }
    std::string result = text;
    if (result.find('e') != std::string::npos) {
        std::snprintf(text, sizeof text, "%.6f", value);
        result = text;
        while (result.back() == '0') {
            result.pop_back();
        }
        if (result.back() == '.') {
            result.pop_back();
        }
    }
    return result;
}

std::optional<std::string> steppedText(std::string_view box, int buttonIndex) {
    const auto value = tuneNumber(box);
    if (!value || buttonIndex < 0 || buttonIndex >= static_cast<int>(kSteps.size() * 2)) {
        return std::nullopt;
    }
    const double step = kSteps[static_cast<std::size_t>(buttonIndex / 2)].stepMHz;
    // The sum rounded to 15 significant digits, as the box would show it: 1.9 + 0.00001 is
    // "1.90001", not the binary neighbour of it.
    char text[64];
    std::snprintf(text, sizeof text, "%.15g", buttonIndex % 2 == 0 ? *value + step : *value - step);
    return shortestDecimal(std::strtod(text, nullptr));
}

float scanNext(float frequencyMHz, double stepMHz, float fromMHz, float toMHz) {
    auto next = static_cast<float>(static_cast<double>(frequencyMHz) + stepMHz);
    if (next > toMHz) {
        next = fromMHz;
    }
    return next;
}

std::string scanText(float frequencyMHz) {
    char text[64];
    std::snprintf(text, sizeof text, "%.5f", static_cast<double>(frequencyMHz));
    std::string result = text;
    while (!result.empty() && result.back() == '0') {
        result.pop_back();
    }
    if (result.starts_with("0.")) {
        result.erase(0, 1);
    } else if (result.starts_with("-0.")) {
        result.erase(1, 1);
    }
    return result;
}

} // namespace corvane::rig
