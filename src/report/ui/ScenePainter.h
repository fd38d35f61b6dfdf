#pragma once
// A picture of the report drawn with QPainter, for the PNG files: the same scene the page
// shows as SVG.

#include "core/DurableFile.h"
#include "report/Scene.h"

#include <QImage>

class QPainter;

namespace corvane {

void paintScene(QPainter& painter, const Scene& scene);

// The scene on a white image of its size. Needs a QGuiApplication (fonts).
QImage sceneImage(const Scene& scene);

// The scene as a PNG file, written complete or not at all.
FileResult writeScenePng(const Scene& scene, const std::string& path);

} // namespace corvane
