#pragma once
// Looks at a shown window as the operator would: every text of a label, button, check
// box, option button, group box title, column header and listed cell must fit the room
// its control gives it (measured with the control's own font), no two controls side by
// side may overlap, every control must lie inside its parent, and the window inside the
// screen. A read-only text box that cannot scroll must show all its text. Each fault is one
// line of text naming the window, the control and the sizes.
//
// `frame`: the frame a window manager puts around the window (title bar and borders). A test
// platform without one lays the window out over the whole size the program gave it; on a
// desktop the frame takes its share of that size, so the window's own controls must fit in
// what remains.
//
// A control with the property "drawnOver" set lies over others on purpose (a segment laid on
// its bar in a chart): its overlaps are not faults.

#include <QMargins>
#include <string>
#include <vector>

class QWidget;

namespace corvane::test {

std::vector<std::string> layoutProblems(const QWidget* window, const QMargins& frame = {});

} // namespace corvane::test
