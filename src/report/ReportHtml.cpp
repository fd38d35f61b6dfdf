#include "report/ReportHtml.h"

#include "core/NumberText.h"
#include "report/ReportPictures.h"
#include "report/Svg.h"

namespace corvane {

namespace {

constexpr std::string_view kStyle =
    "body{font-family:\"DejaVu Sans\",Verdana,Arial,sans-serif;color:#1e1e1e;background:#fff;margin:1.5em auto;"
    "max-width:940px;padding:0 1em;line-height:1.4}\r\n"
    "h1{font-size:1.6em;margin-bottom:.2em}h2{font-size:1.25em;margin-top:2em;border-bottom:1px solid #ccc}\r\n"
    "figure{margin:1em 0}figcaption{color:#444;margin-top:.4em}svg{max-width:100%;height:auto}\r\n"
    "table{border-collapse:collapse;margin:.8em 0}caption{text-align:left;font-weight:bold;padding:.3em 0}\r\n"
    "th,td{border:1px solid #ccc;padding:.2em .6em;text-align:left}td.n{text-align:right}\r\n"
    "tr.best td,tr.best th{background:#fdebd3}summary{cursor:pointer;margin:.5em 0}\r\n"
    "footer{margin-top:2em;color:#666;font-size:.9em}\r\n";

std::string plural(long long count, std::string_view one, std::string_view many) {
    return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

std::string kmText(double km) {
    const std::string text = formatGroupedWhole(km);
    return text.empty() ? "0" : text;
}

std::string bearingText(const PlacedContact& place) {
    if (place.kilometres == 0.0) {
        return "-";
    }
    const std::string text = formatWholeNumber(place.bearingDegrees);
    return text.empty() ? "0" : text;
}

class Page {
public:
    void line(std::string_view text) {
        m_out += text;
        m_out += "\r\n";
    }
    // A table row of cells; numbers (`numeric` true) are set to the right.
    void row(const std::vector<std::pair<std::string, bool>>& cells, bool headerFirst = false,
             std::string_view rowClass = {}) {
        std::string out = rowClass.empty() ? "<tr>" : "<tr class=\"" + std::string(rowClass) + "\">";
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const bool header = headerFirst && i == 0;
            const std::string tag = header ? "th" : "td";
            out += "<" + tag + (header ? " scope=\"row\"" : "") + (cells[i].second && !header ? " class=\"n\"" : "") +
                   ">" + escapeHtml(cells[i].first) + "</" + tag + ">";
        }
        line(out + "</tr>");
    }
    void headings(const std::vector<std::string>& names) {
        std::string out = "<thead><tr>";
        for (const std::string& n : names) {
            out += "<th scope=\"col\">" + escapeHtml(n) + "</th>";
        }
        line(out + "</tr></thead>");
    }
    void raw(const std::string& text) { m_out += text; }
    std::string take() { return std::move(m_out); }

private:
    std::string m_out;
};

const Scene* findPicture(const std::vector<Scene>& pictures, std::string_view name) {
    for (const Scene& s : pictures) {
        if (s.name == name) {
            return &s;
        }
    }
    return nullptr;
}

void figure(Page& page, const Scene* scene, const std::string& caption) {
    if (scene == nullptr) {
        return;
    }
    page.line("<figure>");
    page.raw(sceneSvg(*scene));
    page.line("<figcaption>" + escapeHtml(caption) + "</figcaption>");
    page.line("</figure>");
}

void scoreSection(Page& page, const ReportFacts& facts) {
    page.line("<h2 id=\"score\">Score</h2>");
    page.line("<table aria-labelledby=\"score\">");
    page.line("<tbody>");
    page.row({{"Contacts", false}, {std::to_string(facts.totals.contacts), true}}, true);
    page.row({{"Total QSO points", false}, {facts.totals.totalPoints, true}}, true);
    page.row({{"Power multiplier", false}, {std::to_string(facts.totals.multiplier), true}}, true);
    page.row({{"Total score", false}, {facts.totals.totalScore, true}}, true);
    page.line("</tbody>");
    page.line("</table>");
}

void mapSection(Page& page, const ReportFacts& facts, const Scene* map, const std::string& coastNote) {
    page.line("<h2 id=\"where\">Where the contacts went</h2>");
    std::string caption = "An azimuthal equidistant map centred on " + facts.ownCall + "'s grid square " +
                          facts.ownGrid +
                          ": every contact lies at its true distance and bearing from the station, so the great "
                          "circle to it is a straight line from the centre. Rings every 500 km, each labelled with "
                          "the points it starts (within the first ring a contact gives 1 point); faint lines are the "
                          "borders of the Maidenhead fields. One dot per grid square worked, coloured by the "
                          "contact's points; red lines lead to the ten longest contacts.";
    if (facts.unplaced > 0) {
        caption += " " + plural(facts.unplaced, "contact has", "contacts have") +
                   " no grid square the map can place and " + (facts.unplaced == 1 ? "is" : "are") + " not shown.";
    }
    if (!coastNote.empty()) {
        caption += " " + coastNote;
    }
    figure(page, map, caption);
    page.line("<details>");
    page.line("<summary>The map as a table: " +
              plural(static_cast<long long>(facts.squares.size()), "grid square", "grid squares") +
              ", nearest first</summary>");
    page.line("<table>");
    page.line("<caption>Grid squares worked, with distance and bearing from " + escapeHtml(facts.ownGrid) +
              "</caption>");
    page.headings({"Grid", "Contacts", "km", "Bearing (degrees)", "Points"});
    page.line("<tbody>");
    for (const WorkedSquare& s : facts.squares) {
        page.row({{s.grid, false},
                  {std::to_string(s.contacts), true},
                  {kmText(s.place.kilometres), true},
                  {bearingText(s.place), true},
                  {s.place.points, true}},
                 true);
    }
    page.line("</tbody>");
    page.line("</table>");
    page.line("</details>");
}

void hoursSection(Page& page, const ReportFacts& facts, const Scene* hours) {
    page.line("<h2 id=\"night\">Through the night</h2>");
    std::string caption = "Contacts and points in each hour (UTC), one bar an hour";
    if (facts.bestContactsHour >= 0) {
        const HourTally& c = facts.hours[static_cast<std::size_t>(facts.bestContactsHour)];
        const HourTally& p = facts.hours[static_cast<std::size_t>(facts.bestPointsHour)];
        caption += "; the best hours are marked in orange: most contacts at " + hourText(c.hour) + " (" +
                   plural(c.contacts, "contact", "contacts") + "), most points at " + hourText(p.hour) + " (" +
                   formatSingle(p.points) + " points)";
    }
    caption += ".";
    if (facts.emptyHoursLeftOut) {
        caption += " The log spans more than " + std::to_string(kMostHoursShown) +
                   " hours, so hours without contacts are left out.";
    }
    if (facts.untimed > 0) {
        caption += " " + plural(facts.untimed, "contact has", "contacts have") + " no readable date or time and " +
                   (facts.untimed == 1 ? "is" : "are") + " not counted by the hour (" +
                   formatSingle(facts.untimedPoints) + " points).";
    }
    figure(page, hours, caption);
    page.line("<table>");
    page.line("<caption>Contacts and points per hour</caption>");
    page.headings({"Hour (UTC)", "Contacts", "Points", "Best"});
    page.line("<tbody>");
    for (std::size_t i = 0; i < facts.hours.size(); ++i) {
        const HourTally& h = facts.hours[i];
        std::string best;
        if (static_cast<int>(i) == facts.bestContactsHour) {
            best = "most contacts";
        }
        if (static_cast<int>(i) == facts.bestPointsHour) {
            best += std::string(best.empty() ? "" : ", ") + "most points";
        }
        page.row({{hourText(h.hour), false},
                  {std::to_string(h.contacts), true},
                  {formatSingle(h.points), true},
                  {best, false}},
                 true, best.empty() ? std::string_view() : std::string_view("best"));
    }
    page.line("</tbody>");
    page.line("</table>");
}

void pointsSection(Page& page, const ReportFacts& facts, const Scene* points) {
    page.line("<h2 id=\"per-contact\">Points per contact</h2>");
    std::string caption = "How many contacts gave 1, 2, 3 and more points, in the colours of the map's dots.";
    if (facts.otherPoints > 0) {
        caption += " " + plural(facts.otherPoints, "contact has", "contacts have") +
                   " points that are no whole number from 1 to " + std::to_string(kMostPoints) + ".";
    }
    figure(page, points, caption);
    page.line("<table>");
    page.line("<caption>Contacts by points</caption>");
    page.headings({"Points", "Contacts"});
    page.line("<tbody>");
    for (const PointsTally& t : facts.histogram) {
        page.row({{std::to_string(t.points), false}, {std::to_string(t.contacts), true}}, true);
    }
    if (facts.otherPoints > 0) {
        page.row({{"other", false}, {std::to_string(facts.otherPoints), true}}, true);
    }
    page.line("</tbody>");
    page.line("</table>");
}

void longestSection(Page& page, const ReportFacts& facts) {
    page.line("<h2 id=\"longest\">The ten longest contacts</h2>");
    page.line("<table aria-labelledby=\"longest\">");
    page.headings({"#", "Call", "Grid", "km", "Points", "Time (UTC)"});
    page.line("<tbody>");
    int rank = 0;
    for (const LongContact& c : facts.longest) {
        page.row({{std::to_string(++rank), true},
                  {c.call, false},
                  {c.grid, false},
                  {c.kilometres, true},
                  {c.points, true},
                  {c.when, false}},
                 true);
    }
    page.line("</tbody>");
    page.line("</table>");
    if (facts.longest.empty()) {
        page.line("<p>No contact has a distance in the log.</p>");
    }
}

} // namespace

std::string buildReportHtml(const ReportFacts& facts, const std::vector<Scene>& pictures, const std::string& coastNote,
                            std::string_view programTitle) {
    Page page;
    const std::string station = facts.ownCall + (facts.ownGrid.empty() ? "" : " in " + facts.ownGrid);
    page.line("<!DOCTYPE html>");
    page.line("<html lang=\"en\">");
    page.line("<head>");
    page.line("<meta charset=\"utf-8\">");
    page.line("<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">");
    page.line("<title>Contest report: " + escapeHtml(station) + "</title>");
    page.line("<style>");
    page.raw(std::string(kStyle));
    page.line("</style>");
    page.line("</head>");
    page.line("<body>");
    page.line("<main>");
    page.line("<h1>Contest report: " + escapeHtml(station) + "</h1>");
    std::string summary = plural(facts.totals.contacts, "contact", "contacts");
    if (!facts.firstContact.empty()) {
        summary += " from " + facts.firstContact + " to " + facts.lastContact + " UTC";
    }
    page.line("<p>" + escapeHtml(summary + ".") + "</p>");
    scoreSection(page, facts);
    mapSection(page, facts, findPicture(pictures, "map"), coastNote);
    hoursSection(page, facts, findPicture(pictures, "hours"));
    pointsSection(page, facts, findPicture(pictures, "points"));
    longestSection(page, facts);
    page.line("</main>");
    page.line("<footer>Drawn by " + escapeHtml(programTitle) +
              " from the log; the totals are those of its score display.</footer>");
    page.line("</body>");
    page.line("</html>");
    return page.take();
}

ContestReport makeContestReport(const ContactLog& log, const Preferences& prefs, const CoastlineLoad& coast,
                                std::string_view programTitle) {
    ContestReport report;
    report.facts = gatherReportFacts(log, prefs);
    report.pictures.push_back(mapScene(report.facts, coast.coast ? &*coast.coast : nullptr, coast.mapNote));
    report.pictures.push_back(hoursScene(report.facts));
    report.pictures.push_back(histogramScene(report.facts));
    report.html = buildReportHtml(report.facts, report.pictures, coast.note, programTitle);
    return report;
}

FileResult writeReportFile(const std::string& path, const std::string& html) {
    return replaceAtomically(path, html);
}

} // namespace corvane
