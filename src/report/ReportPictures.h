#pragma once
// The report's three pictures, drawn as scenes from its facts: the map of the contacts
// around the station, contacts and points per hour, and how many contacts gave each
// number of points.

#include "report/Coastlines.h"
#include "report/ReportFacts.h"
#include "report/Scene.h"

#include <string>
#include <vector>

namespace corvane {

// The map's canvas: the disk's centre and radius in pixels.
inline constexpr int kMapWidth = 900;
inline constexpr int kMapHeight = 1000;
inline constexpr PlanePoint kMapCentre{450.0, 500.0};
inline constexpr double kMapRadiusPx = 410.0;

// The map's projection for these facts: centred on the own position, the rim a ring or
// more beyond the furthest contact.
AzimuthalMap reportMap(const ReportFacts& facts);

// `coast` is null when no coastline file is installed; `coastNote` then says so on the map
// (or why the file could not be read).
Scene mapScene(const ReportFacts& facts, const Coastlines* coast, const std::string& coastNote);
Scene hoursScene(const ReportFacts& facts);
Scene histogramScene(const ReportFacts& facts);

// "2 pts" ... the label of the ring at `ring` x 500 km.
std::string ringLabel(int ring);

} // namespace corvane
