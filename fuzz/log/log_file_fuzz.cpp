// log.txt as the log store reads it: any bytes either load or name a damaged line, and what
// loads is written back as lines that load as the same records.

#include "log/ContactLog.h"
#include "log/LogFile.h"
#include "support/FuzzCheck.h"

#include <cstdint>

using namespace corvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::textOf(data, size);
    constexpr int kCapacity = 50; // small, so that the capacity fault is reached too
    const LogParseResult parsed = parseLog(bytes, kCapacity);
    if (!parsed.ok) {
        FUZZ_CHECK(parsed.errorLine >= 1);
        FUZZ_CHECK(!parsed.problem.empty());
        FUZZ_CHECK(parsed.records.empty());
        return 0;
    }
    FUZZ_CHECK(parsed.records.size() <= static_cast<std::size_t>(kCapacity));
    for (const QsoRecord& record : parsed.records) {
        FUZZ_CHECK(unwritableReason(record).empty());
    }
    const std::string written = formatLog(parsed.records);
    const LogParseResult again = parseLog(written, kCapacity);
    FUZZ_CHECK(again.ok);
    FUZZ_CHECK(again.records == parsed.records);
    FUZZ_CHECK(formatLog(again.records) == written);

    ContactLog log;
    log.assign(parsed.records);
    FUZZ_CHECK(log.qsoCount() == static_cast<int>(parsed.records.size()));
    return 0;
}
