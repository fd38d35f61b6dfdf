#include "spots/ui/SpotsFeature.h"

#include "core/Clock.h"
#include "core/NumberText.h"
#include "core/SettingsStore.h"
#include "log/Session.h"
#include "platform/Dialogs.h"
#include "platform/serial/QtSerialPort.h"
#include "spots/ui/AgwEngineClient.h"
#include "spots/ui/SpectrumMapWindow.h"
#include "spots/ui/SpotArea.h"
#include "spots/ui/SpotLabel.h"
#include "spots/ui/SpotSetupWindow.h"
#include "ui/AppContext.h"
#include "ui/WidgetText.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>
#include <QTreeWidget>

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
    // The area reads the store; it goes with it, before the main window's widgets.
    delete m_area;
}

std::vector<CtrlShortcut> SpotsFeature::ctrlShortcuts() {
    return {{Qt::Key_D, [this] { showSetupWindow(); }}, {Qt::Key_B, [this] { showSpectrumMap(); }}};
}

void SpotsFeature::shutdown() {
    m_shutDown = true;
    if (m_setup) {
        m_setup->shutdownLinks();
    }
}

SpotSetupWindow& SpotsFeature::setupWindow() {
    if (!m_setup) {
        m_setup = new SpotSetupWindow(m_ctx.app, *this, m_serialFactory(), &m_ctx.ports, m_ctx.mainWindow);
        const std::string host = m_ctx.app.settings.get("AgwEngineHost");
        const std::string port = m_ctx.app.settings.get("AgwEnginePort");
        bool ok = false;
        const int portNumber = QString::fromStdString(port).toInt(&ok);
        m_setup->agwLink().setEndpoint(host.empty() ? QStringLiteral("localhost") : QString::fromStdString(host),
                                       ok && portNumber > 0 && portNumber < 65536 ? portNumber : 8000);
        // Closed by its close box: its links ended with it; the next use creates it again.
        connect(m_setup, &SpotSetupWindow::closedByOperator, this, [this] {
            if (m_setup) {
                m_setup->deleteLater();
                m_setup = nullptr;
            }
        });
        m_setup->loadStoredSettings();
    }
    return *m_setup;
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
        QTimer::singleShot(0, this, [this] { exitCallField(); });
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
    m_area->addRow(spotListRow(spot.call, result.frequencyMHz, result.record));
    return true;
}

void SpotsFeature::tuneAndTakeCall(int slot, bool tab) {
    const SpotSlot& s = m_store.slot(slot);
    m_ctx.tuner.changeFrequency(s.frequencyMHz);
    auto* call =
        m_ctx.mainWindow != nullptr ? m_ctx.mainWindow->findChild<QLineEdit*>(QStringLiteral("txtCall")) : nullptr;
    m_ctx.entry.setCallText(s.call);
    if (call == nullptr) {
        return;
    }
    call->setFocus();
    if (tab) {
        exitCallField();
    }
}

void SpotsFeature::exitCallField() {
    auto* call =
        m_ctx.mainWindow != nullptr ? m_ctx.mainWindow->findChild<QLineEdit*>(QStringLiteral("txtCall")) : nullptr;
    if (call == nullptr || m_shutDown) {
        return;
    }
    if (m_ctx.mainWindow->isVisible()) {
        m_ctx.mainWindow->activateWindow();
    }
    call->setFocus();
    // The call field's exit runs as if the operator had pressed Tab (the duplicate check).
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));
    QApplication::sendEvent(call, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));
    QApplication::sendEvent(call, &release);
}

void SpotsFeature::listClicked() {
    auto* call =
        m_ctx.mainWindow != nullptr ? m_ctx.mainWindow->findChild<QLineEdit*>(QStringLiteral("txtCall")) : nullptr;
    if (call != nullptr) {
        call->setFocus();
    }
    QTreeWidget* list = m_area->list();
    QTreeWidgetItem* row = list->currentItem();
    if (list->topLevelItemCount() == 0 || row == nullptr) {
        return;
    }
    bool ok = false;
    const float frequency = row->text(1).toFloat(&ok);
    if (!ok) {
        return;
    }
    if (m_ctx.tuner.attached()) {
        m_ctx.tuner.changeFrequency(frequency);
    }
    m_ctx.entry.setCallText(toLatin1(row->text(0)));
    if (call != nullptr) {
        call->setFocus();
    }
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

std::string SpotsFeature::applicationTitle() const {
    return m_ctx.mainWindow != nullptr ? toLatin1(m_ctx.mainWindow->windowTitle()) : std::string();
}

void SpotsFeature::packetResize() {
    if (m_setup) {
        m_area->layout(m_setup->listMode(), toLatin1(m_setup->source()));
    }
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
