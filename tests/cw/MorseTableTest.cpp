#include "cw/MorseTable.h"

#include "cw/CwTiming.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace corvane::cw {
namespace {

TEST(MorseTable, LooksUpUpperCaseAndEndsEveryCharacterWithTheCharacterGap) {
    EXPECT_EQ(morseElements('e'), "1000");
    EXPECT_EQ(morseElements('E'), "1000");
    EXPECT_EQ(morseElements('q'), "1110111010111000");
    const std::string_view all = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.,?/-=[];\\";
    for (const char c : all) {
        const auto elements = morseElements(c);
        ASSERT_GE(elements.size(), 4u) << c;
        EXPECT_EQ(elements.substr(elements.size() - 3), "000") << c;
        EXPECT_EQ(elements.front(), '1') << c;
        EXPECT_EQ(elements.find_first_not_of("01"), std::string_view::npos) << c;
        // Inside a character, key-down runs are 1 or 3 units and gaps exactly 1.
        const auto body = elements.substr(0, elements.size() - 3);
        EXPECT_EQ(body.find("00"), std::string_view::npos) << c;
        EXPECT_EQ(body.find("1111"), std::string_view::npos) << c;
        EXPECT_EQ(body.find("011"), body.find("0111")) << c;
    }
}

TEST(MorseTable, ProsignsAndTheHyphenSendBt) {
    EXPECT_EQ(morseElements('-'), "1110101010111000");
    EXPECT_EQ(morseElements('-'), morseElements('='));
    EXPECT_EQ(morseElements('['), "1011101011101000");          // AR
    EXPECT_EQ(morseElements(']'), "101010111010111000");        // SK
    EXPECT_EQ(morseElements(';'), "111010111011101000");        // KN
    EXPECT_EQ(morseElements('\\'), "111010111010101110101000"); // CL
    EXPECT_EQ(morseElements(','), "1110111010101110111000");
    EXPECT_EQ(morseElements('0'), "1110111011101110111000");
    EXPECT_EQ(morseElements('9'), "11101110111011101000");
}

TEST(MorseTable, CharactersWithoutARowSendNothing) {
    EXPECT_TRUE(morseElements('%').empty());
    EXPECT_TRUE(morseElements('#').empty());
    EXPECT_TRUE(morseElements('!').empty());
    EXPECT_TRUE(morseElements('\0').empty());
    EXPECT_TRUE(morseElements('\xE9').empty());
    EXPECT_TRUE(elementPlan('%', 5).empty());
}

TEST(MorseTable, SpaceIsEightUnitsAdjustedByTheWordSpace) {
    EXPECT_EQ(elementPlan(' ', 0), "00000000");
    EXPECT_EQ(elementPlan(' ', 3), std::string(11, '0'));
    EXPECT_EQ(elementPlan(' ', -3), std::string(5, '0'));
    EXPECT_EQ(elementPlan(' ', -8), "");
    EXPECT_EQ(elementPlan(' ', -20), "");
    EXPECT_EQ(elementPlan('A', 3), "10111000"); // only the space is adjusted
}

TEST(MorseTable, WordSpaceFieldIsWholeUnitsNeverBelowMinusEight) {
    EXPECT_EQ(parseWordSpaceAdjust("3"), 3);
    EXPECT_EQ(parseWordSpaceAdjust("-12"), -8);
    EXPECT_EQ(parseWordSpaceAdjust("2.5"), 2);
    EXPECT_EQ(parseWordSpaceAdjust("3.5"), 4);
    EXPECT_EQ(parseWordSpaceAdjust("-"), 0);
    EXPECT_EQ(parseWordSpaceAdjust(""), 0);
    EXPECT_EQ(parseWordSpaceAdjust("1e300"), 1000000);
}

TEST(MorseTable, ASpaceBAt20WpmKeysTheExpectedDurations) {
    // 60 ms down, 60 up, 180 down, 180 up (end of A), 480 up (the space), then B.
    const std::string plan = elementPlan('A', 0) + elementPlan(' ', 0) + elementPlan('B', 0);
    const double unit = *unitLengthMs(20);
    std::vector<std::pair<char, double>> runs;
    for (const char u : plan) {
        if (!runs.empty() && runs.back().first == u) {
            runs.back().second += unit;
        } else {
            runs.emplace_back(u, unit);
        }
    }
    ASSERT_GE(runs.size(), 5u);
    EXPECT_EQ(runs[0], std::make_pair('1', 60.0));
    EXPECT_EQ(runs[1], std::make_pair('0', 60.0));
    EXPECT_EQ(runs[2], std::make_pair('1', 180.0));
    EXPECT_EQ(runs[3], std::make_pair('0', 660.0));
    EXPECT_EQ(runs[4], std::make_pair('1', 180.0));
}

TEST(CwTiming, UnitLengthsOfTheThreeMethods) {
    EXPECT_DOUBLE_EQ(*unitLengthMs(20), 60.0);
    EXPECT_EQ(timerUnit(13)->count(), 92308);
    EXPECT_EQ(timerUnit(40)->count(), 30000);
    EXPECT_EQ(sleepUnit(13)->count(), 92);
    EXPECT_EQ(sleepUnit(32)->count(), 38); // 37.5 -> 38
    EXPECT_EQ(sleepUnit(96)->count(), 12); // 12.5 -> 12
    EXPECT_DOUBLE_EQ(*loopCount(3000, 20), 3000.0);
    EXPECT_DOUBLE_EQ(*loopCount(0, 20), 0.0);
}

TEST(CwTiming, SpeedsOfZeroOrLessOrNotANumberGiveNoUnit) {
    for (const double wpm : {0.0, -5.0, std::nan(""), std::numeric_limits<double>::infinity(), 1e-320}) {
        EXPECT_FALSE(unitLengthMs(wpm)) << wpm;
        EXPECT_FALSE(timerUnit(wpm)) << wpm;
        EXPECT_FALSE(sleepUnit(wpm)) << wpm;
        EXPECT_FALSE(loopCount(100, wpm)) << wpm;
    }
    EXPECT_FALSE(parseSpeedWpm(""));
    EXPECT_FALSE(parseSpeedWpm("0"));
    EXPECT_FALSE(parseSpeedWpm("-1"));
    EXPECT_FALSE(parseSpeedWpm("fast"));
    EXPECT_EQ(parseSpeedWpm("25"), 25.0);
}

TEST(CwTiming, MethodNamesRoundTripAndDefaultToTimer) {
    for (const auto m : {TimingMethod::Timer, TimingMethod::Loop, TimingMethod::Sleep}) {
        EXPECT_EQ(parseTimingMethod(timingMethodName(m)), m);
    }
    EXPECT_EQ(parseTimingMethod(""), TimingMethod::Timer);
    EXPECT_EQ(parseTimingMethod("loop"), TimingMethod::Timer);
}

TEST(CwTiming, LoopCalibrationAndTuning) {
    EXPECT_EQ(loopOffsetFromElapsed(100), 3000000);
    EXPECT_EQ(loopOffsetFromElapsed(0), 5000000);
    EXPECT_EQ(loopOffsetFromElapsed(-1), 5000000);
    double fake = 1000.0;
    EXPECT_EQ(calibrateLoop([&] { return fake += 200.0; }), 1500000);
    EXPECT_EQ(loopFaster("1000"), 900);
    EXPECT_EQ(loopSlower("900"), 1000);
    EXPECT_EQ(loopFaster("5"), 4);   // 4.5 -> 4
    EXPECT_EQ(loopFaster("15"), 14); // 13.5 -> 14
    EXPECT_FALSE(loopFaster("x"));
    EXPECT_FALSE(loopSlower(""));
}

} // namespace
} // namespace corvane::cw
