#pragma once
// cvnpref.txt: the station's own settings and the items other subsystems keep with them,
// nineteen items in a fixed order.

#include <optional>
#include <string>
#include <string_view>

namespace corvane {

struct Preferences {
    std::string ownCall;
    std::string ownGrid;
    float utcOffsetHours = 0.0f;
    std::string mode = "CW";
    std::string band = "160";
    float timeOnAccumulatedSeconds = 0.0f;
    int powerCategory = 2; // 1 "< 5 Watts", 2 "5 - 100 Watts", 3 "> 100 Watts"
    int recordRst = 1;     // 1 record, 2 do not record
    int formSizePercent = 100;
    int rover = 0;
    double ownLongitude = 0.0; // degrees, west positive
    double ownLatitude = 0.0;  // degrees, north positive
    std::string gridViewCaption = "View Grids";
    long workedColour = 0x000000FF;    // 0x00BBGGRR
    long remainingColour = 0x00000000; // 0x00BBGGRR
    int taskbar = 0;
    int listPrevious = 0;
};

// The items of cvnpref.txt that belong to other subsystems: their features hold the values
// and hand them over each time the file is written; the file only keeps their places.
struct FeaturePreferences {
    int voiceNavLevel = 0;            // voice navigation: 0 off, 1 the call field, 2 every field
    std::string selectedRig = "None"; // rig control: the radio model polled at start
};

std::string formatPreferences(const Preferences& prefs, const FeaturePreferences& features = {});

struct PreferencesReadResult {
    bool ok = false;
    Preferences prefs;
    FeaturePreferences features;
    int itemsRead = 0; // how many items were read before a fault
};
// Reads the nineteen items; a missing item, a text where a number belongs or a number
// out of its range is a fault.
PreferencesReadResult parsePreferences(std::string_view bytes);

} // namespace corvane

namespace corvane {

// Score factor of a power class: 4 for QRP, 2 for low, 1 for high power, 0 otherwise.
constexpr int powerMultiplier(int powerCategory) {
    switch (powerCategory) {
    case 1:
        return 4;
    case 2:
        return 2;
    case 3:
        return 1;
    default:
        return 0;
    }
}

} // namespace corvane
