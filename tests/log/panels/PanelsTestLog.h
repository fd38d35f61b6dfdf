#pragma once
// Records and log files for the panel tests.

#include "core/DurableFile.h"
#include "log/ContactLog.h"
#include "log/LogFile.h"
#include "support/Contacts.h"

#include <string>
#include <vector>

namespace corvane::test {

inline QsoRecord qso(std::string call, std::string gridR, std::string points = "3", std::string kilometers = "1,234",
                     std::string date = "2012/12/29", std::string time = "23:15:02") {
    return Contact(std::move(call))
        .grid(std::move(gridR))
        .points(std::move(points))
        .kilometers(std::move(kilometers))
        .date(std::move(date))
        .time(std::move(time));
}

// Calls W1A, W1B, ... in grids EM00, EM01, ...; record n has n points.
inline std::vector<QsoRecord> numberedRecords(int count) {
    std::vector<QsoRecord> records;
    for (int i = 1; i <= count; ++i) {
        std::string call = "W" + std::to_string(i) + "X";
        std::string grid = "EM" + std::string(1, static_cast<char>('0' + (i / 10) % 10)) +
                           std::string(1, static_cast<char>('0' + i % 10));
        records.push_back(qso(call, grid, std::to_string(i)));
    }
    return records;
}

inline ContactLog logOf(std::vector<QsoRecord> records) {
    ContactLog log;
    log.assign(std::move(records));
    return log;
}

inline void writeLogFile(const std::string& path, const std::vector<QsoRecord>& records) {
    replaceAtomically(path, formatLog(records));
}

inline std::string bytesOf(const std::string& path) {
    return readWholeFile(path).value_or("<missing>");
}

} // namespace corvane::test
