#pragma once
// DX spotting as a feature of the main window: Ctrl+D opens " DX Spotting Setup", Ctrl+B the
// " HF Spectrum Map"; the recent-spot store and the spot area at the bottom of the main window
// (list or band map) live here; spots tune the radio through the tuner slot and put their
// call in the call field; every way out closes the spot source's link or port.

#include "spots/RecentSpots.h"
#include "spots/ui/SpotSetupHost.h"
#include "ui/Feature.h"

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

namespace corvane {
class SerialPort;
}

namespace corvane::spots {

class SpotArea;
class SpotSetupWindow;
class SpectrumMapWindow;

class SpotsFeature final : public QObject, public Feature, private SpotSetupHost {
    Q_OBJECT
public:
    using SerialFactory = std::function<std::unique_ptr<SerialPort>()>;
    // `serial`: makes the TNC's port (tests give a fake); by default the serial port service.
    explicit SpotsFeature(FeatureContext& context, SerialFactory serial = {});
    ~SpotsFeature() override;

    std::vector<CtrlShortcut> ctrlShortcuts() override;
    void shutdown() override;

    // The setup window, created (and its stored source reopened) on first use.
    SpotSetupWindow& setupWindow();
    SpotSetupWindow* existingSetupWindow() const;
    void showSetupWindow();
    // Opens the spectrum map (modal; discarded when it closes).
    SpectrumMapWindow* showSpectrumMap();
    SpectrumMapWindow* spectrumMap() const;

    RecentSpots& store() { return m_store; }
    SpotArea& area() { return *m_area; }

    // BandMapSpots: one spot into the store, the list and the maps.
    void bandMapSpots(const SpotHandOff& spot);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // SpotSetupHost
    std::string stationCall() const override;
    std::string lastLoggedCall() const override;
    std::string applicationTitle() const override;
    void packetResize() override;
    void refreshBandMap() override;
    void spotsHandedOver(const std::vector<SpotHandOff>& spots) override;
    // Stores one spot and adds its list row; true when it was stored (the maps need a redraw).
    bool storeSpot(const SpotHandOff& spot);
    void redrawMaps();

    void tuneAndTakeCall(int slot, bool tab);
    // Focuses the call field and runs its exit (the Tab key's work: the duplicate check).
    void exitCallField();
    void listClicked();
    DateTime now() const;
    double utcOffset() const;

    FeatureContext& m_ctx;
    SerialFactory m_serialFactory;
    RecentSpots m_store;
    SpotArea* m_area = nullptr;
    QPointer<SpotSetupWindow> m_setup;
    QPointer<SpectrumMapWindow> m_spectrum;
    bool m_shutDown = false;
};

} // namespace corvane::spots
