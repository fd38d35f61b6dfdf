#include "log/station/Preferences.h"

#include "core/QuotedFields.h"

namespace corvane {

std::string formatPreferences(const Preferences& p, const FeaturePreferences& f) {
    ItemWriter w;
    w.text(p.ownCall)
        .text(p.ownGrid)
        .single(p.utcOffsetHours)
        .text(p.mode)
        .text(p.band)
        .single(p.timeOnAccumulatedSeconds)
        .whole(p.powerCategory)
        .whole(p.recordRst)
        .whole(p.formSizePercent)
        .whole(p.rover)
        .real(p.ownLongitude)
        .real(p.ownLatitude)
        .text(p.gridViewCaption)
        .whole(p.workedColour)
        .whole(p.remainingColour)
        .whole(f.voiceNavLevel)
        .text(f.selectedRig)
        .whole(p.taskbar)
        .whole(p.listPrevious);
    return w.bytes();
}

PreferencesReadResult parsePreferences(std::string_view bytes) {
    PreferencesReadResult result;
    Preferences& p = result.prefs;
    FeaturePreferences& f = result.features;
    ItemReader r(bytes);
    constexpr long long kByteMax = 255;
    constexpr long long kLongMin = -2147483648LL;
    constexpr long long kLongMax = 2147483647LL;

    const auto text = [&](std::string& into) {
        auto v = r.text();
        if (v) {
            into = *v;
            ++result.itemsRead;
        }
        return v.has_value();
    };
    const auto single = [&](float& into) {
        auto v = r.single();
        if (v) {
            into = *v;
            ++result.itemsRead;
        }
        return v.has_value();
    };
    const auto real = [&](double& into) {
        auto v = r.number();
        if (v) {
            into = *v;
            ++result.itemsRead;
        }
        return v.has_value();
    };
    const auto whole = [&](auto& into, long long min, long long max) {
        auto v = r.whole(min, max);
        if (v) {
            into = static_cast<std::remove_reference_t<decltype(into)>>(*v);
            ++result.itemsRead;
        }
        return v.has_value();
    };

    result.ok = text(p.ownCall) && text(p.ownGrid) && single(p.utcOffsetHours) && text(p.mode) && text(p.band) &&
                single(p.timeOnAccumulatedSeconds) && whole(p.powerCategory, 0, kByteMax) &&
                whole(p.recordRst, 0, kByteMax) && whole(p.formSizePercent, 0, kByteMax) &&
                whole(p.rover, 0, kByteMax) && real(p.ownLongitude) && real(p.ownLatitude) && text(p.gridViewCaption) &&
                whole(p.workedColour, kLongMin, kLongMax) && whole(p.remainingColour, kLongMin, kLongMax) &&
                whole(f.voiceNavLevel, 0, kByteMax) && text(f.selectedRig) && whole(p.taskbar, 0, kByteMax) &&
                whole(p.listPrevious, 0, kByteMax);
    return result;
}

} // namespace corvane
