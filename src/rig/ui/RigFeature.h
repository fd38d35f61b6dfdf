#pragma once
// Rig control as a feature of the main window: Options > "Rig &Interface" and Ctrl+R open the
// rig window (modeless), Ctrl+G the tune panel and Ctrl+F the privileges window (modal, new
// each time). At start-up a selected radio is tested without showing the window, so polling
// starts by itself; the polled frequency waits in the session for the next contact. Every way
// out of the program closes the rig port.

#include "log/station/Preferences.h"
#include "rig/ui/RigLink.h"
#include "ui/Feature.h"

#include <QPointer>
#include <memory>

namespace corvane {
class NoticeBoxes;
} // namespace corvane

namespace corvane::rig {

class RigWindow;

class RigFeature final : public Feature {
public:
    // `port`: the rig's port (tests give a port of their own); a serial port of the platform
    // when empty.
    explicit RigFeature(FeatureContext& context, std::unique_ptr<SerialPort> port = {});
    ~RigFeature() override;

    void addMenus(MainMenus& menus) override;
    std::vector<CtrlShortcut> ctrlShortcuts() override;
    bool load() override;
    // The radio model selected in the rig window (SelectedRig), kept in cvnpref.txt.
    void readPreferences(const FeaturePreferences& stored) override;
    void writePreferences(FeaturePreferences& into) const override;
    const std::string& selectedRig() const { return m_selectedRig; }
    void contactLogged(const QsoRecord& record) override;
    void shutdown() override;

    // The rig window, loaded on first use and kept.
    RigWindow& window();
    void showWindow();
    void showTunePanel();
    void showPrivileges();
    RigLink& link() { return *m_link; }

    // The folder of PEGASUS.OUT and PEGASUS.IN: the setting, or Pegasus/ in the user data folder.
    std::string pegasusFolder() const;
    static constexpr const char* kPegasusFolderKey = "PegasusFolder";

private:
    void handFrequency(float frequencyMHz);
    void dropFrequency();

    FeatureContext& m_ctx;
    std::unique_ptr<RigLink> m_link;
    std::unique_ptr<NoticeBoxes> m_notices;
    QPointer<RigWindow> m_window;
    qint64 m_handedAtMs = -1;
    std::string m_selectedRig = FeaturePreferences{}.selectedRig;
    bool m_shutDown = false;
};

} // namespace corvane::rig
