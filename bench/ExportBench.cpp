// Cabrillo and ADIF text and the rate graph of a full log of 12000 contacts.

#include "BenchUtil.h"
#include "core/DateTime.h"
#include "export/Adif.h"
#include "export/Cabrillo.h"
#include "graph/RateGraph.h"
#include "log/ContactLog.h"

#include <vector>

using namespace corvane;

namespace {

// A full log, one contact every 20 seconds with the usual pauses of a night's contest.
std::vector<QsoRecord> fullLog() {
    std::vector<QsoRecord> records;
    records.reserve(ContactLog::kCapacity);
    DateTime at{2012, 12, 29, 22, 0, 0};
    for (int i = 0; i < ContactLog::kCapacity; ++i) {
        at = addSeconds(at, i % 50 == 0 ? 300 : 20);
        QsoRecord r;
        r.call = "K" + std::to_string(i % 10) + "A" + std::string(1, static_cast<char>('A' + i % 26)) + "C";
        r.kilometers = "1,234";
        r.gridR = "FN31";
        r.gridS = "FM19";
        r.qsoDate = formatDateSlash(at);
        r.qsoTime = formatTimeHms(at);
        r.points = "3";
        r.mode = "CW";
        r.frequency = i % 2 ? "1830.000" : "";
        records.push_back(std::move(r));
    }
    return records;
}

} // namespace

int main() {
    const std::vector<QsoRecord> records = fullLog();
    std::size_t sink = 0;

    CabrilloInput cabrillo;
    cabrillo.records = records;
    cabrillo.ownCall = "W1XYZ";
    cabrillo.totalScoreText = "72000";
    bench::report("cabrillo_12000", bench::medianMs(9, [&] { sink += buildCabrillo(cabrillo).size(); }), "ms");

    AdifInput adif;
    adif.records = records;
    adif.power = "100";
    adif.comment = "Corvane Contest";
    adif.exportDateText = "2012-12-30 10:00:00";
    bench::report("adif_12000", bench::medianMs(9, [&] { sink += buildAdif(adif).size(); }), "ms");

    bench::report("graph_12000",
                  bench::medianMs(9,
                                  [&] {
                                      const RateGraph graph = computeRateGraph(std::span<const QsoRecord>(records));
                                      sink += static_cast<std::size_t>(graph.maximum);
                                  }),
                  "ms");
    return sink == 0 ? 1 : 0;
}
