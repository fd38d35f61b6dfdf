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
    }
    result.ok = true;
    return result;
}

} // namespace corvane
