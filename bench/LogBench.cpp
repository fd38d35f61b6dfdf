// Loading a full log and logging one contact into it, the file synced each time.

#include "BenchUtil.h"
#include "TempDir.h"
#include "log/LogStore.h"

#include <chrono>
#include <string>

using namespace corvane;

namespace {

QsoRecord contact(int i) {
    return QsoRecord{"K" + std::to_string(i) + "ABC", "1,234", "FN31", "", "FN20", "2012/12/29", "23:15:02", "3", "CW",
                     i % 2 ? "1830.000" : ""};
}

} // namespace

int main() {
    test::TempDir dir;
    const std::string path = dir.file("log.txt");
    std::vector<QsoRecord> records;
    for (int i = 0; i < ContactLog::kCapacity; ++i) {
        records.push_back(contact(i));
    }
    replaceAtomically(path, formatLog(records));

    const double loadMs = bench::medianMs(21, [&] {
        LogStore store(path);
        if (!store.load().ok) {
            std::abort();
        }
    });
    bench::report("log_load_12000", loadMs, "ms");

    // One contact into a log of 11999, each run taking it back out again.
    records.pop_back();
    replaceAtomically(path, formatLog(records));
    LogStore store(path);
    store.load();
    const int runs = 21;
    std::vector<double> appendTimes;
    std::vector<double> formatTimes;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const std::string line = formatLogLine(contact(99999));
        (void)line;
        const auto formatted = std::chrono::steady_clock::now();
        store.append(contact(99999));
        const auto end = std::chrono::steady_clock::now();
        formatTimes.push_back(std::chrono::duration<double, std::milli>(formatted - start).count());
        appendTimes.push_back(std::chrono::duration<double, std::milli>(end - start).count());
        store.rewrite(records);
    }
    std::sort(appendTimes.begin(), appendTimes.end());
    std::sort(formatTimes.begin(), formatTimes.end());
    const double formatMs = formatTimes[runs / 2];
    bench::report("log_append_one_12000_with_sync", appendTimes[runs / 2], "ms");
    // The disk's share of it: appending and syncing the same line to a small file.
    const std::string scratch = dir.file("scratch.txt");
    replaceAtomically(scratch, formatLogLine(contact(1)));
    const double syncMs = bench::medianMs(21, [&] { appendDurably(scratch, formatLogLine(contact(99999))); });
    bench::report("log_line_write_and_sync_alone", syncMs, "ms");
    bench::report("log_line_format", formatMs, "ms");
    return 0;
}
