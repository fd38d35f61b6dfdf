#include "core/DateTime.h"

#include <cmath>
#include <cstdio>
#include <vector>

namespace corvane {

namespace {

// Days from 1970-01-01 of a proleptic Gregorian date (H. Hinnant's civil algorithms).
std::int64_t daysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + static_cast<unsigned>(d) - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void civilFromDays(std::int64_t z, int& y, int& m, int& d) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t yy = static_cast<std::int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yy + (m <= 2));
}

std::string two(int v) {
    char b[16];
    std::snprintf(b, sizeof b, "%02d", v);
    return b;
}

// Splits on a separator; every part must be 1+ digits.
std::optional<std::vector<int>> numericParts(std::string_view text, char sep) {
    std::vector<int> parts;
    int value = 0;
    int digits = 0;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            if (digits >= 4) {
                return std::nullopt;
            }
            value = value * 10 + (c - '0');
            ++digits;
        } else if (c == sep) {
            if (digits == 0) {
                return std::nullopt;
            }
            parts.push_back(value);
            value = 0;
            digits = 0;
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0) {
        return std::nullopt;
    }
    parts.push_back(value);
    return parts;
}

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && s.front() == ' ') {
        s.remove_prefix(1);
    }
    while (!s.empty() && s.back() == ' ') {
        s.remove_suffix(1);
    }
    return s;
}

} // namespace

bool isValidDate(int year, int month, int day) {
    if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1) {
        return false;
    }
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int limit = kDays[month - 1];
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (month == 2 && leap) {
        limit = 29;
    }
    return day <= limit;
}

std::int64_t toEpochSeconds(const DateTime& dt) {
    return daysFromCivil(dt.year, dt.month, dt.day) * 86400 + dt.hour * 3600 + dt.minute * 60 + dt.second;
}

DateTime fromEpochSeconds(std::int64_t seconds) {
    std::int64_t days = seconds / 86400;
    std::int64_t rest = seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    DateTime dt;
    civilFromDays(days, dt.year, dt.month, dt.day);
    dt.hour = static_cast<int>(rest / 3600);
    dt.minute = static_cast<int>(rest / 60 % 60);
    dt.second = static_cast<int>(rest % 60);
    return dt;
}

DateTime addSeconds(const DateTime& dt, std::int64_t seconds) {
    return fromEpochSeconds(toEpochSeconds(dt) + seconds);
}

DateTime applyUtcOffset(const DateTime& local, double offsetHours) {
    const auto minutes = static_cast<std::int64_t>(std::nearbyint(offsetHours * 60.0));
    return addSeconds(local, minutes * 60);
}

std::string formatDateSlash(const DateTime& dt) {
    char b[32];
    std::snprintf(b, sizeof b, "%04d/%02d/%02d", dt.year, dt.month, dt.day);
    return b;
}

std::string formatDateDash(const DateTime& dt) {
    char b[32];
    std::snprintf(b, sizeof b, "%04d-%02d-%02d", dt.year, dt.month, dt.day);
    return b;
}

std::string formatTimeHms(const DateTime& dt) {
    return two(dt.hour) + ":" + two(dt.minute) + ":" + two(dt.second);
}

std::string formatTimeHm(const DateTime& dt) {
    return two(dt.hour) + ":" + two(dt.minute);
}

std::optional<Date> parseDate(std::string_view text) {
    text = trimBlanks(text);
    for (char sep : {'/', '-'}) {
        if (text.find(sep) == std::string_view::npos) {
            continue;
        }
        auto parts = numericParts(text, sep);
        if (!parts || parts->size() != 3) {
            return std::nullopt;
        }
        const auto& p = *parts;
        const std::size_t firstLen = text.find(sep);
        Date d{};
        if (firstLen == 4) {
            d = {p[0], p[1], p[2]};
        } else if (sep == '/') {
            const std::size_t lastLen = text.size() - text.rfind(sep) - 1;
            int year = p[2];
            if (lastLen <= 2) {
                year += year < 30 ? 2000 : 1900;
            } else if (lastLen != 4) {
                return std::nullopt;
            }
            d = {year, p[0], p[1]};
        } else {
            return std::nullopt;
        }
        if (!isValidDate(d.year, d.month, d.day)) {
            return std::nullopt;
        }
        return d;
    }
    return std::nullopt;
}

std::optional<TimeOfDay> parseTime(std::string_view text) {
    text = trimBlanks(text);
    auto parts = numericParts(text, ':');
    if (!parts || parts->size() < 2 || parts->size() > 3) {
        return std::nullopt;
    }
    const auto& p = *parts;
    // minutes and seconds are written with two digits
    std::size_t pos = text.find(':');
    std::string_view rest = text.substr(pos + 1);
    std::size_t next = rest.find(':');
    if (rest.substr(0, next).size() != 2 || (next != std::string_view::npos && rest.substr(next + 1).size() != 2)) {
        return std::nullopt;
    }
    if (pos > 2) {
        return std::nullopt;
    }
    TimeOfDay t{p[0], p[1], p.size() == 3 ? p[2] : 0};
    if (t.hour > 23 || t.minute > 59 || t.second > 59) {
        return std::nullopt;
    }
    return t;
}

std::optional<DateTime> parseRecordDateTime(std::string_view date, std::string_view time) {
    auto d = parseDate(date);
    auto t = parseTime(time);
    if (!d || !t) {
        return std::nullopt;
    }
    return DateTime{d->year, d->month, d->day, t->hour, t->minute, t->second};
}

} // namespace corvane
