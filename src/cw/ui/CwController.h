#pragma once
// The CW keying of the main window: the send controller, the keyer thread and its line, the
// serial keying port, the WinKeyer, and the CW windows (setup, "CW Strings", code practice).
// CwFeature owns one and hands it the main window's keys:
//
//   key press on the main window, after the Ctrl key table and before the focused field:
//       if (cw.handleKeyDown(event) || cw.handleKeyPress(event)) -> consumed
//   handleKeyPress ignores keys typed with Ctrl or Alt.
//   close request:  if (!cw.mayClose()) -> ignore the close
//   every way out:  cw.shutdown() -> keyer stopped, key lines up, port closed

#include "cw/CwHost.h"
#include "cw/CwSendController.h"
#include "cw/KeyLines.h"
#include "cw/Keyer.h"
#include "platform/PortBroker.h"
#include "platform/parallel/ParallelPort.h"
#include "platform/serial/QtSerialPort.h"

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>

class QKeyEvent;
class QWidget;

namespace corvane {
struct AppContext;
class NoticeBoxes;
} // namespace corvane

namespace corvane::cw {

struct CwDevices {
    SerialPort* serial = nullptr;
    ParallelOutput* parallel = nullptr;
    KeyerClock* clock = nullptr;
};

class CwSetupWindow;
class CwStringsWindow;
class WinKeyerService;

class CwController : public QObject {
    Q_OBJECT
public:
    // `devices`: what keys (tests record the key lines and key at machine speed); the
    // serial port service, the parallel port and the steady clock where none is given.
    // `broker`: the program's port broker, which the push-to-talk and WinKeyer owners join as
    // well; the controller keeps its own when none is given. `keyerClock`: the keyer's clock
    // (tests key at machine speed); the steady clock when none is given.
    CwController(CwHost& host, AppContext& context, QWidget* mainWindow, PortBroker* broker = nullptr,
                 const CwDevices& devices = {});
    ~CwController() override;

    // LoadCWSettings: the fields from cw.txt, then the keying option button of a full read.
    void loadSettings(const CwSettingsReadResult& read);

    // The main window's key handling; true when the key is consumed.
    bool handleKeyDown(QKeyEvent* event);
    bool handleKeyPress(QKeyEvent* event);
    // A key typed in a CW window, routed as the main window routes it (its Ctrl table
    // included) when a router is set, else to the CW keys alone.
    void setKeyRouter(std::function<bool(QKeyEvent*)> router) { m_router = std::move(router); }
    bool routeKey(QKeyEvent* event);
    // Empties the send buffer; false while a character is on the air.
    bool mayClose();

    // Ctrl+C / Ctrl+S (modeless, restored) and Options > Transmit > "&CW Setup" (modal).
    void showSetupWindow(bool modal = false);
    // Ctrl+W.
    void showStringsWindow(bool minimized = false);
    // "Configure Winkey": the WinKeyer window, modal.
    void showWinKeyerWindow();
    WinKeyerService& winKeyer() { return *m_winKeyer; }
    CwSetupWindow* setupWindow() const;
    CwStringsWindow* stringsWindow() const;

    CwSendController& sender() { return m_send; }
    KeyingOption keyingOption() const { return m_send.keyingOption(); }
    // Selects a keying option as its button does.
    void selectKeyingOption(KeyingOption option);
    void setPrinterAddress(const QString& field);
    // CWSetup: (re)opens the serial keying port from the port field. On failure "Invalid port."
    // follows from a queued call, the port closed by then.
    KeyingPortResult cwSetup();
    // The "Done" button: cw.txt and the timing options; false when cw.txt could not be written.
    // Writes cw.txt; false with the reason in *error when it could not be written.
    bool saveSettings(std::string* error = nullptr);
    // The device path of the keying port number, and the operator's choice of another.
    QString serialDeviceFor(int port) const;
    void setSerialDevice(int port, const QString& device);

    PortBroker& portBroker() { return *m_broker; }
    // Every way out of the program: the keyer stopped, every key line up, the port closed.
    void shutdown();
    SerialPort& keyingSerialPort() { return m_serial; }
    AppContext& context() { return m_ctx; }
    QWidget* mainWindow() const { return m_mainWindow; }

signals:
    // The speed changed from the keyboard (arrows); the setup window shows it.
    void speedChanged(const QString& speedWpm);

private:
    class KeyerPort;
    class Timer;
    void characterDone(CharacterOutcome outcome);
    void startKeyer();
    void dropLines();
    void releaseKeyingPort();
    void lineQuiet();

    CwHost& m_host;
    AppContext& m_ctx;
    QWidget* m_mainWindow;
    std::unique_ptr<PortBroker> m_ownBroker;
    PortBroker* m_broker;
    QtSerialPort m_ownSerial;
    PpdevOutput m_ownParallel;
    SerialPort& m_serial;
    ParallelOutput& m_parallel;
    KeyingLine m_line;
    KeyingPort m_keyingPort;
    SteadyKeyerClock m_steadyClock;
    KeyerClock& m_clock;
    std::unique_ptr<KeyerPort> m_keyerPort;
    std::unique_ptr<Timer> m_repeatTimer;
    std::unique_ptr<CwSendController> m_sendOwner;
    std::unique_ptr<NoticeBoxes> m_notices;
    CwSendController& m_send;
    std::unique_ptr<Keyer> m_keyer;
    std::unique_ptr<WinKeyerService> m_winKeyer;
    bool m_setupFailedThisLoop = false;
    Subscription m_idle;
    bool m_shutDown = false;
    std::function<bool(QKeyEvent*)> m_router;
    QPointer<CwSetupWindow> m_setup;
    QPointer<CwStringsWindow> m_strings;
};

} // namespace corvane::cw
