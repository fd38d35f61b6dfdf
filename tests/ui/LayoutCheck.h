#pragma once
// Looks at a shown window as the operator would: every text of a label, button, check
// box, option button, group box title, column header and listed cell must fit the room
// its control gives it (measured with the control's own font), no two controls side by
// side may overlap, every control must lie inside its parent, and the window inside the
// screen. Each fault is one line of text naming the window, the control and the sizes.

#include <string>
#include <vector>

class QWidget;

namespace corvane::test {

std::vector<std::string> layoutProblems(const QWidget* window);

} // namespace corvane::test
