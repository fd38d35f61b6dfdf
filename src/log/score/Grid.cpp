#include "log/score/Grid.h"

#include "core/NumberText.h"
#include "core/TextCase.h"

#include <cmath>

namespace corvane {

namespace {

double radians(double degrees) {
    return degrees / kDegreesPerRadian;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string kilometresText(const std::optional<BearingDistance>& path) {
    return path ? formatGroupedWhole(path->distanceMiles * kKilometresPerMile) : std::string();
}

std::string pointsFromKilometresText(const std::string& kilometres, std::string_view previousPoints) {
    if (const auto km = parseNumber(kilometres)) {
        return std::to_string(pointsForKilometers(*km));
    }
    return std::string(previousPoints);
}

} // namespace

std::optional<GeoPosition> gridCorner(std::string_view grid) {
    if (grid.size() < 2) {
        return std::nullopt;
    }
    const auto code = [&](std::size_t i) { return static_cast<int>(static_cast<unsigned char>(grid[i])); };
    GeoPosition pos;
    pos.longitudeWest = 20.0 * (74 - code(0));
    if (grid.size() > 2) {
        if (!isDigit(grid[2])) {
            return std::nullopt;
        }
        pos.longitudeWest -= 2.0 * (grid[2] - '0');
    }
    if (grid.size() > 4) {
        pos.longitudeWest -= 2.0 * (code(4) - 97) / 24.0;
    }
    pos.latitude = 10.0 * (code(1) - 74);
    if (grid.size() > 3) {
        if (!isDigit(grid[3])) {
            return std::nullopt;
        }
        pos.latitude += grid[3] - '0';
    }
    if (grid.size() > 5) {
        pos.latitude += (code(5) - 97) / 24.0;
    }
    return pos;
}

std::optional<BearingDistance> hdCalc(GeoPosition own, GeoPosition other) {
    const double lat1 = radians(own.latitude);
    const double lat2 = radians(other.latitude);
    const double dLon = radians(own.longitudeWest - other.longitudeWest);
    const double halfPi = 2.0 * std::atan(1.0);

    const double x = std::sin(lat1) * std::sin(lat2) + std::cos(lat2) * std::cos(lat1) * std::cos(dLon);
    const double xRest = 1.0 - x * x;
    if (!(xRest > 0.0)) {
        return std::nullopt; // coinciding or antipodal: no direction, or a root of a negative
    }
    const double centralAngle = std::atan(-x / std::sqrt(xRest)) + halfPi; // arccos x
    const double centralDegrees = centralAngle * kDegreesPerRadian;

    const double denominator = std::sin(radians(centralDegrees)) * std::cos(lat1);
    if (denominator == 0.0) {
        return std::nullopt;
    }
    const double k = (std::sin(lat2) - std::sin(lat1) * x) / denominator; // cosine of the heading
    const double kRest = 1.0 - k * k;
    if (!(kRest > 0.0)) {
        return std::nullopt;
    }
    const double s = std::sqrt(kRest);
    double bearing = (std::atan(-k / s) + halfPi) * kDegreesPerRadian;
    if (!(std::sin(dLon) > 0.0)) {
        bearing = 360.0 - bearing;
    }
    const double miles = centralAngle * kEarthRadiusMiles;
    if (!std::isfinite(bearing) || !std::isfinite(miles)) {
        return std::nullopt;
    }
    return BearingDistance{bearing, miles};
}

std::optional<BearingDistance> displayedPath(GeoPosition own, GeoPosition other) {
    if (other.longitudeWest == own.longitudeWest) {
        other.longitudeWest -= 0.001;
    }
    return hdCalc(own, other);
}

int pointsForKilometers(double kilometres) {
    return static_cast<int>(std::floor(kilometres / 500.0)) + 1;
}

std::string formatWholeNumber(double value) {
    const long long whole = roundHalfEven(value);
    return whole == 0 ? std::string() : std::to_string(whole);
}

GridDisplay computeGridDisplay(std::string_view typedGrid, std::string_view ownGrid, GeoPosition own,
                               std::string_view previousPoints) {
    if (typedGrid.size() < 4) {
        return {"", "", "0"};
    }
    if (ownGrid.find_first_not_of(' ') == std::string_view::npos) {
        return {"", "", ""}; // no own grid to measure from
    }
    const auto corner = gridCorner(typedGrid);
    if (!corner) {
        return {"", "", std::string(previousPoints)};
    }
    const auto path = displayedPath(own, *corner);
    GridDisplay display;
    display.bearing = path ? formatWholeNumber(path->bearingDegrees) : std::string();
    display.kilometres = kilometresText(path);
    display.points = pointsFromKilometresText(display.kilometres, previousPoints);
    if (equalsIgnoringCase(typedGrid, ownGrid)) {
        display.points = "1";
        display.kilometres = "0";
    }
    return display;
}

std::optional<EditGridValues> recomputeEditGrid(std::string_view gridR, std::string_view ownGrid, GeoPosition own,
                                                std::string_view previousPoints) {
    if (gridR.size() <= 3) {
        return std::nullopt;
    }
    EditGridValues values;
    if (const auto corner = gridCorner(gridR)) {
        values.kilometres = kilometresText(displayedPath(own, *corner));
    }
    values.points = pointsFromKilometresText(values.kilometres, previousPoints);
    if (gridR == ownGrid) {
        values.points = "1";
        values.kilometres = "0";
    }
    return values;
}

PointsColours pointsColours(std::string_view pointsText, PointsColours previous) {
    constexpr Rgb white{255, 255, 255};
    constexpr Rgb black{0, 0, 0};
    const auto value = parseNumber(pointsText);
    if (!value || (*value >= 0.0 && *value <= 1.0)) {
        return {{0, 0, 128}, white};
    }
    if (*value >= 11.0) {
        return {{255, 0, 0}, white};
    }
    if (*value != std::floor(*value)) {
        return previous;
    }
    switch (static_cast<int>(*value)) {
    case 2:
        return {{0, 0, 255}, white};
    case 3:
        return {{0, 255, 255}, black};
    case 4:
        return {{0, 64, 0}, white};
    case 5:
        return {{0, 255, 0}, black};
    case 6:
        return {{192, 255, 192}, black};
    case 7:
        return {{128, 128, 0}, white};
    case 8:
        return {{255, 255, 0}, black};
    case 9:
        return {{255, 128, 0}, white};
    case 10:
        return {{128, 0, 0}, white};
    default:
        return previous; // negative numbers
    }
}

} // namespace corvane
