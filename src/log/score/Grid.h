#pragma once
// Maidenhead grid squares as positions, the great-circle heading and distance between
// two of them, the contest's points rule and the live texts of the distance, bearing and
// points displays.

#include "core/Rgb.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace corvane {

// Degrees; latitude positive north, longitude positive WEST (75 is 75 degrees W).
struct GeoPosition {
    double latitude = 0.0;
    double longitudeWest = 0.0;

    friend bool operator==(const GeoPosition&, const GeoPosition&) = default;
};

struct BearingDistance {
    double bearingDegrees = 0.0;
    double distanceMiles = 0.0; // statute miles
};

// Radius of the sphere the distances are measured on, and the mile.
inline constexpr double kEarthRadiusMiles = 3955.75791314991;
inline constexpr double kKilometresPerMile = 1.609344;
// Degrees per radian as the heading arithmetic has always used it.
inline constexpr double kDegreesPerRadian = 57.29577951;

// South-west corner of the square: field letters (c1 longitude, c2 latitude), then the
// two digits, then optionally the sub-square letters counted from lower-case a. Only as
// many characters as the text holds are used. nullopt when a character the arithmetic
// needs is missing (fewer than two characters) or a digit position holds no digit.
std::optional<GeoPosition> gridCorner(std::string_view grid);

// Heading (0..360, stations to the east between 0 and 180) and distance from own to
// other. nullopt when the arithmetic breaks down: coinciding or antipodal positions, or
// a due north or south path (the heading's cosine reaches 1).
std::optional<BearingDistance> hdCalc(GeoPosition own, GeoPosition other);

// The heading and distance the displays use: hdCalc, with a square lying exactly due north
// or south of the own one nudged a little east first (0.001 degree), so that the heading
// arithmetic has a side to go to. nullopt where hdCalc breaks down all the same.
std::optional<BearingDistance> displayedPath(GeoPosition own, GeoPosition other);

// One point for each started 500 km: Int(km / 500) + 1.
int pointsForKilometers(double kilometres);

// Whole number without grouping ("###"); empty text when it rounds to 0.
std::string formatWholeNumber(double value);

// Texts of the three displays beside the grid field.
struct GridDisplay {
    std::string bearing;    // Label23, "###"
    std::string kilometres; // Label24, "##,###"
    std::string points;     // Label5

    friend bool operator==(const GridDisplay&, const GridDisplay&) = default;
};

// Recomputed on every change of the grid field. `own` is the stored own position
// (OwnLatitude, OwnLongitude); `previousPoints` is what Label5 showed before the change.
// Without an own grid nothing is measured: bearing, kilometres and points stay empty.
GridDisplay computeGridDisplay(std::string_view typedGrid, std::string_view ownGrid, GeoPosition own,
                               std::string_view previousPoints);

// The edit window's recompute of km and points when Grid(R) holds more than 3
// characters; nullopt when it holds fewer (nothing changes). The own-grid rule compares
// with letter case. An unconvertible grid empties km and keeps the points.
struct EditGridValues {
    std::string kilometres;
    std::string points;

    friend bool operator==(const EditGridValues&, const EditGridValues&) = default;
};
std::optional<EditGridValues> recomputeEditGrid(std::string_view gridR, std::string_view ownGrid, GeoPosition own,
                                                std::string_view previousPoints);

// Background and text colour of the points display.
struct PointsColours {
    Rgb background{0, 0, 128};
    Rgb text{255, 255, 255};

    friend bool operator==(const PointsColours&, const PointsColours&) = default;
};

// Colours for the points text: navy for non-numbers and 0 to 1, one colour per whole
// number 2 to 10, red from 11. Other values (2.5, negatives) keep `previous`.
PointsColours pointsColours(std::string_view pointsText, PointsColours previous);

} // namespace corvane
