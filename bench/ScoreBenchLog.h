#pragma once
// A full log of 12000 contacts for the scoring benchmarks: varied calls and grids, two
// contacts a minute ending at a given moment.

#include "core/DateTime.h"
#include "log/ContactLog.h"

#include <random>
#include <string>
#include <vector>

namespace corvane::bench {

inline ContactLog fullLog(DateTime newest, int secondsApart = 30) {
    std::mt19937 rng(12000);
    const char* prefixes[] = {"K", "W", "N", "AA", "KA", "KB", "VE", "WA", "WB", "AB"};
    std::vector<QsoRecord> records;
    records.reserve(ContactLog::kCapacity);
    for (int i = 0; i < ContactLog::kCapacity; ++i) {
        QsoRecord r;
        r.call = std::string(prefixes[rng() % 10]) + static_cast<char>('0' + rng() % 10);
        for (int k = 0; k < 3; ++k) {
            r.call += static_cast<char>('A' + rng() % 26);
        }
        r.gridR = std::string{static_cast<char>('C' + rng() % 6), static_cast<char>('L' + rng() % 4),
                              static_cast<char>('0' + rng() % 10), static_cast<char>('0' + rng() % 10)};
        r.kilometers = "1,234";
        r.gridS = "FN20";
        const DateTime when = addSeconds(newest, -static_cast<long long>(ContactLog::kCapacity - 1 - i) * secondsApart);
        r.qsoDate = formatDateSlash(when);
        r.qsoTime = formatTimeHms(when);
        r.points = std::to_string(1 + rng() % 8);
        r.mode = "CW";
        records.push_back(std::move(r));
    }
    ContactLog log;
    log.assign(std::move(records));
    return log;
}

} // namespace corvane::bench
