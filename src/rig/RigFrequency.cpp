#include "rig/RigFrequency.h"

#include <cmath>
#include <cstdio>

namespace corvane::rig {

namespace {

// Fixed decimals with no digit before the point below 1 (".500").
std::string fixed(float frequencyMHz, int decimals) {
    const double value = static_cast<double>(frequencyMHz);
    if (!std::isfinite(value)) {
        return {};
    }
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    std::string text = buffer;
    if (text.rfind("0.", 0) == 0) {
        text.erase(0, 1);
    } else if (text.rfind("-0.", 0) == 0) {
        text.erase(1, 1);
    }
    return text;
}

struct ModeRange {
    double lowerMHz;
    double upperMHz;
    const char* mode;
};

constexpr ModeRange kModeRanges[] = {
    {3.5, 3.6, "CW"},    {3.6, 4, "PH"},       {7, 7.125, "CW"},      {7.125, 7.3, "PH"},    {10.1, 10.15, "CW"},
    {14, 14.15, "CW"},   {14.15, 14.35, "PH"}, {18.068, 18.11, "CW"}, {18.11, 18.168, "PH"}, {21, 21.2, "CW"},
    {21.2, 21.45, "PH"}, {24.89, 24.93, "CW"}, {24.93, 24.99, "PH"},  {28, 28.3, "CW"},      {28.3, 29.7, "PH"},
    {50, 50.1, "CW"},    {50.1, 54, "PH"},     {144, 144.1, "CW"},    {144.1, 148, "PH"},
};

} // namespace

std::string rigFrequencyText(float frequencyMHz) {
    return fixed(frequencyMHz, 3);
}

std::string frequencyDisplayText(float frequencyMHz) {
    return fixed(frequencyMHz, 5);
}

std::string modeByFrequency(float frequencyMHz, std::string_view decodedMode) {
    // The edges are compared as the single-precision frequency the radio gave.
    for (const auto& range : kModeRanges) {
        if (frequencyMHz > static_cast<float>(range.lowerMHz) && frequencyMHz < static_cast<float>(range.upperMHz)) {
            return range.mode;
        }
    }
    return std::string(decodedMode);
}

} // namespace corvane::rig
