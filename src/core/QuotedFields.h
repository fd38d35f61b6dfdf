#pragma once
// The quoted-field text format shared by log.txt and every item-per-line settings file:
// texts in double quotes (a comma inside the quotes belongs to the text), numbers bare
// with ".", booleans as #TRUE# / #FALSE#, fields separated by a comma or a line end,
// lines ended by CR LF. Quotes inside a text cannot be represented, so writers refuse them.

#include <optional>
#include <string>
#include <string_view>

namespace corvane {

struct Field {
    std::string text;
    bool quoted = false;
    bool endsLine = false; // the field was ended by a line end or the end of the data
    int line = 1;          // 1-based line the field starts on
};

enum class FieldError {
    None,
    EndOfData,         // no field left
    QuoteOutOfPlace,   // text after a closing quote, or a quote inside a bare field
    UnterminatedQuote, // the data ends inside a quoted text
};

const char* describe(FieldError error);

// Reads fields one after another; blanks before a field are skipped.
class FieldReader {
public:
    explicit FieldReader(std::string_view data) : m_data(data) {}

    FieldError next(Field& out);
    bool atEnd() const { return m_pos >= m_data.size(); }
    int line() const { return m_line; }

private:
    void skipLineEnd();

    std::string_view m_data;
    std::size_t m_pos = 0;
    int m_line = 1;
};

// Writers of single items and lines.
std::string quoted(std::string_view text); // "text"
inline constexpr std::string_view kLineEnd = "\r\n";

// Whether a text can be written in quotes (it holds no double quote).
inline bool isQuotable(std::string_view text) {
    return text.find('"') == std::string_view::npos;
}

// Item-per-line builder for settings files.
class ItemWriter {
public:
    ItemWriter& text(std::string_view value);
    ItemWriter& single(double value);
    ItemWriter& real(double value); // a double
    ItemWriter& whole(long long value);
    ItemWriter& boolean(bool value);
    const std::string& bytes() const { return m_out; }

private:
    std::string m_out;
};

// Sequential reader of item-per-line settings files: each call takes the next field.
class ItemReader {
public:
    explicit ItemReader(std::string_view data) : m_fields(data) {}

    std::optional<std::string> text();
    std::optional<double> number();
    // A single-precision item: a number beyond the range of a float is a read error.
    std::optional<float> single();
    // A whole item, rounded halves to even; a number outside min..max is a read error.
    std::optional<long long> whole(long long min, long long max);
    std::optional<bool> boolean();
    // The line of the item last asked for (where a fault was found).
    int line() const { return m_line; }

private:
    std::optional<Field> take();
    FieldReader m_fields;
    int m_line = 1;
};

} // namespace corvane
