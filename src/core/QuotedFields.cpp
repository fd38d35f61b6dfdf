#include "core/QuotedFields.h"

#include "core/NumberText.h"

#include <cmath>
#include <limits>

namespace corvane {

const char* describe(FieldError error) {
    switch (error) {
    case FieldError::None:
        return "no error";
    case FieldError::EndOfData:
        return "the file ends inside a record";
    case FieldError::QuoteOutOfPlace:
        return "a double quote is out of place";
    case FieldError::UnterminatedQuote:
        return "a quoted field is not closed";
    }
    return "unknown error";
}

void FieldReader::skipLineEnd() {
    if (m_pos < m_data.size() && m_data[m_pos] == '\r') {
        ++m_pos;
        if (m_pos < m_data.size() && m_data[m_pos] == '\n') {
            ++m_pos;
        }
    } else if (m_pos < m_data.size() && m_data[m_pos] == '\n') {
        ++m_pos;
    }
    ++m_line;
}

FieldError FieldReader::next(Field& out) {
    out = Field{};
    while (m_pos < m_data.size() && (m_data[m_pos] == ' ' || m_data[m_pos] == '\t')) {
        ++m_pos;
    }
    if (m_pos >= m_data.size()) {
        return FieldError::EndOfData;
    }
    out.line = m_line;
    const auto isLineEnd = [](char c) { return c == '\r' || c == '\n'; };
    if (m_data[m_pos] == '"') {
        const std::size_t close = m_data.find('"', m_pos + 1);
        if (close == std::string_view::npos) {
            return FieldError::UnterminatedQuote;
        }
        const std::string_view inner = m_data.substr(m_pos + 1, close - m_pos - 1);
        if (inner.find_first_of("\r\n") != std::string_view::npos) {
            return FieldError::UnterminatedQuote;
        }
        out.text.assign(inner);
        out.quoted = true;
        m_pos = close + 1;
        while (m_pos < m_data.size() && (m_data[m_pos] == ' ' || m_data[m_pos] == '\t')) {
            ++m_pos;
        }
        if (m_pos >= m_data.size()) {
            out.endsLine = true;
            return FieldError::None;
        }
        if (m_data[m_pos] == ',') {
            ++m_pos;
            return FieldError::None;
        }
        if (isLineEnd(m_data[m_pos])) {
            skipLineEnd();
            out.endsLine = true;
            return FieldError::None;
        }
        return FieldError::QuoteOutOfPlace;
    }
    const std::size_t start = m_pos;
    while (m_pos < m_data.size() && m_data[m_pos] != ',' && !isLineEnd(m_data[m_pos])) {
        if (m_data[m_pos] == '"') {
            return FieldError::QuoteOutOfPlace;
        }
        ++m_pos;
    }
    std::string_view raw = m_data.substr(start, m_pos - start);
    while (!raw.empty() && (raw.back() == ' ' || raw.back() == '\t')) {
        raw.remove_suffix(1);
    }
    out.text.assign(raw);
    if (m_pos >= m_data.size()) {
        out.endsLine = true;
    } else if (m_data[m_pos] == ',') {
        ++m_pos;
    } else {
        skipLineEnd();
        out.endsLine = true;
    }
    return FieldError::None;
}

std::string quoted(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    out.push_back('"');
    out.append(text);
    out.push_back('"');
    return out;
}

ItemWriter& ItemWriter::text(std::string_view value) {
    m_out += quoted(value);
    m_out += kLineEnd;
    return *this;
}

ItemWriter& ItemWriter::single(double value) {
    m_out += formatSingle(value);
    m_out += kLineEnd;
    return *this;
}

ItemWriter& ItemWriter::real(double value) {
    m_out += formatDouble(value);
    m_out += kLineEnd;
    return *this;
}

ItemWriter& ItemWriter::whole(long long value) {
    m_out += std::to_string(value);
    m_out += kLineEnd;
    return *this;
}

ItemWriter& ItemWriter::boolean(bool value) {
    m_out += value ? "#TRUE#" : "#FALSE#";
    m_out += kLineEnd;
    return *this;
}

std::optional<Field> ItemReader::take() {
    Field f;
    m_line = m_fields.line();
    if (m_fields.next(f) != FieldError::None) {
        return std::nullopt;
    }
    m_line = f.line;
    return f;
}

std::optional<std::string> ItemReader::text() {
    auto f = take();
    if (!f) {
        return std::nullopt;
    }
    return f->text;
}

std::optional<double> ItemReader::number() {
    auto f = take();
    if (!f) {
        return std::nullopt;
    }
    if (!f->quoted && f->text.empty()) {
        return 0.0; // an empty bare item reads as zero
    }
    if (f->text == "#TRUE#") {
        return -1.0;
    }
    if (f->text == "#FALSE#") {
        return 0.0;
    }
    return parseNumber(f->text);
}

std::optional<float> ItemReader::single() {
    const auto value = number();
    if (!value || std::fabs(*value) > static_cast<double>(std::numeric_limits<float>::max())) {
        return std::nullopt;
    }
    return static_cast<float>(*value);
}

std::optional<long long> ItemReader::whole(long long min, long long max) {
    auto value = number();
    // Checked before rounding: a number far outside the range is a read error, as an
    // overflowing item is, never a conversion the machine cannot make.
    if (!value || !(*value > static_cast<double>(min) - 1.0 && *value < static_cast<double>(max) + 1.0)) {
        return std::nullopt;
    }
    const long long rounded = roundHalfEven(*value);
    if (rounded < min || rounded > max) {
        return std::nullopt;
    }
    return rounded;
}

std::optional<bool> ItemReader::boolean() {
    auto f = take();
    if (!f) {
        return std::nullopt;
    }
    if (f->text == "#TRUE#") {
        return true;
    }
    if (f->text == "#FALSE#") {
        return false;
    }
    auto v = parseNumber(f->text);
    if (!v) {
        return std::nullopt;
    }
    return *v != 0.0;
}

} // namespace corvane
