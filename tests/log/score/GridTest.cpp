#include "log/score/Grid.h"

#include "core/NumberText.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <string>
#include <vector>

namespace corvane {
namespace {

GeoPosition corner(const char* grid) {
    const auto pos = gridCorner(grid);
    EXPECT_TRUE(pos) << grid;
    return pos.value_or(GeoPosition{});
}

TEST(GridCorner, FourCharactersGiveTheSouthWestCorner) {
    EXPECT_EQ(corner("FN31"), (GeoPosition{41, 74}));
    EXPECT_EQ(corner("FN20"), (GeoPosition{40, 76}));
    EXPECT_EQ(corner("AA00"), (GeoPosition{-90, 180}));
    EXPECT_EQ(corner("RR99"), (GeoPosition{89, -178}));
    // Only the characters present count: a field alone, or a field and the longitude digit.
    EXPECT_EQ(corner("FN"), (GeoPosition{40, 80}));
    EXPECT_EQ(corner("FN3"), (GeoPosition{40, 74}));
}

TEST(GridCorner, SubsquareLettersCountFromLowerCaseA) {
    const GeoPosition p = corner("FN31pr");
    EXPECT_DOUBLE_EQ(p.longitudeWest, 74 - 2.0 * 15 / 24);
    EXPECT_DOUBLE_EQ(p.latitude, 41 + 17.0 / 24);
    // Five characters move only the longitude.
    EXPECT_DOUBLE_EQ(corner("FN31x").latitude, 41);
    // Upper-case sub-square letters fall below "a" and move the corner the other way.
    EXPECT_GT(corner("FN31PR").longitudeWest, 74);
    EXPECT_LT(corner("FN31PR").latitude, 41);
}

TEST(GridCorner, MissingOrWrongCharactersFail) {
    EXPECT_FALSE(gridCorner(""));
    EXPECT_FALSE(gridCorner("F"));
    EXPECT_FALSE(gridCorner("FNX1"));
    EXPECT_FALSE(gridCorner("FN3X"));
    EXPECT_FALSE(gridCorner("FN 1"));
}

TEST(HdCalc, NorthEastNeighbourAndReversePath) {
    const auto path = hdCalc(corner("FN20"), corner("FN31"));
    ASSERT_TRUE(path);
    EXPECT_GT(path->bearingDegrees, 0);
    EXPECT_LT(path->bearingDegrees, 90);
    const auto back = hdCalc(corner("FN31"), corner("FN20"));
    ASSERT_TRUE(back);
    EXPECT_GT(back->bearingDegrees, 180);
    EXPECT_LT(back->bearingDegrees, 270);
    EXPECT_NEAR(back->distanceMiles, path->distanceMiles, 1e-9);
}

TEST(HdCalc, CoincidingPositionsFail) {
    EXPECT_FALSE(hdCalc(corner("FN20"), corner("FN20")));
    EXPECT_FALSE(hdCalc(GeoPosition{10, 20}, GeoPosition{-10, -160})); // antipodes
}

// Independent check of distance and heading: haversine and the atan2 heading on the same
// sphere, over many pairs of squares around the world.
double haversineKm(GeoPosition a, GeoPosition b) {
    const double radiusKm = kEarthRadiusMiles * kKilometresPerMile;
    const double rad = std::numbers::pi / 180.0;
    const double dLat = (b.latitude - a.latitude) * rad;
    const double dLon = (b.longitudeWest - a.longitudeWest) * rad;
    const double h = std::sin(dLat / 2) * std::sin(dLat / 2) +
                     std::cos(a.latitude * rad) * std::cos(b.latitude * rad) * std::sin(dLon / 2) * std::sin(dLon / 2);
    return 2 * radiusKm * std::asin(std::sqrt(h));
}

double headingDegrees(GeoPosition a, GeoPosition b) {
    const double rad = std::numbers::pi / 180.0;
    const double dLonEast = (a.longitudeWest - b.longitudeWest) * rad;
    const double y = std::sin(dLonEast) * std::cos(b.latitude * rad);
    const double x = std::cos(a.latitude * rad) * std::sin(b.latitude * rad) -
                     std::sin(a.latitude * rad) * std::cos(b.latitude * rad) * std::cos(dLonEast);
    double deg = std::atan2(y, x) / rad;
    return deg < 0 ? deg + 360 : deg;
}

TEST(HdCalc, AgreesWithHaversineWithinAMetre) {
    std::vector<std::string> grids;
    for (char lon = 'A'; lon <= 'R'; lon += 2) {
        for (char lat = 'B'; lat <= 'Q'; lat += 3) {
            for (char d = '0'; d <= '9'; d += 3) {
                grids.push_back(std::string{lon, lat, d, static_cast<char>('9' - (d - '0'))});
            }
        }
    }
    grids.push_back("FN31pr");
    grids.push_back("FN31ps");
    int compared = 0;
    for (const auto& from : grids) {
        for (const auto& to : grids) {
            const GeoPosition a = corner(from.c_str());
            const GeoPosition b = corner(to.c_str());
            const auto path = hdCalc(a, b);
            if (a.longitudeWest == b.longitudeWest || std::fabs(haversineKm(a, b) - 20000) < 100) {
                continue; // due north or south, same square, or nearly antipodal
            }
            ASSERT_TRUE(path) << from << " " << to;
            const double km = path->distanceMiles * kKilometresPerMile;
            ASSERT_NEAR(km, haversineKm(a, b), 0.001) << from << " " << to;
            double headingError = std::fabs(path->bearingDegrees - headingDegrees(a, b));
            headingError = std::min(headingError, 360 - headingError);
            ASSERT_LT(headingError, 1e-4) << from << " " << to;
            ++compared;
        }
    }
    EXPECT_GT(compared, 40000);
}

TEST(Points, OnePointForEachStarted500Km) {
    EXPECT_EQ(pointsForKilometers(0), 1);
    EXPECT_EQ(pointsForKilometers(499), 1);
    EXPECT_EQ(pointsForKilometers(500), 2);
    EXPECT_EQ(pointsForKilometers(999), 2);
    EXPECT_EQ(pointsForKilometers(1000), 3);
}

TEST(GridDisplay, FewerThanFourCharactersShowZeroPoints) {
    EXPECT_EQ(computeGridDisplay("FN3", "FN20", corner("FN20"), "4"), (GridDisplay{"", "", "0"}));
    EXPECT_EQ(computeGridDisplay("", "FN20", corner("FN20"), "4"), (GridDisplay{"", "", "0"}));
    // No own grid (a damaged cvnpref.txt): nothing is measured from nowhere.
    EXPECT_EQ(computeGridDisplay("FN31", "", GeoPosition{}, "4"), (GridDisplay{"", "", ""}));
}

TEST(GridDisplay, DistanceBearingAndPointsOfAReceivedGrid) {
    const GeoPosition own = corner("FN20");
    const auto path = hdCalc(own, corner("FN31"));
    ASSERT_TRUE(path);
    const GridDisplay d = computeGridDisplay("FN31", "FN20", own, "0");
    EXPECT_EQ(d.bearing, std::to_string(std::lround(path->bearingDegrees)));
    const long km = std::lround(path->distanceMiles * kKilometresPerMile);
    EXPECT_EQ(d.kilometres, std::to_string(km));
    EXPECT_EQ(d.points, std::to_string(km / 500 + 1));

    const GridDisplay far = computeGridDisplay("JO01", "FN20", own, "0");
    ASSERT_GE(far.kilometres.size(), 5u);
    EXPECT_EQ(far.kilometres[far.kilometres.size() - 4], ',');
    EXPECT_EQ(far.points, std::to_string(static_cast<int>(*parseNumber(far.kilometres)) / 500 + 1));
}

TEST(GridDisplay, OwnGridInEitherCaseScoresOnePointAndZeroKm) {
    const GeoPosition own = corner("FN20");
    EXPECT_EQ(computeGridDisplay("FN20", "FN20", own, "7").points, "1");
    EXPECT_EQ(computeGridDisplay("FN20", "FN20", own, "7").kilometres, "0");
    EXPECT_EQ(computeGridDisplay("fn20", "FN20", own, "7").points, "1");
    EXPECT_EQ(computeGridDisplay("fn20", "FN20", own, "7").kilometres, "0");
}

TEST(GridDisplay, DueNorthIsNudgedEastAndStillMeasured) {
    const GridDisplay d = computeGridDisplay("FN21", "FN20", corner("FN20"), "0");
    EXPECT_EQ(d.kilometres, "111");
    EXPECT_EQ(d.points, "1");
    EXPECT_EQ(d.bearing, ""); // whole degrees of a heading a hair east of north: 0
}

TEST(GridDisplay, UnconvertibleGridKeepsThePreviousPoints) {
    EXPECT_EQ(computeGridDisplay("FNX1", "FN20", corner("FN20"), "3"), (GridDisplay{"", "", "3"}));
}

TEST(GridDisplay, PointsComeFromTheRoundedKilometres) {
    // Place the own station straight south-west of FN31 so that the path is 499.6 km.
    const GeoPosition target = corner("FN31");
    double lo = 0;
    double hi = 10;
    GeoPosition own{};
    for (int i = 0; i < 200; ++i) {
        const double mid = (lo + hi) / 2;
        own = GeoPosition{target.latitude - mid, target.longitudeWest + mid};
        const double km = hdCalc(own, target)->distanceMiles * kKilometresPerMile;
        (km < 499.6 ? lo : hi) = mid;
    }
    const GridDisplay d = computeGridDisplay("FN31", "XX00", own, "0");
    EXPECT_EQ(d.kilometres, "500");
    EXPECT_EQ(d.points, "2");
}

TEST(EditGrid, RecomputesFromTheOwnPositionWithExactCaseOwnGrid) {
    const GeoPosition own = corner("FN20");
    EXPECT_FALSE(recomputeEditGrid("FN3", "FN20", own, "2"));
    const auto fn42 = recomputeEditGrid("FN42", "FN20", own, "2");
    ASSERT_TRUE(fn42);
    EXPECT_EQ(fn42->kilometres, computeGridDisplay("FN42", "FN20", own, "2").kilometres);
    EXPECT_EQ(*recomputeEditGrid("FN20", "FN20", own, "2"), (EditGridValues{"0", "1"}));
    // Letter case counts here: fn20 is not the own grid.
    EXPECT_NE(recomputeEditGrid("fn20", "FN20", own, "2")->kilometres, "0");
    EXPECT_EQ(*recomputeEditGrid("FNX0", "FN20", own, "2"), (EditGridValues{"", "2"}));
}

TEST(PointsColours, TableAndKeptColoursBetweenListedValues) {
    const PointsColours navy{{0, 0, 128}, {255, 255, 255}};
    const PointsColours other{{1, 2, 3}, {4, 5, 6}};
    EXPECT_EQ(pointsColours("", other), navy);
    EXPECT_EQ(pointsColours("0", other), navy);
    EXPECT_EQ(pointsColours("1", other), navy);
    EXPECT_EQ(pointsColours("2", other), (PointsColours{{0, 0, 255}, {255, 255, 255}}));
    EXPECT_EQ(pointsColours("3", other), (PointsColours{{0, 255, 255}, {0, 0, 0}}));
    EXPECT_EQ(pointsColours("10", other), (PointsColours{{128, 0, 0}, {255, 255, 255}}));
    EXPECT_EQ(pointsColours("11", other), (PointsColours{{255, 0, 0}, {255, 255, 255}}));
    EXPECT_EQ(pointsColours("40", other), (PointsColours{{255, 0, 0}, {255, 255, 255}}));
    EXPECT_EQ(pointsColours("2.5", other), other);
    EXPECT_EQ(pointsColours("-3", other), other);
}

} // namespace
} // namespace corvane
