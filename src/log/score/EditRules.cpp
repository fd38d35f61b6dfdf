#include "log/score/EditRules.h"

#include "core/DateTime.h"
#include "core/NumberText.h"

namespace corvane {

namespace {

constexpr char kBackspace = 8;

std::string trailingBlanksCut(std::string text) {
    while (!text.empty() && text.back() == ' ') {
        text.pop_back();
    }
    return text;
}

std::string upperCase(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return text;
}

bool validIndex(const ContactLog& log, int index) {
    return index >= 1 && index <= log.qsoCount();
}

} // namespace

std::optional<char> filterEditKey(EditField field, char key) {
    if (key == kBackspace) {
        return key;
    }
    if (key == '"') {
        return std::nullopt;
    }
    const bool digit = key >= '0' && key <= '9';
    if (field == EditField::Date) {
        return (digit || key == '/') ? std::optional<char>(key) : std::nullopt;
    }
    if (field == EditField::Time) {
        return (digit || key == ':') ? std::optional<char>(key) : std::nullopt;
    }
    if (key >= 'a' && key <= 'z') {
        return static_cast<char>(key - 'a' + 'A');
    }
    return key;
}

bool isValidEditDate(std::string_view date) {
    return parseDate(date).has_value();
}

bool isValidEditTime(std::string_view time) {
    return parseTime(time).has_value();
}

std::string pointsOnLeave(std::string_view points) {
    return isNumeric(points) ? std::string(points) : "0";
}

EditFields editFieldsOf(const QsoRecord& record) {
    return {record.call,   record.gridR,      record.gridS, record.qsoDate, record.qsoTime,
            record.points, record.kilometers, record.miles, record.mode};
}

std::vector<int> otherRecordsWithCall(const ContactLog& log, int editedIndex, std::string_view call) {
    std::vector<int> others;
    for (int i = 1; i <= log.qsoCount(); ++i) {
        if (i != editedIndex && log.record(i).call == call) {
            others.push_back(i);
        }
    }
    return others;
}

QsoRecord editedRecord(const QsoRecord& original, const EditFields& fields) {
    QsoRecord record = original;
    record.call = upperCase(fields.call);
    record.miles = fields.miles;
    record.gridS = trailingBlanksCut(fields.gridS);
    record.kilometers = fields.kilometers;
    record.gridR = trailingBlanksCut(fields.gridR);
    record.qsoDate = fields.date;
    record.qsoTime = fields.time;
    record.points = fields.points;
    record.mode = fields.mode;
    return record;
}

EditDoneResult editDone(const ContactLog& log, int editedIndex, const EditFields& fields) {
    EditDoneResult result;
    if (!isValidEditTime(fields.time)) {
        result.outcome = EditDoneResult::Outcome::InvalidTime;
        return result;
    }
    if (!isValidEditDate(fields.date)) {
        result.outcome = EditDoneResult::Outcome::InvalidDate;
        return result;
    }
    const std::string call = upperCase(fields.call);
    result.duplicateRecords = otherRecordsWithCall(log, editedIndex, call);
    if (!result.duplicateRecords.empty()) {
        result.outcome = EditDoneResult::Outcome::Duplicate;
        return result;
    }
    const QsoRecord original = validIndex(log, editedIndex) ? log.record(editedIndex) : QsoRecord{};
    result.record = editedRecord(original, fields);
    result.outcome = EditDoneResult::Outcome::Stored;
    return result;
}

std::vector<QsoRecord> recordsWithReplaced(const ContactLog& log, int index, const QsoRecord& record) {
    std::vector<QsoRecord> records = log.records();
    if (validIndex(log, index)) {
        records[static_cast<std::size_t>(index - 1)] = record;
    }
    return records;
}

std::vector<QsoRecord> recordsWithDeleted(const ContactLog& log, int index) {
    std::vector<QsoRecord> records = log.records();
    if (validIndex(log, index)) {
        records.erase(records.begin() + (index - 1));
    }
    return records;
}

} // namespace corvane
