#include "spots/ui/SpotService.h"

#include "core/SettingsStore.h"
#include "platform/Dialogs.h"
#include "platform/PortBroker.h"
#include "platform/net/TcpClient.h"
#include "spots/AgwCommand.h"
#include "spots/SpotText.h"
#include "spots/ui/AgwEngineClient.h"
#include "spots/ui/SpotHelpText.h"
#include "spots/ui/SpotSetupHost.h"
#include "ui/AppContext.h"

namespace corvane::spots {

namespace {

// How many received AGW frames one tick takes: enough to keep up with a busy channel.
constexpr int kAgwFramesPerTick = 32;
// Ticks without a spot before the band map's age colours are refreshed (about two minutes).
constexpr float kRefreshTicks = 360;
const std::string kBreak = "\r\n";

} // namespace

SpotService::SpotService(AppContext& context, SpotSetupHost& host, std::unique_ptr<SerialPort> serial,
                         PortBroker* ports, QObject* parent)
    : QObject(parent), m_ctx(context), m_host(host), m_serial(std::move(serial)), m_ports(ports),
      m_telnet(new TcpClient(this)), m_agw(new AgwEngineClient(this)) {
    m_timer.setInterval(kTickMs);
    connect(&m_timer, &QTimer::timeout, this, &SpotService::tick);
    connect(m_telnet, &TcpClient::arrived, this, &SpotService::telnetArrived);
    connect(m_telnet, &TcpClient::connected, this, [this] {
        if (isListening()) {
            setState(LinkState::Open);
        }
    });
    connect(m_telnet, &TcpClient::failed, this, [this](int number, const QString&) { telnetFailed(number); });
    connect(m_agw, &AgwEngineClient::started, this, [this] {
        setState(LinkState::Open);
        m_timer.start();
        append(kBreak + "** Successfully connected to AGW Packet Engine **" + kBreak + kBreak);
    });
    connect(m_agw, &AgwEngineClient::startFailed, this, [this](const QString&) { agwFailed(); });
    connect(m_agw, &AgwEngineClient::dropped, this, [this](const QString& reason) {
        append(kBreak + "** The AGW Packet Engine ended the link: " + reason.toLatin1().toStdString() + " **" + kBreak);
        close();
    });
    if (m_ports != nullptr) {
        m_ports->join(PortOwner::Tnc, [this] {
            if (m_serial->isOpen()) {
                m_serial->close();
            }
        });
    }
    m_intake.reset();
}

SpotService::~SpotService() {
    shutdown();
    if (m_ports != nullptr) {
        m_ports->leave(PortOwner::Tnc);
    }
}

// ---------------------------------------------------------------- settings

void SpotService::loadStoredSettings() {
    m_inUse = true;
    const auto data = readWholeFile(m_ctx.workingFile("PackSpot.txt"));
    const auto stored = data ? parseSpotSettings(*data) : std::nullopt;
    if (!stored) {
        return;
    }
    m_settings = *stored;
    m_source = spotSourceNamed(m_settings.source);
    // The DX-only box is stored and never applied: it starts cleared.
    setDxOnly(false);
    replace(sourceHelpText(std::string(spotSourceName(m_source))));
    emit settingsChanged();
}

void SpotService::openChosenSource() {
    if (opensLink(m_source)) {
        open();
    }
}

void SpotService::setSettings(const SpotSettings& settings) {
    m_inUse = true;
    const std::string source = m_settings.source;
    const int dxOnly = m_settings.dxOnly;
    m_settings = settings;
    m_settings.source = source;
    m_settings.dxOnly = dxOnly;
}

void SpotService::chooseSource(SpotSource source) {
    m_inUse = true;
    setDxOnly(false);
    close();
    m_source = source;
    m_settings.source = std::string(spotSourceName(source));
    if (source == SpotSource::Tnc) {
        applyTncDefaults(m_settings);
    }
    replace(sourceHelpText(m_settings.source));
    emit settingsChanged();
}

void SpotService::setDxOnly(bool dxOnly) {
    m_intake.setDxOnly(dxOnly);
    m_settings.dxOnly = dxOnly ? 1 : 0;
}

FileResult SpotService::saveSettings(std::string* path) const {
    const std::string file = m_ctx.workingFile("PackSpot.txt");
    if (path != nullptr) {
        *path = file;
    }
    const std::string text = formatSpotSettings(m_settings);
    return text.empty() ? FileResult{} : replaceAtomically(file, text);
}

// ---------------------------------------------------------------- open and close

void SpotService::setState(LinkState state) {
    if (state != m_state) {
        m_state = state;
        emit linkStateChanged();
    }
}

void SpotService::append(const std::string& text) {
    // The program's own lines: each starts a line of its own, also after received text that
    // stopped in the middle of a line (a cluster that went away mid-spot).
    m_status.appendOnNewLine(text);
    m_status.trim();
    emit statusChanged();
}

void SpotService::replace(const std::string& text) {
    m_status.replace(text);
    emit statusChanged();
}

void SpotService::fail(SpotFailure failure) {
    emit failed(failure);
}

void SpotService::open() {
    m_inUse = true;
    replace("** Attempting to Open Port **" + kBreak + kBreak);
    if (m_serial->isOpen()) {
        m_serial->close();
        releaseTnc();
    }
    if (m_source == SpotSource::Telnet && !telnetPortNumber()) {
        refuseTelnetPort();
        return;
    }
    if (opensLink(m_source)) {
        // The serial port opens at once; a cluster or the engine answers later.
        setState(LinkState::Connecting);
    }
    m_intake.reset();
    switch (m_source) {
    case SpotSource::Tnc:
        tncOpen();
        break;
    case SpotSource::Agw:
        agwOpen();
        break;
    case SpotSource::Telnet:
        telnetOpen();
        break;
    case SpotSource::None:
    case SpotSource::Unset:
        break;
    }
}

void SpotService::close() {
    if (!isListening()) {
        return;
    }
    setState(LinkState::Closed);
    append(kBreak + kBreak + "** Port Closed **");
    if (m_serial->isOpen()) {
        m_serial->close();
    }
    releaseTnc(); // also when the device closed itself
    m_telnet->close();
    if (m_source == SpotSource::Agw) {
        agwDisconnectPartner();
        m_agw->stop();
    }
    m_timer.stop();
}

void SpotService::shutdown() {
    if (!m_partner.empty()) {
        m_agw->put(m_partner, std::string(), 'd');
        m_partner.clear();
        emit partnerChanged();
    }
    m_agw->stop();
    m_telnet->close();
    if (m_serial->isOpen()) {
        m_serial->close();
        releaseTnc();
    }
    m_timer.stop();
    setState(LinkState::Closed);
    m_inUse = false;
}

void SpotService::releaseTnc() {
    if (m_ports != nullptr) {
        m_ports->released(PortOwner::Tnc);
    }
}

// ---------------------------------------------------------------- TNC

void SpotService::tncOpen() {
    const SpotSettings& s = m_settings;
    if (m_serial->isOpen()) {
        m_serial->close();
    }
    m_serial->setPortNumber(s.port);
    if (!m_serial->setSettings(serialSettingsString(s))) {
        tncFailed();
        return;
    }
    m_serial->setDtr(false);
    m_serial->setRts(false);
    switch (s.handshaking) {
    case 1:
        m_serial->setHandshaking(Handshaking::None);
        break;
    case 3:
        m_serial->setHandshaking(Handshaking::RtsCts);
        m_serial->setRts(true);
        break;
    case 4:
        m_serial->setHandshaking(Handshaking::RtsCtsXonXoff);
        m_serial->setRts(true);
        break;
    default:
        m_serial->setHandshaking(Handshaking::XonXoff);
        break;
    }
    std::string reason;
    if (m_ports != nullptr && !m_ports->acquire(PortOwner::Tnc, m_serial->devicePath(), &reason)) {
        tncFailed(reason);
        return;
    }
    if (!m_serial->open(&reason)) {
        releaseTnc();
        tncFailed(reason);
        return;
    }
    if (s.power == "R") {
        m_serial->setRts(true);
    } else if (s.power == "D") {
        m_serial->setDtr(true);
    }
    if (m_serial->isOpen()) {
        setState(LinkState::Open);
        m_timer.start();
    }
    append("** TNC Serial Port Open **" + kBreak + kBreak);
}

void SpotService::tncFailed(const std::string& reason) {
    m_ctx.dialogs.beep();
    append("** Unable to open TNC Serial Port **" + kBreak + kBreak);
    if (!reason.empty()) {
        // Names the device: one not plugged in, or one another owner holds.
        append(reason + kBreak + kBreak);
    }
    close();
    m_timer.stop();
    fail({"Invalid Comm Settings.",
          "The comm port that you selected for DX Spotting is either in use, invalid or the settings that you have "
          "selected are invalid.  Please select another combination or choose None for your DX Spot selection.",
          true, true});
}

// ---------------------------------------------------------------- Telnet

std::optional<int> SpotService::telnetPortNumber() const {
    bool ok = false;
    const int port = QString::fromLatin1(m_settings.telnetPort.c_str()).trimmed().toInt(&ok);
    if (!ok || port < 1 || port > 65535) {
        return std::nullopt;
    }
    return port;
}

// Nothing could ever connect to such a port: the open is refused, and said so, rather than
// shown as listening.
void SpotService::refuseTelnetPort() {
    m_telnet->close();
    setState(LinkState::Closed);
    m_timer.stop();
    const std::string text = "The Telnet port \"" + m_settings.telnetPort +
                             "\" is not a port number. Type the cluster's port (a number from 1 to 65535, often 23 "
                             "or 7300) in Telnet Port: and click Open Port again.";
    append("** " + text + " **" + kBreak + kBreak);
    m_ctx.dialogs.beep();
    fail({"Telnet Port", text, false, true});
}

void SpotService::telnetOpen() {
    m_telnet->close();
    m_telnetFilter.reset();
    const auto port = telnetPortNumber();
    if (!port) {
        return;
    }
    m_telnet->setRemoteHost(QString::fromLatin1(m_settings.telnetHost.c_str()).trimmed());
    m_telnet->setRemotePort(*port);
    m_telnet->connectToRemote();
    replace("Attempting connection to: " + m_telnet->remoteHost().toLatin1().toStdString() + ":" +
            std::to_string(*port) + kBreak + kBreak);
    m_timer.start();
}

void SpotService::telnetArrived(const QByteArray& data) {
    const TelnetFilter::Result r = m_telnetFilter.feed(std::string_view(data.constData(), data.size()));
    if (!r.reply.empty()) {
        m_telnet->send(QByteArray(r.reply.data(), static_cast<qsizetype>(r.reply.size())));
    }
    if (!r.text.empty()) {
        handOver(m_intake.telnetReceived(r.text));
        m_status.trim();
        emit statusChanged();
    }
}

void SpotService::telnetFailed(int number) {
    m_telnet->close();
    append(socketErrorMessage(number));
    close();
    m_ctx.dialogs.beep();
}

// ---------------------------------------------------------------- AGW

void SpotService::agwOpen() {
    const std::string call(trimBlanks(m_host.stationCall()));
    if (call.empty()) {
        // Nothing is open, so nothing is listening.
        setState(LinkState::Closed);
        m_ctx.dialogs.beep();
        fail({"Call Sign Required!", "Please enter your call sign on the setup form to transmit!", false, false});
        return;
    }
    // The engine is localhost port 8000 unless the settings name another.
    const std::string host = m_ctx.settings.get("AgwEngineHost");
    bool ok = false;
    const int port = QString::fromStdString(m_ctx.settings.get("AgwEnginePort")).toInt(&ok);
    m_agw->setEndpoint(host.empty() ? QStringLiteral("localhost") : QString::fromStdString(host),
                       ok && port > 0 && port < 65536 ? port : 8000);
    m_agw->start(call);
}

void SpotService::agwFailed() {
    const std::string first = "Unable to connect to the AGW Packet Engine.  To use the AGW Packet Engine to send and "
                              "receive packet with your soundcard or devices such a Baypac:";
    const std::string download = std::string("- Download the freely available software from ") + kAgwDownloadAddress;
    setState(LinkState::Closed);
    append(first + kBreak + kBreak + download + kBreak + kBreak +
           "- Run the Packet Engine software and configure it as described on the AGW Packet Engine website for "
           "your sound card or TNC." +
           kBreak + kBreak + "- Click Open from this program." + kBreak + kBreak);
    m_agw->stop();
    m_timer.stop();
    fail({"Unable to connect to the AGW Packet Engine.",
          first + kBreak + kBreak + download + kBreak + kBreak +
              "- Make sure the AGW Packet Engine software is running and configure it as described on the AGW "
              "Packet Engine website.",
          false, true});
}

void SpotService::agwDisconnectPartner() {
    if (!m_partner.empty()) {
        m_agw->put(m_partner, std::string(), 'd');
        m_partner.clear();
        emit partnerChanged();
    }
}

void SpotService::agwReceive() {
    if (const std::size_t dropped = m_agw->takeDropped(); dropped > 0) {
        append(kBreak + "** " + std::to_string(dropped) + " frames from the AGW Packet Engine were dropped **" +
               kBreak);
    }
    for (int n = 0; n < kAgwFramesPerTick; ++n) {
        const auto frame = m_agw->get();
        if (!frame) {
            break;
        }
        handOver(m_intake.agwFrameReceived(frame->sender, frame->kind, frame->text, m_partner));
        switch (partnerChange(frame->kind, frame->sender, m_partner)) {
        case PartnerChange::Disconnected:
            m_ctx.dialogs.beep();
            m_ctx.dialogs.beep();
            append(kBreak + "** Disconnected from " + m_partner + " **" + kBreak);
            m_partner.clear();
            emit partnerChanged();
            break;
        case PartnerChange::Connected:
            m_partner = frame->sender;
            append("** Connected to " + frame->sender + " **");
            emit partnerChanged();
            m_ctx.dialogs.beep();
            break;
        case PartnerChange::None:
            break;
        }
    }
}

void SpotService::agwSend(const std::string& text) {
    const AgwInput input = parseAgwInput(text);
    switch (input.kind) {
    case AgwInput::Kind::Disconnect:
        // The partner stays until the engine answers with its "d" frame.
        if (!m_partner.empty()) {
            m_agw->put(m_partner, std::string(), 'd');
        }
        break;
    case AgwInput::Kind::Connect:
        m_agw->put(input.call, std::string(), 'c');
        m_agw->put(input.call, std::string(), 'P');
        break;
    case AgwInput::Kind::ConnectWithoutCall:
        fail({"Call sign Required", "You must enter a call sign to connect to such as :C Varkel", false, false});
        break;
    case AgwInput::Kind::Data:
        if (!m_partner.empty()) {
            m_agw->put(m_partner, input.data, 'D');
        }
        break;
    case AgwInput::Kind::Ignored:
        break;
    }
}

// ---------------------------------------------------------------- data

void SpotService::handOver(const std::vector<SpotHandOff>& spots) {
    if (!spots.empty()) {
        m_labelUpdateTimeCounter = 0;
        m_host.spotsHandedOver(spots);
    }
}

void SpotService::tick() {
    if (m_source == SpotSource::Tnc) {
        const std::string received = m_serial->isOpen() ? m_serial->readAll() : std::string();
        if (!received.empty()) {
            handOver(m_intake.tncReceived(received));
            m_status.trim();
            emit statusChanged();
        }
        if (isListening() && !m_serial->isOpen()) {
            // The device went away (an unplugged USB adapter): say so and close.
            append(kBreak + "** The TNC serial port was lost **");
            close();
            return;
        }
    } else if (m_source == SpotSource::Agw) {
        agwReceive();
        m_status.trim();
        emit statusChanged();
    }
    m_labelUpdateTimeCounter += 1;
    if (m_labelUpdateTimeCounter > kRefreshTicks) {
        m_labelUpdateTimeCounter = 0;
        m_host.refreshBandMap();
    }
}

bool SpotService::send(const std::string& text) {
    if (!isListening()) {
        open();
        if (!isListening()) {
            return false; // the open failed and said why
        }
    }
    if (m_source == SpotSource::Tnc && m_serial->isOpen()) {
        m_serial->write(text + "\r");
    } else if (m_source == SpotSource::Telnet) {
        if (m_telnet->isConnected()) {
            m_telnet->send(QByteArray::fromStdString(text + "\r\n"));
        } else {
            append("**  Connection not yet established.  Please wait a moment and try again." + kBreak + kBreak);
        }
    } else if (m_source == SpotSource::Agw && m_timer.isActive()) {
        agwSend(text);
    }
    return true;
}

bool SpotService::sendCommandModeCharacter() {
    if (m_source != SpotSource::Tnc || !m_serial->isOpen()) {
        return false;
    }
    const auto c = commandModeCharacter(m_settings.commandChar);
    if (!c) {
        return false;
    }
    m_serial->write(std::string(1, *c));
    return true;
}

} // namespace corvane::spots
