// The contest report's arithmetic and text: the map's projection against known distances
// and bearings, the tallies against the score logic on the same log, and the page's bytes.

#include "ReportTestLog.h"
#include "core/NumberText.h"
#include "log/score/Stats.h"
#include "report/Coastlines.h"
#include "report/MapProjection.h"
#include "report/ReportHtml.h"
#include "report/ReportPictures.h"
#include "report/Svg.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numeric>
#include <set>

using namespace corvane;
using namespace corvane::test;

namespace {

constexpr double kEarthRadiusKm = kEarthRadiusMiles * kKilometresPerMile;

double fromCentre(const AzimuthalMap& map, PlanePoint p) {
    return std::hypot(p.x - map.centrePx().x, p.y - map.centrePx().y);
}

// Clockwise from north, as a compass: the screen's y grows downwards.
double screenBearing(const AzimuthalMap& map, PlanePoint p) {
    const double degrees = std::atan2(p.x - map.centrePx().x, map.centrePx().y - p.y) * 180.0 / M_PI;
    return degrees < 0 ? degrees + 360.0 : degrees;
}

std::vector<SceneCircle> circles(const Scene& scene, double radius) {
    std::vector<SceneCircle> out;
    for (const SceneShape& shape : scene.shapes) {
        if (const auto* c = std::get_if<SceneCircle>(&shape); c && std::abs(c->radius - radius) < 1e-9) {
            out.push_back(*c);
        }
    }
    return out;
}

bool hasDotAt(const Scene& scene, PlanePoint at, Rgb colour) {
    for (const SceneCircle& c : circles(scene, 4.5)) {
        if (std::hypot(c.centre.x - at.x, c.centre.y - at.y) < 1e-6 && c.fill == colour) {
            return true;
        }
    }
    return false;
}

// Great-circle distance and initial bearing by the haversine and atan2 formulas, on the
// sphere the log measures on, longitudes west-positive.
struct Independent {
    double km;
    double bearing;
};
Independent independentPath(GeoPosition a, GeoPosition b) {
    const double rad = M_PI / 180.0;
    const double lat1 = a.latitude * rad;
    const double lat2 = b.latitude * rad;
    const double dLon = (a.longitudeWest - b.longitudeWest) * rad; // eastwards
    const double h =
        std::pow(std::sin((lat2 - lat1) / 2), 2) + std::cos(lat1) * std::cos(lat2) * std::pow(std::sin(dLon / 2), 2);
    const double km = 2 * kEarthRadiusKm * std::asin(std::sqrt(h));
    double bearing = std::atan2(std::sin(dLon) * std::cos(lat2),
                                std::cos(lat1) * std::sin(lat2) - std::sin(lat1) * std::cos(lat2) * std::cos(dLon)) /
                     rad;
    return {km, bearing < 0 ? bearing + 360.0 : bearing};
}

} // namespace

TEST(ReportMap, AContactOnARingLiesOnThatRingInItsBearing) {
    // Nine degrees of latitude are exactly 1000 km on this sphere: FN29 is due north of FN20,
    // FM21 due south, so both lie on the 1000 km ring (ring 2), where 3 points start.
    const ReportFacts facts =
        gatherReportFacts(logOf({contact("K1AA", "FN29", "3"), contact("K4BB", "FM21", "3")}), station("FN20"));
    ASSERT_EQ(facts.placed.size(), 2u);
    const AzimuthalMap map = reportMap(facts);
    EXPECT_EQ(map.radiusKm(), 1500.0);
    const Scene scene = mapScene(facts, nullptr, "");
    const double ring2 = 2 * kRingSpacingKm * map.pixelsPerKm();
    ASSERT_EQ(circles(scene, ring2).size(), 1u); // the ring is drawn
    for (const PlacedContact& p : facts.placed) {
        EXPECT_NEAR(p.kilometres, 1000.0, 0.01);
        const PlanePoint dot = map.fromPolar(p.bearingDegrees, p.kilometres);
        EXPECT_NEAR(fromCentre(map, dot), ring2, 0.01);
        EXPECT_TRUE(hasDotAt(scene, dot, pointsColours("3", {}).background));
    }
    EXPECT_NEAR(screenBearing(map, map.fromPolar(facts.placed[0].bearingDegrees, 1000)), 0.0, 0.01);
    EXPECT_NEAR(screenBearing(map, map.fromPolar(facts.placed[1].bearingDegrees, 1000)), 180.0, 0.01);
    EXPECT_EQ(ringLabel(2), "3 pts");
}

TEST(ReportMap, DotsLieAtTheTrueDistanceAndBearing) {
    const Preferences own = station("FN20");
    const GeoPosition centre{own.ownLatitude, own.ownLongitude};
    const ReportFacts facts = gatherReportFacts(
        logOf({contact("G3AA", "IO91", "11"), contact("JA1A", "PM95", "21"), contact("VK2A", "QF56", "33"),
               contact("PY1A", "GG87", "16"), contact("W6AA", "CM87", "8")}),
        own);
    const char* const grids[] = {"IO91", "PM95", "QF56", "GG87", "CM87"};
    ASSERT_EQ(facts.placed.size(), 5u);
    const AzimuthalMap map = reportMap(facts);
    EXPECT_EQ(map.radiusKm(), mapRadiusKm(facts.furthestPlacedKm));
    for (const PlacedContact& p : facts.placed) {
        const GeoPosition at = *gridCorner(grids[p.record - 1]);
        const Independent truth = independentPath(centre, at);
        EXPECT_NEAR(p.kilometres, truth.km, 0.01) << p.record;
        EXPECT_NEAR(p.bearingDegrees, truth.bearing, 0.01) << p.record;
        const auto projected = map.project(at);
        ASSERT_TRUE(projected.has_value());
        EXPECT_NEAR(fromCentre(map, *projected), truth.km * map.pixelsPerKm(), 1e-6);
        EXPECT_NEAR(screenBearing(map, *projected), truth.bearing, 0.01);
    }
    // The station itself is the centre; the far side of the earth has no place.
    EXPECT_EQ(map.project(centre), map.centrePx());
    EXPECT_FALSE(map.project({-centre.latitude, centre.longitudeWest - 180.0}).has_value());
}

TEST(ReportMap, TheRimIsARingBeyondTheFurthestContact) {
    EXPECT_EQ(mapRadiusKm(0), 1500.0);
    EXPECT_EQ(mapRadiusKm(1249), 1500.0);
    EXPECT_EQ(mapRadiusKm(1251), 2000.0);
    EXPECT_EQ(mapRadiusKm(4100), 4500.0);
    EXPECT_EQ(mapRadiusKm(19999), 20000.0);
    EXPECT_EQ(mapRadiusKm(1e9), 20000.0);
}

TEST(ReportMap, LinesAreCutAtTheRimAndBrokenAcrossTheFarSide) {
    const AzimuthalMap map({40.0, 76.0}, 1500.0, {100.0, 100.0}, 50.0);
    // Due north from the station to 30 degrees beyond the rim: one piece ending on the rim.
    std::vector<GeoPosition> north;
    for (int lat = 40; lat <= 70; ++lat) {
        north.push_back({static_cast<double>(lat), 76.0});
    }
    const auto pieces = map.projectLine(north);
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_NEAR(fromCentre(map, pieces[0].back()), 50.0, 1e-6);
    EXPECT_NEAR(pieces[0].back().x, 100.0, 0.01);
    // Coming back in gives a second piece starting on the rim.
    std::vector<GeoPosition> outAndBack = north;
    outAndBack.insert(outAndBack.end(), north.rbegin(), north.rend());
    const auto twice = map.projectLine(outAndBack);
    ASSERT_EQ(twice.size(), 2u);
    EXPECT_NEAR(fromCentre(map, twice[1].front()), 50.0, 1e-6);
    // Wholly outside: nothing. Across the far side on a whole-earth map: broken, never a
    // chord across the disk.
    EXPECT_TRUE(map.projectLine({{-10.0, 0.0}, {-20.0, 0.0}}).empty());
    const AzimuthalMap world({40.0, 76.0}, 20000.0, {100.0, 100.0}, 50.0);
    std::vector<GeoPosition> farSide;
    for (double lon = -110; lon <= -90; lon += 0.5) {
        farSide.push_back({-40.0, lon});
    }
    for (const PlaneLine& piece : world.projectLine(farSide)) {
        for (std::size_t i = 1; i < piece.size(); ++i) {
            EXPECT_LT(std::hypot(piece[i].x - piece[i - 1].x, piece[i].y - piece[i - 1].y), 25.0);
        }
    }
}

TEST(ReportFacts, TalliesAddUpToTheScoreOfTheSameLog) {
    const ContactLog log = nightLog();
    const Preferences prefs = station("FN20", 1);
    const ReportFacts facts = gatherReportFacts(log, prefs);

    const ScoreTexts score = scoreTexts(log.totalPoints(), prefs.powerCategory);
    EXPECT_EQ(facts.totals.contacts, log.qsoCount());
    EXPECT_EQ(facts.totals.totalPoints, score.totalPoints);
    EXPECT_EQ(facts.totals.totalScore, score.totalScore);
    EXPECT_EQ(facts.totals.multiplier, 4);

    int hourContacts = facts.untimed;
    double hourPoints = facts.untimedPoints;
    for (const HourTally& h : facts.hours) {
        hourContacts += h.contacts;
        hourPoints += h.points;
    }
    EXPECT_EQ(hourContacts, log.qsoCount());
    EXPECT_EQ(hourPoints, log.totalPoints());
    const int histogramContacts = std::accumulate(facts.histogram.begin(), facts.histogram.end(), facts.otherPoints,
                                                  [](int sum, const PointsTally& t) { return sum + t.contacts; });
    EXPECT_EQ(histogramContacts, log.qsoCount());
    EXPECT_EQ(static_cast<int>(facts.placed.size()) + facts.unplaced, log.qsoCount());

    // 22:00 (2 contacts, 5 points), an empty 23:00, 00:00 of the next day (4, 12) and
    // 01:00 (2, 9.5); one contact has no readable time (1.5 points), one has points "x".
    ASSERT_EQ(facts.hours.size(), 4u);
    EXPECT_EQ(hourText(facts.hours[0].hour), "2012/12/29 22:00");
    EXPECT_EQ(hourText(facts.hours[2].hour), "2012/12/30 00:00");
    EXPECT_EQ(facts.hours[1].contacts, 0);
    EXPECT_EQ(facts.bestContactsHour, 2);
    EXPECT_EQ(facts.bestPointsHour, 2);
    EXPECT_EQ(facts.hours[2].points, 12.0);
    EXPECT_EQ(facts.hours[3].points, 9.5);
    EXPECT_EQ(facts.untimed, 1);
    EXPECT_EQ(facts.untimedPoints, 1.5);
    EXPECT_EQ(facts.firstContact, "2012/12/29 22:05");
    EXPECT_EQ(facts.lastContact, "2012/12/30 01:40");
    ASSERT_EQ(facts.histogram.size(), 7u);     // 1 .. 7 points
    EXPECT_EQ(facts.histogram[2].contacts, 2); // two contacts of 3 points
    EXPECT_EQ(facts.otherPoints, 3);           // 1.5, x and 2.5
    EXPECT_EQ(facts.unplaced, 1);              // grid "FN3"
}

TEST(ReportFacts, HoursOfAVeryLongLogKeepOnlyHoursWithContacts) {
    const ReportFacts facts = gatherReportFacts(
        logOf({timedContact("A1", "2012/12/29", "22:00:00"), timedContact("A2", "2013/01/29", "22:10:00"),
               timedContact("A3", "2013/01/29", "23:10:00")}),
        station("FN20"));
    EXPECT_TRUE(facts.emptyHoursLeftOut);
    ASSERT_EQ(facts.hours.size(), 3u);
    EXPECT_EQ(hourText(facts.hours[1].hour), "2013/01/29 22:00");
}

TEST(ReportFacts, TheTenLongestByLoggedDistanceFirstLoggedFirst) {
    std::vector<QsoRecord> records;
    for (int i = 0; i < 14; ++i) {
        QsoRecord r = contact("K" + std::to_string(i), "FN31", "3");
        r.kilometers = formatGroupedWhole(100.0 * (i % 7 + 1)); // 100 .. 700 km, twice
        records.push_back(r);
    }
    records[3].kilometers = "";      // no distance: never among them
    records[4].kilometers = "9,000"; // the longest
    const ReportFacts facts = gatherReportFacts(logOf(records), station("FN20"));
    ASSERT_EQ(facts.longest.size(), 10u);
    EXPECT_EQ(facts.longest[0].call, "K4");
    EXPECT_EQ(facts.longest[0].kilometres, "9,000");
    EXPECT_EQ(facts.longest[1].call, "K6"); // 700 km, logged before K13
    EXPECT_EQ(facts.longest[2].call, "K13");
    for (const LongContact& c : facts.longest) {
        EXPECT_NE(c.call, "K3");
        ASSERT_TRUE(c.placed.has_value());
    }
}

TEST(ReportPage, BytesAreSelfContainedEscapedAndRepeatable) {
    ContactLog log = nightLog();
    std::vector<QsoRecord> records = log.records();
    records[0].call = "K1<b>&\xE9"; // é in the 8-bit log
    log.assign(records);
    const ContestReport report = makeContestReport(log, station("FN20", 1), loadCoastlines(""), "Test Logger 1.0");
    const std::string& html = report.html;

    EXPECT_TRUE(html.starts_with("<!DOCTYPE html>\r\n<html lang=\"en\">\r\n<head>\r\n<meta charset=\"utf-8\">\r\n"));
    EXPECT_TRUE(html.ends_with("</body>\r\n</html>\r\n"));
    for (std::size_t i = html.find('\n'); i != std::string::npos; i = html.find('\n', i + 1)) {
        ASSERT_EQ(html[i - 1], '\r') << "a line end without CR at byte " << i;
    }
    for (const char* outside : {"<script", "http:", "https:", "src=", "href=", "url(", "@import", "<link", "<img"}) {
        EXPECT_EQ(html.find(outside), std::string::npos) << outside;
    }
    EXPECT_NE(html.find("<td>K1&lt;b&gt;&amp;\xC3\xA9</td>"), std::string::npos);
    EXPECT_EQ(html.find("<b>&"), std::string::npos);

    for (const char* id : {"<svg id=\"map\"", "<svg id=\"hours\"", "<svg id=\"points\""}) {
        EXPECT_NE(html.find(id), std::string::npos) << id;
    }
    std::set<std::string> ids; // each id once, or a screen reader's links go astray
    for (std::size_t at = html.find(" id=\""); at != std::string::npos; at = html.find(" id=\"", at + 1)) {
        const std::size_t start = at + 5;
        EXPECT_TRUE(ids.insert(html.substr(start, html.find('"', start) - start)).second) << html.substr(start, 20);
    }
    EXPECT_EQ(ids.size(), 8u);
    // The score as the score display shows it, and the best hour in its table.
    EXPECT_NE(html.find("<tr><th scope=\"row\">Total QSO points</th><td class=\"n\">28</td></tr>\r\n"
                        "<tr><th scope=\"row\">Power multiplier</th><td class=\"n\">4</td></tr>\r\n"
                        "<tr><th scope=\"row\">Total score</th><td class=\"n\">112</td></tr>\r\n"),
              std::string::npos);
    EXPECT_NE(html.find("<tr class=\"best\"><th scope=\"row\">2012/12/30 00:00</th><td class=\"n\">4</td>"
                        "<td class=\"n\">12</td><td>most contacts, most points</td></tr>\r\n"),
              std::string::npos);
    EXPECT_NE(html.find("<tr><th scope=\"row\">2012/12/29 23:00</th><td class=\"n\">0</td><td class=\"n\">0</td>"
                        "<td></td></tr>\r\n"),
              std::string::npos);
    // Without coastlines the map says so, in the picture and in its caption.
    EXPECT_NE(html.find("<text x=\"30\" y=\"994\" font-size=\"12\" fill=\"#6e6e6e\">Coastlines are not installed"),
              std::string::npos);
    EXPECT_NE(
        html.find(
            "red lines lead to the ten longest contacts. 1 contact has no grid square the map can place and is not "
            "shown. Coastlines are not installed"),
        std::string::npos);

    EXPECT_EQ(makeContestReport(log, station("FN20", 1), loadCoastlines(""), "Test Logger 1.0").html, html);
}

TEST(ReportPage, AnEmptyLogStillMakesAWholePage) {
    const ContestReport report = makeContestReport(ContactLog{}, station("FN20"), loadCoastlines(""), "T");
    EXPECT_TRUE(report.html.ends_with("</html>\r\n"));
    EXPECT_NE(report.html.find("<p>0 contacts.</p>"), std::string::npos);
    EXPECT_NE(report.html.find("No contact has a date and time that can be read."), std::string::npos);
    EXPECT_EQ(report.pictures.size(), 3u);
}

TEST(ReportSvg, NumbersColoursAndJoinedLines) {
    EXPECT_EQ(svgNumber(12.0), "12");
    EXPECT_EQ(svgNumber(12.25), "12.3");
    EXPECT_EQ(svgNumber(-0.04), "0");
    EXPECT_EQ(svgNumber(-3.46), "-3.5");
    EXPECT_EQ(svgNumber(std::nan("")), "0");
    EXPECT_EQ(cssColour({0, 128, 255}), "#0080ff");

    Scene scene;
    scene.name = "t";
    scene.title = "A & B";
    scene.width = 10;
    scene.height = 20;
    scene.add(SceneLine{{{0, 0}, {1, 1}}, {1, 2, 3}, 1.0, false});
    scene.add(SceneLine{{{2, 2}, {3.33, 3}}, {1, 2, 3}, 1.0, false});
    scene.add(SceneLine{{{4, 4}, {5, 5}}, {9, 9, 9}, 2.0, true});
    scene.add(SceneText{{1, 2}, "x<y", 11.0, TextAnchor::Middle, {0, 0, 0}, true});
    EXPECT_EQ(sceneSvg(scene),
              "<svg id=\"t\" role=\"img\" aria-label=\"A &amp; B\" viewBox=\"0 0 10 20\" width=\"10\" "
              "height=\"20\">\r\n"
              "<title>A &amp; B</title>\r\n"
              "<rect width=\"10\" height=\"20\" fill=\"#ffffff\"/>\r\n"
              "<path fill=\"none\" stroke=\"#010203\" stroke-width=\"1\" d=\"M0 0L1 1M2 2L3.3 3\"/>\r\n"
              "<path fill=\"none\" stroke=\"#090909\" stroke-width=\"2\" stroke-dasharray=\"4 3\" d=\"M4 4L5 5\"/>\r\n"
              "<text x=\"1\" y=\"2\" font-size=\"11\" fill=\"#000000\" text-anchor=\"middle\" "
              "font-weight=\"bold\">x&lt;y</text>\r\n"
              "</svg>\r\n");
    EXPECT_EQ(escapeHtml("a\x01\x85\"b"), "a  &quot;b");
}

TEST(ReportCoastlines, TheFileIsReadOrRefusedWithTheLine) {
    const auto good = parseCoastlines("Corvane coastlines 1\r\n-74012,40700 -74020,40710\r\n\r\n180000,-90000\n");
    ASSERT_TRUE(good.ok) << good.problem;
    ASSERT_EQ(good.coast.lines.size(), 2u);
    EXPECT_EQ(good.coast.pointCount, 3u);
    EXPECT_EQ(good.coast.lines[0][0], (GeoPosition{40.7, 74.012}));
    EXPECT_EQ(good.coast.lines[1][0], (GeoPosition{-90.0, -180.0}));

    const std::pair<std::string, int> bad[] = {
        {"", 1},
        {"Corvane coastlines 2\r\n", 1},
        {"Corvane coastlines 1\r\n1,2 3,4\r\n1,2 x,4\r\n", 3},
        {"Corvane coastlines 1\r\n1,2 \r\n", 2},
        {"Corvane coastlines 1\r\n180001,0\r\n", 2},
        {"Corvane coastlines 1\r\n0,90001\r\n", 2},
        {"Corvane coastlines 1\r\n0;1\r\n", 2},
        {"Corvane coastlines 1\r\n1,2,3\r\n", 2},
    };
    for (const auto& [bytes, line] : bad) {
        const auto read = parseCoastlines(bytes);
        EXPECT_FALSE(read.ok) << bytes;
        EXPECT_EQ(read.errorLine, line) << bytes;
        EXPECT_FALSE(read.problem.empty());
        EXPECT_TRUE(read.coast.lines.empty());
    }
    EXPECT_NE(loadCoastlines("").note.find("gmt-gshhg-low"), std::string::npos);
    const CoastlineLoad missing = loadCoastlines("/no/such/coastlines.txt");
    EXPECT_NE(missing.note.find("/no/such/coastlines.txt"), std::string::npos);
    EXPECT_EQ(missing.mapNote, "Drawn without coastlines: their file could not be read."); // fits under the map
    EXPECT_FALSE(loadCoastlines("").coast.has_value());
}
