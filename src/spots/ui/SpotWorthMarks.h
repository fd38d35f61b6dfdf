#pragma once
// How the spot windows show what a spot is worth: a spot of a call already logged is dimmed
// and struck through (a duplicate, not worth a click); a spot whose grid is known carries
// the points it would give, in the spot list's "Pts" column and in the label's tool tip.

#include "core/Rgb.h"
#include "core/SpotWorth.h"

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace corvane::spots {

// The spot list's hidden "Status" column becomes the visible "Pts" column.
void showPointsColumn(QTreeWidget* list);
inline constexpr int kPointsColumn = 3;

// Marks a spot list row (its call is column 0).
void markRow(QTreeWidgetItem* row, const SpotWorth& worth);

// Marks a map label already given its caption, age colour and tool tip.
void markLabel(QLabel* label, const SpotWorth& worth, Rgb ageColour);

// The label colour of a duplicate: its age colour halfway to the map's navy.
Rgb dimmed(Rgb colour);

} // namespace corvane::spots
