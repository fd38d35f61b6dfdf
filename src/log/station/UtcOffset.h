#pragma once
// The start-up check of the station's UTC offset against the computer's clock.

#include "core/DateTime.h"

#include <optional>
#include <string>

namespace corvane {

// (UTC - local) in whole minutes / 60, rounded to two decimals.
double recommendedUtcOffset(const DateTime& utcNow, const DateTime& localNow);

struct UtcOffsetQuestion {
    std::string title;
    std::string prompt;
    std::string defaultAnswer;
};

// The question to ask, or nothing when the stored offset already matches the clock.
std::optional<UtcOffsetQuestion> utcOffsetQuestion(float currentOffsetHours, const DateTime& utcNow,
                                                   const DateTime& localNow);

} // namespace corvane
