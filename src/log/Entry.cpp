#include "log/Entry.h"

#include <cmath>
#include <cstdio>

namespace corvane {

CompletenessCheck checkCompleteness(std::string_view call, std::string_view grid) {
    CompletenessCheck check;
    if (grid.empty()) {
        check.incomplete = true;
        ++check.beeps;
        check.message = "Need Grid!";
        check.focus = EntryFocus::Grid;
    }
    if (call.size() < 3) {
        check.incomplete = true;
        ++check.beeps;
        check.message = "Need Call Sign!";
        check.focus = EntryFocus::Call;
    }
    return check;
}

PostContestStamp stampPostContest(std::string_view dateText, std::string_view timeText) {
    PostContestStamp stamp;
    stamp.dateText = std::string(dateText);
    stamp.timeText = std::string(timeText);
    const auto date = parseDate(dateText);
    if (!date) {
        stamp.fault = StampFault::Date;
        stamp.error = "Invalid date format!";
        return stamp;
    }
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d", date->year, date->month, date->day);
    stamp.dateText = buffer;

    std::string time(timeText);
    const bool allDigits = !time.empty() && time.find_first_not_of("0123456789") == std::string::npos;
    if (allDigits && (time.size() == 3 || time.size() == 4)) {
        time.insert(time.size() - 2, ":");
    }
    stamp.timeText = time;
    const auto parsed = parseTime(time);
    if (!parsed) {
        stamp.fault = StampFault::Time;
        stamp.error = "Invalid time format!";
        return stamp;
    }
    std::snprintf(buffer, sizeof buffer, "%02d:%02d", parsed->hour, parsed->minute);
    stamp.timeText = buffer;
    stamp.ok = true;
    return stamp;
}

QsoRecord buildRecord(const ContactEntry& entry, const DateTime& utcNow, const PostContestStamp* postContest) {
    QsoRecord r;
    r.gridS = entry.ownGrid;
    r.call = entry.call;
    r.kilometers = entry.kilometers;
    r.gridR = entry.grid;
    r.qsoDate = postContest ? postContest->dateText : formatDateSlash(utcNow);
    r.qsoTime = postContest ? postContest->timeText : formatTimeHms(utcNow);
    r.points = entry.points;
    r.mode = "CW";
    r.frequency = entry.frequency;
    return r;
}

float timeOnTotalSeconds(const DateTime& start, const DateTime& now, float accumulatedSeconds) {
    const auto running = static_cast<float>(toEpochSeconds(now) - toEpochSeconds(start));
    return std::fabs(running + accumulatedSeconds);
}

std::string formatDuration(float totalSeconds) {
    const auto total = static_cast<long long>(std::floor(totalSeconds));
    const long long hours = total / 3600;
    const long long minutes = total / 60 - hours * 60;
    const long long seconds = total - (total / 60) * 60;
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%02lld:%02lld:%02lld", hours, minutes, seconds);
    return buffer;
}

std::string formatLocalClock(const DateTime& local) {
    int hour = local.hour % 12;
    if (hour == 0) {
        hour = 12;
    }
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%d:%02d:%02d", hour, local.minute, local.second);
    return buffer;
}

char capital(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace corvane
