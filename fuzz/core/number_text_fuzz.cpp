// The number texts of the log and the settings files, and the dates and times of the log:
// whatever a text holds, parsing either refuses it or gives a value that is written back
// without an exponent and reads back as nearly the same value.

#include "core/DateTime.h"
#include "core/NumberText.h"
#include "support/FuzzCheck.h"

#include <cmath>
#include <cstdint>

using namespace corvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::textOf(data, size);
    if (const auto value = parseNumber(text)) {
        FUZZ_CHECK(std::isfinite(*value));
        const std::string asDouble = formatDouble(*value);
        FUZZ_CHECK(asDouble.find_first_of("eE") == std::string::npos);
        const auto back = parseNumber(asDouble);
        FUZZ_CHECK(back.has_value());
        FUZZ_CHECK(std::fabs(*back - *value) <= 1e-14 * std::fabs(*value) + 1e-300);
        (void)formatSingle(*value);
        (void)formatGroupedWhole(*value);
        (void)roundHalfEven(*value);
    }
    if (const auto date = parseDate(text)) {
        (void)isValidDate(date->year, date->month, date->day);
    }
    (void)parseTime(text);
    // A date and a time split at the first blank, as a record carries them.
    const auto blank = text.find(' ');
    if (blank != std::string_view::npos) {
        if (const auto at = parseRecordDateTime(text.substr(0, blank), text.substr(blank + 1))) {
            const std::int64_t seconds = toEpochSeconds(*at);
            FUZZ_CHECK(fromEpochSeconds(seconds) == *at);
        }
    }
    return 0;
}
