#pragma once
// Applies the scaling arithmetic to real windows. A window places each of its controls
// with its design geometry in twips and its design text size; every scaling pass then
// works from those design values, so repeated passes never accumulate rounding.

#include "ui/Scaling.h"

class QWidget;
class QAbstractItemView;

namespace corvane {

class FormScaler {
public:
    // Places a control on the design canvas (twips) with its design text size in points.
    static void place(QWidget* control, const TwipRect& design, double fontPoints = 8.25);
    // Gives a list view's columns (a tree or table view) their design widths in twips.
    static void setColumnWidths(QAbstractItemView* view, const std::initializer_list<double>& designTwips);

    // The screen the window is on, in twips.
    static ScreenTwips screenOf(const QWidget* window);

    // Scales the window and its placed controls by the variant, from its design size.
    static void scale(QWidget* window, ScaleVariant variant, const TwipRect& designWindow);
    // Applies an explicit plan (the main window's percentage and taskbar layouts).
    static void apply(QWidget* window, const ScalePlan& plan);
    // Notes the frame the window manager put around a shown window, for a pass made
    // after the window is hidden (the taskbar layout hides the window first).
    static void rememberFrame(QWidget* window);

    // The factors last applied to the window's controls (1 before any pass).
    static double controlX(const QWidget* window);
    static double controlY(const QWidget* window);

    static int toPixels(double twips);

    // A placed control's design rectangle (false for a control never placed).
    static bool designOf(const QWidget* control, TwipRect* design);
    // Gives a placed control a new design rectangle and puts it where the window's last
    // scaling pass would have put it.
    static void redesign(QWidget* control, const TwipRect& design);
};

} // namespace corvane
