// The call history file and the ADIF files the history is built from.

#include "export/AdifRead.h"
#include "history/CallHistory.h"
#include "support/FuzzCheck.h"

#include <cstdint>

using namespace corvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::textOf(data, size);
    const HistoryReadResult read = parseCallHistory(text);
    CallHistory history;
    history.add(read.entries);
    for (const HistoryEntry& entry : read.entries) {
        // Every entry is a call and a grid as the history keeps them, and is found again.
        FUZZ_CHECK(historyCall(entry.call) == entry.call);
        FUZZ_CHECK(historyGrid(entry.grid) == entry.grid);
        FUZZ_CHECK(history.find(entry.call) != nullptr);
    }
    FUZZ_CHECK(read.problem.empty() || read.entries.empty());
    // What is written reads back as the same history, with nothing skipped.
    const std::string written = formatCallHistory(history);
    const HistoryReadResult again = parseCallHistory(written);
    FUZZ_CHECK(again.skippedLines == 0 && again.problem.empty());
    CallHistory reread;
    reread.add(again.entries);
    FUZZ_CHECK(formatCallHistory(reread) == written);
    // Looking up any part of the input never fails.
    for (std::size_t at = 0; at < text.size() && at < 64; at += 5) {
        (void)history.find(text.substr(at, 9));
    }

    const AdifReadResult adif = readAdifContacts(text);
    for (const AdifContact& contact : adif.contacts) {
        FUZZ_CHECK(!contact.call.empty());
        FUZZ_CHECK(contact.stamp.empty() || contact.stamp.size() == 19);
    }
    return 0;
}
