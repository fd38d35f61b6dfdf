#pragma once
// Number texts as the log and settings files hold them: "." is always the decimal
// separator and "," may group thousands ("1,234" is the number 1234), whatever the
// locale of the machine.

#include <optional>
#include <string>
#include <string_view>

namespace corvane {

// Parses a number text: blanks around it, an optional sign, digits that may be grouped
// by ",", an optional fraction after ".", an optional exponent. Empty text is not a number.
std::optional<double> parseNumber(std::string_view text);

inline bool isNumeric(std::string_view text) {
    return parseNumber(text).has_value();
}

// Writes a number bare, with "." and no leading blank, to the precision of a single
// (7 significant digits) or of a double (15 significant digits). No exponent is used.
std::string formatSingle(double value);
std::string formatDouble(double value);

// Rounds to a whole number with halves to even, as the settings rounding does. A value
// beyond the range of long long gives the nearest end of that range, NaN gives 0: callers
// that read numbers from files check the range they accept (see ItemReader::whole).
long long roundHalfEven(double value);

// Whole number with thousands grouped by "," ("##,###"); empty text when the value rounds to 0.
std::string formatGroupedWhole(double value);

} // namespace corvane
