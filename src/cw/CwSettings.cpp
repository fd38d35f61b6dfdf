#include "cw/CwSettings.h"

#include "core/NumberText.h"
#include "core/QuotedFields.h"

#include <algorithm>
#include <cmath>

namespace corvane::cw {

bool keyingOptionFromNumber(long long value, KeyingOption& out) {
    switch (value) {
    case 0:
        out = KeyingOption::None;
        return true;
    case 1:
        out = KeyingOption::Rts;
        return true;
    case 2:
        out = KeyingOption::Dtr;
        return true;
    case 3:
        out = KeyingOption::Printer;
        return true;
    case 5:
        out = KeyingOption::WinKey;
        return true;
    default:
        return false;
    }
}

namespace {

// Reads the items in file order into the settings; returns how many were read.
int readItems(ItemReader& reader, CwSettings& s) {
    int count = 0;
    const auto text = [&](std::string& target) {
        auto value = reader.text();
        if (!value) {
            return false;
        }
        target = std::move(*value);
        ++count;
        return true;
    };
    for (int i = 0; i < 9; ++i) {
        if (!text(s.messages[static_cast<std::size_t>(i)])) {
            return count;
        }
    }
    if (!text(s.serialPort) || !text(s.speedWpm) || !text(s.messages[9]) || !text(s.messages[10]) ||
        !text(s.wordSpace)) {
        return count;
    }
    const auto option = reader.whole(0, 5);
    KeyingOption keying{};
    if (!option || !keyingOptionFromNumber(*option, keying)) {
        return count;
    }
    s.keyingOption = keying;
    ++count;
    if (!text(s.parallelAddress)) {
        return count;
    }
    const auto display = reader.number();
    if (!display) {
        return count;
    }
    s.displayText = *display != 0.0;
    ++count;
    text(s.repeatSeconds);
    return count;
}

std::string withoutQuotes(std::string_view text) {
    std::string out(text);
    out.erase(std::remove(out.begin(), out.end(), '"'), out.end());
    return out;
}

} // namespace

CwSettingsReadResult parseCwSettings(std::string_view bytes) {
    CwSettingsReadResult result;
    ItemReader reader(bytes);
    result.itemsRead = readItems(reader, result.settings);
    if (result.itemsRead >= 9 && result.settings.messages[8].empty()) {
        result.settings.messages[8] = std::string(kDefaultF9);
    }
    result.complete = result.itemsRead == kCwSettingsItems;
    result.keyingOption = result.complete ? result.settings.keyingOption : KeyingOption::None;
    return result;
}

std::string formatCwSettings(const CwSettings& s) {
    ItemWriter out;
    for (int i = 0; i < 9; ++i) {
        out.text(withoutQuotes(s.messages[static_cast<std::size_t>(i)]));
    }
    out.text(withoutQuotes(s.serialPort));
    out.text(withoutQuotes(s.speedWpm));
    out.text(withoutQuotes(s.messages[9]));
    out.text(withoutQuotes(s.messages[10]));
    out.text(withoutQuotes(s.wordSpace));
    out.whole(static_cast<long long>(s.keyingOption));
    out.text(withoutQuotes(s.parallelAddress));
    out.whole(s.displayText ? 1 : 0);
    out.text(withoutQuotes(s.repeatSeconds));
    return out.bytes();
}

bool cwSettingsQuotable(const CwSettings& s) {
    const auto ok = [](const std::string& t) { return isQuotable(t); };
    return std::all_of(s.messages.begin(), s.messages.end(), ok) && ok(s.serialPort) && ok(s.speedWpm) &&
           ok(s.wordSpace) && ok(s.parallelAddress) && ok(s.repeatSeconds);
}

bool repeatIntervalMs(std::string_view field, int& intervalMs) {
    const auto value = parseNumber(field);
    if (!value || *value < 0.0 || *value >= 60.0) {
        return false;
    }
    intervalMs = static_cast<int>(roundHalfEven(*value * 1000.0));
    return true;
}

} // namespace corvane::cw
