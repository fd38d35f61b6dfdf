#pragma once
// The report's map: an azimuthal equidistant projection centred on the station, in which
// every point lies at its true heading and distance from the station (the great circle to
// it is a straight line from the centre), drawn on a disk whose rim is a whole number of
// 500 km rings away.

#include "log/score/Grid.h"

#include <optional>
#include <vector>

namespace corvane {

struct PlanePoint {
    double x = 0.0;
    double y = 0.0; // downwards, as on a screen

    friend bool operator==(const PlanePoint&, const PlanePoint&) = default;
};

using PlaneLine = std::vector<PlanePoint>;

// The ring spacing: one more point for each started 500 km.
inline constexpr double kRingSpacingKm = 500.0;
// Half the earth's circumference on the sphere the distances are measured on.
inline constexpr double kHalfCircumferenceKm = 20000.0;

// The rim for the furthest contact: the first ring at least 250 km beyond it, so that a dot
// never touches the rim; at least 1500 km, at most the far side of the earth.
double mapRadiusKm(double furthestKm);

class AzimuthalMap {
public:
    AzimuthalMap(GeoPosition centre, double radiusKm, PlanePoint centrePx, double radiusPx);

    GeoPosition centre() const { return m_centre; }
    double radiusKm() const { return m_radiusKm; }
    double radiusPx() const { return m_radiusPx; }
    PlanePoint centrePx() const { return m_centrePx; }
    double pixelsPerKm() const { return m_radiusPx / m_radiusKm; }

    // The point at this heading (degrees clockwise from north) and distance.
    PlanePoint fromPolar(double bearingDegrees, double kilometres) const;
    // A position on the earth, with the heading and distance the distance display uses;
    // the centre itself for the station's own position; nullopt at the far side.
    std::optional<PlanePoint> project(GeoPosition position) const;
    bool insideDisk(PlanePoint p) const;

    // A line of positions projected and cut at the rim: the pieces inside the disk. A
    // point that cannot be projected, or a jump of more than half the disk's radius between
    // neighbours (the line passing near the far side of the earth), breaks the line.
    // Neighbouring points closer than `minimumStepPx` are merged.
    std::vector<PlaneLine> projectLine(const std::vector<GeoPosition>& positions, double minimumStepPx = 0.0) const;

private:
    GeoPosition m_centre;
    double m_radiusKm;
    PlanePoint m_centrePx;
    double m_radiusPx;
};

} // namespace corvane
