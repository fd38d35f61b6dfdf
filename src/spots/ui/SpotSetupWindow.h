#pragma once
// The DX spotting setup window (PacketSpotfrm, " DX Spotting Setup"): shows the spotting
// service's state (the status area with everything received, whether a source listens, the
// AGW partner in the caption) and edits its settings: the choice of spot source, the serial
// options of the TNC, the Telnet cluster, the send field. The links belong to the service and
// run whether this window is shown, hidden or gone; its close box ends them.

#include "spots/SpotSettings.h"
#include "ui/Scaling.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <array>
#include <string>

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
} // namespace corvane

namespace corvane::spots {

class SpotService;
class SpotSetupHost;

class SpotSetupWindow : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kTitle = " DX Spotting Setup";
    static constexpr int kStatusRefreshMs = 100;

    SpotSetupWindow(AppContext& context, SpotSetupHost& host, SpotService& service, QWidget* parent = nullptr);
    ~SpotSetupWindow() override;

    bool listMode() const;
    bool dxOnly() const;
    QString source() const;
    // The open flag (lblListening) is shown: a source was opened and not closed since.
    bool isListening() const;

    // The buttons, public for tests.
    void openPort();
    void closePort();
    void done();
    void spotLast();
    void sendText();
    void chooseSource(SpotSource source);
    // Shown, in front and active again (after a box about its settings).
    void returnToFront();

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
    void settingsEdited();
    void enableFor(SpotSource source);
    void disableSourceControls();
    // The service's settings on the controls (changes made here close nothing).
    void showSettings();
    SpotSettings collectSettings() const;
    void showSourceChoice();
    void showLinkState();
    void showPartner();
    void showHelpFromItsStart();
    void setPrompt();
    void agwAutoSend(const QString& text);

    void showStatus();
    void showStatusNow();
    bool commandModeKey();

    AppContext& m_ctx;
    SpotSetupHost& m_host;
    SpotService& m_service;
    QTimer m_statusRefresh;
    QElapsedTimer m_statusShown;
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
    QLineEdit* m_telnetPort = nullptr;
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
