// cvnpref.txt and what the program computes from its items at start-up: the clocks with the
// UTC offset, the Time On duration, the own position from the own grid and the grid map.

#include "core/DateTime.h"
#include "log/Entry.h"
#include "log/score/Grid.h"
#include "log/score/Stats.h"
#include "log/station/Preferences.h"
#include "log/station/UtcOffset.h"
#include "support/FuzzCheck.h"

#include <cstdint>

using namespace corvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const PreferencesReadResult read = parsePreferences(fuzz::textOf(data, size));
    FUZZ_CHECK(read.itemsRead >= 0 && read.itemsRead <= 19);
    if (!read.ok) {
        return 0;
    }
    const Preferences& p = read.prefs;
    // What the file gives back is written again as the same items.
    const PreferencesReadResult again = parsePreferences(formatPreferences(p, read.features));
    FUZZ_CHECK(again.ok);
    FUZZ_CHECK(again.prefs.ownCall == p.ownCall && again.prefs.ownGrid == p.ownGrid);
    FUZZ_CHECK(again.prefs.powerCategory == p.powerCategory && again.prefs.workedColour == p.workedColour);
    FUZZ_CHECK(again.features.selectedRig == read.features.selectedRig && again.prefs.listPrevious == p.listPrevious);

    const DateTime local{2012, 12, 29, 23, 15, 2};
    const DateTime utc = applyUtcOffset(local, p.utcOffsetHours);
    (void)formatTimeHms(utc);
    (void)formatDateSlash(utc);
    (void)utcOffsetQuestion(p.utcOffsetHours, DateTime{2012, 12, 30, 4, 15, 2}, local);
    (void)formatDuration(timeOnTotalSeconds(local, DateTime{2012, 12, 30, 1, 0, 0}, p.timeOnAccumulatedSeconds));
    (void)scoreTexts(1234.0f, p.powerCategory);
    if (const auto corner = gridCorner(p.ownGrid)) {
        (void)gridFill(corner->latitude, corner->longitudeWest, 0, 0);
    }
    (void)gridFill(p.ownLatitude, p.ownLongitude, 0, 0);
    return 0;
}
