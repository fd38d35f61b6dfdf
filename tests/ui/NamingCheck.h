#pragma once
// Looks at a shown window as a screen reader does: every control the keyboard can reach
// has an accessible name (the words read for it), and no two of them read the same, so a
// person who cannot see the window can tell them apart. A field or list also needs a
// description (what goes in it): its name alone often says only what the text beside it
// says. Each fault is one line naming the window and the control.

#include <string>
#include <vector>

class QWidget;

namespace corvane::test {

std::vector<std::string> namingProblems(const QWidget* window);

} // namespace corvane::test
