// BandPlan.txt: reading, the rig window's rows, the mode for frequencies and every class's chart.
#include "bandplan/BandPlan.h"
#include "support/FuzzCheck.h"

#include <cmath>
#include <cstdint>

using namespace corvane;
using namespace corvane::bandplan;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::textOf(data, size);
    const BandPlan plan = parseBandPlan(text);
    FUZZ_CHECK(plan.rows.size() <= kMaxBandPlanRows);
    if (plan.error) {
        FUZZ_CHECK(plan.error->line >= 1);
        (void)plan.error->describe();
    }
    const BandPlan extra = parseExtraRows(text);
    FUZZ_CHECK(extra.rows.size() <= kMaxBandPlanRows);
    for (const auto& row : extra.rows) {
        FUZZ_CHECK(row.licence == "E");
        const float middle = row.lowerMHz / 2 + row.upperMHz / 2;
        const std::string mode = modeFromBandPlan(extra.rows, middle);
        FUZZ_CHECK(mode != "PH"); // voice becomes a sideband
        if (row.band == "160" && strictlyInside(row, middle) && &row == &extra.rows.front()) {
            FUZZ_CHECK(mode.empty()); // tuning on 160 m never sets a mode
        }
    }
    for (const auto& c : licenceClasses()) {
        const Chart chart = buildChart(plan, c.letter);
        FUZZ_CHECK(chart.bars.size() <= kMaxChartBars);
        for (const auto& bar : chart.bars) {
            for (const auto& segment : bar.segments) {
                FUZZ_CHECK(!std::isnan(segment.leftFraction) && !std::isnan(segment.widthFraction));
            }
        }
    }
    (void)effectiveLine(plan);
    return 0;
}
