#include "spots/ui/SpotsFeature.h"

#include "core/Clock.h"
#include "core/NumberText.h"
#include "core/SettingsStore.h"
#include "log/Session.h"
#include "platform/Dialogs.h"
#include "platform/serial/QtSerialPort.h"
#include "spots/ui/SpectrumMapWindow.h"
#include "spots/ui/SpotArea.h"
#include "spots/ui/SpotLabel.h"
#include "spots/ui/SpotService.h"
#include "spots/ui/SpotSetupWindow.h"
#include "ui/AppContext.h"
#include "ui/WidgetText.h"

#include <QEvent>
#include <QTimer>
#include <algorithm>

namespace corvane::spots {

namespace {
constexpr Rgb kWhite{255, 255, 255};
}

SpotsFeature::SpotsFeature(FeatureContext& context, SerialFactory serial)
    : m_ctx(context), m_serialFactory(std::move(serial)) {
    if (!m_serialFactory) {
        SettingsStore* settings = &context.app.settings;
        m_serialFactory = [settings] {
            return std::make_unique<QtSerialPort>([settings](int port) { return serialDevicePath(port, settings); });
        };
    }
    m_service = new SpotService(context.app, *this, m_serialFactory(), &context.ports, this);
    connect(m_service, &SpotService::failed, this, &SpotsFeature::reportFailure);
    m_area = new SpotArea(
        context.centralArea, m_store, [this] { return now(); }, [this] { return utcOffset(); });
    m_area->setWorth(context.spotWorth);
    connect(m_area, &SpotArea::panelClicked, this, &SpotsFeature::showSetupWindow);
    connect(m_area, &SpotArea::panelDoubleClicked, this, &SpotsFeature::showSpectrumMap);
    connect(m_area, &SpotArea::listDoubleClicked, this, &SpotsFeature::showSpectrumMap);
    connect(m_area, &SpotArea::listClicked, this, &SpotsFeature::listClicked);
    connect(m_area, &SpotArea::labelRightPressed, this, [this](int slot) { tuneAndTakeCall(slot, true); });
    connect(m_area, &SpotArea::labelHovered, this,
            [this](int slot) { m_ctx.entry.showDuplicatesText(toLatin1(m_area->spotLabel(slot)->toolTip()), false); });
    if (m_ctx.mainWindow != nullptr) {
        m_ctx.mainWindow->installEventFilter(this);
    }
}

SpotsFeature::~SpotsFeature() {
    shutdown();
    delete m_spectrum;
    delete m_setup;
    delete m_service;
    // The area reads the store; it goes with it, before the main window's widgets.
    delete m_area;
}

std::vector<CtrlShortcut> SpotsFeature::ctrlShortcuts() {
    return {{Qt::Key_D, [this] { showSetupWindow(); }}, {Qt::Key_B, [this] { showSpectrumMap(); }}};
}

void SpotsFeature::shutdown() {
    m_shutDown = true;
    m_failures.clear();
    m_service->shutdown();
}

SpotSetupWindow& SpotsFeature::setupWindow() {
    if (!m_setup) {
        // First use, or the close box ended the links: the stored source opens again.
        const bool fresh = !m_service->settingsInUse();
        if (fresh) {
            m_service->loadStoredSettings();
        }
        m_setup = new SpotSetupWindow(m_ctx.app, *this, *m_service, m_ctx.mainWindow);
        // Closed by its close box: its links ended with it; the next use creates it again.
        connect(m_setup, &SpotSetupWindow::closedByOperator, this, [this] {
            if (m_setup) {
                m_setup->deleteLater();
                m_setup = nullptr;
            }
        });
        if (fresh) {
            m_service->openChosenSource();
        }
    }
    return *m_setup;
}

// Once: a failure already waiting or on screen is not shown twice.
void SpotsFeature::reportFailure(const SpotFailure& failure) {
    if (m_shutDown || std::find(m_failures.begin(), m_failures.end(), failure) != m_failures.end()) {
        return;
    }
    m_failures.push_back(failure);
    if (m_failures.size() == 1) {
        QMetaObject::invokeMethod(this, &SpotsFeature::showFailures, Qt::QueuedConnection);
    }
}

// While a box is open, the links go on: what arrives meanwhile is taken, and further
// failures wait behind it.
void SpotsFeature::showFailures() {
    const QPointer<SpotsFeature> alive(this);
    while (!m_failures.empty() && !m_shutDown) {
        const SpotFailure failure = m_failures.front();
        // The settings to correct are in the setup window; after its close box ended the links
        // it is not made again for a failure that came before.
        if (failure.showSetup && (m_setup || m_service->settingsInUse())) {
            showSetupWindow();
        }
        QWidget* parent = m_setup ? static_cast<QWidget*>(m_setup) : m_ctx.mainWindow;
        m_ctx.app.dialogs.message(parent, fromLatin1(failure.title), fromLatin1(failure.text), MsgButtons::Ok,
                                  failure.critical ? MsgIcon::Critical : MsgIcon::Warning);
        if (!alive) {
            return;
        }
        if (failure.showSetup && m_setup) {
            m_setup->returnToFront();
        }
        if (!m_failures.empty()) {
            m_failures.pop_front();
        }
    }
}

SpotSetupWindow* SpotsFeature::existingSetupWindow() const {
    return m_setup;
}

SpectrumMapWindow* SpotsFeature::spectrumMap() const {
    return m_spectrum;
}

void SpotsFeature::showSetupWindow() {
    SpotSetupWindow& window = setupWindow();
    window.showNormal();
    window.raise();
    window.activateWindow();
}

SpectrumMapWindow* SpotsFeature::showSpectrumMap() {
    if (m_spectrum) {
        m_spectrum->raise();
        return m_spectrum;
    }
    auto* map = new SpectrumMapWindow(
        m_store, [this] { return now(); }, [this] { return utcOffset(); }, m_ctx.mainWindow);
    map->setAttribute(Qt::WA_DeleteOnClose);
    map->setWorth(m_ctx.spotWorth);
    map->setWindowModality(Qt::ApplicationModal);
    connect(map, &SpectrumMapWindow::spotChosen, this, [this, map](int slot) {
        tuneAndTakeCall(slot, false);
        map->close();
        // Once the map has gone and the main window has handed its keyboard back (to the field
        // that had it), the call field takes it and its exit runs, as on the band map.
        QTimer::singleShot(0, this, [this] { leaveCallField(); });
    });
    connect(map, &SpectrumMapWindow::spotRemoved, m_area, &SpotArea::redraw);
    m_spectrum = map;
    map->show();
    map->redraw();
    return map;
}

void SpotsFeature::bandMapSpots(const SpotHandOff& spot) {
    if (storeSpot(spot)) {
        redrawMaps();
    }
}

void SpotsFeature::spotsHandedOver(const std::vector<SpotHandOff>& spots) {
    bool stored = false;
    for (const SpotHandOff& spot : spots) {
        stored = storeSpot(spot) || stored;
    }
    if (stored) {
        redrawMaps();
    }
}

void SpotsFeature::redrawMaps() {
    m_area->redraw();
    if (m_spectrum && m_spectrum->isVisible()) {
        m_spectrum->redraw();
    }
}

bool SpotsFeature::storeSpot(const SpotHandOff& spot) {
    const RecentSpots::Result result = m_store.add(spot.call, spot.frequencyText, spot.record, stationCall(), now());
    if (result.ownCall) {
        m_ctx.app.dialogs.beep();
        m_ctx.entry.showMessage(std::string(kSpottedMessage));
        m_ctx.entry.setMessageBackground(kWhite);
        m_ctx.entry.showDuplicatesText(std::string(kSpottedDuplicatesPrefix) + spot.record, true);
    }
    if (!result.stored) {
        return false;
    }
    m_area->addRow(spotListRow(spot.call, result.frequencyMHz, result.record), spot.call, result.frequencyMHz);
    return true;
}

void SpotsFeature::tuneAndTakeCall(int slot, bool leave) {
    const SpotSlot& s = m_store.slot(slot);
    m_ctx.tuner.changeFrequency(s.frequencyMHz);
    m_ctx.entry.setCallText(s.call);
    m_ctx.entry.focusCallField();
    if (leave) {
        leaveCallField();
    }
}

void SpotsFeature::leaveCallField() {
    if (!m_shutDown) {
        m_ctx.entry.leaveCallField();
    }
}

void SpotsFeature::listClicked() {
    m_ctx.entry.focusCallField();
    const std::optional<ListedSpot> spot = m_area->selectedSpot();
    if (!spot) {
        return;
    }
    if (m_ctx.tuner.attached()) {
        m_ctx.tuner.changeFrequency(spot->frequencyMHz);
    }
    m_ctx.entry.setCallText(spot->call);
    m_ctx.entry.focusCallField();
}

bool SpotsFeature::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_ctx.mainWindow && event->type() == QEvent::ActivationChange &&
        m_ctx.mainWindow->isActiveWindow()) {
        m_area->redraw();
    }
    return QObject::eventFilter(watched, event);
}

std::string SpotsFeature::stationCall() const {
    return m_ctx.session.prefs().ownCall;
}

std::string SpotsFeature::lastLoggedCall() const {
    const ContactLog& log = m_ctx.session.log();
    return log.qsoCount() > 0 ? log.record(log.qsoCount()).call : std::string();
}

void SpotsFeature::packetResize() {
    m_area->layout(m_service->settings().listMode, m_service->source());
}

void SpotsFeature::refreshBandMap() {
    m_area->redraw();
}

DateTime SpotsFeature::now() const {
    return m_ctx.app.clock.localNow();
}

double SpotsFeature::utcOffset() const {
    return m_ctx.session.prefs().utcOffsetHours;
}

} // namespace corvane::spots
