// BandPlan.txt: reading, the rig window's rows, the mode for a frequency and the privileges chart.
#include "bandplan/BandPlan.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace corvane::bandplan {
namespace {

std::string line(std::string_view band, std::string_view cls, std::string_view mode, std::string_view lower,
                 std::string_view upper) {
    return "\"" + std::string(band) + "\",\"" + std::string(cls) + "\",\"" + std::string(mode) + "\"," +
           std::string(lower) + "," + std::string(upper) + "\r\n";
}

const std::string kPlan = "\"2026-12-01\"\r\n" + line("160", "O", "ALL", "1.8", "2") +
                          line("160", "E", "CW", "1.8", "1.843") + line("160", "E", "PH", "1.843", "2") +
                          line("80", "O", "ALL", "3.5", "4") + line("80", "E", "CW", "3.5", "3.6") +
                          line("80", "G", "CW", "3.525", "3.6") + line("80", "E", "PH", "3.6", "4") +
                          line("20", "O", "ALL", "14", "14.35") + line("20", "G", "PH", "14.225", "14.35") +
                          // a General row for 160 m outside its band's run
                          line("160", "G", "CW", "1.8", "2");

std::string readShippedPlan() {
    std::ifstream in(CORVANE_DATA_DIR "/BandPlan.txt", std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

TEST(BandPlanFile, ReadsDateAndRowsInFileOrder) {
    const auto plan = parseBandPlan(kPlan);
    EXPECT_FALSE(plan.error);
    EXPECT_EQ(plan.effectiveDate, "2026-12-01");
    EXPECT_EQ(effectiveLine(plan), "Frequencies Effective: 2026-12-01");
    ASSERT_EQ(plan.rows.size(), 10U);
    EXPECT_EQ(plan.rows[1], (BandPlanRow{"160", "E", "CW", 1.8F, 1.843F}));
    const auto extra = parseExtraRows(kPlan);
    ASSERT_EQ(extra.rows.size(), 4U);
    EXPECT_EQ(extra.rows[3].mode, "PH");
}

TEST(BandPlanFile, LowerCaseClassIsNotExtra) {
    const auto extra = parseExtraRows("\"d\"\r\n" + line("80", "e", "CW", "3.5", "3.6"));
    EXPECT_TRUE(extra.rows.empty());
}

TEST(BandPlanFile, DamagedFileNamesTheLineAndKeepsWhatWasRead) {
    const std::string damaged = "\"d\"\r\n" + line("80", "E", "CW", "3.5", "3.6") + line("80", "E", "PH", "three", "4");
    const auto plan = parseBandPlan(damaged);
    ASSERT_TRUE(plan.error);
    EXPECT_EQ(plan.error->line, 3);
    EXPECT_EQ(plan.error->describe(), "BandPlan.txt line 3: the lower edge \"three\" is not a number");
    EXPECT_EQ(plan.rows.size(), 1U);

    const auto cut = parseBandPlan("\"d\"\r\n\"80\",\"E\",\"CW\",3.5\r\n");
    ASSERT_TRUE(cut.error);
    EXPECT_NE(cut.error->describe().find("ends inside a row"), std::string::npos);
    EXPECT_TRUE(cut.rows.empty());

    EXPECT_TRUE(parseBandPlan("").error);
    EXPECT_TRUE(parseBandPlan("\"d\"\r\n\"80,\"E\"").error);                             // unterminated quote
    EXPECT_TRUE(parseBandPlan("\"d\"\r\n" + line("80", "E", "CW", "1e300", "4")).error); // beyond a float
    // A plan with only its date has no rows and no error.
    const auto dateOnly = parseBandPlan("\"d\"\r\n");
    EXPECT_FALSE(dateOnly.error);
    EXPECT_TRUE(dateOnly.rows.empty());
}

TEST(BandPlanFile, KeepsAtMostTwoHundredRows) {
    std::string big = "\"d\"\r\n";
    for (int i = 0; i < 250; ++i) {
        big += line("20", i % 2 == 0 ? "E" : "G", "CW", "14", "14.1");
    }
    const auto plan = parseBandPlan(big);
    EXPECT_EQ(plan.rows.size(), kMaxBandPlanRows);
    EXPECT_TRUE(plan.rowsDropped);
    EXPECT_FALSE(plan.error);
    // The rig window counts only the rows it keeps: 125 "E" rows fit.
    const auto extra = parseExtraRows(big);
    EXPECT_EQ(extra.rows.size(), 125U);
    EXPECT_FALSE(extra.rowsDropped);
}

TEST(ModeFromBandPlan, StrictEdgesAndFirstRowWins) {
    const auto rows =
        parseExtraRows("\"d\"\r\n" + line("80", "E", "CW", "3.5", "3.6") + line("80", "E", "PH", "3.55", "4") +
                       line("20", "E", "RTTY", "14.07", "14.1") + line("160", "E", "CW", "1.8", "2"))
            .rows;
    EXPECT_EQ(modeFromBandPlan(rows, 3.5F), "");    // on the lower edge
    EXPECT_EQ(modeFromBandPlan(rows, 3.58F), "CW"); // both rows: the earlier wins
    EXPECT_EQ(modeFromBandPlan(rows, 3.6F), "LSB"); // the CW row's upper edge, inside the PH row
    EXPECT_EQ(modeFromBandPlan(rows, 14.08F), "RTTY");
    EXPECT_EQ(modeFromBandPlan(rows, 1.83F), "");
    EXPECT_EQ(modeFromBandPlan(rows, 10.12F), "");
}

TEST(PrivilegesChart, BarsOnlyForBandsWhoseRunHoldsTheClass) {
    const auto plan = parseBandPlan(kPlan);
    const Chart extra = buildChart(plan, "E");
    ASSERT_EQ(extra.bars.size(), 2U);
    EXPECT_EQ(extra.bars[0].band, "160");
    EXPECT_EQ(extra.bars[0].tooltip, "160  1.800 - 2.000");
    EXPECT_EQ(extra.bars[1].band, "80");
    ASSERT_EQ(extra.bars[1].segments.size(), 2U);
    const auto& cw = extra.bars[1].segments[0];
    EXPECT_TRUE(cw.cw);
    EXPECT_EQ(cw.caption, "3.500 - 3.600");
    EXPECT_EQ(cw.tooltip, "CW  3.500 - 3.600");
    EXPECT_NEAR(cw.leftFraction, 0.0, 1e-6);
    EXPECT_NEAR(cw.widthFraction, 0.2, 1e-6);
    EXPECT_EQ(extra.bars[1].segments[1].tooltip, "PH  3.600 - 4.000");
    EXPECT_FALSE(extra.bars[1].segments[1].cw);

    // General: 160 m's run holds no "G" row, so no bar even though one stands later.
    const Chart general = buildChart(plan, "G");
    ASSERT_EQ(general.bars.size(), 2U);
    EXPECT_EQ(general.bars[0].band, "80");
    EXPECT_EQ(general.bars[1].band, "20");
    EXPECT_NEAR(general.bars[0].segments[0].leftFraction, 0.05, 1e-6);

    EXPECT_TRUE(buildChart(plan, "N").bars.empty());
    EXPECT_EQ(buildChart(plan, "E").bars.size(), extra.bars.size()); // the same chart twice
}

TEST(PrivilegesChart, RowsOutsideTheRunStillDrawOnAnExistingBar) {
    const std::string plan = kPlan + line("80", "E", "CW", "3.45", "4.1");
    const Chart chart = buildChart(parseBandPlan(plan), "E");
    ASSERT_EQ(chart.bars[1].segments.size(), 3U);
    const auto& wide = chart.bars[1].segments[2];
    EXPECT_LT(wide.leftFraction, 0.0);                      // drawn past the bar's left end
    EXPECT_GT(wide.leftFraction + wide.widthFraction, 1.0); // and past its right end
}

TEST(PrivilegesChart, BandWithoutWidthAndTooManyBands) {
    std::string plan = "\"d\"\r\n" + line("X", "O", "ALL", "5", "5") + line("X", "E", "CW", "5", "5");
    for (int i = 0; i < 25; ++i) {
        const std::string band = "B" + std::to_string(i);
        plan += line(band, "O", "ALL", "10", "11") + line(band, "E", "CW", "10", "10.5");
    }
    const Chart chart = buildChart(parseBandPlan(plan), "E");
    EXPECT_EQ(chart.bars.size(), kMaxChartBars);
    EXPECT_TRUE(chart.barsDropped);
    EXPECT_TRUE(chart.bars[0].segments.empty()); // nothing is laid on a band without width
}

TEST(PrivilegesChart, EdgeText) {
    EXPECT_EQ(formatEdge(1.8F), "1.800");
    EXPECT_EQ(formatEdge(1270.0F), "1,270.000");
    EXPECT_EQ(formatEdge(0.5F), ".500");
    EXPECT_EQ(formatEdge(14.35F), "14.350");
}

TEST(ShippedPlan, EveryClassChartsAndTheRigRowsFit) {
    const auto plan = parseBandPlan(readShippedPlan());
    ASSERT_FALSE(plan.error) << plan.error->describe();
    EXPECT_FALSE(plan.rowsDropped);
    std::vector<std::size_t> bars;
    for (const auto& c : licenceClasses()) {
        const Chart chart = buildChart(plan, c.letter);
        EXPECT_FALSE(chart.barsDropped) << c.letter;
        bars.push_back(chart.bars.size());
        for (const auto& bar : chart.bars) {
            for (const auto& segment : bar.segments) {
                EXPECT_GE(segment.leftFraction, 0.0) << bar.band;
                EXPECT_LE(segment.leftFraction + segment.widthFraction, 1.0 + 1e-6) << bar.band;
            }
        }
    }
    // Novice, Technician, Tech +, General, Advanced, Extra.
    EXPECT_EQ(bars, (std::vector<std::size_t>{6, 10, 10, 16, 16, 16}));
    const auto rows = parseExtraRows(readShippedPlan()).rows;
    EXPECT_EQ(modeFromBandPlan(rows, 1.83F), "");
    EXPECT_EQ(modeFromBandPlan(rows, 3.55F), "CW");
    EXPECT_EQ(modeFromBandPlan(rows, 7.2F), "LSB");
    EXPECT_EQ(modeFromBandPlan(rows, 14.2F), "USB");
    EXPECT_EQ(modeFromBandPlan(rows, 50.05F), "CW");
    EXPECT_EQ(findLicenceClass("P")->button, "Tech +");
    EXPECT_EQ(findLicenceClass("E")->heading, "Extra Frequency Privileges");
    EXPECT_EQ(findLicenceClass("e"), nullptr);
}

} // namespace
} // namespace corvane::bandplan
