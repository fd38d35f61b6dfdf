#include "log/LogFile.h"

#include "log/QuotedFields.h"

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

LogParseResult parseLog(std::string_view bytes, int capacity) {
    LogParseResult result;
    FieldReader reader(bytes);
    Field field;
    while (true) {
        QsoRecord record;
        auto fields = record.fields();
        const int recordLine = reader.line();
        for (int i = 0; i < QsoRecord::kFieldCount; ++i) {
            const FieldError err = reader.next(field);
            if (err == FieldError::EndOfData && i == 0) {
                result.ok = true;
                return result;
            }
            if (err != FieldError::None) {
                result.errorLine = err == FieldError::EndOfData ? recordLine : reader.line();
                result.problem = err == FieldError::EndOfData
                                     ? "the line has " + std::to_string(i) + " of the 10 fields of a contact"
                                     : describe(err);
                return result;
            }
            if (field.endsLine && i < QsoRecord::kFieldCount - 1) {
                result.errorLine = field.line;
                result.problem = "the line has " + std::to_string(i + 1) + " of the 10 fields of a contact";
                return result;
            }
            if (!field.endsLine && i == QsoRecord::kFieldCount - 1) {
                result.errorLine = field.line;
                result.problem = "the line has more than the 10 fields of a contact";
                return result;
            }
            *fields[static_cast<std::size_t>(i)] = std::move(field.text);
        }
        if (static_cast<int>(result.records.size()) >= capacity) {
            result.errorLine = recordLine;
            result.problem = "the log holds more than " + std::to_string(capacity) + " contacts";
            return result;
        }
        result.records.push_back(std::move(record));
    }
}

} // namespace corvane
