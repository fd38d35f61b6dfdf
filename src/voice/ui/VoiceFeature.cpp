#include "voice/ui/VoiceFeature.h"

#include "core/DurableFile.h"
#include "log/Session.h"
#include "log/station/Preferences.h"
#include "platform/Dialogs.h"
#include "platform/QtOneShotTimer.h"
#include "platform/audio/QtWavePlayer.h"
#include "platform/serial/QtSerialPort.h"
#include "platform/serial/SerialSettings.h"
#include "ui/AppContext.h"
#include "ui/NoticeBoxes.h"
#include "voice/ui/BlindWindow.h"
#include "voice/ui/PhoneWindow.h"

#include <QWidget>

namespace corvane {

struct VoiceFeature::Owned {
    explicit Owned(AppContext& context)
        : serial([store = &context.settings](int port) { return serialDevicePath(port, store); }) {}
    QtWavePlayer keyerPlayer;
    QtWavePlayer promptPlayer;
    QtSerialPort serial;
    cw::PpdevOutput parallel;
    QtOneShotTimer endPoll;
    QtOneShotTimer repeat;
    QtOneShotTimer promptWait;
};

VoiceFeature::VoiceFeature(FeatureContext& context, const VoiceDevices& devices)
    : m_ctx(context), m_owned(std::make_unique<Owned>(context.app)),
      m_notices(std::make_unique<NoticeBoxes>(context.app.dialogs, [this]() -> QWidget* {
          return m_phone ? static_cast<QWidget*>(m_phone) : m_ctx.mainWindow;
      })) {
    Owned& o = *m_owned;
    const VoiceKeyerDevices keyerDevices{devices.keyerPlayer ? *devices.keyerPlayer : o.keyerPlayer,
                                         devices.serial ? *devices.serial : o.serial,
                                         devices.parallel   ? *devices.parallel
                                         : context.parallel ? *context.parallel
                                                            : o.parallel,
                                         context.ports,
                                         o.endPoll,
                                         o.repeat};
    m_keyer = std::make_unique<VoiceKeyer>(
        keyerDevices,
        [this](const std::string& reason) {
            // Told from inside F1 and its repeat timer: the box follows once the keyer has
            // finished what it was doing, so nothing of it runs under the box.
            QString text = QString::fromLatin1(kPhoneInvalidPortText.data());
            if (!reason.empty()) {
                text += QStringLiteral("\n\n") + QString::fromStdString(reason); // names the device
            }
            m_notices->post(
                {QString::fromLatin1(kPhoneInvalidPortTitle.data()), text, MsgIcon::Information, true, [this] {
                     if (m_phone && !m_phone->isVisible()) {
                         m_phone->show();
                     }
                 }});
        },
        [this](const std::string& failure) { m_ctx.entry.showNews("Voice message not sent: " + failure); });
    m_prompts = std::make_unique<VoicePrompts>(devices.promptPlayer ? *devices.promptPlayer : o.promptPlayer,
                                               o.promptWait, context.app.workingDirectory);
}

VoiceFeature::~VoiceFeature() {
    shutdown();
    delete m_phone.data();
    delete m_blind.data();
}

PhoneWindow* VoiceFeature::phoneWindow() const {
    return m_phone;
}

BlindWindow* VoiceFeature::navigationWindow() const {
    return m_blind;
}

void VoiceFeature::addMenus(MainMenus& menus) {
    menus.add(MenuPlace::Options, QStringLiteral("&Voice Navigation"), "mnuVoiceNav", nullptr,
              [this] { showNavigationWindow(); });
}

std::vector<CtrlShortcut> VoiceFeature::ctrlShortcuts() {
    return {{Qt::Key_P, [this] { showPhoneWindow(); }}};
}

bool VoiceFeature::keyPress(QKeyEvent* /*key*/) {
    // Any key on the main window ends the calling loop; the key goes on to the others.
    if (m_keyer->repeatOn()) {
        m_keyer->stopRepeat();
        if (m_phone) {
            m_phone->repeatStopped();
        }
    }
    return false;
}

bool VoiceFeature::load() {
    // The main window reports a wave2.txt that cannot be read; here it is only taken.
    const auto bytes = readWholeFile(m_ctx.app.workingFile("wave2.txt"));
    if (const auto settings = bytes ? parseVoiceSettings(*bytes) : std::nullopt) {
        m_keyer->settings() = *settings;
        m_keyer->setRepeatIntervalMs(settings->repeatIntervalMs());
    }
    return true;
}

void VoiceFeature::showPhoneWindow() {
    if (!m_phone) {
        m_phone = new PhoneWindow(m_ctx.app, *m_keyer, m_ctx.mainWindow);
    }
    m_phone->showSettings();
    m_phone->showNormal();
    m_phone->raise();
    m_phone->activateWindow();
}

NavLevel VoiceFeature::level() const {
    return m_navLevel == 1 ? NavLevel::CallOnly : m_navLevel == 2 ? NavLevel::AllFields : NavLevel::Off;
}

void VoiceFeature::readPreferences(const FeaturePreferences& stored) {
    m_navLevel = stored.voiceNavLevel;
}

void VoiceFeature::writePreferences(FeaturePreferences& into) const {
    into.voiceNavLevel = m_navLevel;
}

BlindWindow& VoiceFeature::navigation() {
    if (!m_blind) {
        m_blind = new BlindWindow(
            m_ctx.app, *m_prompts, m_navLevel,
            [this](int chosen) {
                m_navLevel = chosen;
                if (m_ctx.savePreferences) {
                    m_ctx.savePreferences();
                }
            },
            m_ctx.mainWindow);
    }
    return *m_blind;
}

void VoiceFeature::showNavigationWindow() {
    BlindWindow& window = navigation();
    window.showNormal();
    window.raise();
    window.activateWindow();
}

void VoiceFeature::entryFieldEntered(EntryField field) {
    if (m_shutDown) {
        return;
    }
    const NavField navField = field == EntryField::Call ? NavField::Call : NavField::Grid;
    const NavLevel current = level();
    if ((navField == NavField::Call && current != NavLevel::Off) ||
        (navField == NavField::Grid && current == NavLevel::AllFields)) {
        navigation();
        m_prompts->fieldEntered(navField, current);
    }
}

void VoiceFeature::duplicateRefused() {
    if (m_shutDown) {
        return;
    }
    navigation();
    // Heard before the call field's own prompt, which waits for it when navigation is on.
    m_prompts->duplicateRefused(m_navLevel != 0 ? NavLevel::CallOnly : NavLevel::Off);
}

void VoiceFeature::shutdown() {
    if (m_shutDown) {
        return;
    }
    m_shutDown = true;
    m_keyer->shutdown();
    m_prompts->stop();
}

} // namespace corvane
