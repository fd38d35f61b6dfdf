#include "rig/ui/RigFeature.h"

#include "bandplan/ui/BandPlanWindow.h"
#include "core/SettingsStore.h"
#include "log/station/Preferences.h"
#include "platform/serial/QtSerialPort.h"
#include "platform/serial/SerialSettings.h"
#include "rig/RigFrequency.h"
#include "rig/ui/FrequencyTestWindow.h"
#include "rig/ui/RigWindow.h"
#include "rig/ui/TuneWindow.h"
#include "ui/AppContext.h"
#include "ui/ModalWindows.h"
#include "ui/NoticeBoxes.h"

#include <QElapsedTimer>
#include <QTimer>
#include <cctype>

namespace corvane::rig {

namespace {

constexpr std::string_view kInvalidCommTitle = "Invalid Comm Settings.";
constexpr std::string_view kInvalidCommText =
    "The comm port that you selected for rig interface is either in use, invalid or the settings that you have "
    "selected are invalid.  Please select another combination or choose None for your rig selection.";

QString latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

qint64 monotonicMs() {
    static QElapsedTimer clock = [] {
        QElapsedTimer started;
        started.start();
        return started;
    }();
    return clock.elapsed();
}

} // namespace

RigFeature::RigFeature(FeatureContext& context, std::unique_ptr<SerialPort> port) : m_ctx(context) {
    if (!port) {
        port = std::make_unique<QtSerialPort>(
            [store = &context.app.settings](int number) { return serialDevicePath(number, store); });
    }
    RigLink::Context link{
        context.ports,
        [this](float frequencyMHz) { handFrequency(frequencyMHz); },
        [](const std::string&) {}, // the contest's mode is fixed to CW: the polled mode changes nothing
        [this] { return pegasusFolder(); },
        [this] { dropFrequency(); },
    };
    m_link = std::make_unique<RigLink>(std::move(link), std::move(port));
    m_ctx.tuner.attach(m_link.get());
    // The link's failures are shown once it is back in the event loop, its state settled.
    m_notices = std::make_unique<NoticeBoxes>(m_ctx.app.dialogs, [this]() -> QWidget* {
        return m_window && m_window->isVisible() ? static_cast<QWidget*>(m_window.data()) : m_ctx.mainWindow;
    });
    QObject::connect(m_link.get(), &RigLink::openFailed, m_notices.get(), [this] {
        // A failure while the window was hidden (the start-up test) brings the window up
        // after the box; Done, which hides the window itself, does not.
        const bool hidden = !m_window || !m_window->isVisible();
        m_notices->post(
            {latin1(kInvalidCommTitle), latin1(kInvalidCommText), MsgIcon::Information, true, [this, hidden] {
                 if (hidden && !window().isVisible()) {
                     showWindow();
                 }
             }});
    });
    QObject::connect(m_link.get(), &RigLink::changeFailed, m_notices.get(),
                     [this](const QString& title, const QString& text) {
                         m_notices->post({title, text, MsgIcon::Information, false, {}});
                     });
}

RigFeature::~RigFeature() {
    shutdown();
    m_ctx.tuner.attach(nullptr);
    delete m_window.data();
}

void RigFeature::addMenus(MainMenus& menus) {
    menus.add(MenuPlace::Options, QStringLiteral("Rig &Interface"), "mnuRigInterface", m_link.get(),
              [this] { showWindow(); });
}

std::vector<CtrlShortcut> RigFeature::ctrlShortcuts() {
    return {{Qt::Key_R, [this] { showWindow(); }}, {Qt::Key_G, [this] { showTunePanel(); }}, {Qt::Key_F, [this] {
                                                                                                  showPrivileges();
                                                                                              }}};
}

std::string RigFeature::pegasusFolder() const {
    const std::string set = m_ctx.app.settings.get(kPegasusFolderKey);
    return set.empty() ? m_ctx.app.folders.userDataFolder + "/Pegasus" : set;
}

RigWindow& RigFeature::window() {
    if (!m_window) {
        RigWindow::Hooks hooks;
        hooks.workingDirectory = m_ctx.app.workingDirectory;
        hooks.selectedRigChanged = [this](const std::string& model) { m_selectedRig = model; };
        hooks.savePreferences = [this] { return m_ctx.savePreferences ? m_ctx.savePreferences() : true; };
        hooks.pegasusFolder = [this] { return pegasusFolder(); };
        hooks.setPegasusFolder = [this](const std::string& folder) {
            const std::string fallback = m_ctx.app.folders.userDataFolder + "/Pegasus";
            m_ctx.app.settings.set(kPegasusFolderKey, folder == fallback ? std::string() : folder);
        };
        hooks.runTester = [this] {
            FrequencyTestWindow tester(*m_link, m_window);
            runModal(m_ctx.app, tester);
        };
        hooks.settings = &m_ctx.app.settings;
        m_window = new RigWindow(m_ctx.app.dialogs, *m_link, std::move(hooks), m_ctx.mainWindow);
        m_window->load();
    }
    return *m_window;
}

void RigFeature::showWindow() {
    RigWindow& rig = window();
    rig.show();
    rig.raise();
    rig.activateWindow();
}

void RigFeature::showTunePanel() {
    TuneWindow panel(
        *m_link, [this] { return m_link->settings().model; }, m_ctx.mainWindow);
    runModal(m_ctx.app, panel);
}

void RigFeature::showPrivileges() {
    bandplan::BandPlanWindow privileges(m_ctx.app.dialogs, m_ctx.app.workingDirectory, m_ctx.mainWindow);
    privileges.load();
    runModal(m_ctx.app, privileges);
}

bool RigFeature::load() {
    // A selected radio starts polling by itself, the window staying hidden.
    std::string selected = m_selectedRig;
    for (char& c : selected) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    if (selected != "none") {
        window().test();
    }
    return true;
}

void RigFeature::readPreferences(const FeaturePreferences& stored) {
    m_selectedRig = stored.selectedRig;
}

void RigFeature::writePreferences(FeaturePreferences& into) const {
    into.selectedRig = m_selectedRig;
}

void RigFeature::handFrequency(float frequencyMHz) {
    m_ctx.polledFrequency.hand(rigFrequencyText(frequencyMHz));
    m_handedAtMs = monotonicMs();
}

void RigFeature::dropFrequency() {
    // The next contact is logged without a frequency rather than with the radio's last one.
    m_ctx.polledFrequency.hand(std::string());
    m_handedAtMs = -1;
}

void RigFeature::contactLogged(const QsoRecord&) {
    // The entry line empties the polled frequency after every contact. With a slow poll rate
    // the next contact would go out without one although the radio has not moved: hand the
    // last reading over again once this contact is done, while it is no older than two
    // readings and polling still runs.
    if (m_handedAtMs < 0 || !m_link->active() || !m_link->haveReading() || !m_link->settings().useFrequency) {
        return;
    }
    const qint64 fresh = 4LL * pollIntervalMs(m_link->settings().pollRate) + 500;
    if (monotonicMs() - m_handedAtMs > fresh) {
        return;
    }
    const float frequencyMHz = m_link->state().frequencyMHz;
    QTimer::singleShot(0, m_link.get(), [this, frequencyMHz] {
        if (!m_ctx.polledFrequency.waiting() && m_link->active() && m_link->haveReading()) {
            m_ctx.polledFrequency.hand(rigFrequencyText(frequencyMHz));
        }
    });
}

void RigFeature::shutdown() {
    if (m_shutDown) {
        return;
    }
    m_shutDown = true;
    m_link->shutdown();
}

} // namespace corvane::rig
