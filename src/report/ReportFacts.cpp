#include "report/ReportFacts.h"

#include "core/NumberText.h"
#include "core/TextCase.h"
#include "log/score/Stats.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace corvane {

namespace {

constexpr std::size_t kLongestShown = 10;

std::int64_t floorDiv(std::int64_t value, std::int64_t divisor) {
    const std::int64_t q = value / divisor;
    return (value % divisor != 0 && (value < 0) != (divisor < 0)) ? q - 1 : q;
}

// The points of a contact as a whole number 1 .. kMostPoints, or nullopt.
std::optional<int> wholePoints(const std::string& text) {
    const auto value = parseNumber(text);
    if (!value || *value != std::floor(*value) || *value < 1.0 || *value > kMostPoints) {
        return std::nullopt;
    }
    return static_cast<int>(*value);
}

void groupSquares(const ContactLog& log, ReportFacts& facts) {
    std::map<std::pair<std::string, std::string>, std::size_t> index; // (grid, points) -> square
    for (const PlacedContact& placed : facts.placed) {
        std::string grid = log.record(placed.record).gridR;
        for (char& c : grid) {
            c = upper(c);
        }
        const auto [it, added] = index.try_emplace({grid, placed.points}, facts.squares.size());
        if (added) {
            facts.squares.push_back({grid, 0, placed});
        }
        ++facts.squares[it->second].contacts;
    }
    std::stable_sort(facts.squares.begin(), facts.squares.end(), [](const WorkedSquare& a, const WorkedSquare& b) {
        return a.place.kilometres != b.place.kilometres ? a.place.kilometres < b.place.kilometres : a.grid < b.grid;
    });
}

void tallyHours(const ContactLog& log, ReportFacts& facts) {
    std::map<std::int64_t, HourTally> byHour;
    std::optional<std::int64_t> first;
    std::optional<std::int64_t> last;
    for (const QsoRecord& r : log.records()) {
        const auto when = parseRecordDateTime(r.qsoDate, r.qsoTime);
        const double points = ContactLog::pointsValue(r);
        if (!when || !isValidDate(when->year, when->month, when->day)) {
            ++facts.untimed;
            facts.untimedPoints += points;
            continue;
        }
        const std::int64_t seconds = toEpochSeconds(*when);
        first = first ? std::min(*first, seconds) : seconds;
        last = last ? std::max(*last, seconds) : seconds;
        HourTally& tally = byHour[floorDiv(seconds, 3600)];
        ++tally.contacts;
        tally.points += points;
    }
    if (byHour.empty()) {
        return;
    }
    const auto minuteText = [](std::int64_t seconds) {
        const DateTime at = fromEpochSeconds(seconds);
        return formatDateSlash(at) + " " + formatTimeHm(at);
    };
    facts.firstContact = minuteText(*first);
    facts.lastContact = minuteText(*last);
    const std::int64_t firstHour = byHour.begin()->first;
    const std::int64_t lastHour = byHour.rbegin()->first;
    facts.emptyHoursLeftOut = lastHour - firstHour + 1 > kMostHoursShown;
    if (facts.emptyHoursLeftOut) {
        for (auto& [hour, tally] : byHour) {
            tally.hour = hour;
            facts.hours.push_back(tally);
        }
    } else {
        for (std::int64_t hour = firstHour; hour <= lastHour; ++hour) {
            const auto it = byHour.find(hour);
            HourTally tally = it == byHour.end() ? HourTally{} : it->second;
            tally.hour = hour;
            facts.hours.push_back(tally);
        }
    }
    for (std::size_t i = 0; i < facts.hours.size(); ++i) {
        const int index = static_cast<int>(i);
        if (facts.bestContactsHour < 0 || facts.hours[i].contacts > facts.hours[facts.bestContactsHour].contacts) {
            facts.bestContactsHour = index;
        }
        if (facts.bestPointsHour < 0 || facts.hours[i].points > facts.hours[facts.bestPointsHour].points) {
            facts.bestPointsHour = index;
        }
    }
}

void tallyPoints(const ContactLog& log, ReportFacts& facts) {
    std::vector<int> counts(kMostPoints + 1, 0);
    int most = 0;
    for (const QsoRecord& r : log.records()) {
        if (const auto points = wholePoints(r.points)) {
            ++counts[static_cast<std::size_t>(*points)];
            most = std::max(most, *points);
        } else {
            ++facts.otherPoints;
        }
    }
    for (int p = 1; p <= most; ++p) {
        facts.histogram.push_back({p, counts[static_cast<std::size_t>(p)]});
    }
}

void findLongest(const ContactLog& log, ReportFacts& facts) {
    std::vector<LongContact> all;
    for (int i = 1; i <= log.qsoCount(); ++i) {
        const QsoRecord& r = log.record(i);
        const auto km = parseNumber(r.kilometers);
        if (!km || !std::isfinite(*km)) {
            continue;
        }
        LongContact c;
        c.record = i;
        c.call = r.call;
        c.grid = r.gridR;
        c.kilometres = r.kilometers;
        c.points = r.points;
        c.when = r.qsoDate + " " + r.qsoTime;
        c.km = *km;
        all.push_back(std::move(c));
    }
    // The longest first; of equal ones, the one logged first.
    const std::size_t shown = std::min(kLongestShown, all.size());
    std::partial_sort(
        all.begin(), all.begin() + static_cast<std::ptrdiff_t>(shown), all.end(),
        [](const LongContact& a, const LongContact& b) { return a.km != b.km ? a.km > b.km : a.record < b.record; });
    all.resize(shown);
    for (LongContact& c : all) {
        c.placed = placeGrid(c.grid, facts.ownGrid, facts.own);
        if (c.placed) {
            c.placed->record = c.record;
            c.placed->points = c.points;
        }
    }
    facts.longest = std::move(all);
}

} // namespace

std::optional<PlacedContact> placeGrid(std::string_view grid, std::string_view ownGrid, GeoPosition own) {
    if (grid.size() < 4) {
        return std::nullopt;
    }
    const auto corner = gridCorner(grid);
    if (!corner) {
        return std::nullopt;
    }
    if (equalsIgnoringCase(grid, ownGrid)) {
        return PlacedContact{};
    }
    const auto path = displayedPath(own, *corner);
    if (!path) {
        return std::nullopt;
    }
    PlacedContact placed;
    placed.bearingDegrees = path->bearingDegrees;
    placed.kilometres = path->distanceMiles * kKilometresPerMile;
    return placed;
}

std::string hourText(std::int64_t hour) {
    const DateTime at = fromEpochSeconds(hour * 3600);
    return formatDateSlash(at) + " " + formatTimeHm(at);
}

ReportFacts gatherReportFacts(const ContactLog& log, const Preferences& prefs) {
    ReportFacts facts;
    facts.ownCall = prefs.ownCall;
    facts.ownGrid = prefs.ownGrid;
    facts.own = GeoPosition{prefs.ownLatitude, prefs.ownLongitude};

    const ScoreTexts score = scoreTexts(log.totalPoints(), prefs.powerCategory);
    facts.totals = {log.qsoCount(), score.totalPoints, powerMultiplier(prefs.powerCategory), score.totalScore};

    facts.placed.reserve(log.records().size());
    for (int i = 1; i <= log.qsoCount(); ++i) {
        const QsoRecord& r = log.record(i);
        if (auto placed = placeGrid(r.gridR, facts.ownGrid, facts.own)) {
            placed->record = i;
            placed->points = r.points;
            facts.furthestPlacedKm = std::max(facts.furthestPlacedKm, placed->kilometres);
            facts.placed.push_back(std::move(*placed));
        } else {
            ++facts.unplaced;
        }
    }
    groupSquares(log, facts);
    tallyHours(log, facts);
    tallyPoints(log, facts);
    findLongest(log, facts);
    return facts;
}

} // namespace corvane
