#pragma once
// The Morse table and the element plan of one character.
//
// An element string holds one character per unit of time: '1' = key down for one unit,
// '0' = key up for one unit. A dot is "1", a dash "111", the gap inside a character "0",
// and every letter, digit and mark ends in "000", the gap between characters.

#include <string>
#include <string_view>

namespace corvane::cw {

// The element string of a character, looked up by its upper-case form; empty for a
// character without a row (it sends nothing and takes no time). '!' has no elements.
std::string_view morseElements(char character);

// The word-space adjustment as typed in the "Word Space" field: a number of units,
// fractions rounded half to even, never below -8; text that is not a number is 0.
int parseWordSpaceAdjust(std::string_view text);
inline constexpr int kMinWordSpaceAdjust = -8;

// The units one character keys: its element string, with the space lengthened by a
// positive adjustment or cut to 8 + adjustment units by a negative one.
std::string elementPlan(char character, int wordSpaceAdjust);

// Number of units of a plan (the time a character takes, in units).
inline std::size_t planUnits(std::string_view plan) {
    return plan.size();
}

} // namespace corvane::cw
