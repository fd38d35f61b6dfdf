// Duplicate checks against a full log of 12000 contacts.

#include "BenchUtil.h"
#include "ScoreBenchLog.h"
#include "log/score/Dupes.h"

using namespace corvane;

int main() {
    const ContactLog log = bench::fullLog(DateTime{2012, 12, 29, 23, 0, 0});
    volatile std::size_t sink = 0;

    // A call with a common beginning that is not in the log: the whole log is scanned.
    const double partial = bench::medianMs(301, [&] {
        const auto r = partialCheck(log, PartialCheckInput{"KB1A", 'Q', true, true});
        sink = sink + r.dupeList.size();
    });
    bench::report("partial_check_12000", partial, "ms");

    // A one-letter call: many matches, cut after 100 characters.
    const double partialShort = bench::medianMs(301, [&] {
        const auto r = partialCheck(log, PartialCheckInput{"", 'K', true, true});
        sink = sink + r.dupeList.size();
    });
    bench::report("partial_check_12000_first_letter", partialShort, "ms");

    const double full = bench::medianMs(301, [&] {
        const auto hit = findDuplicate(log, "ZZ9ZZ");
        sink = sink + (hit ? 1 : 0);
    });
    bench::report("dupcheck_12000", full, "ms");
    return 0;
}
