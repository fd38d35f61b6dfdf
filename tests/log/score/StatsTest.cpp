#include "log/score/Stats.h"

#include "ScoreTestLog.h"
#include "log/score/Grid.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

using test::contact;
using test::logOf;

TEST(LabelDisplay, PointsAndScoreByPowerClass) {
    EXPECT_EQ(scoreTexts(0.0f, 2), (ScoreTexts{"0", "0"}));
    EXPECT_EQ(scoreTexts(12.5f, 1), (ScoreTexts{"12.5", "50"}));
    EXPECT_EQ(scoreTexts(37.0f, 2), (ScoreTexts{"37", "74"}));
    EXPECT_EQ(scoreTexts(37.0f, 3), (ScoreTexts{"37", "37"}));
    EXPECT_EQ(scoreTexts(37.0f, 7), (ScoreTexts{"37", "0"}));
}

QsoRecord at(const char* time, const char* date = "2012/12/29") {
    return contact("K1ABC", "FN31", date, time);
}

const DateTime kNow{2012, 12, 29, 23, 30, 0};

TEST(TimeStats, CountsTheLastTwentyAndSixtyMinutes) {
    // Five in the last hour, three of them in the last 20 minutes.
    const ContactLog log =
        logOf({at("21:00:00"), at("22:40:00"), at("22:50:00"), at("23:15:00"), at("23:20:00"), at("23:29:59")});
    EXPECT_EQ(hourlyRates(log, kNow), (Rates{9, 5}));
    EXPECT_EQ(hourlyRates(ContactLog{}, kNow), (Rates{0, 0}));
}

TEST(TimeStats, BoundariesAndTheStopAtTheFirstOldRecord) {
    EXPECT_EQ(hourlyRates(logOf({at("23:10:01")}), kNow), (Rates{3, 1})); // 1199 s
    EXPECT_EQ(hourlyRates(logOf({at("23:10:00")}), kNow), (Rates{0, 1})); // 1200 s
    EXPECT_EQ(hourlyRates(logOf({at("22:30:01")}), kNow), (Rates{0, 1})); // 3599 s
    EXPECT_EQ(hourlyRates(logOf({at("22:30:00")}), kNow), (Rates{0, 0})); // 3600 s
    // The scan stops at the first record an hour old, even if earlier lines are recent.
    EXPECT_EQ(hourlyRates(logOf({at("23:25:00"), at("20:00:00"), at("23:26:00")}), kNow), (Rates{3, 1}));
    // A time in the future counts in both rates; the day before is an hour and more away.
    EXPECT_EQ(hourlyRates(logOf({at("23:00:00", "2012/12/28"), at("23:45:00")}), kNow), (Rates{3, 1}));
    // Contacts entered after the contest carry hh:mm.
    EXPECT_EQ(hourlyRates(logOf({at("23:20")}), kNow), (Rates{3, 1}));
}

TEST(TimeStats, UnreadableDateOrTimeFailsOnlyWhenReached) {
    EXPECT_FALSE(hourlyRates(logOf({at("23:20:00"), at("xx")}), kNow));
    EXPECT_FALSE(hourlyRates(logOf({at("23:20:00", "2012/13/01")}), kNow));
    EXPECT_EQ(hourlyRates(logOf({at("xx"), at("20:00:00"), at("23:20:00")}), kNow), (Rates{3, 1}));
}

GridCaptions mapOf(const char* ownGrid, int pageLat = 0, int pageLon = 0) {
    const auto own = gridCorner(ownGrid);
    const auto captions = gridFill(own->latitude, own->longitudeWest, pageLat, pageLon);
    EXPECT_TRUE(captions);
    return captions.value_or(GridCaptions{});
}

TEST(GridFill, MapAroundFn20) {
    const GridCaptions map = mapOf("FN20");
    EXPECT_EQ(map[0], "EN68");
    EXPECT_EQ(map[11], "FN78");
    EXPECT_EQ(map[12], "EN67");
    EXPECT_EQ(map[kOwnGridLabel], "FN20");
    EXPECT_EQ(map[203], "FM72");
}

TEST(GridFill, ArrowsShiftTheMapAndNorthThenSouthRestoresIt) {
    GridPage page;
    moveGridPage(page, GridArrow::North);
    const GridCaptions north = mapOf("FN20", page.latitude, page.longitude);
    EXPECT_EQ(north[kOwnGridLabel], "FN21");
    EXPECT_EQ(north[kOwnGridLabel + 12], "FN20");
    moveGridPage(page, GridArrow::South);
    EXPECT_EQ(mapOf("FN20", page.latitude, page.longitude), mapOf("FN20"));
    moveGridPage(page, GridArrow::West);
    EXPECT_EQ(mapOf("FN20", page.latitude, page.longitude)[kOwnGridLabel + 1], "FN20");
    moveGridPage(page, GridArrow::East);
    moveGridPage(page, GridArrow::East);
    EXPECT_EQ(mapOf("FN20", page.latitude, page.longitude)[kOwnGridLabel - 1], "FN20");
}

TEST(GridFill, CrossesGreenwichAndRefusesOtherQuadrants) {
    const GridCaptions london = mapOf("IO91");
    EXPECT_EQ(london[kOwnGridLabel], "IO91");
    EXPECT_EQ(london[kOwnGridLabel + 1], "JO01");
    EXPECT_FALSE(gridFill(-34, 58, 0, 0)); // south of the equator
    EXPECT_FALSE(gridFill(52, -13, 0, 0)); // east of Greenwich
    EXPECT_FALSE(gridFill(0, 76, 0, 0));
}

TEST(WorkedGrids, FirstMatchingLabelIgnoringCaseAndHoverCount) {
    GridCaptions captions = mapOf("FN20");
    const ContactLog log = logOf({contact("A1A", "FN31"), contact("A1B", "fn31"), contact("A1C", "FN31ab"),
                                  contact("A1D", "XX99"), contact("A1E", "EN68")});
    const WorkedGrids worked = workedGrids(captions, log);
    const auto fn31 = gridLabelFor(captions, "fn31");
    ASSERT_TRUE(fn31);
    EXPECT_TRUE(worked.test(static_cast<std::size_t>(*fn31)));
    EXPECT_TRUE(worked.test(0));
    EXPECT_EQ(worked.count(), 2u);
    EXPECT_FALSE(gridLabelFor(captions, "XX99"));

    // A caption shown twice: only the first label is painted.
    captions[5] = "ZZ00";
    captions[7] = "zz00";
    const WorkedGrids twice = workedGrids(captions, logOf({contact("A1A", "ZZ00")}));
    EXPECT_TRUE(twice.test(5));
    EXPECT_FALSE(twice.test(7));
    EXPECT_EQ(gridLabelFor(captions, "Zz00"), 5);

    EXPECT_EQ(gridHoverText("FN31", log), "FN31  Total = 2");
    EXPECT_EQ(gridHoverText("FN42", log), "FN42  Total = 0");
}

} // namespace
} // namespace corvane
