#include "report/ReportPictures.h"

#include "core/NumberText.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <tuple>

namespace corvane {

namespace {

constexpr Rgb kInk{30, 30, 30};
constexpr Rgb kQuiet{110, 110, 110};
constexpr Rgb kSea{236, 243, 250};
constexpr Rgb kGraticule{205, 212, 222};
constexpr Rgb kFieldLetters{140, 152, 170};
constexpr Rgb kCoast{80, 105, 80};
constexpr Rgb kRing{150, 150, 150};
constexpr Rgb kRingLabel{90, 90, 90};
constexpr Rgb kPath{170, 40, 40};
constexpr Rgb kDotEdge{40, 40, 40};
constexpr Rgb kContactsBar{70, 110, 170};
constexpr Rgb kPointsBar{60, 140, 90};
constexpr Rgb kBestBar{230, 130, 20};
constexpr Rgb kAxis{120, 120, 120};
constexpr Rgb kGridLine{225, 225, 225};

constexpr double kTitleSize = 20.0;
constexpr double kLabelSize = 12.0;
constexpr double kDotRadius = 4.5;

// A rough width of a text in the pictures' sans-serif face, to keep labels apart.
double textWidth(std::string_view text, double size) {
    return static_cast<double>(text.size()) * size * 0.6;
}

SceneText text(PlanePoint at, std::string s, double size, Rgb colour, TextAnchor anchor = TextAnchor::Start,
               bool bold = false) {
    return SceneText{at, std::move(s), size, anchor, colour, bold};
}

std::string plural(long long count, std::string_view one, std::string_view many) {
    return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

std::string pointsText(double points) {
    return formatSingle(points);
}

Rgb dotColour(const std::string& points) {
    return pointsColours(points, PointsColours{}).background;
}

// ------------------------------------------------------------------ map

void addGraticule(Scene& scene, const AzimuthalMap& map) {
    // The borders of the Maidenhead fields: every 20 degrees of longitude, every 10 of latitude.
    for (int lonWest = -160; lonWest <= 180; lonWest += 20) {
        std::vector<GeoPosition> meridian;
        for (int lat = -90; lat <= 90; ++lat) {
            meridian.push_back({static_cast<double>(lat), static_cast<double>(lonWest)});
        }
        for (PlaneLine& piece : map.projectLine(meridian, 1.0)) {
            scene.add(SceneLine{std::move(piece), kGraticule, 0.8, false});
        }
    }
    for (int lat = -80; lat <= 80; lat += 10) {
        std::vector<GeoPosition> parallel;
        for (int lonWest = -180; lonWest <= 180; ++lonWest) {
            parallel.push_back({static_cast<double>(lat), static_cast<double>(lonWest)});
        }
        for (PlaneLine& piece : map.projectLine(parallel, 1.0)) {
            scene.add(SceneLine{std::move(piece), kGraticule, 0.8, false});
        }
    }
}

// Where a text lies on the canvas, roughly, so that labels keep clear of each other.
struct Box {
    double left;
    double top;
    double right;
    double bottom;

    bool overlaps(const Box& o) const { return left < o.right && o.left < right && top < o.bottom && o.top < bottom; }
};

Box boxOf(const SceneText& t) {
    const double width = textWidth(t.text, t.size);
    const double left = t.anchor == TextAnchor::Start    ? t.at.x
                        : t.anchor == TextAnchor::Middle ? t.at.x - width / 2.0
                                                         : t.at.x - width;
    return {left - 2.0, t.at.y - t.size * 0.85, left + width + 2.0, t.at.y + t.size * 0.3};
}

bool isFree(const std::vector<Box>& taken, const Box& box) {
    return std::none_of(taken.begin(), taken.end(), [&box](const Box& b) { return b.overlaps(box); });
}

// The ring labels go along the heading with the fewest dots of the eight main ones, each on
// a patch of sea so that it can be read over the lines beneath.
void addRingLabels(Scene& scene, const AzimuthalMap& map, const ReportFacts& facts, std::vector<Box>& taken) {
    const int rings = static_cast<int>(std::lround(map.radiusKm() / kRingSpacingKm));
    const double spacingPx = kRingSpacingKm * map.pixelsPerKm();
    const int every = std::max(1, static_cast<int>(std::ceil(30.0 / spacingPx)));
    int bestBearing = 135;
    int fewest = -1;
    for (int bearing : {135, 45, 225, 315, 90, 270, 180, 0}) {
        int dots = 0;
        for (const WorkedSquare& s : facts.squares) {
            const double off = std::abs(std::remainder(s.place.bearingDegrees - bearing, 360.0));
            dots += off < 22.5 ? s.contacts : 0;
        }
        if (fewest < 0 || dots < fewest) {
            fewest = dots;
            bestBearing = bearing;
        }
    }
    for (int ring = every; ring < rings; ring += every) {
        const PlanePoint on = map.fromPolar(bestBearing, ring * kRingSpacingKm);
        SceneText label = text({on.x, on.y + 4.0}, ringLabel(ring), 11.0, kRingLabel, TextAnchor::Middle, true);
        const Box box = boxOf(label);
        scene.add(SceneRect{box.left, box.top, box.right - box.left, box.bottom - box.top, kSea});
        scene.add(std::move(label));
        taken.push_back(box);
    }
}

void addFieldLetters(Scene& scene, const AzimuthalMap& map, std::vector<Box>& taken) {
    for (char lonLetter = 'A'; lonLetter <= 'R'; ++lonLetter) {
        for (char latLetter = 'A'; latLetter <= 'R'; ++latLetter) {
            const std::string field{lonLetter, latLetter};
            const GeoPosition corner = *gridCorner(field);
            const GeoPosition middle{corner.latitude + 5.0, corner.longitudeWest - 10.0};
            const auto centre = map.project(middle);
            const auto top = map.project({corner.latitude + 10.0, middle.longitudeWest});
            const auto bottom = map.project({corner.latitude, middle.longitudeWest});
            if (!centre || !top || !bottom) {
                continue;
            }
            // Only where the field is drawn large enough to hold its name, well inside the
            // rim and clear of the labels already there.
            const double height = std::hypot(top->x - bottom->x, top->y - bottom->y);
            const double fromCentre = std::hypot(centre->x - map.centrePx().x, centre->y - map.centrePx().y);
            if (height < 26.0 || fromCentre > map.radiusPx() - 14.0) {
                continue;
            }
            SceneText label = text({centre->x, centre->y + 5.0}, field, 13.0, kFieldLetters, TextAnchor::Middle, true);
            const Box box = boxOf(label);
            if (isFree(taken, box)) {
                taken.push_back(box);
                scene.add(std::move(label));
            }
        }
    }
}

void addCoast(Scene& scene, const AzimuthalMap& map, const Coastlines& coast) {
    for (const auto& line : coast.lines) {
        for (PlaneLine& piece : map.projectLine(line, 1.0)) {
            scene.add(SceneLine{std::move(piece), kCoast, 0.9, false});
        }
    }
}

void addRings(Scene& scene, const AzimuthalMap& map) {
    const int rings = static_cast<int>(std::lround(map.radiusKm() / kRingSpacingKm));
    const double spacingPx = kRingSpacingKm * map.pixelsPerKm();
    for (int ring = 1; ring <= rings; ++ring) {
        scene.add(SceneCircle{map.centrePx(), ring * spacingPx, std::nullopt, kRing, ring == rings ? 1.5 : 0.8});
    }
}

void addLegend(Scene& scene, const ReportFacts& facts, double y) {
    // One swatch for each colour the dots can have: 1 to 10 points, then 11 or more.
    std::set<int> shown;
    for (const PointsTally& t : facts.histogram) {
        if (t.contacts > 0) {
            shown.insert(std::min(t.points, 11));
        }
    }
    if (shown.empty()) {
        return;
    }
    double x = 30.0;
    scene.add(text({x, y + 4.0}, "Points:", kLabelSize, kInk, TextAnchor::Start, true));
    x += 60.0;
    for (int p : shown) {
        const std::string label = p == 11 ? "11+" : std::to_string(p);
        scene.add(SceneCircle{{x, y}, kDotRadius + 1.0, dotColour(std::to_string(p)), kDotEdge, 0.6});
        scene.add(text({x + 9.0, y + 4.0}, label, kLabelSize, kInk));
        x += 18.0 + textWidth(label, kLabelSize) + 12.0;
    }
}

// ------------------------------------------------------------------ bars

struct Panel {
    double left;
    double top;
    double width;
    double height;
};

// A round top for an axis: 1, 2 or 5 times a power of ten, at least the value.
double niceCeiling(double value) {
    if (value <= 0.0) {
        return 1.0;
    }
    const double power = std::pow(10.0, std::floor(std::log10(value)));
    for (double step : {1.0, 2.0, 5.0, 10.0}) {
        if (step * power >= value - 1e-9) {
            return step * power;
        }
    }
    return 10.0 * power;
}

struct Bar {
    double value;
    std::string label;    // under the bar, "" for none
    std::string subLabel; // a second line under it (the date at a new day)
    Rgb colour;
};

void addBars(Scene& scene, const Panel& panel, const std::vector<Bar>& bars, const std::string& heading, int best,
             const std::string& bestText) {
    scene.add(text({panel.left, panel.top - 28.0}, heading, 15.0, kInk, TextAnchor::Start, true));
    double most = 0.0;
    for (const Bar& b : bars) {
        most = std::max(most, b.value);
    }
    // At least 5, so that a few contacts still get whole steps; 4 steps under a 2, else 5.
    const double top = std::max(5.0, niceCeiling(most));
    const double leading = top / std::pow(10.0, std::floor(std::log10(top)));
    const int steps = std::lround(leading) == 2 ? 4 : 5;
    const double bottomY = panel.top + panel.height;
    for (int step = 0; step <= steps; ++step) {
        const double value = top * step / steps;
        const double y = bottomY - panel.height * step / steps;
        scene.add(
            SceneLine{{{panel.left, y}, {panel.left + panel.width, y}}, step == 0 ? kAxis : kGridLine, 1.0, false});
        scene.add(text({panel.left - 6.0, y + 4.0}, pointsText(value), 11.0, kQuiet, TextAnchor::End));
    }
    if (bars.empty()) {
        return;
    }
    const double pitch = panel.width / static_cast<double>(bars.size());
    const double barWidth = std::max(1.0, pitch * 0.8);
    double widest = 0.0;
    for (const Bar& b : bars) {
        widest = std::max(widest, textWidth(b.label, 11.0));
    }
    const int labelEvery = std::max(1, static_cast<int>(std::ceil((widest + 6.0) / pitch)));
    for (std::size_t i = 0; i < bars.size(); ++i) {
        const Bar& b = bars[i];
        const double x = panel.left + pitch * static_cast<double>(i) + (pitch - barWidth) / 2.0;
        const double h = panel.height * b.value / top;
        if (h > 0.0) {
            scene.add(SceneRect{x, bottomY - h, barWidth, h, static_cast<int>(i) == best ? kBestBar : b.colour});
        }
        const double middle = x + barWidth / 2.0;
        if (i % static_cast<std::size_t>(labelEvery) == 0 && !b.label.empty()) {
            scene.add(text({middle, bottomY + 15.0}, b.label, 11.0, kQuiet, TextAnchor::Middle));
        }
        if (!b.subLabel.empty()) {
            scene.add(text({middle, bottomY + 29.0}, b.subLabel, 11.0, kInk, TextAnchor::Middle));
        }
    }
    if (best >= 0 && best < static_cast<int>(bars.size())) {
        const double middle = panel.left + pitch * (best + 0.5);
        const double barTop = bottomY - panel.height * bars[static_cast<std::size_t>(best)].value / top;
        const double half = textWidth(bestText, 12.0) / 2.0;
        const double x = std::clamp(middle, panel.left + half, panel.left + panel.width - half);
        scene.add(SceneLine{{{middle, barTop - 2.0}, {middle, barTop - 9.0}}, kBestBar, 2.0, false});
        scene.add(text({x, barTop - 13.0}, bestText, 12.0, kInk, TextAnchor::Middle, true));
    }
}

std::string twoDigits(int n) {
    return (n < 10 ? "0" : "") + std::to_string(n);
}

} // namespace

std::string ringLabel(int ring) {
    return std::to_string(ring + 1) + " pts";
}

AzimuthalMap reportMap(const ReportFacts& facts) {
    return AzimuthalMap(facts.own, mapRadiusKm(facts.furthestPlacedKm), kMapCentre, kMapRadiusPx);
}

Scene mapScene(const ReportFacts& facts, const Coastlines* coast, const std::string& coastNote) {
    Scene scene;
    scene.name = "map";
    scene.width = kMapWidth;
    scene.height = kMapHeight;
    const AzimuthalMap map = reportMap(facts);
    scene.title = "Map of the contacts around " + facts.ownCall + " in " + facts.ownGrid + ", to " +
                  formatGroupedWhole(map.radiusKm()) + " km";
    scene.add(text({30.0, 34.0}, scene.title, kTitleSize, kInk, TextAnchor::Start, true));

    scene.add(SceneCircle{map.centrePx(), map.radiusPx(), kSea, std::nullopt, 1.0});
    addGraticule(scene, map);
    if (coast != nullptr) {
        addCoast(scene, map, *coast);
    }
    addRings(scene, map);
    std::vector<Box> taken;
    const PlanePoint centre = map.centrePx();
    taken.push_back(
        {centre.x - 10.0, centre.y - 10.0, centre.x + 10.0 + textWidth(facts.ownCall, 13.0), centre.y + 20.0});
    addRingLabels(scene, map, facts, taken);
    addFieldLetters(scene, map, taken);
    const PlanePoint c = map.centrePx();
    const double r = map.radiusPx();
    scene.add(text({c.x, c.y - r - 8.0}, "N", 14.0, kInk, TextAnchor::Middle, true));
    scene.add(text({c.x + r + 8.0, c.y + 5.0}, "E", 14.0, kInk, TextAnchor::Start, true));
    scene.add(text({c.x, c.y + r + 20.0}, "S", 14.0, kInk, TextAnchor::Middle, true));
    scene.add(text({c.x - r - 8.0, c.y + 5.0}, "W", 14.0, kInk, TextAnchor::End, true));

    // The great circles to the ten longest contacts: straight lines from the centre.
    for (const LongContact& far : facts.longest) {
        if (far.placed) {
            scene.add(
                SceneLine{{c, map.fromPolar(far.placed->bearingDegrees, far.placed->kilometres)}, kPath, 1.4, false});
        }
    }
    for (const WorkedSquare& square : facts.squares) {
        const PlanePoint at = map.fromPolar(square.place.bearingDegrees, square.place.kilometres);
        scene.add(SceneCircle{at, kDotRadius, dotColour(square.place.points), kDotEdge, 0.7});
    }
    scene.add(SceneCircle{c, 6.0, Rgb{255, 255, 255}, kInk, 2.0});
    scene.add(SceneCircle{c, 2.0, kInk, std::nullopt, 1.0});
    scene.add(text({c.x + 9.0, c.y + 16.0}, facts.ownCall, 13.0, kInk, TextAnchor::Start, true));

    addLegend(scene, facts, kMapHeight - 48.0);
    std::string note = "Rings every 500 km: each starts one more point.";
    if (facts.unplaced > 0) {
        note += " " + plural(facts.unplaced, "contact has", "contacts have") + " no grid the map can place.";
    }
    scene.add(text({30.0, kMapHeight - 22.0}, note, kLabelSize, kQuiet));
    if (!coastNote.empty()) {
        scene.add(text({30.0, kMapHeight - 6.0}, coastNote, kLabelSize, kQuiet));
    }
    return scene;
}

Scene hoursScene(const ReportFacts& facts) {
    Scene scene;
    scene.name = "hours";
    scene.title = "Contacts and points per hour (UTC)";
    scene.width = 900;
    scene.height = 640;
    scene.add(text({30.0, 34.0}, scene.title, kTitleSize, kInk, TextAnchor::Start, true));
    std::vector<Bar> contacts;
    std::vector<Bar> points;
    std::string previousDate;
    for (const HourTally& h : facts.hours) {
        const DateTime at = fromEpochSeconds(h.hour * 3600);
        const std::string date = twoDigits(at.month) + "/" + twoDigits(at.day);
        const std::string sub = date != previousDate ? date : std::string();
        previousDate = date;
        contacts.push_back({static_cast<double>(h.contacts), twoDigits(at.hour), sub, kContactsBar});
        points.push_back({h.points, twoDigits(at.hour), sub, kPointsBar});
    }
    const auto bestText = [&](int index, bool ofPoints) {
        if (index < 0) {
            return std::string();
        }
        const HourTally& h = facts.hours[static_cast<std::size_t>(index)];
        const std::string hour = twoDigits(fromEpochSeconds(h.hour * 3600).hour) + ":00";
        return "Best " + hour + ": " +
               (ofPoints ? pointsText(h.points) + " points" : plural(h.contacts, "contact", "contacts"));
    };
    addBars(scene, {70.0, 100.0, 800.0, 170.0}, contacts, "Contacts per hour", facts.bestContactsHour,
            bestText(facts.bestContactsHour, false));
    addBars(scene, {70.0, 380.0, 800.0, 170.0}, points, "Points per hour", facts.bestPointsHour,
            bestText(facts.bestPointsHour, true));
    std::vector<std::string> notes;
    if (facts.hours.empty()) {
        notes.push_back("No contact has a date and time that can be read.");
    } else if (facts.emptyHoursLeftOut) {
        notes.push_back("The log spans more than " + std::to_string(kMostHoursShown) +
                        " hours: hours without contacts are left out.");
    }
    if (facts.untimed > 0) {
        notes.push_back(plural(facts.untimed, "contact has", "contacts have") + " no readable date or time and " +
                        (facts.untimed == 1 ? "is" : "are") + " not counted here.");
    }
    for (std::size_t i = 0; i < notes.size(); ++i) {
        scene.add(text({30.0, 606.0 + 20.0 * static_cast<double>(i)}, notes[i], kLabelSize, kQuiet));
    }
    return scene;
}

Scene histogramScene(const ReportFacts& facts) {
    Scene scene;
    scene.name = "points";
    scene.title = "How many contacts gave each number of points";
    scene.width = 900;
    scene.height = 410;
    scene.add(text({30.0, 34.0}, scene.title, kTitleSize, kInk, TextAnchor::Start, true));
    std::vector<Bar> bars;
    int best = -1;
    for (const PointsTally& t : facts.histogram) {
        bars.push_back(
            {static_cast<double>(t.contacts), std::to_string(t.points), {}, dotColour(std::to_string(t.points))});
        if (best < 0 || t.contacts > facts.histogram[static_cast<std::size_t>(best)].contacts) {
            best = static_cast<int>(bars.size()) - 1;
        }
    }
    // The bars keep the colours of the dots on the map; the largest is named, not recoloured.
    addBars(scene, {70.0, 100.0, 800.0, 220.0}, bars, "Contacts by points", -1, {});
    if (best >= 0) {
        const PointsTally& t = facts.histogram[static_cast<std::size_t>(best)];
        scene.add(text({70.0, 365.0},
                       "Most contacts gave " + plural(t.points, "point", "points") + ": " +
                           plural(t.contacts, "contact", "contacts") + ".",
                       kLabelSize, kInk, TextAnchor::Start, true));
    }
    std::string note = "Points (one more for each started 500 km)";
    if (facts.otherPoints > 0) {
        note += "; " + plural(facts.otherPoints, "contact has", "contacts have") +
                " points that are no whole number from 1 to " + std::to_string(kMostPoints);
    }
    scene.add(text({70.0, 390.0}, note + ".", kLabelSize, kQuiet));
    return scene;
}

} // namespace corvane
