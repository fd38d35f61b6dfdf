// Rates and the contact list over a full log of 12000 contacts.

#include "BenchUtil.h"
#include "ScoreBenchLog.h"
#include "log/score/ContactList.h"
#include "log/score/Stats.h"

using namespace corvane;

int main() {
    const DateTime now{2012, 12, 29, 23, 0, 0};
    volatile std::size_t sink = 0;

    // Every contact at the same moment, within the hour: the rate scan reads them all.
    const ContactLog dense = bench::fullLog(now, 0);
    const double rates = bench::medianMs(51, [&] {
        const auto r = hourlyRates(dense, now);
        sink = sink + (r ? static_cast<std::size_t>(r->perHourLast60) : 0);
    });
    bench::report("time_stats_12000", rates, "ms");

    const ContactLog log = bench::fullLog(now);
    ContactListRows rows;
    rows.setListAll(true);
    // RebuildList with all contacts listed, and the texts of every row.
    const double allRows = bench::medianMs(21, [&] {
        rows.rebuild(log.qsoCount());
        for (int r = 0; r < rows.rowCount(); ++r) {
            const auto texts = listRowTexts(log, rows.recordAt(r));
            sink = sink + texts[3].size();
        }
    });
    bench::report("rebuild_list_all_12000", allRows, "ms");

    // What a list model does: the rebuild and the texts of one screen of rows.
    const double visible = bench::medianMs(201, [&] {
        rows.rebuild(log.qsoCount());
        for (int r = 0; r < 40; ++r) {
            const auto texts = listRowTexts(log, rows.recordAt(r));
            sink = sink + texts[3].size();
        }
    });
    bench::report("rebuild_list_all_12000_screen", visible, "ms");

    const double sort = bench::medianMs(11, [&] {
        rows.rebuild(log.qsoCount());
        rows.sortByColumn(log, ListColumn::Call);
        sink = sink + static_cast<std::size_t>(rows.recordAt(0));
    });
    bench::report("sort_list_all_12000", sort, "ms");
    return 0;
}
