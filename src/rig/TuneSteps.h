#pragma once
// The numbers of the tune panel: its band buttons, its step buttons and scan steps, what its
// frequency boxes accept, and the text a tuned frequency is written back into the box as.

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace corvane::rig {

struct TuneBand {
    std::string_view caption; // "160" ... "23"
    double frequencyMHz;      // what the button puts in the frequency box
};
// The sixteen band buttons in index order.
std::span<const TuneBand> tuneBands();

struct TuneStep {
    std::string_view caption; // "10 Hz", "1 MHz" ...
    double stepMHz;
};
// The step buttons by pair: index 2k steps up and 2k+1 down by tuneSteps()[k].
std::span<const TuneStep> tuneSteps();
// The scan steps in option order ("500 Hz", "100 Hz", "30 Hz", "10 Hz", "2.5 KHz").
std::span<const TuneStep> scanSteps();
inline constexpr int kDefaultScanStep = 3; // "10 Hz"
inline constexpr int kScanIntervalMs = 299;

// Keys the frequency, "From:" and "To:" boxes take: backspace (8) and codes 46 to 57 (point,
// slash and digits).
bool tuneKeyAccepted(int code);

// A box's text as a number: digits with at most one point ("2.", ".5" and "14" count), blanks
// around allowed. Anything else (a slash, two points, nothing) is not a number.
std::optional<double> tuneNumber(std::string_view text);

// A value as the shortest decimal text that reads back as the same double (at most 15
// significant digits): 1.9 -> "1.9", 1.9 + 0.00001 -> "1.90001", 52 -> "52".
std::string shortestDecimal(double value);

// The box after a step button: its value plus (even index) or minus (odd index) the step.
// Nothing when the box is not a number or the index is out of range.
std::optional<std::string> steppedText(std::string_view box, int buttonIndex);

// One scan tick: f plus the step as a single-precision frequency, back to `from` past `to`.
float scanNext(float frequencyMHz, double stepMHz, float fromMHz, float toMHz);
// The scan's box text, five decimals at most without trailing zeros, no digit before the point
// below 1 and the point kept after a whole number ("1.80001", ".5", "2.").
std::string scanText(float frequencyMHz);

} // namespace corvane::rig
