#pragma once
// Score statistics: total points and score, the two hourly rates, and the map of grid
// squares around the station with the worked ones marked.

#include "core/DateTime.h"
#include "log/ContactLog.h"

#include <array>
#include <bitset>
#include <optional>
#include <string>
#include <string_view>

namespace corvane {

// The total points and the total score as the score panel shows them.
struct ScoreTexts {
    std::string totalPoints;
    std::string totalScore;

    friend bool operator==(const ScoreTexts&, const ScoreTexts&) = default;
};
ScoreTexts scoreTexts(float totalPoints, int powerCategory);

// The hourly rates: contacts of the last 20 minutes x 3, and of the last 60 minutes.
struct Rates {
    int perHourLast20 = 0;
    int perHourLast60 = 0;

    friend bool operator==(const Rates&, const Rates&) = default;
};
// Counts from the newest record back and stops at the first one an hour old or older.
// nullopt when a record it reaches has an unreadable date or time: the panel keeps
// what it showed.
std::optional<Rates> hourlyRates(const ContactLog& log, DateTime nowUtc);

inline constexpr int kGridRows = 17;
inline constexpr int kGridColumns = 12;
inline constexpr int kGridLabelCount = kGridRows * kGridColumns; // 204
inline constexpr int kOwnGridLabel = 102;                        // row 8, column 6

using GridCaptions = std::array<std::string, kGridLabelCount>;
using WorkedGrids = std::bitset<kGridLabelCount>;

// The captions of the grid map's 204 squares, row by row from the north-west corner, for the own
// position (longitude west-positive) shifted by the arrow buttons. nullopt when the
// station is not in the north-west quadrant (the map keeps its captions).
std::optional<GridCaptions> gridFill(double ownLatitude, double ownLongitudeWest, int pageLat, int pageLon);

// The arrow buttons' shifts of the map, in degrees; 0 at every start.
struct GridPage {
    int latitude = 0;
    int longitude = 0;
};
enum class GridArrow { North, South, West, East };
void moveGridPage(GridPage& page, GridArrow arrow);

// The first square (from 0) whose caption equals the grid, letter case ignored; nullopt
// when the grid is not on the map.
std::optional<int> gridLabelFor(const GridCaptions& captions, std::string_view grid);

// The squares to paint in the worked colour: the received grid of every record.
WorkedGrids workedGrids(const GridCaptions& captions, const ContactLog& log);

// Hover text of a square: caption + "  Total = " + the records worked in it.
std::string gridHoverText(std::string_view caption, const ContactLog& log);

} // namespace corvane
