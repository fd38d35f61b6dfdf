#pragma once
// The text of log.txt: one record a line, ten quoted fields joined by commas, CR LF.

#include "log/QsoRecord.h"

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
// line end is accepted. More than `capacity` records is a fault.
LogParseResult parseLog(std::string_view bytes, int capacity);

} // namespace corvane
