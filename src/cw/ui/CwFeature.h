#pragma once
// CW keying as a feature of the main window: Ctrl+C and Ctrl+S open the CW setup window,
// Ctrl+W the "CW Strings" window, Options > Transmit > "&CW Setup" the setup window as a
// modal; the function keys, Esc, the speed arrows and keyboard sending act before the
// entry fields see a key; cw.txt is read at start; a character on the air refuses the
// close; every way out stops the keyer and drops the key lines.

#include "cw/CwHost.h"
#include "cw/ui/CwController.h"
#include "log/Session.h"
#include "ui/Feature.h"

#include <memory>

namespace corvane::cw {

class CwFeature final : public Feature, private CwHost {
public:
    // `devices`: what keys (tests give a recording port and an instant clock).
    explicit CwFeature(FeatureContext& context, const CwDevices& devices = {});
    ~CwFeature() override;

    KeyPriority keyPriority() const override { return KeyPriority::CwKeys; }
    void addMenus(MainMenus& menus) override;
    std::vector<CtrlShortcut> ctrlShortcuts() override;
    bool keyPress(QKeyEvent* key) override;
    bool load() override;
    bool mayClose() override;
    void shutdown() override;

    CwController& controller() { return *m_cw; }

private:
    // CwHost, over the entry line.
    std::string callText() const override { return m_ctx.entry.callText(); }
    void logContact() override { m_ctx.entry.logContact(); }
    void clearEntry() override { m_ctx.entry.clearEntry(); }
    void showMessage(const std::string& text) override { m_ctx.entry.showMessage(text); }
    void showNews(const std::string& text) override { m_ctx.entry.showNews(text); }
    void setMessageBackground(Rgb colour) override { m_ctx.entry.setMessageBackground(colour); }
    std::string ownCall() const override { return m_ctx.session.prefs().ownCall; }

    FeatureContext& m_ctx;
    std::unique_ptr<CwController> m_cw;
};

} // namespace corvane::cw
