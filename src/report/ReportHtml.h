#pragma once
// The contest report as one self-contained HTML page: the score, the map, the night hour by
// hour, the points per contact and the ten longest contacts. Every picture is inline SVG
// with a caption and a table that tells the same facts; the page loads nothing from
// elsewhere and runs no script. The same log gives the same bytes; lines end in CR LF.

#include "core/DurableFile.h"
#include "log/ContactLog.h"
#include "log/station/Preferences.h"
#include "report/Coastlines.h"
#include "report/ReportFacts.h"
#include "report/Scene.h"

#include <string>
#include <vector>

namespace corvane {

struct ContestReport {
    ReportFacts facts;
    std::vector<Scene> pictures; // map, hours, points
    std::string html;
};

// `coast` as loadCoastlines gave it; `programTitle` names the program at the foot of the page.
ContestReport makeContestReport(const ContactLog& log, const Preferences& prefs, const CoastlineLoad& coast,
                                std::string_view programTitle);

std::string buildReportHtml(const ReportFacts& facts, const std::vector<Scene>& pictures, const std::string& coastNote,
                            std::string_view programTitle);

// The file name the windows propose, beside the log.
inline constexpr std::string_view kReportFileName = "report.html";

// Writes the page complete or not at all.
FileResult writeReportFile(const std::string& path, const std::string& html);

} // namespace corvane
