#include "spots/SpotText.h"

#include "support/SpotLines.h"

#include <gtest/gtest.h>

using namespace corvane::spots;
using corvane::spots::testing::clusterLine;

TEST(SpotText, FieldsComeFromTheFixedColumnsOfTheCommonLayout) {
    const std::string line = clusterLine("K1ABC", "1825.5", "W1AW", "loud", "2359");
    ASSERT_EQ(line.size(), 75u);
    EXPECT_EQ(line.substr(0, 24), "DX de K1ABC:      1825.5");
    const SpotFields fields = spotFields(line + "\r\n");
    EXPECT_EQ(fields.frequencyText, "1825.5");
    EXPECT_EQ(fields.call, "W1AW");

    // A line that ends before the call field gives an empty call, not its line end.
    const SpotFields shortLine = spotFields("DX de K1ABC:      1825.5  \r\n");
    EXPECT_EQ(shortLine.frequencyText, "1825.5");
    EXPECT_EQ(shortLine.call, "");
    EXPECT_EQ(spotFields("DX").call, "");
    EXPECT_EQ(spotFields("").frequencyText, "");
}

TEST(SpotText, RecordDropsTheMarkerAndEndsAtTheFirstCarriageReturn) {
    EXPECT_EQ(spotRecord("DX de K1ABC:  1825.5  W1AW  hello  \r\nsecond line\r\n"), "de K1ABC:  1825.5  W1AW  hello");
    EXPECT_EQ(spotRecord("DX"), "");
    EXPECT_EQ(spotRecord("DX \r"), "");
}

TEST(SpotText, FrequencyMustBeAFiniteDecimalNumber) {
    EXPECT_DOUBLE_EQ(*spotFrequencyKHz("1822.0"), 1822.0);
    EXPECT_DOUBLE_EQ(*spotFrequencyKHz(" 14025 "), 14025.0);
    EXPECT_FALSE(spotFrequencyKHz("abc"));
    EXPECT_FALSE(spotFrequencyKHz(""));
    EXPECT_FALSE(spotFrequencyKHz("1e300")); // would overflow the single-precision store
    EXPECT_FALSE(spotFrequencyKHz("nan"));
}

TEST(SpotText, LabelTexts) {
    EXPECT_EQ(labelText("AB"), "");
    EXPECT_EQ(labelText("W1AW"), "W1");
    EXPECT_EQ(labelText("JA1ABC"), "JA1");
    EXPECT_EQ(labelText("9A2AA"), "9A2");
    EXPECT_EQ(labelText("OH0AAA"), "OH0");
    EXPECT_EQ(labelText("ABCD"), "ABCD");
    EXPECT_EQ(labelText("KH6/W1AW"), "KH6");
    EXPECT_EQ(labelText("VP2/K1ABC"), "VP2");
    EXPECT_EQ(labelText("PA/DL1ABC"), "PA");
    EXPECT_EQ(labelText("W1AW/7"), "W7");
    EXPECT_EQ(labelText("K1ABC/4"), "K4");
    EXPECT_EQ(labelText("W1AW/KH6"), "KH6");
    EXPECT_EQ(labelText("K1ABC/P"), "P");
    EXPECT_EQ(labelText("///"), "");
}

TEST(SpotText, ListRowColumnsComeFromTheRecord) {
    const std::string record = spotRecord(clusterLine("K1ABC", "1825.5", "W1AW", "TNX QSO  loud in NH", "2359"));
    const SpotListRow row = spotListRow("W1AW", 1.8255f, record);
    EXPECT_EQ(row.call, "W1AW");
    EXPECT_EQ(row.frequency, "1.8255");
    EXPECT_EQ(row.qth, "");
    EXPECT_EQ(row.status, "");
    EXPECT_EQ(row.comments, "de K1ABC:  TNX QSO  loud in NH");
    EXPECT_EQ(row.time, "2359");
    EXPECT_EQ(row.from, "");
    // A record too short for the later columns leaves them empty.
    const SpotListRow shortRow = spotListRow("W1AW", 1.8f, "de K1ABC");
    EXPECT_EQ(shortRow.comments, "de K1ABC  ");
    EXPECT_EQ(shortRow.prefix, "");
    EXPECT_EQ(shortRow.time, "");
}

TEST(SpotText, PrintableTextLeavesOutControlBytesButKeepsLineEnds) {
    const std::string in("a\0b\x07\tc\r\n\x7f\xe9", 10);
    EXPECT_EQ(printableText(in), "ab\tc\r\n\xe9");
    EXPECT_EQ(expandLineEnds("a\rb\nc\r\n"), "a\r\nb\r\nc\r\n\r\n");
    EXPECT_TRUE(beginsWithDx("dX de"));
    EXPECT_FALSE(beginsWithDx(" DX"));
}
