#pragma once
// Small logs for the scoring tests.

#include "log/ContactLog.h"
#include "support/Contacts.h"

#include <string>
#include <vector>

namespace corvane::test {

inline QsoRecord contact(std::string call, std::string gridR = "FN31", std::string date = "2012/12/29",
                         std::string time = "23:15:02", std::string points = "3") {
    return Contact(std::move(call))
        .grid(std::move(gridR))
        .date(std::move(date))
        .time(std::move(time))
        .points(std::move(points));
}

inline ContactLog logOf(std::vector<QsoRecord> records) {
    ContactLog log;
    log.assign(std::move(records));
    return log;
}

// Calls W1AA, W1AB, ... one per record.
inline ContactLog numberedLog(int count) {
    std::vector<QsoRecord> records;
    for (int i = 0; i < count; ++i) {
        records.push_back(contact("W" + std::to_string(i % 10) + static_cast<char>('A' + i / 26 % 26) +
                                  static_cast<char>('A' + i % 26) + std::to_string(i / 676)));
    }
    return logOf(std::move(records));
}

} // namespace corvane::test
