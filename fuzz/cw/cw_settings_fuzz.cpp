// cw.txt and the numbers the CW windows take from its texts: the speed and its element
// timing, the word-space adjustment, the repeat pause, the parallel port address, and the
// messages with the call and report filled in.

#include "cw/CwMessage.h"
#include "cw/CwSettings.h"
#include "cw/CwTiming.h"
#include "cw/MorseTable.h"
#include "platform/parallel/ParallelPort.h"
#include "support/FuzzCheck.h"

#include <cstdint>

using namespace corvane;
using namespace corvane::cw;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const CwSettingsReadResult read = parseCwSettings(fuzz::textOf(data, size));
    FUZZ_CHECK(read.itemsRead >= 0 && read.itemsRead <= kCwSettingsItems);
    const CwSettings& s = read.settings;
    if (read.complete && cwSettingsQuotable(s)) {
        const CwSettingsReadResult again = parseCwSettings(formatCwSettings(s));
        FUZZ_CHECK(again.complete);
        FUZZ_CHECK(again.settings == s);
    }

    if (const auto base = parseParallelAddress(s.parallelAddress)) {
        FUZZ_CHECK(*base >= 0 && *base <= 32765);
    }
    int intervalMs = 0;
    if (repeatIntervalMs(s.repeatSeconds, intervalMs)) {
        FUZZ_CHECK(intervalMs >= 0 && intervalMs <= 60000);
    }
    if (const auto speed = parseSpeedWpm(s.speedWpm)) {
        (void)unitLengthMs(*speed);
        (void)timerUnit(*speed);
        (void)sleepUnit(*speed);
        (void)loopCount(1000.0, *speed);
    }
    (void)loopFaster(s.serialPort);
    (void)loopSlower(s.serialPort);
    const int adjust = parseWordSpaceAdjust(s.wordSpace);
    (void)elementPlan(' ', adjust);
    (void)elementPlan('A', adjust);
    for (const std::string& message : s.messages) {
        (void)substituteMessage(message, "K1ABC", "599");
    }
    (void)sentReport(s.messages[0]);
    return 0;
}
