// One received line or AGW frame text, fuzzed, through everything a spot goes through: the
// fields, the record, the store, the list row, the label text and both maps.

#include "spots/BandMap.h"
#include "spots/RecentSpots.h"
#include "spots/SpotIntake.h"
#include "spots/SpotText.h"
#include "spots/StatusText.h"
#include "support/FuzzCheck.h"

#include <cstddef>
#include <cstdint>

using namespace corvane;
using namespace corvane::spots;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line = corvane::fuzz::textOf(data, size);
    const DateTime now{2026, 12, 9, 13, 0, 0};

    const SpotFields fields = spotFields(line);
    FUZZ_CHECK(fields.frequencyText.size() <= 9 && fields.call.size() <= 13);
    const std::string record = spotRecord(line);
    FUZZ_CHECK(record.find('\r') == std::string::npos);
    FUZZ_CHECK(labelText(fields.call).size() <= fields.call.size());
    FUZZ_CHECK(labelText(line).size() <= line.size());

    RecentSpots store;
    // Twice, so that the repeat rule runs; then a neighbour to zoom the scales.
    for (int i = 0; i < 2; ++i) {
        const auto result = store.add(fields.call, fields.frequencyText, record, "W1AW", now);
        FUZZ_CHECK(result.stored == spotFrequencyKHz(fields.frequencyText).has_value());
        if (result.stored) {
            const SpotListRow row = spotListRow(fields.call, result.frequencyMHz, result.record);
            FUZZ_CHECK(row.time.size() <= 4 && row.prefix.size() <= 5 && row.from.size() <= 4);
        }
    }
    store.add("K1ABC", "1850.0", "", "", addSeconds(now, -700));

    const MapScale scale = mainMapScale(store);
    FUZZ_CHECK(scale.lo() <= scale.hi());
    for (const SpotMark& mark : mainMapMarks(store, scale, now, 2.5)) {
        FUZZ_CHECK(mark.fraction > 0.0 && mark.fraction < 1.0);
        FUZZ_CHECK(!mark.toolTip.empty());
    }
    const auto scales = spectrumScales(store);
    for (const SpotMark& mark : spectrumMarks(store, scales, now, -11.0)) {
        FUZZ_CHECK(mark.row >= 0 && mark.row < kSpectrumRows);
        FUZZ_CHECK(spectrumRowOf(store.slot(mark.slot).frequencyMHz) == mark.row);
    }

    // The same text as an AGW frame, with and without a partner.
    StatusText status;
    SpotIntake intake(status);
    for (const auto partner : {"", "W1AW"}) {
        for (const SpotHandOff& spot : intake.agwFrameReceived("W1AW", 'D', line, partner)) {
            FUZZ_CHECK(spot.call.size() <= 13);
        }
        FUZZ_CHECK(status.size() <= kStatusTrimAbove);
    }
    return 0;
}
