#include "core/NumberText.h"

#include <clocale>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

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

TEST(NumberText, NumbersAtTheEdgesOfTheirTypesStayDefined) {
    // Rounding saturates instead of converting a value no whole type holds.
    EXPECT_EQ(roundHalfEven(1e308), std::numeric_limits<long long>::max());
    EXPECT_EQ(roundHalfEven(-1e41), std::numeric_limits<long long>::min());
    EXPECT_EQ(roundHalfEven(std::nan("")), 0);
    EXPECT_EQ(roundHalfEven(-9223372036854775808.0), std::numeric_limits<long long>::min());
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    // The longest numbers are written out in full, never cut off.
    const std::string largest = formatDouble(1e308);
    EXPECT_EQ(largest.size(), 309u);
    EXPECT_EQ(largest.substr(0, 4), "1000");
    EXPECT_EQ(parseNumber(largest), 1e308);
    // Rounded to 15 digits the largest double would be beyond the range: its digits are cut.
    EXPECT_EQ(formatDouble(std::numeric_limits<double>::max()).substr(0, 16), "1797693134862310");
    EXPECT_TRUE(parseNumber(formatDouble(-std::numeric_limits<double>::max())).has_value());
    EXPECT_EQ(formatDouble(-1e-300).substr(0, 8), "-0.00000");
    EXPECT_EQ(parseNumber(formatDouble(-1e-300)), -1e-300);
    EXPECT_EQ(formatSingle(3.4e38), "340000000000000000000000000000000000000");
    EXPECT_EQ(formatDouble(1.5e-7), "0.00000015");
    EXPECT_EQ(formatSingle(-0.000123456789), "-0.0001234568");
    EXPECT_EQ(formatDouble(999999999999999.9), "1000000000000000");
    EXPECT_EQ(formatGroupedWhole(-1e41), "-100,000,000,000,000,000,000,000,000,000,000,000,000,000");
    EXPECT_EQ(formatGroupedWhole(-9223372036854775808.0), "-9,223,372,036,854,780,000");
}
