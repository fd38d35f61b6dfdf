#include "log/station/UtcOffset.h"

#include "core/NumberText.h"

#include <cmath>

namespace corvane {

double recommendedUtcOffset(const DateTime& utcNow, const DateTime& localNow) {
    const std::int64_t seconds = toEpochSeconds(utcNow) - toEpochSeconds(localNow);
    const double minutes = std::trunc(static_cast<double>(seconds) / 60.0);
    return std::nearbyint(minutes / 60.0 * 100.0) / 100.0;
}

std::optional<UtcOffsetQuestion> utcOffsetQuestion(float currentOffsetHours, const DateTime& utcNow,
                                                   const DateTime& localNow) {
    const double recommended = recommendedUtcOffset(utcNow, localNow);
    if (static_cast<float>(recommended) == currentOffsetHours) {
        return std::nullopt;
    }
    const std::string crlf = "\r\n";
    UtcOffsetQuestion q;
    q.title = "Update the Local Time / UTC Offset?";
    q.defaultAnswer = formatSingle(recommended);
    q.prompt = "Would you like to adjust the UTC offset in this program for your local time setting?" + crlf + crlf +
               "Current System Time: " + formatTimeHm(utcNow) + crlf + crlf +
               "Current Local Time: " + formatTimeHm(localNow) + crlf + crlf +
               "Recommended Offset Setting: " + formatSingle(recommended) + crlf + crlf +
               "Current Offset Setting: " + formatSingle(currentOffsetHours) + crlf + crlf +
               "Please click OK to accept the recommended change or Cancel to keep the current setting.";
    return q;
}

} // namespace corvane
