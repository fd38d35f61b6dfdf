#pragma once
// The text of log.txt: one record a line, ten quoted fields joined by commas, CR LF.

#include "core/QsoRecord.h"

#include <string>
#include <string_view>
#include <vector>

namespace corvane {

std::string formatLogLine(const QsoRecord& record); // with its CR LF
std::string formatLog(const std::vector<QsoRecord>& records);

struct LogParseResult {
    bool ok = false;
    std::vector<QsoRecord> records;
    int errorLine = 0;   // 1-based line of the first fault
    std::string problem; // what is wrong there, for the operator
};

// Parses a whole log. Every line must hold exactly ten fields; a last line without its
// line end is accepted. More than `capacity` records is a fault, and so is a control
// character (a byte below 0x20, or 0x7F) inside a field.
LogParseResult parseLog(std::string_view bytes, int capacity);

// Why a record cannot be written as a line that reads back as the same record: a field
// holding a double quote or a control character. Empty when it can.
std::string unwritableReason(const QsoRecord& record);

// The name of field `index` (0 = call ... 9 = frequency) as the operator knows it.
std::string_view fieldName(int index);

} // namespace corvane
