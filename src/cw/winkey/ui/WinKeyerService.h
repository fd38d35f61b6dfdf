#pragma once
// The WinKeyer as the CW keying owns it: its serial port, the link speaking the keyer's
// protocol, the send loop that feeds the CW send buffer to it, and the " WinKey Setup"
// window. It joins the port broker as the WinKeyer owner: opening the keyer closes the CW
// keying and push-to-talk ports, and opening the push-to-talk port closes the keyer.

#include "cw/CwHost.h"
#include "cw/winkey/WinKeyer.h"
#include "cw/winkey/WinKeyerController.h"
#include "cw/winkey/ui/WinKeyerWindow.h"
#include "platform/QtOneShotTimer.h"
#include "platform/serial/QtSerialPort.h"

#include <QPointer>
#include <functional>
#include <memory>
#include <string>

class QWidget;

namespace corvane {
class Dialogs;
class NoticeBoxes;
class PortBroker;
class SettingsStore;
} // namespace corvane

namespace corvane::cw {

class CwSendController;

class WinKeyerService final : public WinKeyerHost {
public:
    struct Context {
        Dialogs& dialogs;
        SettingsStore& settings; // the device path of each serial port number
        PortBroker& broker;
        CwHost& host;
        CwSendController& send;
        std::string userDataFolder; // where WK.txt lives
        QWidget* mainWindow = nullptr;
    };

    explicit WinKeyerService(Context context);
    ~WinKeyerService() override;
    WinKeyerService(const WinKeyerService&) = delete;
    WinKeyerService& operator=(const WinKeyerService&) = delete;

    // Loading the window, the first time "WinKey" is chosen: WK.txt is read, the speed field
    // takes the CW speed; the keyer is not opened.
    void load();
    bool loaded() const { return m_window != nullptr; }
    // "Configure Winkey": the window, modal (loaded first when it is not).
    void showWindow();
    WinKeyerWindow* window() const { return m_window.data(); }
    // "&Done": WK.txt in the per-user data folder; false when it could not be written.
    bool save();
    // Every way out of the program: sending stops and the keyer is closed.
    void shutdown();

    WinKeyerController& controller() { return m_controller; }
    WinKeyer& link() { return m_keyer; }
    QtSerialPort& port() { return m_port; }
    std::string filePath() const;

    // WinKeyerHost.
    void reportFailure(const std::string& title, const std::string& text) override;
    void showMessage(const std::string& text) override;

private:
    Context m_ctx;
    QtSerialPort m_port;
    QtOneShotTimer m_linkTimer;
    QtOneShotTimer m_sendTimer;
    WinKeyer m_keyer;
    WinKeyerController m_controller;
    QPointer<WinKeyerWindow> m_window;
    std::unique_ptr<NoticeBoxes> m_notices;
    bool m_shutDown = false;
};

} // namespace corvane::cw
