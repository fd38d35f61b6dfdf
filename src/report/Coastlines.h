#pragma once
// The coastline file the report's map draws: made once by the build from the shoreline
// data of Debian's gmt-gshhg-low (scripts/convert-coastlines.py) and kept beside the
// program's default files. Without it the map is drawn without coastlines and says so.
//
//     Corvane coastlines 1          first line
//     lon,lat lon,lat ...           one shoreline piece a line
//
// Thousandths of a degree, longitude positive east, latitude positive north; lines end in
// CR LF or LF.

#include "log/score/Grid.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

inline constexpr std::string_view kCoastlineFileName = "coastlines.txt";

struct Coastlines {
    std::vector<std::vector<GeoPosition>> lines; // longitudes west-positive, as the grid arithmetic has them
    std::size_t pointCount = 0;
};

struct CoastlineReadResult {
    bool ok = false;
    Coastlines coast;
    int errorLine = 0; // 1-based
    std::string problem;
};

CoastlineReadResult parseCoastlines(std::string_view bytes);

// The coastlines for the map and what the map says about them: nothing when they were read,
// else that they are not installed or why the file could not be read.
struct CoastlineLoad {
    std::optional<Coastlines> coast;
    std::string note;    // the whole story, for the caption and the command line
    std::string mapNote; // short enough for a line under the map
};
// `path` "" means no file was found.
CoastlineLoad loadCoastlines(const std::string& path);

// Where the coastline file is looked for, in this order: the folder named by
// CORVANE_DATA_DIR (`dataDirVariable`, empty when unset), data/ beside the program, the
// installed share/corvane/data. The first that exists, or "" when none does.
std::string findCoastlineFile(const std::string& dataDirVariable, const std::string& programFolder);

// The folder of the running program, "" when it cannot be told.
std::string programFolder();

} // namespace corvane
