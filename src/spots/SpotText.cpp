#include "spots/SpotText.h"

#include "core/NumberText.h"

#include <cmath>

namespace corvane::spots {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Characters first..first+count-1 (0-based), as far as the text reaches.
std::string_view columns(std::string_view text, std::size_t first, std::size_t count) {
    if (first >= text.size()) {
        return {};
    }
    return text.substr(first, count);
}

} // namespace

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string expandLineEnds(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (char c : text) {
        if (c == '\r' || c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

std::string printableText(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u != 0x7F) {
            out += c;
        } else if (c == '\t' || c == '\r' || c == '\n') {
            out += c;
        }
    }
    return out;
}

bool beginsWithDx(std::string_view text) {
    return text.size() >= 2 && (text[0] == 'D' || text[0] == 'd') && (text[1] == 'X' || text[1] == 'x');
}

SpotFields spotFields(std::string_view line) {
    return {std::string(trimBlanks(columns(line, 15, 9))), std::string(trimBlanks(columns(line, 26, 13)))};
}

std::string spotRecord(std::string_view line) {
    std::string_view record = trimBlanks(columns(line, 3, std::string_view::npos));
    const auto cr = record.find('\r');
    if (cr != std::string_view::npos) {
        record = trimBlanks(record.substr(0, cr));
    }
    return std::string(record);
}

std::optional<double> spotFrequencyKHz(std::string_view frequencyText) {
    const auto value = parseNumber(frequencyText);
    // The store keeps MHz in single precision; anything beyond that is not a frequency.
    if (!value || !std::isfinite(*value) || std::fabs(*value) > 1e12) {
        return std::nullopt;
    }
    return value;
}

std::string labelText(std::string_view call) {
    if (call.size() < 3) {
        return {};
    }
    std::size_t lastDigit = 0; // 1-based, 0 = none
    std::size_t lastSlash = 0; // 1-based, 0 = none
    for (std::size_t i = 0; i < call.size(); ++i) {
        if (isDigit(call[i])) {
            lastDigit = i + 1;
        } else if (call[i] == '/') {
            lastSlash = i + 1;
        }
    }
    const std::size_t end = lastDigit == 0 ? call.size() : lastDigit;
    if (lastSlash == 0) {
        return std::string(call.substr(0, end));
    }
    const double half = static_cast<double>(call.size()) / 2.0 + 1.0;
    if (static_cast<double>(lastSlash) < half) {
        return std::string(call.substr(0, lastSlash - 1));
    }
    const std::string_view after = call.substr(lastSlash).substr(0, end);
    bool number = !after.empty();
    for (char c : after) {
        number = number && isDigit(c);
    }
    if (!number) {
        return std::string(after);
    }
    std::size_t firstDigit = 0;
    while (firstDigit < call.size() && !isDigit(call[firstDigit])) {
        ++firstDigit;
    }
    return std::string(call.substr(0, firstDigit)) + std::string(after);
}

SpotListRow spotListRow(std::string_view call, float frequencyMHz, std::string_view record) {
    SpotListRow row;
    row.call = std::string(call);
    row.frequency = formatSingle(frequencyMHz);
    row.comments =
        std::string(trimBlanks(columns(record, 0, 11))) + "  " + std::string(trimBlanks(columns(record, 34, 25)));
    row.prefix = std::string(trimBlanks(columns(record, 61, 5)));
    row.time = std::string(columns(record, 67, 4));
    row.from = std::string(trimBlanks(columns(record, 72, 4)));
    return row;
}

} // namespace corvane::spots
