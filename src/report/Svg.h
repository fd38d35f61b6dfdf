#pragma once
// A scene as inline SVG for the report page, and the text escaping the page uses.

#include "report/Scene.h"

#include <string>
#include <string_view>

namespace corvane {

// Latin-1 text (as the log holds it) as UTF-8 with &, <, > and " escaped; control
// characters other than tab become blanks.
std::string escapeHtml(std::string_view latin1);

// A coordinate or length with at most one decimal, "." always ("12.5", "3", "-0.4").
std::string svgNumber(double value);

// "#rrggbb".
std::string cssColour(Rgb colour);

// The scene as one <svg> element: role="img" with its title as the accessible name. Lines
// end in CR LF. Neighbouring lines of one style are joined into one path.
std::string sceneSvg(const Scene& scene);

} // namespace corvane
