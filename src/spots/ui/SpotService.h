#pragma once
// The spot source links: the TNC on a serial port, the Telnet cluster and the AGW packet
// engine, with the settings they open with (PackSpot.txt), the status text of everything
// received, and the 333 ms timer that polls the TNC and the engine and refreshes the band
// map's age colours every two minutes. Owned by the spotting feature, it runs whether the
// setup window exists or not; the window shows its state and edits its settings.
//
// Nothing here opens a box or waits: a failure the operator has to read is handed on by
// failed() after the links are already in their new state, and whoever shows it does so
// from the event loop.
//
//   Closed --open()--> Connecting --(cluster or engine answered)--> Open
//      ^                   |                                          |
//      +---- close(), a failure, a lost port or connection -----------+
//   (a TNC port is Open as soon as it opened)

#include "core/DurableFile.h"
#include "platform/serial/SerialPort.h"
#include "spots/SpotIntake.h"
#include "spots/SpotSettings.h"
#include "spots/StatusText.h"
#include "spots/TelnetFilter.h"

#include <QObject>
#include <QTimer>
#include <memory>
#include <optional>
#include <string>

namespace corvane {
struct AppContext;
class PortBroker;
class TcpClient;
} // namespace corvane

namespace corvane::spots {

class AgwEngineClient;
class SpotSetupHost;

// A failure for the operator: the box's title and text, and whether the setup window is to be
// shown with it (the settings to correct are there).
struct SpotFailure {
    std::string title;
    std::string text;
    bool critical = false;
    bool showSetup = false;
    bool operator==(const SpotFailure&) const = default;
};

class SpotService : public QObject {
    Q_OBJECT
public:
    static constexpr int kTickMs = 333;
    enum class LinkState { Closed, Connecting, Open };

    // `serial`: the TNC's port (tests give a fake). `ports`: where the TNC's device is acquired.
    SpotService(AppContext& context, SpotSetupHost& host, std::unique_ptr<SerialPort> serial, PortBroker* ports,
                QObject* parent = nullptr);
    ~SpotService() override;

    // ---- settings
    const SpotSettings& settings() const { return m_settings; }
    SpotSource source() const { return m_source; }
    // False until the stored settings were read or the settings were edited, and again after
    // shutdown(): the setup window, when created, then reads PackSpot.txt again.
    bool settingsInUse() const { return m_inUse; }
    // Reads PackSpot.txt; the stored source's help text goes to the status text. A missing or
    // unreadable file leaves the settings as they are, with no source chosen. Opens nothing.
    void loadStoredSettings();
    // Opens the chosen source, if any (the setup window's creation).
    void openChosenSource();
    // The settings as the setup window edits them (source and DX-only box excluded: see below).
    void setSettings(const SpotSettings& settings);
    // Choosing a source: the link closes, the DX-only box clears, "TNC" sets its defaults, and
    // the source's help text replaces the status text.
    void chooseSource(SpotSource source);
    void setDxOnly(bool dxOnly);
    bool dxOnly() const { return m_intake.dxOnly(); }
    // Writes PackSpot.txt from the settings; the path written in `path`.
    FileResult saveSettings(std::string* path = nullptr) const;

    // ---- the link
    void open();
    // Closes the link when it is open (the "** Port Closed **" line).
    void close();
    // Ends every link: the partner is disconnected, the engine link, the cluster connection
    // and the TNC port closed. The settings are read again on the next use.
    void shutdown();
    LinkState linkState() const { return m_state; }
    bool isListening() const { return m_state != LinkState::Closed; }
    bool timerRunning() const { return m_timer.isActive(); }

    // A line typed in the send field (Enter), the link opened first if need be; false when
    // that open failed (the text was not taken).
    bool send(const std::string& text);
    // The TNC command-mode character (Esc or Ctrl+C): true when it was written.
    bool sendCommandModeCharacter();
    // Long keyboard text leaves in pieces as it is typed (AGW engine, link running).
    bool autoSends() const { return m_source == SpotSource::Agw && m_timer.isActive(); }

    // One timer tick: the TNC's and the engine's received text, and the band map's refresh.
    void tick();

    // ---- what the window shows
    const StatusText& statusText() const { return m_status; }
    // What changed in the status text since the last call (one reader: the setup window).
    StatusText::Update takeStatusUpdate() { return m_status.takeUpdate(); }
    const std::string& agwPartner() const { return m_partner; }
    float labelUpdateTimeCounter() const { return m_labelUpdateTimeCounter; }

    SerialPort& serialPort() { return *m_serial; }
    AgwEngineClient& agwLink() { return *m_agw; }
    TcpClient& telnetClient() { return *m_telnet; }

signals:
    void statusChanged();
    void linkStateChanged();
    // The AGW partner was set or cleared.
    void partnerChanged();
    // Settings changed by the service itself (a source's defaults, the DX-only box cleared).
    void settingsChanged();
    // The links are already closed or unchanged as the failure left them.
    void failed(const corvane::spots::SpotFailure& failure);

private:
    void setState(LinkState state);
    void append(const std::string& text);
    void replace(const std::string& text);
    void fail(SpotFailure failure);
    void handOver(const std::vector<SpotHandOff>& spots);

    void tncOpen();
    void tncFailed(const std::string& reason = {});
    void releaseTnc();
    std::optional<int> telnetPortNumber() const;
    void refuseTelnetPort();
    void telnetOpen();
    void telnetArrived(const QByteArray& bytes);
    void telnetFailed(int number);
    void agwOpen();
    void agwFailed();
    void agwDisconnectPartner();
    void agwReceive();
    void agwSend(const std::string& text);

    AppContext& m_ctx;
    SpotSetupHost& m_host;
    std::unique_ptr<SerialPort> m_serial;
    PortBroker* m_ports = nullptr;
    TcpClient* m_telnet = nullptr;
    AgwEngineClient* m_agw = nullptr;
    QTimer m_timer;

    SpotSettings m_settings;
    SpotSource m_source = SpotSource::Unset;
    bool m_inUse = false;
    LinkState m_state = LinkState::Closed;
    StatusText m_status;
    SpotIntake m_intake{m_status};
    TelnetFilter m_telnetFilter;
    std::string m_partner;
    float m_labelUpdateTimeCounter = 0;
};

} // namespace corvane::spots
