// Received cluster lines to stored spots: the TNC path (line splitting, the duplicate search
// over the status area, trimming) and the store, per line; and the two maps' arithmetic.

#include "BenchUtil.h"
#include "core/DateTime.h"
#include "spots/BandMap.h"
#include "spots/RecentSpots.h"
#include "spots/SpotIntake.h"
#include "spots/StatusText.h"
#include "support/SpotLines.h"

#include <string>
#include <vector>

using namespace corvane;
using namespace corvane::spots;

int main() {
    constexpr int kLines = 20000;
    std::vector<std::string> lines;
    lines.reserve(kLines);
    for (int i = 0; i < kLines; ++i) {
        const std::string kHz = std::to_string(1800 + i % 200) + "." + std::to_string(i % 10);
        lines.push_back(testing::clusterLine("K" + std::to_string(i % 97) + "ABC", kHz,
                                             "W" + std::to_string(i % 10) + "X" + std::to_string(i), "CQ TEST",
                                             "2359") +
                        "\r\n");
    }
    const DateTime now{2026, 12, 9, 13, 0, 0};
    std::size_t sink = 0;

    const double totalMs = bench::medianMs(5, [&] {
        StatusText status;
        SpotIntake intake(status);
        RecentSpots store;
        for (const std::string& line : lines) {
            for (const SpotHandOff& spot : intake.tncReceived(line)) {
                sink += store.add(spot.call, spot.frequencyText, spot.record, "W1AW", now).stored ? 1 : 0;
            }
            sink += status.takeUpdate().appended.size();
        }
    });
    bench::report("spot_parse_line", totalMs * 1000.0 / kLines, "us");

    RecentSpots store;
    for (int i = 0; i < kSpotSlots; ++i) {
        store.add("W" + std::to_string(i) + "AW", std::to_string(1800 + 4 * i), "", "W1AW", now);
    }
    const double mapsMs = bench::medianMs(101, [&] {
        const MapScale scale = mainMapScale(store);
        sink += mainMapMarks(store, scale, now, 0.0).size();
        sink += spectrumMarks(store, spectrumScales(store), now, 0.0).size();
    });
    bench::report("spot_maps_redraw", mapsMs * 1000.0, "us");
    return sink == 0 ? 1 : 0;
}
