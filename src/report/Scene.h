#pragma once
// A picture of the report as a list of simple shapes in drawing order, on a canvas of
// whole pixels. The page's SVG and the PNG files are both drawn from it, so they show the
// same thing.

#include "core/Rgb.h"
#include "report/MapProjection.h"

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace corvane {

struct SceneLine {
    PlaneLine points;
    Rgb colour;
    double width = 1.0;
    bool dashed = false;
};

struct SceneCircle {
    PlanePoint centre;
    double radius = 1.0;
    std::optional<Rgb> fill;
    std::optional<Rgb> stroke;
    double strokeWidth = 1.0;
};

struct SceneRect {
    double x = 0.0;
    double y = 0.0;
    double width = 0.0;
    double height = 0.0;
    Rgb fill;
};

enum class TextAnchor { Start, Middle, End };

struct SceneText {
    PlanePoint at;      // the baseline's start, middle or end
    std::string text;   // Latin-1, as the log holds it
    double size = 12.0; // pixels
    TextAnchor anchor = TextAnchor::Start;
    Rgb colour;
    bool bold = false;
};

using SceneShape = std::variant<SceneLine, SceneCircle, SceneRect, SceneText>;

struct Scene {
    std::string name;  // the file stem of its PNG and the id of its SVG: "map", "hours" ...
    std::string title; // what the picture shows, for a screen reader
    int width = 0;
    int height = 0;
    Rgb background{255, 255, 255};
    std::vector<SceneShape> shapes;

    template <typename Shape> void add(Shape shape) { shapes.emplace_back(std::move(shape)); }
};

} // namespace corvane
