#pragma once
// Civil date and time without time zones: the program works with the local clock and
// a station-chosen UTC offset, so plain calendar arithmetic is all it needs.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace corvane {

struct DateTime {
    int year = 1970;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;

    friend bool operator==(const DateTime&, const DateTime&) = default;
};

bool isValidDate(int year, int month, int day);

// Seconds since 1970-01-01 00:00:00 of the same clock (no time zone involved).
std::int64_t toEpochSeconds(const DateTime& dt);
DateTime fromEpochSeconds(std::int64_t seconds);

DateTime addSeconds(const DateTime& dt, std::int64_t seconds);
// The UTC moment for a local moment: local + offsetHours x 60 minutes (the minutes rounded).
DateTime applyUtcOffset(const DateTime& local, double offsetHours);

std::string formatDateSlash(const DateTime& dt); // yyyy/mm/dd
std::string formatDateDash(const DateTime& dt);  // yyyy-mm-dd
std::string formatTimeHms(const DateTime& dt);   // hh:mm:ss
std::string formatTimeHm(const DateTime& dt);    // hh:mm

// A date typed by the operator or read from a record: yyyy/m/d, yyyy-m-d, m/d/yyyy or
// m/d/yy (a two-digit year below 30 is 20yy, otherwise 19yy).
struct Date {
    int year;
    int month;
    int day;
};
std::optional<Date> parseDate(std::string_view text);

// A time of day: h:mm or h:mm:ss (hour 0-23).
struct TimeOfDay {
    int hour;
    int minute;
    int second;
};
std::optional<TimeOfDay> parseTime(std::string_view text);

// "yyyy/mm/dd hh:mm[:ss]" as a record holds it.
std::optional<DateTime> parseRecordDateTime(std::string_view date, std::string_view time);

} // namespace corvane
