#pragma once
// The HF spectrum map (SpectrumMap, " HF Spectrum Map"): the recent spots on eleven band
// rows from 160 m to 2 m, each with its own zooming five-point scale, coloured by age. It
// fills the work area, is shown modal and is discarded when it closes. A right click on a
// spot tunes the radio, puts the call in the main window's call field and closes the map; any
// other click removes the spot from the maps.

#include "core/SpotWorth.h"
#include "spots/BandMap.h"
#include "spots/RecentSpots.h"

#include <QDialog>
#include <array>
#include <functional>

class QFrame;
class QLabel;

namespace corvane::spots {

class SpotLabel;

class SpectrumMapWindow : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kTitle = " HF Spectrum Map";

    SpectrumMapWindow(RecentSpots& store, std::function<DateTime()> now, std::function<double()> utcOffsetHours,
                      QWidget* parent = nullptr);
    ~SpectrumMapWindow() override;

    // What spots are worth: the labels are marked from it and redrawn when it changes.
    void setWorth(SpotWorthSlot* worth);

    // BandMapLabelDisplay.
    void redraw();

    SpotLabel* spotLabel(int slot) const { return m_labels[static_cast<std::size_t>(slot)]; }
    QLabel* scaleLabel(int index) const { return m_scale[static_cast<std::size_t>(index)]; }

signals:
    // A right click on a spot: tune to it and take its call.
    void spotChosen(int slot);
    // A left click took a spot off the maps.
    void spotRemoved();

protected:
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeRows();
    QRect lineOf(int row) const;

    RecentSpots& m_store;
    std::function<DateTime()> m_now;
    std::function<double()> m_utcOffset;
    std::array<QLabel*, kSpectrumRows> m_strips{};
    std::array<QFrame*, kSpectrumRows> m_lines{};
    std::array<QLabel*, kSpectrumRows> m_bandNames{};
    std::array<QLabel*, 5 * kSpectrumRows> m_scale{};
    std::array<SpotLabel*, kSpotSlots> m_labels{};
    SpotWorthSlot* m_worth = nullptr;
    int m_worthListener = 0;
};

} // namespace corvane::spots
