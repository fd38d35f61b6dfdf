#pragma once
// The spot area at the bottom of the main window: the spot list (txtDX, newest on top, at
// most 200 rows) or the 160 m band map (panel lblDX with its line LineDX, the scale captions
// lblFreqSpot0-4 and a label per store slot lblDXSpot0-49, coloured by age). Opening the area
// shrinks the main window's other controls to nine tenths of their height; closing it gives
// them their height back.

#include "core/SpotWorth.h"
#include "spots/BandMap.h"
#include "spots/RecentSpots.h"
#include "spots/SpotSettings.h"
#include "spots/SpotText.h"

#include <QObject>
#include <array>
#include <functional>
#include <optional>
#include <string>

class QFrame;
class QLabel;
class QTreeWidget;
class QWidget;

namespace corvane::spots {

class SpotLabel;

// The spot a list row stands for.
struct ListedSpot {
    std::string call;
    float frequencyMHz = 0;
};

class SpotArea : public QObject {
    Q_OBJECT
public:
    enum class State { Absent, List, BandMap };

    // `central`: the main window's central area; `now`: the local time; `utcOffsetHours`.
    SpotArea(QWidget* central, RecentSpots& store, std::function<DateTime()> now,
             std::function<double()> utcOffsetHours);
    ~SpotArea() override;

    // What spots are worth: rows and labels are marked from it, and marked again when it
    // says the worth changed. Null: no marks.
    void setWorth(SpotWorthSlot* worth);
    // Marks every row and label again.
    void remark();

    // PacketResize: lays the area out for the source (none chosen or None: absent) and the list
    // mode.
    void layout(bool listMode, SpotSource source);
    State state() const { return m_state; }
    bool bandMapShown() const { return m_state == State::BandMap; }

    // DisplayBandMapLabels: redraws the band map while it is shown.
    void redraw();
    // A new spot's row, first in the list: its texts, and the spot it stands for.
    void addRow(const SpotListRow& row, const std::string& call, float frequencyMHz);
    // The spot of the list's selected row, if any.
    std::optional<ListedSpot> selectedSpot() const;

    QTreeWidget* list() const { return m_list; }
    QWidget* panel() const { return m_panel; }
    const std::array<QLabel*, 5>& scaleLabels() const { return m_scale; }
    SpotLabel* spotLabel(int slot) const { return m_labels[static_cast<std::size_t>(slot)]; }

signals:
    void panelClicked();
    void panelDoubleClicked();
    void listClicked();
    void listDoubleClicked();
    void labelHovered(int slot);
    void labelRightPressed(int slot);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void scaleOthers(double factor);
    void placeArea();
    void placeLine();

    QWidget* m_central;
    RecentSpots& m_store;
    std::function<DateTime()> m_now;
    std::function<double()> m_utcOffset;
    State m_state = State::Absent;
    QTreeWidget* m_list = nullptr;
    QWidget* m_panel = nullptr;
    QFrame* m_line = nullptr;
    std::array<QLabel*, 5> m_scale{};
    std::array<SpotLabel*, kSpotSlots> m_labels{};
    int m_x1 = 0;
    int m_x2 = 0;
    int m_lineY = 0;
    SpotWorthSlot* m_worth = nullptr;
    int m_worthListener = 0;
};

// A spot label's text colour (its age).
void setTextColour(QWidget* label, const Rgb& colour);
Rgb textColour(const QWidget* label);

} // namespace corvane::spots
