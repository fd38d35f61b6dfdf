#include "core/NumberText.h"

#include <clocale>
#include <gtest/gtest.h>

using namespace corvane;

TEST(NumberText, ParsesGroupedAndSignedNumbers) {
    EXPECT_EQ(parseNumber("1,234"), 1234.0);
    EXPECT_EQ(parseNumber(" -5.5 "), -5.5);
    EXPECT_EQ(parseNumber("+3"), 3.0);
    EXPECT_EQ(parseNumber("1e3"), 1000.0);
    EXPECT_EQ(parseNumber(".5"), 0.5);
    for (const char* bad : {"", " ", "abc", "1.2.3", "5-", "-", ".", "1e", "12a", "\"3\"", ",5"}) {
        EXPECT_EQ(parseNumber(bad), std::nullopt) << bad;
    }
}

TEST(NumberText, FormatsWithPointWhateverTheLocale) {
    // A comma-decimal locale must not change the files.
    const char* old = std::setlocale(LC_ALL, nullptr);
    std::string saved = old ? old : "C";
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    EXPECT_EQ(formatSingle(5.5), "5.5");
    EXPECT_EQ(parseNumber("5.5"), 5.5);
    std::setlocale(LC_ALL, saved.c_str());

    EXPECT_EQ(formatSingle(0.0), "0");
    EXPECT_EQ(formatSingle(-4.0), "-4");
    EXPECT_EQ(formatSingle(0.1), "0.1");
    EXPECT_EQ(formatSingle(3723.0), "3723");
    EXPECT_EQ(formatSingle(12345678.0), "12345680");
    EXPECT_EQ(formatDouble(76.0), "76");
    EXPECT_EQ(formatDouble(-40.123456789012345), "-40.1234567890123");
}

TEST(NumberText, GroupedWholeNumbers) {
    EXPECT_EQ(formatGroupedWhole(1234.4), "1,234");
    EXPECT_EQ(formatGroupedWhole(999.5), "1,000");
    EXPECT_EQ(formatGroupedWhole(12345678), "12,345,678");
    EXPECT_EQ(formatGroupedWhole(0.4), "");
    EXPECT_EQ(formatGroupedWhole(499.6), "500");
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(87.5), 88);
}
