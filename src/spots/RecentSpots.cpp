#include "spots/RecentSpots.h"

#include "core/TextCase.h"
#include "spots/SpotText.h"

namespace corvane::spots {

RecentSpots::Result RecentSpots::add(std::string_view call, std::string_view frequencyText, std::string_view record,
                                     std::string_view stationCall, const DateTime& now) {
    Result result;
    const std::string_view station = trimBlanks(stationCall);
    // An empty call never matches: without a station call every short line would count.
    result.ownCall = !station.empty() && equalsIgnoringCase(call, station);
    const auto kHz = spotFrequencyKHz(frequencyText);
    if (!kHz) {
        return result;
    }
    const auto cr = record.find('\r');
    result.record = std::string(cr == std::string_view::npos ? record : record.substr(0, cr));
    result.frequencyMHz = static_cast<float>(*kHz / 1000.0);
    // The oldest slot becomes the newest; every other moves one place towards slot 0.
    m_oldest = position(1);
    SpotSlot& newest = at(kSpotSlots - 1);
    newest.call = std::string(call);
    newest.frequencyMHz = result.frequencyMHz;
    newest.time = now;
    newest.hasTime = true;
    newest.label = labelText(call);
    // Each call keeps one sighting on the maps; slot 0 is about to leave anyway.
    for (int i = kSpotSlots - 2; i >= 1; --i) {
        SpotSlot& older = at(i);
        if (equalsIgnoringCase(older.call, call)) {
            older.frequencyMHz = 0.0f;
            break;
        }
    }
    result.stored = true;
    return result;
}

void RecentSpots::remove(int index) {
    if (index >= 0 && index < kSpotSlots) {
        at(index).frequencyMHz = 0.0f;
    }
}

} // namespace corvane::spots
