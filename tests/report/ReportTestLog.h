#pragma once
// Logs and stations for the report tests.

#include "log/ContactLog.h"
#include "log/score/Grid.h"
#include "log/station/Preferences.h"
#include "support/Contacts.h"

#include <string>
#include <vector>

namespace corvane::test {

inline Preferences station(const std::string& grid, int powerCategory = 2) {
    Preferences prefs;
    prefs.ownCall = "W1XYZ";
    prefs.ownGrid = grid;
    prefs.powerCategory = powerCategory;
    const GeoPosition corner = *gridCorner(grid);
    prefs.ownLatitude = corner.latitude;
    prefs.ownLongitude = corner.longitudeWest;
    return prefs;
}

// A contact logged from FN20, its kilometres as the distance display showed them.
inline QsoRecord timedContact(std::string call, std::string date, std::string time, std::string grid = "FN31",
                              std::string points = "3") {
    const Preferences own = station("FN20");
    return Contact(std::move(call))
        .kilometers(computeGridDisplay(grid, own.ownGrid, {own.ownLatitude, own.ownLongitude}, "0").kilometres)
        .grid(std::move(grid))
        .ownGrid(own.ownGrid)
        .date(std::move(date))
        .time(std::move(time))
        .points(std::move(points));
}

inline QsoRecord contact(std::string call, std::string grid, std::string points) {
    return timedContact(std::move(call), "2012/12/29", "23:15:02", std::move(grid), std::move(points));
}

inline ContactLog logOf(std::vector<QsoRecord> records) {
    ContactLog log;
    log.assign(std::move(records));
    return log;
}

// A short night: 22:00 two contacts (5 points), 23:00 none, 00:00 four (12 points, one
// with the points "x" and a grid of three characters), 01:00 two (9.5 points), and one
// contact with an impossible date (1.5 points).
inline ContactLog nightLog() {
    return logOf({
        timedContact("K1AA", "2012/12/29", "22:05:00", "FN31", "2"),
        timedContact("K2BB", "2012/12/29", "22:40:00", "FN42", "3"),
        timedContact("W3CC", "2012/12/30", "00:10:00", "EN90", "4"),
        timedContact("W4DD", "2012/12/30", "00:20:00", "EM73", "3"),
        timedContact("W5EE", "2012/12/30", "00:50:00", "EM12", "5"),
        timedContact("W6FF", "2012/12/30", "01:40:00", "CM87", "7"),
        timedContact("W7GG", "2012/13/45", "00:15:00", "DN07", "1.5"),
        timedContact("W8HH", "2012/12/30", "00:30:00", "FN3", "x"),
        timedContact("W9II", "2012/12/30", "01:10:00", "EL96", "2.5"),
    });
}

} // namespace corvane::test
