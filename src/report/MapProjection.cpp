#include "report/MapProjection.h"

#include <algorithm>
#include <cmath>

namespace corvane {

namespace {

constexpr double kMinimumRadiusKm = 1500.0;

double distance(PlanePoint a, PlanePoint b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

// Where the segment from `inside` to `outside` crosses the circle.
PlanePoint rimCrossing(PlanePoint inside, PlanePoint outside, PlanePoint centre, double radius) {
    const double dx = outside.x - inside.x;
    const double dy = outside.y - inside.y;
    const double fx = inside.x - centre.x;
    const double fy = inside.y - centre.y;
    const double a = dx * dx + dy * dy;
    const double b = 2.0 * (fx * dx + fy * dy);
    const double c = fx * fx + fy * fy - radius * radius;
    const double root = std::sqrt(std::max(0.0, b * b - 4.0 * a * c));
    const double t = a > 0.0 ? std::clamp((-b + root) / (2.0 * a), 0.0, 1.0) : 0.0;
    return {inside.x + t * dx, inside.y + t * dy};
}

} // namespace

double mapRadiusKm(double furthestKm) {
    const double rings = std::ceil((std::max(0.0, furthestKm) + kRingSpacingKm / 2.0) / kRingSpacingKm);
    return std::clamp(rings * kRingSpacingKm, kMinimumRadiusKm, kHalfCircumferenceKm);
}

AzimuthalMap::AzimuthalMap(GeoPosition centre, double radiusKm, PlanePoint centrePx, double radiusPx)
    : m_centre(centre), m_radiusKm(radiusKm), m_centrePx(centrePx), m_radiusPx(radiusPx) {}

PlanePoint AzimuthalMap::fromPolar(double bearingDegrees, double kilometres) const {
    const double r = kilometres * pixelsPerKm();
    const double angle = bearingDegrees / kDegreesPerRadian;
    return {m_centrePx.x + r * std::sin(angle), m_centrePx.y - r * std::cos(angle)};
}

std::optional<PlanePoint> AzimuthalMap::project(GeoPosition position) const {
    if (position == m_centre) {
        return m_centrePx;
    }
    const auto path = displayedPath(m_centre, position);
    if (!path) {
        return std::nullopt;
    }
    return fromPolar(path->bearingDegrees, path->distanceMiles * kKilometresPerMile);
}

bool AzimuthalMap::insideDisk(PlanePoint p) const {
    return distance(p, m_centrePx) <= m_radiusPx;
}

std::vector<PlaneLine> AzimuthalMap::projectLine(const std::vector<GeoPosition>& positions,
                                                 double minimumStepPx) const {
    std::vector<PlaneLine> pieces;
    PlaneLine current;
    std::optional<PlanePoint> previous;
    const auto finish = [&] {
        if (current.size() >= 2) {
            pieces.push_back(std::move(current));
        }
        current.clear();
    };
    for (const GeoPosition& position : positions) {
        const auto p = project(position);
        if (!p || (previous && distance(*p, *previous) > m_radiusPx / 2.0)) {
            finish();
            previous = p;
            if (p && insideDisk(*p)) {
                current.push_back(*p);
            }
            continue;
        }
        const bool inside = insideDisk(*p);
        const bool previousInside = previous && insideDisk(*previous);
        if (inside) {
            if (previous && !previousInside) {
                current.push_back(rimCrossing(*p, *previous, m_centrePx, m_radiusPx));
            }
            if (current.empty() || distance(current.back(), *p) >= minimumStepPx) {
                current.push_back(*p);
            }
        } else if (previousInside) {
            current.push_back(rimCrossing(*previous, *p, m_centrePx, m_radiusPx));
            finish();
        }
        previous = p;
    }
    finish();
    return pieces;
}

} // namespace corvane
