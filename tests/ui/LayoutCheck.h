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

// The frame a desktop's window manager puts around a top-level window. The offscreen
// platform the tests run on reports a thinner one; since a window's controls are placed for
// its outer size and its frame comes off that size, a control in the strip a desktop's frame
// takes is cut on the desktop while it fits here.
struct WindowFrame {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};
// Openbox's default theme under Xvfb puts 1, 20, 1 and 5 pixels around a window; the
// desktops' usual themes have taller title bars and wider borders, up to about these.
inline constexpr WindowFrame kDesktopFrame{4, 28, 4, 8};

std::vector<std::string> layoutProblems(const QWidget* window);
// The same, and every control of the window still inside it with `desktopFrame` around it.
std::vector<std::string> layoutProblems(const QWidget* window, const WindowFrame& desktopFrame);

} // namespace corvane::test
