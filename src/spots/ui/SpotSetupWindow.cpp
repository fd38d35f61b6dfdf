#include "spots/ui/SpotSetupWindow.h"

#include "core/DurableFile.h"
#include "platform/Dialogs.h"
#include "platform/PortBroker.h"
#include "platform/net/TcpClient.h"
#include "spots/SpotText.h"
#include "spots/ui/AgwEngineClient.h"
#include "spots/ui/SpotHelpText.h"
#include "spots/ui/SpotSetupHost.h"
#include "ui/AppContext.h"
#include "ui/FormScaler.h"
#include "ui/PortDeviceField.h"
#include "ui/WidgetText.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextCursor>

namespace corvane::spots {

namespace {

// The controls are laid out on a 9480 x 6600 grid and drawn onto the upper 5750 twips of a
// 9480 x 6100 window: the window's height includes its title bar.
constexpr double kLayoutHeight = 6600;
constexpr double kCanvasHeight = 5750;
constexpr TwipRect kDesign{0, 0, 9480, 6100};
constexpr const char* kBauds[] = {"1200", "2400", "4800", "9600", "14400", "19200"};
constexpr const char* kParities[] = {"O", "N", "E"};
constexpr const char* kPowers[] = {"N", "R", "D"};
// How many received AGW frames one tick takes: enough to keep up with a busy channel.
constexpr int kAgwFramesPerTick = 32;
const std::string kBreak = "\r\n";

template <std::size_t N> int checkedIndex(const std::array<QRadioButton*, N>& options) {
    for (std::size_t i = 0; i < N; ++i) {
        if (options[i]->isChecked()) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

} // namespace

SpotSetupWindow::SpotSetupWindow(AppContext& context, SpotSetupHost& host, std::unique_ptr<SerialPort> serial,
                                 PortBroker* ports, QWidget* parent)
    : QDialog(parent, Qt::Window), m_ctx(context), m_host(host), m_serial(std::move(serial)), m_ports(ports),
      m_telnet(new TcpClient(this)), m_agw(new AgwEngineClient(this)) {
    setObjectName(QStringLiteral("PacketSpotfrm"));
    setWindowTitle(QString::fromLatin1(kTitle));
    buildControls();
    for (QWidget* control : findChildren<QWidget*>()) {
        TwipRect at;
        if (FormScaler::designOf(control, &at)) {
            const double fy = kCanvasHeight / kLayoutHeight;
            FormScaler::redesign(control, {at.left, at.top * fy, at.width, at.height * fy});
        }
    }
    FormScaler::scale(this, ScaleVariant::ScreenCapped, kDesign);

    m_timer.setObjectName(QStringLiteral("tmrGetData"));
    m_timer.setInterval(kTickMs);
    connect(&m_timer, &QTimer::timeout, this, &SpotSetupWindow::tick);
    m_statusRefresh.setSingleShot(true);
    connect(&m_statusRefresh, &QTimer::timeout, this, &SpotSetupWindow::showStatusNow);
    connect(m_telnet, &TcpClient::arrived, this, &SpotSetupWindow::telnetArrived);
    connect(m_telnet, &TcpClient::connected, this, [this] { showLinkState(true); });
    connect(m_telnet, &TcpClient::failed, this, [this](int number, const QString&) { telnetFailed(number); });
    connect(m_agw, &AgwEngineClient::started, this, [this] {
        showLinkState(true);
        m_timer.start();
        appendStatus(kBreak + "** Successfully connected to AGW Packet Engine **" + kBreak + kBreak);
        showStatus();
    });
    connect(m_agw, &AgwEngineClient::startFailed, this, [this](const QString&) { agwFailed(); });
    connect(m_agw, &AgwEngineClient::dropped, this, [this](const QString& reason) {
        appendStatus(kBreak + "** The AGW Packet Engine ended the link: " + bytes(reason) + " **" + kBreak);
        closePort();
    });
    if (m_ports != nullptr) {
        m_ports->join(PortOwner::Tnc, [this] {
            if (m_serial->isOpen()) {
                m_serial->close();
            }
        });
    }

    // The options start at the settings' defaults until a stored choice replaces them.
    m_loading = true;
    applySettings(SpotSettings{});
    m_loading = false;
    disableSourceControls();
    m_intake.reset();
    for (QWidget* child : findChildren<QWidget*>()) {
        child->installEventFilter(this);
    }
}

SpotSetupWindow::~SpotSetupWindow() {
    shutdownLinks();
    if (m_ports != nullptr) {
        m_ports->leave(PortOwner::Tnc);
    }
}

// ---------------------------------------------------------------- settings

bool SpotSetupWindow::listMode() const {
    return m_list->isChecked();
}

bool SpotSetupWindow::dxOnly() const {
    return m_dxOnly->isChecked();
}

bool SpotSetupWindow::isListening() const {
    return !m_listening->isHidden();
}

// The open flag says what the link does: "Listening" once it is open, "Connecting" while a
// cluster or the packet engine has yet to answer.
void SpotSetupWindow::showLinkState(bool open) {
    m_listening->setText(open ? QStringLiteral("Listening") : QStringLiteral("Connecting"));
    m_listening->setStyleSheet(open ? QStringLiteral("color: #008000; font-weight: bold;")
                                    : QStringLiteral("color: #a05000; font-weight: bold;"));
}

std::string SpotSetupWindow::bytes(const QString& text) const {
    return toLatin1(text);
}

SpotSettings SpotSetupWindow::collectSettings() const {
    SpotSettings s;
    if (const int i = checkedIndex(m_baud); i >= 0) {
        s.baud = kBauds[i];
    }
    if (const int i = checkedIndex(m_parity); i >= 0) {
        s.parity = kParities[i];
    }
    s.dataBits = m_dataBits[0]->isChecked() ? "7" : "8";
    s.stopBits = m_stopBits[1]->isChecked() ? "2" : "1";
    s.port = std::max(1, checkedIndex(m_portOption) + 1);
    if (const int i = checkedIndex(m_power); i >= 0) {
        s.power = kPowers[i];
    }
    s.source = m_source;
    s.convertToHex = m_hex->isChecked() ? 1 : 0;
    s.handshaking = std::max(1, checkedIndex(m_handshaking) + 1);
    s.dxOnly = m_dxOnly->isChecked() ? 1 : 0;
    s.listMode = m_list->isChecked();
    s.commandChar = bytes(m_cmdChar->text());
    s.telnetPort = bytes(m_port->text());
    s.telnetHost = bytes(m_telnetHost->text());
    return s;
}

void SpotSetupWindow::applySettings(const SpotSettings& s) {
    m_hex->setChecked(s.convertToHex != 0);
    (s.listMode ? m_list : m_bandMap)->setChecked(true);
    m_cmdChar->setText(fromLatin1(s.commandChar));
    m_port->setText(fromLatin1(s.telnetPort));
    m_telnetHost->setText(fromLatin1(s.telnetHost));
    chooseSource(fromLatin1(s.source));
    if (s.port >= 1 && s.port <= 10) {
        m_portOption[static_cast<std::size_t>(s.port - 1)]->setChecked(true);
    }
    for (std::size_t i = 0; i < m_baud.size(); ++i) {
        if (s.baud == kBauds[i]) {
            m_baud[i]->setChecked(true);
        }
    }
    for (std::size_t i = 0; i < m_parity.size(); ++i) {
        if (s.parity == kParities[i]) {
            m_parity[i]->setChecked(true);
        }
    }
    (s.dataBits == "7" ? m_dataBits[0] : m_dataBits[1])->setChecked(s.dataBits == "7" || s.dataBits == "8");
    (s.stopBits == "2" ? m_stopBits[1] : m_stopBits[0])->setChecked(s.stopBits == "1" || s.stopBits == "2");
    for (std::size_t i = 0; i < m_power.size(); ++i) {
        if (s.power == kPowers[i]) {
            m_power[i]->setChecked(true);
        }
    }
    if (s.handshaking >= 1 && s.handshaking <= 4) {
        m_handshaking[static_cast<std::size_t>(s.handshaking - 1)]->setChecked(true);
    }
}

void SpotSetupWindow::loadStoredSettings() {
    const auto data = readWholeFile(m_ctx.workingFile("PackSpot.txt"));
    if (!data) {
        return;
    }
    const auto settings = parseSpotSettings(*data);
    if (!settings) {
        return;
    }
    m_loading = true;
    applySettings(*settings);
    m_loading = false;
    enableFor(m_source);
    if (!m_source.empty() && m_source != "None") {
        openPort();
    }
}

bool SpotSetupWindow::writeSettingsFile() {
    const std::string text = formatSpotSettings(collectSettings());
    if (text.empty()) {
        return true;
    }
    const std::string path = m_ctx.workingFile("PackSpot.txt");
    const FileResult written = replaceAtomically(path, text);
    if (!written.ok) {
        m_ctx.dialogs.message(this, QStringLiteral("Unable to write file."),
                              fromLatin1(path + "  " + written.error +
                                         "\r\n\r\nThe spotting settings were not saved; this window stays open "
                                         "so that they are not lost."),
                              MsgButtons::Ok, MsgIcon::Warning);
    }
    return written.ok;
}

void SpotSetupWindow::optionChanged() {
    if (!m_loading) {
        closePort();
    }
}

void SpotSetupWindow::chooseSource(const QString& choice) {
    m_dxOnly->setChecked(false);
    if (!m_loading) {
        closePort();
        disableSourceControls();
        m_source = bytes(choice);
        if (m_source == "TNC") {
            m_loading = true; // the defaults close nothing more
            m_baud[3]->setChecked(true);
            m_parity[1]->setChecked(true);
            m_dataBits[1]->setChecked(true);
            m_stopBits[0]->setChecked(true);
            m_handshaking[2]->setChecked(true);
            m_cmdChar->setText(QStringLiteral("03"));
            m_loading = false;
            enableFor(m_source);
        }
    } else {
        m_source = bytes(choice);
    }
    if (m_sourceList->currentItem() == nullptr || m_sourceList->currentItem()->text() != choice) {
        const auto found = m_sourceList->findItems(choice, Qt::MatchExactly);
        if (!found.isEmpty()) {
            const QSignalBlocker block(m_sourceList);
            m_sourceList->setCurrentItem(found.front());
        }
    }
    replaceStatus(sourceHelpText(m_source));
    // Shown at once: a later catching-up would put the caret at the end of the help text.
    showStatusNow();
    QTextCursor caret = m_statusArea->textCursor();
    caret.setPosition(std::min(1, m_statusArea->document()->characterCount() - 1));
    m_statusArea->setTextCursor(caret);
    m_statusArea->ensureCursorVisible();
    if (m_source == "Telnet" || m_source == "AGW Packet Engine") {
        enableFor(m_source);
    }
    setPrompt();
}

// ---------------------------------------------------------------- open and close

void SpotSetupWindow::openPort() {
    replaceStatus("** Attempting to Open Port **" + kBreak + kBreak);
    showStatus();
    if (m_serial->isOpen()) {
        m_serial->close();
        if (m_ports != nullptr) {
            m_ports->released(PortOwner::Tnc);
        }
    }
    if (m_source == "Telnet" && !telnetPortNumber()) {
        refuseTelnetPort();
        return;
    }
    if (!m_source.empty() && m_source != "None") {
        // The serial port opens at once; a cluster or the engine answers later.
        showLinkState(m_source == "TNC");
        m_listening->show();
        if (isVisible()) {
            m_sent->setFocus();
        }
    }
    m_intake.reset();
    if (m_source == "TNC") {
        tncOpen();
    } else if (m_source == "AGW Packet Engine") {
        agwOpen();
    } else if (m_source == "Telnet") {
        telnetOpen();
    }
}

void SpotSetupWindow::tncOpen() {
    const SpotSettings s = collectSettings();
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
        if (m_ports != nullptr) {
            m_ports->released(PortOwner::Tnc);
        }
        tncFailed(reason);
        return;
    }
    if (s.power == "R") {
        m_serial->setRts(true);
    } else if (s.power == "D") {
        m_serial->setDtr(true);
    }
    if (m_serial->isOpen()) {
        m_timer.start();
    }
    appendStatus("** TNC Serial Port Open **" + kBreak + kBreak);
    showStatus();
}

void SpotSetupWindow::tncFailed(const std::string& reason) {
    m_ctx.dialogs.beep();
    appendStatus("** Unable to open TNC Serial Port **" + kBreak + kBreak);
    if (!reason.empty()) {
        // Names the device: one not plugged in, or one another owner holds.
        appendStatus(reason + kBreak + kBreak);
    }
    // Closed before the box: while it is read, the window does not say "Listening".
    closePort();
    m_timer.stop();
    showStatusNow();
    m_ctx.dialogs.message(this, QStringLiteral("Invalid Comm Settings."),
                          QStringLiteral("The comm port that you selected for DX Spotting is either in use, invalid "
                                         "or the settings that you have selected are invalid.  Please select another "
                                         "combination or choose None for your DX Spot selection."),
                          MsgButtons::Ok, MsgIcon::Critical);
    returnToFront();
}

// After a box of this window: the window is shown and in front again, with the keyboard (the
// main window must not come up over it when the box goes).
void SpotSetupWindow::returnToFront() {
    if (!isVisible()) {
        show();
    }
    raise();
    activateWindow();
}

std::optional<int> SpotSetupWindow::telnetPortNumber() const {
    bool ok = false;
    const int port = m_port->text().trimmed().toInt(&ok);
    if (!ok || port < 1 || port > 65535) {
        return std::nullopt;
    }
    return port;
}

// Nothing could ever connect to such a port: the open is refused, and said so, rather than
// shown as listening.
void SpotSetupWindow::refuseTelnetPort() {
    m_telnet->close();
    m_listening->hide();
    m_timer.stop();
    const QString text =
        QStringLiteral("The Telnet port \"%1\" is not a port number. Type the cluster's port (a number from 1 to "
                       "65535, often 23 or 7300) in Telnet Port: and click Open Port again.")
            .arg(m_port->text());
    appendStatus("** " + bytes(text) + " **" + kBreak + kBreak);
    showStatusNow();
    m_ctx.dialogs.beep();
    m_ctx.dialogs.message(this, QStringLiteral("Telnet Port"), text, MsgButtons::Ok, MsgIcon::Warning);
    returnToFront();
}

void SpotSetupWindow::telnetOpen() {
    m_telnet->close();
    m_telnetFilter.reset();
    const auto number = telnetPortNumber();
    if (!number) {
        return;
    }
    const int port = *number;
    m_telnet->setRemoteHost(m_telnetHost->text().trimmed());
    m_telnet->setRemotePort(port);
    m_telnet->connectToRemote();
    replaceStatus("Attempting connection to: " + bytes(m_telnet->remoteHost()) + ":" + std::to_string(port) + kBreak +
                  kBreak);
    showStatus();
    m_timer.start();
}

void SpotSetupWindow::telnetArrived(const QByteArray& data) {
    const TelnetFilter::Result r = m_telnetFilter.feed(std::string_view(data.constData(), data.size()));
    if (!r.reply.empty()) {
        m_telnet->send(QByteArray(r.reply.data(), static_cast<qsizetype>(r.reply.size())));
    }
    if (!r.text.empty()) {
        handOver(m_intake.telnetReceived(r.text));
    }
    showStatus();
}

void SpotSetupWindow::telnetFailed(int number) {
    const std::string text = socketErrorMessage(number);
    m_telnet->close();
    appendStatus(text);
    closePort();
    trimAndScroll();
    showStatus();
    m_ctx.dialogs.beep();
}

void SpotSetupWindow::closePort() {
    if (!isListening()) {
        return;
    }
    m_listening->hide();
    appendStatus(kBreak + kBreak + "** Port Closed **");
    trimAndScroll();
    if (m_serial->isOpen()) {
        m_serial->close();
    }
    if (m_ports != nullptr) {
        m_ports->released(PortOwner::Tnc); // also when the device closed itself
    }
    m_telnet->close();
    if (m_source == "AGW Packet Engine") {
        agwClose();
    }
    m_timer.stop();
    showStatus();
}

void SpotSetupWindow::shutdownLinks() {
    if (!m_partner.isEmpty()) {
        m_agw->put(bytes(m_partner), std::string(), 'd');
        m_partner.clear();
    }
    m_agw->stop();
    m_telnet->close();
    if (m_serial->isOpen()) {
        m_serial->close();
        if (m_ports != nullptr) {
            m_ports->released(PortOwner::Tnc);
        }
    }
    m_timer.stop();
    m_listening->hide();
}

// ---------------------------------------------------------------- AGW

void SpotSetupWindow::agwOpen() {
    const std::string call(trimBlanks(m_host.stationCall()));
    if (call.empty()) {
        m_ctx.dialogs.beep();
        m_ctx.dialogs.message(this, QStringLiteral("Call Sign Required!"),
                              QStringLiteral("Please enter your call sign on the setup form to transmit!"),
                              MsgButtons::Ok, MsgIcon::Warning);
        // Nothing is open, so nothing is listening.
        m_listening->hide();
        return;
    }
    m_agw->start(call);
}

void SpotSetupWindow::agwFailed() {
    const std::string first = "Unable to connect to the AGW Packet Engine.  To use the AGW Packet Engine to send and "
                              "receive packet with your soundcard or devices such a Baypac:";
    const std::string download = std::string("- Download the freely available software from ") + kAgwDownloadAddress;
    m_ctx.dialogs.message(this, QStringLiteral("Unable to connect to the AGW Packet Engine."),
                          fromLatin1(first + kBreak + kBreak + download + kBreak + kBreak +
                                     "- Make sure the AGW Packet Engine software is running and configure it as "
                                     "described on the AGW Packet Engine website."),
                          MsgButtons::Ok, MsgIcon::Warning);
    m_listening->hide();
    appendStatus(first + kBreak + kBreak + download + kBreak + kBreak +
                 "- Run the Packet Engine software and configure it as described on the AGW Packet Engine website "
                 "for your sound card or TNC." +
                 kBreak + kBreak + "- Click Open from this program." + kBreak + kBreak);
    if (!isVisible()) {
        show();
    }
    closePort();
    m_agw->stop();
    m_timer.stop();
    showStatus();
}

void SpotSetupWindow::agwClose() {
    if (!m_partner.isEmpty()) {
        m_agw->put(bytes(m_partner), std::string(), 'd');
        setWindowTitle(QStringLiteral("DX Spotting Setup"));
        m_partner.clear();
    }
    m_agw->stop();
}

void SpotSetupWindow::agwReceive() {
    if (const std::size_t dropped = m_agw->takeDropped(); dropped > 0) {
        appendStatus(kBreak + "** " + std::to_string(dropped) + " frames from the AGW Packet Engine were dropped **" +
                     kBreak);
    }
    for (int n = 0; n < kAgwFramesPerTick; ++n) {
        const auto frame = m_agw->get();
        if (!frame) {
            break;
        }
        handOver(m_intake.agwFrameReceived(frame->sender, frame->kind, frame->text, bytes(m_partner)));
        const QString sender = fromLatin1(frame->sender);
        if (frame->kind == 'd' && !m_partner.isEmpty() && sender.compare(m_partner, Qt::CaseInsensitive) == 0) {
            m_ctx.dialogs.beep();
            m_ctx.dialogs.beep();
            appendStatus(kBreak + "** Disconnected from " + bytes(m_partner) + " **" + kBreak);
            trimAndScroll();
            setWindowTitle(QStringLiteral("DX Spotting Setup"));
            m_partner.clear();
        }
        if (frame->kind == 'c' && m_partner.isEmpty()) {
            m_partner = sender;
            appendStatus("** Connected to " + frame->sender + " **");
            setWindowTitle(QStringLiteral("DX Spotting Setup - Connected to ") + m_partner);
            trimAndScroll();
            m_ctx.dialogs.beep();
        }
    }
}

void SpotSetupWindow::agwSend(const QString& text) {
    if (text.startsWith(QLatin1Char(':'))) {
        const QChar letter = text.size() > 1 ? text.at(1).toUpper() : QChar();
        const QString argument = text.mid(2).trimmed();
        if (letter == QLatin1Char('D')) {
            if (!m_partner.isEmpty()) {
                m_agw->put(bytes(m_partner), std::string(), 'd');
            }
        } else if (letter == QLatin1Char('C')) {
            const std::string target = bytes(argument.toUpper());
            if (target.empty()) {
                m_ctx.dialogs.message(this, QStringLiteral("Call sign Required"),
                                      QStringLiteral("You must enter a call sign to connect to such as :C Varkel"),
                                      MsgButtons::Ok, MsgIcon::Warning);
            } else {
                m_agw->put(target, std::string(), 'c');
                m_agw->put(target, std::string(), 'P');
            }
        }
        return;
    }
    if (!m_partner.isEmpty()) {
        m_agw->put(bytes(m_partner), bytes(text) + "\r", 'D');
    }
}

void SpotSetupWindow::agwAutoSend(const QString& text) {
    if (m_source != "AGW Packet Engine" || !m_timer.isActive()) {
        return;
    }
    if (text.size() > 70 && text.endsWith(QLatin1Char(' '))) {
        agwSend(text.left(text.size() - 1));
        const QSignalBlocker block(m_sent);
        m_sent->clear();
    }
}

// ---------------------------------------------------------------- data

void SpotSetupWindow::handOver(const std::vector<SpotHandOff>& spots) {
    if (!spots.empty()) {
        m_labelUpdateTimeCounter = 0;
        m_host.spotsHandedOver(spots);
    }
}

void SpotSetupWindow::tick() {
    if (m_source == "TNC") {
        const std::string received = m_serial->isOpen() ? m_serial->readAll() : std::string();
        if (!received.empty()) {
            handOver(m_intake.tncReceived(received));
        }
        if (isListening() && !m_serial->isOpen()) {
            // The device went away (an unplugged USB adapter): say so and close.
            appendStatus(kBreak + "** The TNC serial port was lost **");
            closePort();
            return;
        }
    } else if (m_source == "AGW Packet Engine") {
        agwReceive();
    }
    showStatus();
    m_labelUpdateTimeCounter += 1;
    if (m_labelUpdateTimeCounter > 360) {
        m_labelUpdateTimeCounter = 0;
        m_host.refreshBandMap();
    }
}

void SpotSetupWindow::sendText() {
    if (!isListening()) {
        openPort();
        if (!isListening()) {
            return; // the open failed and said why; the typed text stays in the field
        }
    }
    const QString text = m_sent->text();
    if (m_source == "TNC" && m_serial->isOpen()) {
        m_serial->write(bytes(text) + "\r");
    } else if (m_source == "Telnet") {
        if (m_telnet->isConnected()) {
            m_telnet->send(QByteArray::fromStdString(bytes(text) + "\r\n"));
        } else {
            appendStatus("**  Connection not yet established.  Please wait a moment and try again." + kBreak + kBreak);
            trimAndScroll();
        }
    } else if (m_source == "AGW Packet Engine" && m_timer.isActive()) {
        agwSend(text);
    }
    const QSignalBlocker block(m_sent);
    m_sent->clear();
    showStatus();
}

void SpotSetupWindow::spotLast() {
    m_sent->setText(QStringLiteral("DX Frequency in kHz ") + fromLatin1(m_host.lastLoggedCall()));
    m_sent->setFocus();
    m_sent->setSelection(3, 16);
}

void SpotSetupWindow::done() {
    if (!m_source.empty() && m_source != "None" && !isListening()) {
        openPort();
    }
    if (!writeSettingsFile()) {
        returnToFront();
        return;
    }
    m_host.packetResize();
    hide();
}

// ---------------------------------------------------------------- status area

// The program's own lines: each starts a line of its own, also after received text that
// stopped in the middle of a line (a cluster that went away mid-spot).
void SpotSetupWindow::appendStatus(const std::string& text) {
    m_status.appendOnNewLine(text);
}

void SpotSetupWindow::replaceStatus(const std::string& text) {
    m_status.replace(text);
}

void SpotSetupWindow::trimAndScroll() {
    m_status.trim();
}

// Brings the status area on screen up to the text: what was appended, or all of it after a
// trim or a replacement; then the caret goes before the last character. While text pours
// in, the screen follows at most every kStatusRefreshMs, so a flood does not spend the
// window thread on redrawing text nobody can read that fast.
void SpotSetupWindow::showStatus() {
    m_status.trim();
    if (m_statusShown.isValid() && m_statusShown.elapsed() < kStatusRefreshMs) {
        if (!m_statusRefresh.isActive()) {
            m_statusRefresh.start(kStatusRefreshMs);
        }
        return;
    }
    showStatusNow();
}

void SpotSetupWindow::showStatusNow() {
    m_statusRefresh.stop();
    m_statusShown.start();
    const StatusText::Update update = m_status.takeUpdate();
    if (update.empty()) {
        return;
    }
    if (update.replaced) {
        m_statusArea->setPlainText(displayText(fromLatin1(m_status.text())));
    } else {
        QTextCursor end(m_statusArea->document());
        end.movePosition(QTextCursor::End);
        end.insertText(displayText(fromLatin1(update.appended)));
    }
    if (m_status.size() >= 3) {
        QTextCursor caret = m_statusArea->textCursor();
        caret.movePosition(QTextCursor::End);
        caret.movePosition(QTextCursor::Left);
        m_statusArea->setTextCursor(caret);
        m_statusArea->ensureCursorVisible();
    }
}

// ---------------------------------------------------------------- keys and window events

bool SpotSetupWindow::commandModeKey() {
    m_dxOnly->setChecked(false);
    if (!isListening()) {
        openPort();
    }
    bool swallowed = false;
    if (m_source == "TNC" && m_serial->isOpen()) {
        const auto c = commandModeCharacter(bytes(m_cmdChar->text()));
        if (!c) {
            return false;
        }
        m_serial->write(std::string(1, *c));
        swallowed = true;
        m_sent->setFocus();
    }
    if (m_sent->text().isEmpty()) {
        m_sent->setFocus();
    }
    return swallowed;
}

bool SpotSetupWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return QDialog::eventFilter(watched, event);
    }
    auto* key = static_cast<QKeyEvent*>(event);
    const bool esc = key->key() == Qt::Key_Escape;
    const bool ctrlC = key->key() == Qt::Key_C && key->modifiers() == Qt::ControlModifier;
    if (esc || ctrlC) {
        const bool inSent = watched == m_sent;
        if (commandModeKey()) {
            return true;
        }
        if (esc && inSent && m_source == "AGW Packet Engine") {
            m_sent->insert(QStringLiteral(":"));
            return true;
        }
        return esc; // Esc never closes the window
    }
    if (watched == m_sent && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
        sendText();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void SpotSetupWindow::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !m_source.empty() && m_source != "None") {
        trimAndScroll();
        showStatus();
        m_sent->setFocus();
    }
}

void SpotSetupWindow::closeEvent(QCloseEvent* event) {
    // The close box ends the links with the window; the settings are kept as they were saved.
    shutdownLinks();
    event->accept();
    emit closedByOperator();
}

} // namespace corvane::spots
