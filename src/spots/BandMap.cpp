#include "spots/BandMap.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace corvane::spots {

namespace {

// Thousandths, halves to even (the default rounding mode of the machine).
long long thousandths(double value) {
    return static_cast<long long>(std::nearbyint(value * 1000.0));
}

double round3(double value) {
    return static_cast<double>(thousandths(value)) / 1000.0;
}

MapScale scaleBetween(double lo, double hi) {
    MapScale scale;
    for (int i = 0; i < 5; ++i) {
        const double value = round3(lo + (hi - lo) * 0.25 * i);
        scale.values[static_cast<std::size_t>(i)] = value;
        scale.captions[static_cast<std::size_t>(i)] = formatFrequency3(value);
    }
    return scale;
}

std::int64_t ageSeconds(const SpotSlot& slot, const DateTime& now) {
    return toEpochSeconds(now) - toEpochSeconds(slot.time);
}

SpotMark markFor(int index, int row, const SpotSlot& slot, const MapScale& scale, Rgb colour, double utcOffsetHours) {
    SpotMark mark;
    mark.slot = index;
    mark.row = row;
    const double span = scale.hi() - scale.lo();
    mark.fraction = span != 0.0 ? (static_cast<double>(slot.frequencyMHz) - scale.lo()) / span : 0.0;
    mark.colour = colour;
    mark.caption = slot.label;
    mark.toolTip = spotToolTip(slot, utcOffsetHours);
    return mark;
}

} // namespace

std::string formatFrequency3(double valueMHz) {
    if (!std::isfinite(valueMHz) || std::fabs(valueMHz) > 1e12) {
        return {};
    }
    const long long n = thousandths(valueMHz);
    const long long whole = std::llabs(n) / 1000;
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%s%s.%03lld", n < 0 ? "-" : "",
                  whole == 0 ? "" : std::to_string(whole).c_str(), std::llabs(n) % 1000);
    return buffer;
}

std::optional<Rgb> ageColour(std::int64_t ageSeconds) {
    if (ageSeconds < 600) {
        return Rgb{255, 255, 128};
    }
    if (ageSeconds < 1800) {
        return Rgb{255, 255, 255};
    }
    if (ageSeconds < kSpotMaxAgeSeconds) {
        return Rgb{192, 192, 192};
    }
    return std::nullopt;
}

std::string spotToolTip(const SpotSlot& slot, double utcOffsetHours) {
    return slot.call + "  " + formatFrequency3(slot.frequencyMHz) + "  " +
           formatTimeHms(applyUtcOffset(slot.time, utcOffsetHours));
}

double labelLeft(double fraction, double x1, double x2, double labelWidth) {
    return fraction * (x2 - x1) - labelWidth / 2.0 + x1;
}

double scaleCaptionLeft(int index, double x1, double x2, double captionWidth) {
    return x1 + (x2 - x1) * index * 0.25 - captionWidth / 2.0;
}

double keepInside(double left, double width, double areaLeft, double areaRight) {
    if (left + width > areaRight) {
        left = areaRight - width;
    }
    return left < areaLeft ? areaLeft : left;
}

MapScale mainMapScale(const RecentSpots& spots) {
    double lo = kMainMapLowMHz;
    double hi = kMainMapHighMHz;
    double min = hi;
    double max = lo;
    for (int i = 1; i < kSpotSlots; ++i) {
        const double f = spots.slot(i).frequencyMHz;
        if (lo < f && f < hi) {
            min = f < min ? f : min;
            max = f > max ? f : max;
        }
    }
    if (max > min) {
        lo = min - 0.001;
        hi = max + 0.001;
    }
    return scaleBetween(lo, hi);
}

std::vector<SpotMark> mainMapMarks(const RecentSpots& spots, const MapScale& scale, const DateTime& now,
                                   double utcOffsetHours) {
    std::vector<SpotMark> marks;
    const auto lo = static_cast<float>(scale.lo());
    const auto hi = static_cast<float>(scale.hi());
    for (int i = kSpotSlots - 1; i >= 0; --i) {
        const SpotSlot& slot = spots.slot(i);
        if (!(lo < slot.frequencyMHz && slot.frequencyMHz < hi) || !slot.hasTime) {
            continue;
        }
        const auto colour = ageColour(ageSeconds(slot, now));
        if (!colour) {
            break; // this and every older spot are over an hour old
        }
        marks.push_back(markFor(i, 0, slot, scale, *colour, utcOffsetHours));
    }
    return marks;
}

int spectrumRowOf(float frequencyMHz) {
    for (int row = 0; row < kSpectrumRows; ++row) {
        const SpectrumRow& band = kSpectrumBands[static_cast<std::size_t>(row)];
        if (band.lowMHz < frequencyMHz && frequencyMHz < band.highMHz) {
            return row;
        }
    }
    return -1;
}

MapScale spectrumRowScale(const RecentSpots& spots, int row) {
    if (row < 0 || row >= kSpectrumRows) {
        return {};
    }
    const SpectrumRow& band = kSpectrumBands[static_cast<std::size_t>(row)];
    float lo = band.lowMHz;
    float hi = band.highMHz;
    float min = hi;
    float max = lo;
    for (int i = 1; i < kSpotSlots; ++i) {
        const float f = spots.slot(i).frequencyMHz;
        if (lo < f && f < hi) {
            min = f < min ? f : min;
            max = f > max ? f : max;
        }
    }
    if (max > min) {
        lo = static_cast<float>(static_cast<double>(min) - 0.001);
        hi = static_cast<float>(static_cast<double>(max) + 0.001);
    }
    return scaleBetween(lo, hi);
}

std::array<MapScale, kSpectrumRows> spectrumScales(const RecentSpots& spots) {
    std::array<MapScale, kSpectrumRows> scales;
    for (int row = 0; row < kSpectrumRows; ++row) {
        scales[static_cast<std::size_t>(row)] = spectrumRowScale(spots, row);
    }
    return scales;
}

std::vector<SpotMark> spectrumMarks(const RecentSpots& spots, const std::array<MapScale, kSpectrumRows>& scales,
                                    const DateTime& now, double utcOffsetHours) {
    std::vector<SpotMark> marks;
    for (int i = kSpotSlots - 1; i >= 0; --i) {
        const SpotSlot& slot = spots.slot(i);
        if (!slot.hasTime) {
            continue;
        }
        const auto colour = ageColour(ageSeconds(slot, now));
        if (!colour) {
            break; // this and every older spot are over an hour old
        }
        const int row = spectrumRowOf(slot.frequencyMHz);
        if (row >= 0) {
            marks.push_back(markFor(i, row, slot, scales[static_cast<std::size_t>(row)], *colour, utcOffsetHours));
        }
    }
    return marks;
}

} // namespace corvane::spots
