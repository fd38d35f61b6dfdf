#include "cw/MorseTable.h"

#include "core/NumberText.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>

namespace corvane::cw {

namespace {

struct Row {
    char character;
    std::string_view elements;
};

// Prosigns: '[' AR, '\' CL, ']' SK, ';' KN, '=' BT. The hyphen sends BT as well.
constexpr std::array<Row, 48> kTable{{
    {' ', "00000000"},
    {'A', "10111000"},
    {'B', "111010101000"},
    {'C', "11101011101000"},
    {'D', "1110101000"},
    {'E', "1000"},
    {'F', "101011101000"},
    {'G', "111011101000"},
    {'H', "1010101000"},
    {'I', "101000"},
    {'J', "1011101110111000"},
    {'K', "111010111000"},
    {'L', "101110101000"},
    {'M', "1110111000"},
    {'N', "11101000"},
    {'O', "11101110111000"},
    {'P', "10111011101000"},
    {'Q', "1110111010111000"},
    {'R', "1011101000"},
    {'S', "10101000"},
    {'T', "111000"},
    {'U', "1010111000"},
    {'V', "101010111000"},
    {'W', "101110111000"},
    {'X', "11101010111000"},
    {'Y', "1110101110111000"},
    {'Z', "11101110101000"},
    {'0', "1110111011101110111000"},
    {'1', "10111011101110111000"},
    {'2', "101011101110111000"},
    {'3', "1010101110111000"},
    {'4', "10101010111000"},
    {'5', "101010101000"},
    {'6', "11101010101000"},
    {'7', "1110111010101000"},
    {'8', "111011101110101000"},
    {'9', "11101110111011101000"},
    {'.', "10111010111010111000"},
    {',', "1110111010101110111000"},
    {'?', "101011101110101000"},
    {'/', "1110101011101000"},
    {'-', "1110101010111000"},
    {'=', "1110101010111000"},
    {'[', "1011101011101000"},
    {']', "101010111010111000"},
    {';', "111010111011101000"},
    {'\\', "111010111010101110101000"},
    {'!', ""},
}};

} // namespace

std::string_view morseElements(char character) {
    if (character == '\0') {
        return {};
    }
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(character)));
    for (const Row& row : kTable) {
        if (row.character == upper) {
            return row.elements;
        }
    }
    return {};
}

int parseWordSpaceAdjust(std::string_view text) {
    const auto value = parseNumber(text);
    if (!value) {
        return 0;
    }
    const double clamped = std::clamp(*value, static_cast<double>(kMinWordSpaceAdjust), 1.0e6);
    return static_cast<int>(roundHalfEven(clamped));
}

std::string elementPlan(char character, int wordSpaceAdjust) {
    std::string plan(morseElements(character));
    if (character == ' ') {
        if (wordSpaceAdjust > 0) {
            plan.append(static_cast<std::size_t>(wordSpaceAdjust), '0');
        } else if (wordSpaceAdjust < 0) {
            const int keep = std::max(0, 8 + wordSpaceAdjust);
            plan.resize(static_cast<std::size_t>(keep));
        }
    }
    return plan;
}

} // namespace corvane::cw
