#include "report/Coastlines.h"

#include "core/DurableFile.h"

#include <charconv>
#include <filesystem>
#include <system_error>

namespace corvane {

namespace {

constexpr std::string_view kHeader = "Corvane coastlines 1";

// One "lon,lat" pair starting at text[pos]; pos moves past it.
bool readPoint(std::string_view text, std::size_t& pos, GeoPosition& out) {
    const char* begin = text.data() + pos;
    const char* end = text.data() + text.size();
    long lon = 0;
    long lat = 0;
    auto r = std::from_chars(begin, end, lon);
    if (r.ec != std::errc() || r.ptr == end || *r.ptr != ',') {
        return false;
    }
    r = std::from_chars(r.ptr + 1, end, lat);
    if (r.ec != std::errc() || (r.ptr != end && *r.ptr != ' ')) {
        return false;
    }
    if (lon < -180000 || lon > 180000 || lat < -90000 || lat > 90000) {
        return false;
    }
    out = GeoPosition{static_cast<double>(lat) / 1000.0, -static_cast<double>(lon) / 1000.0};
    pos = static_cast<std::size_t>(r.ptr - text.data());
    return true;
}

} // namespace

CoastlineReadResult parseCoastlines(std::string_view bytes) {
    CoastlineReadResult result;
    std::size_t start = 0;
    int lineNumber = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        const std::size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
        if (end == std::string_view::npos) {
            end = bytes.size();
        }
        std::string_view line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        start = next;
        ++lineNumber;
        const auto fail = [&](std::string problem) {
            result.errorLine = lineNumber;
            result.problem = std::move(problem);
            result.coast = {};
            return result;
        };
        if (lineNumber == 1) {
            if (line != kHeader) {
                return fail("not a coastline file (the first line is not \"" + std::string(kHeader) + "\")");
            }
            continue;
        }
        if (line.empty()) {
            continue;
        }
        std::vector<GeoPosition> points;
        std::size_t pos = 0;
        while (pos < line.size()) {
            GeoPosition p;
            if (!readPoint(line, pos, p)) {
                return fail("point " + std::to_string(points.size() + 1) +
                            " is not a longitude and latitude in thousandths of a degree");
            }
            points.push_back(p);
            if (pos < line.size()) {
                ++pos; // the blank between two points
                if (pos == line.size()) {
                    return fail("the line ends with a blank");
                }
            }
        }
        result.coast.pointCount += points.size();
        result.coast.lines.push_back(std::move(points));
    }
    if (lineNumber == 0) {
        result.errorLine = 1;
        result.problem = "the file is empty";
        return result;
    }
    result.ok = true;
    return result;
}

CoastlineLoad loadCoastlines(const std::string& path) {
    CoastlineLoad load;
    if (path.empty()) {
        load.note = "Coastlines are not installed (Debian package gmt-gshhg-low): the map is drawn without them.";
        load.mapNote = load.note;
        return load;
    }
    std::string error;
    const auto bytes = readWholeFile(path, &error);
    if (!bytes) {
        load.note = "The coastlines could not be read (" + path + ": " + error + "): the map is drawn without them.";
        load.mapNote = "Drawn without coastlines: their file could not be read.";
        return load;
    }
    CoastlineReadResult read = parseCoastlines(*bytes);
    if (!read.ok) {
        load.note = "The coastline file " + path + " is damaged (line " + std::to_string(read.errorLine) + ": " +
                    read.problem + "): the map is drawn without coastlines.";
        load.mapNote = "Drawn without coastlines: their file is damaged.";
        return load;
    }
    load.coast = std::move(read.coast);
    return load;
}

std::string findCoastlineFile(const std::string& dataDirVariable, const std::string& programFolder) {
    std::vector<std::string> folders;
    if (!dataDirVariable.empty()) {
        folders.push_back(dataDirVariable);
    }
    if (!programFolder.empty()) {
        folders.push_back(programFolder + "/data");
        folders.push_back(programFolder + "/../share/corvane/data");
    }
    for (const std::string& folder : folders) {
        const std::string path = folder + "/" + std::string(kCoastlineFileName);
        if (fileExists(path)) {
            return path;
        }
    }
    return {};
}

std::string programFolder() {
    std::error_code ec;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : program.parent_path().string();
}

} // namespace corvane
