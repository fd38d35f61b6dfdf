#include "log/score/Stats.h"

#include "core/NumberText.h"
#include "core/TextCase.h"
#include "log/station/Preferences.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace corvane {

namespace {

bool isWhole(double x) {
    return x == std::floor(x);
}

double frac(double x) {
    return x - std::floor(x);
}

char clampedLetter(double x) {
    // Clamped while still a double: a position far outside the earth (from a damaged
    // preferences file) must not overflow the conversion to an integer.
    return static_cast<char>(static_cast<int>(std::clamp(std::floor(x) + 74.0, 65.0, 82.0)));
}

std::string captionFor(double latitude, double longitudeWest) {
    if (!std::isfinite(latitude) || !std::isfinite(longitudeWest)) {
        latitude = 0.0; // no position at all: the square at 0, 0 rather than undefined digits
        longitudeWest = 0.0;
    }
    std::string caption(4, ' ');
    caption[0] = clampedLetter(-longitudeWest / 20.0);
    caption[1] = clampedLetter(latitude / 10.0);
    const double lonTwenty = longitudeWest / 20.0;
    const int lonDigit = isWhole(lonTwenty) ? 0 : 9 - static_cast<int>(std::floor(frac(lonTwenty) * 10.0));
    const int latDigit = static_cast<int>(std::floor(frac(latitude / 10.0) * 10.0));
    caption[2] = static_cast<char>('0' + lonDigit);
    caption[3] = static_cast<char>('0' + latDigit);
    return caption;
}

// A four-character square packed into one number, letter case ignored; nullopt for any
// other length, which no caption can equal.
std::optional<std::uint32_t> squareKey(std::string_view grid) {
    if (grid.size() != 4) {
        return std::nullopt;
    }
    std::uint32_t key = 0;
    for (char c : grid) {
        key = (key << 8) | static_cast<unsigned char>(upper(c));
    }
    return key;
}

} // namespace

ScoreTexts scoreTexts(float totalPoints, int powerCategory) {
    const float score = totalPoints * static_cast<float>(powerMultiplier(powerCategory));
    return {formatSingle(totalPoints), formatSingle(score)};
}

std::optional<Rates> hourlyRates(const ContactLog& log, DateTime nowUtc) {
    const std::int64_t now = toEpochSeconds(nowUtc);
    int c20 = 0;
    int c60 = 0;
    const auto& records = log.records();
    for (std::size_t i = records.size(); i-- > 0;) {
        const auto when = parseRecordDateTime(records[i].qsoDate, records[i].qsoTime);
        if (!when) {
            return std::nullopt;
        }
        const std::int64_t ageSeconds = now - toEpochSeconds(*when);
        if (ageSeconds < 1200) {
            ++c20;
        }
        if (ageSeconds >= 3600) {
            break;
        }
        ++c60;
    }
    return Rates{c20 * 3, c60};
}

std::optional<GridCaptions> gridFill(double ownLatitude, double ownLongitudeWest, int pageLat, int pageLon) {
    if (ownLatitude <= 0.0 || ownLongitudeWest <= 0.0) {
        return std::nullopt;
    }
    // Off the square corners, so that every point falls inside one square.
    double top = ownLatitude + 8 + pageLat;
    if (isWhole(top)) {
        top += 0.001;
    }
    double west = ownLongitudeWest + 12 + pageLon;
    if (isWhole(west)) {
        west -= 0.001;
    }
    GridCaptions captions;
    for (int n = 0; n < kGridLabelCount; ++n) {
        const int row = n / kGridColumns;
        const int column = n % kGridColumns;
        captions[static_cast<std::size_t>(n)] = captionFor(top - row, west - 2.0 * column);
    }
    return captions;
}

void moveGridPage(GridPage& page, GridArrow arrow) {
    switch (arrow) {
    case GridArrow::North:
        page.latitude += 1;
        break;
    case GridArrow::South:
        page.latitude -= 1;
        break;
    case GridArrow::West:
        page.longitude += 2;
        break;
    case GridArrow::East:
        page.longitude -= 2;
        break;
    }
}

std::optional<int> gridLabelFor(const GridCaptions& captions, std::string_view grid) {
    for (int n = 0; n < kGridLabelCount; ++n) {
        if (equalsIgnoringCase(captions[static_cast<std::size_t>(n)], grid)) {
            return n;
        }
    }
    return std::nullopt;
}

WorkedGrids workedGrids(const GridCaptions& captions, const ContactLog& log) {
    // First label of each square, sorted by key for a binary search per record.
    std::vector<std::pair<std::uint32_t, int>> index;
    index.reserve(kGridLabelCount);
    for (int n = 0; n < kGridLabelCount; ++n) {
        if (const auto key = squareKey(captions[static_cast<std::size_t>(n)])) {
            index.emplace_back(*key, n);
        }
    }
    // Sorted by (key, label), so a square shown twice finds its lower label first.
    std::sort(index.begin(), index.end());
    WorkedGrids worked;
    for (const QsoRecord& r : log.records()) {
        const auto key = squareKey(r.gridR);
        if (!key) {
            continue;
        }
        const auto it = std::lower_bound(index.begin(), index.end(), std::make_pair(*key, -1));
        if (it != index.end() && it->first == *key) {
            worked.set(static_cast<std::size_t>(it->second));
        }
    }
    return worked;
}

std::string gridHoverText(std::string_view caption, const ContactLog& log) {
    int count = 0;
    for (const QsoRecord& r : log.records()) {
        if (equalsIgnoringCase(r.gridR, caption)) {
            ++count;
        }
    }
    return std::string(caption) + "  Total = " + std::to_string(count);
}

} // namespace corvane
