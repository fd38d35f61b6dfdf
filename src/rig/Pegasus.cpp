#include "rig/Pegasus.h"

#include "core/NumberText.h"
#include "core/QuotedFields.h"
#include "rig/DecodeUtil.h"

namespace corvane::rig {

DecodeResult decodePegasusOut(std::string_view bytes) {
    DecodeResult r;
    ItemReader reader(bytes);
    const auto number = reader.text();
    if (!number) {
        return r;
    }
    const auto value = detail::decimalValue(*number);
    if (!value) {
        return r;
    }
    const auto mhz = detail::toMHz(*value, 1.0, false);
    if (!mhz) {
        return r;
    }
    r.frequencyMHz = *mhz;
    if (const auto mode = reader.text(); mode && !mode->empty()) {
        r.mode = *mode == "CW" ? "CW" : "PH";
    }
    r.status = DecodeStatus::Decoded;
    return r;
}

std::string formatPegasusIn(float frequencyMHz, std::string_view mode) {
    return formatSingle(frequencyMHz) + "\r\n" + std::string(mode) + "\r\n";
}

} // namespace corvane::rig
