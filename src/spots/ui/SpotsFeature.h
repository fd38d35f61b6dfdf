#pragma once
// DX spotting as a feature of the main window: Ctrl+D opens " DX Spotting Setup", Ctrl+B the
// " HF Spectrum Map"; the recent-spot store and the spot area at the bottom of the main window
// (list or band map) live here; spots tune the radio through the tuner slot and put their
// call in the call field. The spotting service with the source's link lives here too, with or
// without the setup window; every way out closes its link or port. Its failures are shown
// here, from the event loop, one box at a time.

#include "spots/RecentSpots.h"
#include "spots/ui/SpotSetupHost.h"
#include "ui/Feature.h"

#include <QObject>
#include <QPointer>
#include <deque>
#include <functional>
#include <memory>

namespace corvane {
class SerialPort;
}

namespace corvane::spots {

class SpotArea;
class SpotService;
class SpotSetupWindow;
struct SpotFailure;
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

    SpotService& service() { return *m_service; }
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
    void packetResize() override;
    void refreshBandMap() override;
    void spotsHandedOver(const std::vector<SpotHandOff>& spots) override;
    // Stores one spot and adds its list row; true when it was stored (the maps need a redraw).
    bool storeSpot(const SpotHandOff& spot);
    void redrawMaps();

    void tuneAndTakeCall(int slot, bool leaveCallField);
    // The call field's exit (the duplicate check) and the keyboard on to the grid field.
    void leaveCallField();
    void listClicked();
    // A failure of the service waits its turn; the boxes are shown from the event loop.
    void reportFailure(const SpotFailure& failure);
    void showFailures();
    DateTime now() const;
    double utcOffset() const;

    FeatureContext& m_ctx;
    SerialFactory m_serialFactory;
    RecentSpots m_store;
    SpotArea* m_area = nullptr;
    SpotService* m_service = nullptr;
    std::deque<SpotFailure> m_failures; // the first is on screen or about to be
    QPointer<SpotSetupWindow> m_setup;
    QPointer<SpectrumMapWindow> m_spectrum;
    bool m_shutDown = false;
};

} // namespace corvane::spots
