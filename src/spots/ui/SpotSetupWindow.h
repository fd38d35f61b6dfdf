#pragma once
// The DX spotting setup window (PacketSpotfrm, " DX Spotting Setup"): the choice of spot
// source and its settings (PackSpot.txt), opening and closing the TNC, Telnet and AGW links,
// the status area with everything received, and the send field. The links run while the
// window is hidden; the 333 ms timer polls the TNC and the AGW engine and refreshes the
// band map's age colours every two minutes.
//
// Received text goes through SpotIntake (lines, repeats, the DX-only box) and every spot to
// the host (BandMapSpots). Nothing here waits: connects, lookups, reads and writes are
// notifications of the TCP client and the serial port.

#include "platform/serial/SerialPort.h"
#include "spots/SpotIntake.h"
#include "spots/SpotSettings.h"
#include "spots/StatusText.h"
#include "spots/TelnetFilter.h"
#include "ui/Scaling.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <array>
#include <memory>
#include <optional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace corvane {

class PortDeviceField;
struct AppContext;
class PortBroker;
class TcpClient;
} // namespace corvane

namespace corvane::spots {

class AgwEngineClient;
class SpotSetupHost;

class SpotSetupWindow : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kTitle = " DX Spotting Setup";
    static constexpr int kTickMs = 333;
    static constexpr int kStatusRefreshMs = 100;

    // `serial`: the TNC's port (tests give a fake). `ports`: where the TNC's device is acquired.
    SpotSetupWindow(AppContext& context, SpotSetupHost& host, std::unique_ptr<SerialPort> serial, PortBroker* ports,
                    QWidget* parent = nullptr);
    ~SpotSetupWindow() override;

    // Reads PackSpot.txt and reopens the stored source (creation).
    void loadStoredSettings();

    // What the main window reads.
    bool listMode() const;
    bool dxOnly() const;
    QString source() const { return QString::fromStdString(m_source); }
    // The open flag (lblListening) is shown: a source was opened and not closed since.
    bool isListening() const;

    // The buttons and the timer, public for tests.
    void openPort();
    void closePort();
    void done();
    void spotLast();
    void sendText();
    void tick();
    void chooseSource(const QString& source);

    SerialPort& serialPort() { return *m_serial; }
    AgwEngineClient& agwLink() { return *m_agw; }
    TcpClient& telnetClient() { return *m_telnet; }
    const StatusText& statusText() const { return m_status; }
    const QString& agwPartner() const { return m_partner; }
    float labelUpdateTimeCounter() const { return m_labelUpdateTimeCounter; }
    bool timerRunning() const { return m_timer.isActive(); }
    // Ends every link (program exit, the window closed by its close box).
    void shutdownLinks();

signals:
    // The window was closed by its close box: its links are down and it is to be discarded.
    void closedByOperator();

protected:
    void reject() override {} // Esc belongs to the TNC command mode
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildControls();
    QRadioButton* addOption(QWidget* group, const QString& name, const QString& caption, const TwipRect& at);
    void optionChanged();
    void enableFor(const std::string& source);
    void disableSourceControls();
    void applySettings(const SpotSettings& s);
    SpotSettings collectSettings() const;
    // Writes PackSpot.txt; false (and the operator told why) when it could not be written.
    bool writeSettingsFile();
    void returnToFront();
    void showLinkState(bool open);
    void setPrompt();

    void tncOpen();
    void tncFailed(const std::string& reason = {});
    void telnetOpen();
    std::optional<int> telnetPortNumber() const;
    void refuseTelnetPort();
    void telnetArrived(const QByteArray& bytes);
    void telnetFailed(int number);
    void agwOpen();
    void agwFailed();
    void agwClose();
    void agwReceive();
    void agwSend(const QString& text);
    void agwAutoSend(const QString& text);
    void handOver(const std::vector<SpotHandOff>& spots);

    void appendStatus(const std::string& text);
    void replaceStatus(const std::string& text);
    void trimAndScroll();
    void showStatus();
    void showStatusNow();
    bool commandModeKey();
    std::string bytes(const QString& text) const;

    AppContext& m_ctx;
    SpotSetupHost& m_host;
    std::unique_ptr<SerialPort> m_serial;
    PortBroker* m_ports = nullptr;
    TcpClient* m_telnet = nullptr;
    AgwEngineClient* m_agw = nullptr;
    QTimer m_timer;
    QTimer m_statusRefresh;
    QElapsedTimer m_statusShown;

    StatusText m_status;
    SpotIntake m_intake{m_status};
    TelnetFilter m_telnetFilter;
    std::string m_source;
    QString m_partner;
    float m_labelUpdateTimeCounter = 0;
    bool m_loading = false;

    QListWidget* m_sourceList = nullptr;
    QPushButton* m_open = nullptr;
    QPushButton* m_close = nullptr;
    QPushButton* m_spotLast = nullptr;
    QPushButton* m_done = nullptr;
    QLabel* m_listening = nullptr;
    QLabel* m_prompt = nullptr;
    QPlainTextEdit* m_statusArea = nullptr;
    QLineEdit* m_sent = nullptr;
    QLineEdit* m_cmdChar = nullptr;
    QLineEdit* m_telnetHost = nullptr;
    QLineEdit* m_port = nullptr;
    PortDeviceField* m_portDevice = nullptr; // txtTncDevice, the device of the chosen comm port
    QLabel* m_cmdCharLabel = nullptr;
    QLabel* m_baudCaption = nullptr;
    QLabel* m_hostLabel = nullptr;
    QLabel* m_portLabel = nullptr;
    QCheckBox* m_dxOnly = nullptr;
    QCheckBox* m_hex = nullptr;
    QGroupBox* m_display = nullptr;
    QRadioButton* m_bandMap = nullptr;
    QRadioButton* m_list = nullptr;
    std::vector<QGroupBox*> m_serialGroups;
    std::array<QRadioButton*, 6> m_baud{};
    std::array<QRadioButton*, 3> m_parity{};
    std::array<QRadioButton*, 2> m_dataBits{};
    std::array<QRadioButton*, 2> m_stopBits{};
    std::array<QRadioButton*, 10> m_portOption{};
    std::array<QRadioButton*, 3> m_power{};
    std::array<QRadioButton*, 4> m_handshaking{};
};

} // namespace corvane::spots
