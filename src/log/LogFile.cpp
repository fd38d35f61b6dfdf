#include "log/LogFile.h"

#include "core/QuotedFields.h"

#include <algorithm>

namespace corvane {

std::string formatLogLine(const QsoRecord& record) {
    std::string line;
    line.reserve(96);
    bool first = true;
    for (const std::string* field : record.fields()) {
        if (!first) {
            line.push_back(',');
        }
        first = false;
        line.push_back('"');
        line.append(*field);
        line.push_back('"');
    }
    line.append(kLineEnd);
    return line;
}

std::string formatLog(const std::vector<QsoRecord>& records) {
    std::string out;
    out.reserve(records.size() * 80);
    for (const auto& r : records) {
        out += formatLogLine(r);
    }
    return out;
}

namespace {

bool isControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

std::string hexByte(unsigned char byte) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    return std::string("0x") + kDigits[byte >> 4] + kDigits[byte & 0x0F];
}

// The fault of the first field that holds a control character; empty when none does.
std::string controlCharacterFault(const QsoRecord& record) {
    const auto fields = record.fields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::string& text = *fields[i];
        const auto bad = std::find_if(text.begin(), text.end(), isControl);
        if (bad != text.end()) {
            return "the " + std::string(fieldName(static_cast<int>(i))) + " field holds a control character (byte " +
                   hexByte(static_cast<unsigned char>(*bad)) + ")";
        }
    }
    return {};
}

// The form the program writes: ten quoted fields joined by commas, nothing else.
bool parseCanonicalLine(std::string_view line, QsoRecord& record) {
    auto fields = record.fields();
    std::size_t pos = 0;
    for (int i = 0; i < QsoRecord::kFieldCount; ++i) {
        if (pos >= line.size() || line[pos] != '"') {
            return false;
        }
        const std::size_t close = line.find('"', pos + 1);
        if (close == std::string_view::npos) {
            return false;
        }
        fields[static_cast<std::size_t>(i)]->assign(line.data() + pos + 1, close - pos - 1);
        pos = close + 1;
        if (i < QsoRecord::kFieldCount - 1) {
            if (pos >= line.size() || line[pos] != ',') {
                return false;
            }
            ++pos;
        }
    }
    return pos == line.size();
}

// Any other form the reader accepts (blanks, bare fields), or the fault of the line.
bool parseLooseLine(std::string_view line, int lineNumber, QsoRecord& record, LogParseResult& result) {
    FieldReader reader(line);
    Field field;
    auto fields = record.fields();
    for (int i = 0; i < QsoRecord::kFieldCount; ++i) {
        const FieldError err = reader.next(field);
        if (err == FieldError::EndOfData) {
            result.errorLine = lineNumber;
            result.problem = "the line has " + std::to_string(i) + " of the 10 fields of a contact";
            return false;
        }
        if (err != FieldError::None) {
            result.errorLine = lineNumber;
            result.problem = describe(err);
            return false;
        }
        if (field.endsLine && i < QsoRecord::kFieldCount - 1) {
            result.errorLine = lineNumber;
            result.problem = "the line has " + std::to_string(i + 1) + " of the 10 fields of a contact";
            return false;
        }
        if (!field.endsLine && i == QsoRecord::kFieldCount - 1) {
            result.errorLine = lineNumber;
            result.problem = "the line has more than the 10 fields of a contact";
            return false;
        }
        *fields[static_cast<std::size_t>(i)] = std::move(field.text);
    }
    return true;
}

} // namespace

std::string_view fieldName(int index) {
    static constexpr std::string_view kNames[QsoRecord::kFieldCount] = {
        "call", "kilometres", "received grid", "miles", "own grid", "date", "time", "points", "mode", "frequency"};
    return index >= 0 && index < QsoRecord::kFieldCount ? kNames[index] : std::string_view("unknown");
}

std::string unwritableReason(const QsoRecord& record) {
    const auto fields = record.fields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (fields[i]->find('"') != std::string::npos) {
            return "the " + std::string(fieldName(static_cast<int>(i))) + " field holds a double quote";
        }
    }
    return controlCharacterFault(record);
}

LogParseResult parseLog(std::string_view bytes, int capacity) {
    LogParseResult result;
    result.records.reserve(static_cast<std::size_t>(std::min<std::size_t>(bytes.size() / 60 + 1, capacity + 1)));
    std::size_t pos = 0;
    int lineNumber = 0;
    while (pos < bytes.size()) {
        ++lineNumber;
        // A line ends at CR LF, LF or a lone CR.
        std::size_t end = bytes.find_first_of("\r\n", pos);
        std::size_t next = bytes.size();
        if (end == std::string_view::npos) {
            end = bytes.size();
        } else {
            next = end + 1;
            if (bytes[end] == '\r' && next < bytes.size() && bytes[next] == '\n') {
                ++next;
            }
        }
        const std::string_view line = bytes.substr(pos, end - pos);
        pos = next;
        if (static_cast<int>(result.records.size()) >= capacity) {
            result.errorLine = lineNumber;
            result.problem = "the log holds more than " + std::to_string(capacity) + " contacts";
            return result;
        }
        QsoRecord& record = result.records.emplace_back();
        if (!parseCanonicalLine(line, record) && !parseLooseLine(line, lineNumber, record, result)) {
            result.records.clear();
            return result;
        }
        if (std::string fault = controlCharacterFault(record); !fault.empty()) {
            result.errorLine = lineNumber;
            result.problem = std::move(fault);
            result.records.clear();
            return result;
        }
    }
    result.ok = true;
    return result;
}

} // namespace corvane
