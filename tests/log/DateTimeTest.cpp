#include "core/DateTime.h"

#include <gtest/gtest.h>

using namespace corvane;

TEST(DateTime, OffsetCrossesMidnightAndMonthEnds) {
    const DateTime local{2012, 12, 31, 21, 30, 0};
    EXPECT_EQ(applyUtcOffset(local, 5), (DateTime{2013, 1, 1, 2, 30, 0}));
    EXPECT_EQ(applyUtcOffset(local, -5.5), (DateTime{2012, 12, 31, 16, 0, 0}));
    EXPECT_EQ(applyUtcOffset(DateTime{2012, 3, 1, 1, 0, 0}, -2), (DateTime{2012, 2, 29, 23, 0, 0}));
}

TEST(DateTime, FormatsRecordTexts) {
    const DateTime dt{2012, 12, 29, 3, 5, 2};
    EXPECT_EQ(formatDateSlash(dt), "2012/12/29");
    EXPECT_EQ(formatDateDash(dt), "2012-12-29");
    EXPECT_EQ(formatTimeHms(dt), "03:05:02");
    EXPECT_EQ(formatTimeHm(dt), "03:05");
}

TEST(DateTime, ParsesOperatorDatesAndTimes) {
    auto d = parseDate("2012/12/29");
    ASSERT_TRUE(d);
    EXPECT_EQ(d->year, 2012);
    EXPECT_EQ(d->day, 29);
    d = parseDate("12/29/2012");
    ASSERT_TRUE(d);
    EXPECT_EQ(d->month, 12);
    EXPECT_TRUE(parseDate("2012-2-9"));
    EXPECT_TRUE(parseDate("2012/02/29"));
    for (const char* bad : {"", "2013/02/29", "2012/13/01", "2012/12", "20121229", "2012//29", "ab/cd/efgh"}) {
        EXPECT_FALSE(parseDate(bad)) << bad;
    }
    auto t = parseTime("9:15");
    ASSERT_TRUE(t);
    EXPECT_EQ(t->hour, 9);
    EXPECT_EQ(t->minute, 15);
    EXPECT_TRUE(parseTime("23:15:02"));
    for (const char* bad : {"25:00", "23:60", "2315", "23:5", "", ":15", "123:15"}) {
        EXPECT_FALSE(parseTime(bad)) << bad;
    }
}
