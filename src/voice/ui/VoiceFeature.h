#pragma once
// Voice keying as a feature of the main window: Ctrl+P opens "Phone Wave Selections", and
// Options > "&Voice Navigation" the navigation window; wave2.txt is read at start; any key on
// the main window ends the F1 repeat; entering the call and grid fields and a refused
// duplicate are announced by the voice prompts; every way out stops the playback and
// releases push-to-talk.

#include "core/OneShotTimer.h"
#include "platform/PortBroker.h"
#include "platform/parallel/ParallelPort.h"
#include "platform/serial/SerialPort.h"
#include "ui/Feature.h"
#include "voice/VoiceKeyer.h"
#include "voice/VoicePrompts.h"

#include <QPointer>
#include <memory>

namespace corvane {

class BlindWindow;
class NoticeBoxes;
class PhoneWindow;

// What plays and keys (tests give recording players and ports); the real ones where null.
struct VoiceDevices {
    WavePlayer* keyerPlayer = nullptr;
    WavePlayer* promptPlayer = nullptr;
    SerialPort* serial = nullptr;
    cw::ParallelOutput* parallel = nullptr;
};

class VoiceFeature final : public Feature {
public:
    explicit VoiceFeature(FeatureContext& context, const VoiceDevices& devices = {});
    ~VoiceFeature() override;

    // Any key ends the calling loop, before the CW keys act on it.
    KeyPriority keyPriority() const override { return KeyPriority::EndsVoiceLoop; }
    void addMenus(MainMenus& menus) override;
    std::vector<CtrlShortcut> ctrlShortcuts() override;
    bool keyPress(QKeyEvent* key) override;
    bool load() override;
    // The voice navigation level (VoiceNavLevel: 0 off, 1 the call field, 2 every field), kept
    // in cvnpref.txt.
    void readPreferences(const FeaturePreferences& stored) override;
    void writePreferences(FeaturePreferences& into) const override;
    int navigationLevel() const { return m_navLevel; }
    void entryFieldEntered(EntryField field) override;
    void duplicateRefused() override;
    void shutdown() override;

    void showPhoneWindow();
    void showNavigationWindow();
    VoiceKeyer& keyer() { return *m_keyer; }
    VoicePrompts& prompts() { return *m_prompts; }
    PhoneWindow* phoneWindow() const;
    BlindWindow* navigationWindow() const;

private:
    struct Owned;
    BlindWindow& navigation(); // made at first use
    NavLevel level() const;

    FeatureContext& m_ctx;
    std::unique_ptr<Owned> m_owned;
    std::unique_ptr<NoticeBoxes> m_notices;
    std::unique_ptr<VoiceKeyer> m_keyer;
    std::unique_ptr<VoicePrompts> m_prompts;
    QPointer<PhoneWindow> m_phone;
    QPointer<BlindWindow> m_blind;
    int m_navLevel = 0;
    bool m_shutDown = false;
};

} // namespace corvane
