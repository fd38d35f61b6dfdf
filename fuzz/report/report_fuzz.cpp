// The contest report: the bytes are read as a coastline file and as log.txt. A coastline file
// that reads holds only places on the earth; a log that loads gives a whole page, its lines
// ending in CR LF, nothing in it loaded from elsewhere, and tallies that add up to the log.

#include "log/ContactLog.h"
#include "log/LogFile.h"
#include "report/Coastlines.h"
#include "report/ReportHtml.h"
#include "support/FuzzCheck.h"

#include <cstdint>

using namespace corvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::textOf(data, size);
    CoastlineLoad coast;
    const CoastlineReadResult read = parseCoastlines(bytes);
    if (read.ok) {
        for (const auto& line : read.coast.lines) {
            for (const GeoPosition& p : line) {
                FUZZ_CHECK(p.latitude >= -90.0 && p.latitude <= 90.0);
                FUZZ_CHECK(p.longitudeWest >= -180.0 && p.longitudeWest <= 180.0);
            }
        }
        coast.coast = read.coast;
    } else {
        FUZZ_CHECK(read.errorLine >= 1 && !read.problem.empty());
    }

    const LogParseResult parsed = parseLog(bytes, 200);
    if (!parsed.ok) {
        return 0;
    }
    ContactLog log;
    log.assign(parsed.records);
    Preferences prefs;
    prefs.ownCall = "W1XYZ";
    prefs.ownGrid = "FN20";
    prefs.ownLatitude = 40.0;
    prefs.ownLongitude = 76.0;
    const ContestReport report = makeContestReport(log, prefs, coast, "Fuzz");
    const std::string& html = report.html;
    FUZZ_CHECK(html.starts_with("<!DOCTYPE html>\r\n"));
    FUZZ_CHECK(html.ends_with("</html>\r\n"));
    for (std::size_t i = html.find('\n'); i != std::string::npos; i = html.find('\n', i + 1)) {
        FUZZ_CHECK(html[i - 1] == '\r');
    }
    FUZZ_CHECK(html.find("<script") == std::string::npos);
    FUZZ_CHECK(html.find("href=") == std::string::npos);

    const ReportFacts& facts = report.facts;
    int timed = facts.untimed;
    for (const HourTally& h : facts.hours) {
        timed += h.contacts;
    }
    FUZZ_CHECK(timed == log.qsoCount());
    int tallied = facts.otherPoints;
    for (const PointsTally& t : facts.histogram) {
        tallied += t.contacts;
    }
    FUZZ_CHECK(tallied == log.qsoCount());
    FUZZ_CHECK(static_cast<int>(facts.placed.size()) + facts.unplaced == log.qsoCount());
    FUZZ_CHECK(facts.hours.size() <= static_cast<std::size_t>(log.qsoCount()) ||
               facts.hours.size() <= static_cast<std::size_t>(kMostHoursShown));
    return 0;
}
