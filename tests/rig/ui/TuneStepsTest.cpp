// The tune panel's numbers: what the boxes take, the texts the buttons and the scan write.

#include "rig/TuneSteps.h"

#include <gtest/gtest.h>

namespace corvane::rig {
namespace {

TEST(TuneSteps, BoxesTakeDigitsPointSlashAndBackspaceOnly) {
    for (char c : std::string("0123456789./")) {
        EXPECT_TRUE(tuneKeyAccepted(c)) << c;
    }
    EXPECT_TRUE(tuneKeyAccepted(8));
    for (char c : std::string("aZ -,+e")) {
        EXPECT_FALSE(tuneKeyAccepted(c)) << c;
    }
}

TEST(TuneSteps, NumbersAreDigitsWithOnePoint) {
    EXPECT_DOUBLE_EQ(*tuneNumber("1.8"), 1.8);
    EXPECT_DOUBLE_EQ(*tuneNumber("2."), 2.0);
    EXPECT_DOUBLE_EQ(*tuneNumber(".5"), 0.5);
    EXPECT_DOUBLE_EQ(*tuneNumber(" 14 "), 14.0);
    EXPECT_FALSE(tuneNumber("1/8"));
    EXPECT_FALSE(tuneNumber("1.8.1"));
    EXPECT_FALSE(tuneNumber("."));
    EXPECT_FALSE(tuneNumber(""));
    EXPECT_FALSE(tuneNumber(std::string(40, '9')));
}

TEST(TuneSteps, BandButtonsPutTheirShortestText) {
    ASSERT_EQ(tuneBands().size(), 16u);
    EXPECT_EQ(shortestDecimal(tuneBands()[0].frequencyMHz), "1.9");
    EXPECT_EQ(shortestDecimal(tuneBands()[2].frequencyMHz), "5.368");
    EXPECT_EQ(shortestDecimal(tuneBands()[10].frequencyMHz), "52");
    EXPECT_EQ(tuneBands()[12].caption, "1.25");
    EXPECT_EQ(shortestDecimal(tuneBands()[15].frequencyMHz), "1270");
}

TEST(TuneSteps, EvenButtonsStepUpOddOnesDown) {
    EXPECT_EQ(*steppedText("1.9", 0), "1.90001");
    EXPECT_EQ(*steppedText("1.9", 1), "1.89999");
    EXPECT_EQ(*steppedText("14.175", 2), "15.175");
    EXPECT_EQ(*steppedText("14.175", 5), "14.17");
    EXPECT_EQ(*steppedText("7", 6), "7.001");
    EXPECT_EQ(*steppedText("3.5", 9), "3.4999");
    EXPECT_FALSE(steppedText("3/5", 0));
    EXPECT_FALSE(steppedText("3.5", 10));
    EXPECT_FALSE(steppedText("3.5", -1));
}

TEST(TuneSteps, ScanStepsAndWrapsToFrom) {
    const double tenHz = scanSteps()[kDefaultScanStep].stepMHz;
    EXPECT_EQ(scanSteps()[kDefaultScanStep].caption, "10 Hz");
    const float next = scanNext(1.8F, tenHz, 1.8F, 54.0F);
    EXPECT_EQ(scanText(next), "1.80001");
    EXPECT_FLOAT_EQ(scanNext(53.9999F, scanSteps()[4].stepMHz, 1.8F, 54.0F), 1.8F);
    EXPECT_EQ(scanText(0.5F), ".5");
    EXPECT_EQ(scanText(2.0F), "2.");
    EXPECT_EQ(scanText(1296.12345F), "1296.12341"); // single precision, five decimals
}

} // namespace
} // namespace corvane::rig
