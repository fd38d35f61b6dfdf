#pragma once
// The 50 most recent spots of all bands: slot 0 the oldest, slot 49 the newest. Every new
// spot pushes the oldest out; a call spotted again takes its older sighting (slots 1-48)
// off the maps by setting that slot's frequency to 0. Not saved; empty at every start.

#include "core/DateTime.h"

#include <array>
#include <string>
#include <string_view>

namespace corvane::spots {

inline constexpr int kSpotSlots = 50;

struct SpotSlot {
    std::string call;
    float frequencyMHz = 0.0f; // 0: not on the maps
    DateTime time{};           // local time it was stored
    bool hasTime = false;      // false for a slot never filled
    std::string label;         // labelText(call)
};

class RecentSpots {
public:
    struct Result {
        bool ownCall = false;      // the call is the station's: show "You've been spotted!"
        bool stored = false;       // the frequency was a number and the spot went to slot 49
        float frequencyMHz = 0.0f; // for the spot list row
        std::string record;        // the record cut at its first CR
    };

    // Stores a spot handed over by the intake; `now` is the local time.
    Result add(std::string_view call, std::string_view frequencyText, std::string_view record,
               std::string_view stationCall, const DateTime& now);

    const SpotSlot& slot(int index) const { return m_slots[position(index)]; }
    // The operator's left click: the spot leaves both maps. Out-of-range indexes are ignored.
    void remove(int index);

private:
    // Slots are kept in a ring: slot 0 is at m_oldest.
    std::size_t position(int index) const {
        return (m_oldest + static_cast<std::size_t>(index)) % static_cast<std::size_t>(kSpotSlots);
    }
    SpotSlot& at(int index) { return m_slots[position(index)]; }

    std::array<SpotSlot, kSpotSlots> m_slots{};
    std::size_t m_oldest = 0;
};

} // namespace corvane::spots
