#pragma once
// The facts of the contest report, taken from the log and the station settings with the
// arithmetic the log itself scores with: where each contact lies from the station (the
// distance display's heading and distance), contacts and points per UTC hour, how many
// contacts gave each number of points, the ten longest contacts and the totals of the score
// display.

#include "core/DateTime.h"
#include "log/ContactLog.h"
#include "log/score/Grid.h"
#include "log/station/Preferences.h"

#include <optional>
#include <string>
#include <vector>

namespace corvane {

// A contact as the map places it: heading and distance from the own position.
struct PlacedContact {
    int record = 0; // record number, 1-based
    double bearingDegrees = 0.0;
    double kilometres = 0.0;
    std::string points; // the record's points text, which colours the dot
};

// The contacts in one square with the same points: one dot on the map, one row of its table.
struct WorkedSquare {
    std::string grid; // as first logged, upper case
    int contacts = 0;
    PlacedContact place; // of the first contact in it
};

struct HourTally {
    std::int64_t hour = 0; // whole hours since 1970-01-01 00:00 UTC
    int contacts = 0;
    double points = 0.0;
};

struct PointsTally {
    int points = 0; // 1, 2, 3 ...
    int contacts = 0;
};

struct LongContact {
    int record = 0;
    std::string call;
    std::string grid;
    std::string kilometres; // as logged
    std::string points;
    std::string when; // date and time as logged
    double km = 0.0;
    std::optional<PlacedContact> placed; // where the map shows it, when it can
};

struct ReportTotals {
    int contacts = 0;
    std::string totalPoints; // as the score display shows them
    int multiplier = 0;
    std::string totalScore;
};

// The highest number of points one contact can give: the far side of the earth is 20000 km.
inline constexpr int kMostPoints = 41;
// More hours than this between the first and the last contact, and the hours without
// contacts are left out of the hourly pictures.
inline constexpr int kMostHoursShown = 96;

struct ReportFacts {
    std::string ownCall;
    std::string ownGrid;
    GeoPosition own;
    ReportTotals totals;

    std::vector<PlacedContact> placed; // in log order
    std::vector<WorkedSquare> squares; // nearest first
    int unplaced = 0;                  // contacts whose grid gives no place on the map
    double furthestPlacedKm = 0.0;

    std::vector<HourTally> hours; // in time order
    bool emptyHoursLeftOut = false;
    int untimed = 0;            // contacts whose date or time cannot be read
    double untimedPoints = 0.0; // and their points
    int bestContactsHour = -1;  // index into hours, -1 when there is none
    int bestPointsHour = -1;

    std::vector<PointsTally> histogram; // 1 .. the most points any contact gave
    int otherPoints = 0;                // contacts whose points are no whole number 1 .. kMostPoints

    std::vector<LongContact> longest; // up to ten, longest first
    std::string firstContact;         // "yyyy/mm/dd hh:mm" UTC of the earliest readable time, or ""
    std::string lastContact;
};

ReportFacts gatherReportFacts(const ContactLog& log, const Preferences& prefs);

// Where the map puts a contact in this square, seen from the own position: the distance
// display's heading and distance (0 km for the own square, letter case ignored). nullopt
// when the grid has fewer than four characters, cannot be read, or lies where no heading
// can be computed.
std::optional<PlacedContact> placeGrid(std::string_view grid, std::string_view ownGrid, GeoPosition own);

// "2012/12/29 23:00" for an hour of HourTally.
std::string hourText(std::int64_t hour);

} // namespace corvane
