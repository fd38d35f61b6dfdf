// What the windows compute from the records of a loaded log: worked grids and the grid map,
// distances and points of each grid, the rates and the rate graph, duplicates, the contact
// list and the edit window's checks. Any record log.txt can hold must be handled.

#include "graph/RateGraph.h"
#include "log/ContactLog.h"
#include "log/LogFile.h"
#include "log/score/ContactList.h"
#include "log/score/Dupes.h"
#include "log/score/EditRules.h"
#include "log/score/Grid.h"
#include "log/score/Stats.h"
#include "support/FuzzCheck.h"

#include <cstdint>

using namespace corvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const LogParseResult parsed = parseLog(fuzz::textOf(data, size), 200);
    if (!parsed.ok) {
        return 0;
    }
    ContactLog log;
    log.assign(parsed.records);

    const GeoPosition own{40.0, 76.0}; // FN20
    if (const auto captions = gridFill(own.latitude, own.longitudeWest, 0, 0)) {
        (void)workedGrids(*captions, log);
        (void)gridHoverText((*captions)[kOwnGridLabel], log);
    }
    (void)hourlyRates(log, DateTime{2012, 12, 30, 0, 0, 0});
    const RateGraph graph = computeRateGraph(std::span<const QsoRecord>(log.records()));
    (void)rateGraphSegments(graph, PlotArea{0.0, 100.0, 100.0, 0.0});

    PointsColours colours;
    for (int n = 1; n <= log.qsoCount(); ++n) {
        const QsoRecord& r = log.record(n);
        (void)computeGridDisplay(r.gridR, r.gridS, own, r.points);
        (void)recomputeEditGrid(r.gridR, r.gridS, own, r.points);
        if (const auto corner = gridCorner(r.gridS)) {
            (void)computeGridDisplay(r.gridR, r.gridS, *corner, r.points);
        }
        colours = pointsColours(r.points, colours);
        (void)ContactLog::pointsValue(r);
        (void)listRowTexts(log, n);
        (void)findDuplicate(log, r.call);
        (void)partialDupeList(log, r.call.substr(0, 3));
        (void)editDone(log, n, editFieldsOf(r));
    }
    return 0;
}
