#include "spots/ui/SpotSetupWindow.h"

#include "platform/Dialogs.h"
#include "spots/AgwCommand.h"
#include "spots/ui/SpotService.h"
#include "spots/ui/SpotSetupHost.h"
#include "ui/AppContext.h"
#include "ui/FormScaler.h"
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

template <std::size_t N> int checkedIndex(const std::array<QRadioButton*, N>& options) {
    for (std::size_t i = 0; i < N; ++i) {
        if (options[i]->isChecked()) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

template <std::size_t N>
void checkMatching(const std::array<QRadioButton*, N>& options, const char* const (&values)[N],
                   const std::string& value) {
    for (std::size_t i = 0; i < N; ++i) {
        if (value == values[i]) {
            options[i]->setChecked(true);
        }
    }
}

} // namespace

SpotSetupWindow::SpotSetupWindow(AppContext& context, SpotSetupHost& host, SpotService& service, QWidget* parent)
    : QDialog(parent, Qt::Window), m_ctx(context), m_host(host), m_service(service) {
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

    m_statusRefresh.setSingleShot(true);
    connect(&m_statusRefresh, &QTimer::timeout, this, &SpotSetupWindow::showStatusNow);
    // What the service does while this window exists is shown here; nothing of this window
    // stays with the service when it goes.
    connect(&m_service, &SpotService::statusChanged, this, &SpotSetupWindow::showStatus);
    connect(&m_service, &SpotService::linkStateChanged, this, &SpotSetupWindow::showLinkState);
    connect(&m_service, &SpotService::partnerChanged, this, &SpotSetupWindow::showPartner);
    connect(&m_service, &SpotService::settingsChanged, this, &SpotSetupWindow::showSettings);

    showSettings();
    showLinkState();
    if (!m_service.agwPartner().empty()) {
        showPartner();
    }
    // Everything received so far, up to now.
    m_service.takeStatusUpdate();
    m_statusArea->setPlainText(displayText(fromLatin1(m_service.statusText().text())));
    m_statusArea->moveCursor(QTextCursor::End);
    for (QWidget* child : findChildren<QWidget*>()) {
        child->installEventFilter(this);
    }
}

SpotSetupWindow::~SpotSetupWindow() = default;

// ---------------------------------------------------------------- settings

bool SpotSetupWindow::listMode() const {
    return m_list->isChecked();
}

bool SpotSetupWindow::dxOnly() const {
    return m_dxOnly->isChecked();
}

QString SpotSetupWindow::source() const {
    return fromLatin1(std::string(spotSourceName(m_service.source())));
}

bool SpotSetupWindow::isListening() const {
    return m_service.isListening();
}

// The open flag says what the link does: "Listening" once it is open, "Connecting" while a
// cluster or the packet engine has yet to answer; hidden while closed.
void SpotSetupWindow::showLinkState() {
    const bool open = m_service.linkState() == SpotService::LinkState::Open;
    m_listening->setText(open ? QStringLiteral("Listening") : QStringLiteral("Connecting"));
    m_listening->setStyleSheet(open ? QStringLiteral("color: #008000; font-weight: bold;")
                                    : QStringLiteral("color: #a05000; font-weight: bold;"));
    m_listening->setVisible(m_service.isListening());
}

void SpotSetupWindow::showPartner() {
    const std::string& partner = m_service.agwPartner();
    setWindowTitle(partner.empty() ? QStringLiteral("DX Spotting Setup")
                                   : QStringLiteral("DX Spotting Setup - Connected to ") + fromLatin1(partner));
}

SpotSettings SpotSetupWindow::collectSettings() const {
    SpotSettings s = m_service.settings();
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
    s.convertToHex = m_hex->isChecked() ? 1 : 0;
    s.handshaking = std::max(1, checkedIndex(m_handshaking) + 1);
    s.listMode = m_list->isChecked();
    s.commandChar = toLatin1(m_cmdChar->text());
    s.telnetPort = toLatin1(m_telnetPort->text());
    s.telnetHost = toLatin1(m_telnetHost->text());
    return s;
}

void SpotSetupWindow::showSettings() {
    const SpotSettings& s = m_service.settings();
    m_loading = true;
    m_hex->setChecked(s.convertToHex != 0);
    (s.listMode ? m_list : m_bandMap)->setChecked(true);
    m_cmdChar->setText(fromLatin1(s.commandChar));
    m_telnetPort->setText(fromLatin1(s.telnetPort));
    m_telnetHost->setText(fromLatin1(s.telnetHost));
    m_dxOnly->setChecked(m_service.dxOnly());
    showSourceChoice();
    if (s.port >= 1 && s.port <= 10) {
        m_portOption[static_cast<std::size_t>(s.port - 1)]->setChecked(true);
    }
    checkMatching(m_baud, kBauds, s.baud);
    checkMatching(m_parity, kParities, s.parity);
    (s.dataBits == "7" ? m_dataBits[0] : m_dataBits[1])->setChecked(s.dataBits == "7" || s.dataBits == "8");
    (s.stopBits == "2" ? m_stopBits[1] : m_stopBits[0])->setChecked(s.stopBits == "1" || s.stopBits == "2");
    checkMatching(m_power, kPowers, s.power);
    if (s.handshaking >= 1 && s.handshaking <= 4) {
        m_handshaking[static_cast<std::size_t>(s.handshaking - 1)]->setChecked(true);
    }
    m_loading = false;
    disableSourceControls();
    enableFor(m_service.source());
    setPrompt();
}

// A field or option the operator changed: the service opens with it from now on.
void SpotSetupWindow::settingsEdited() {
    if (!m_loading) {
        m_service.setSettings(collectSettings());
    }
}

// A serial option changed: the link closes.
void SpotSetupWindow::optionChanged() {
    if (!m_loading) {
        settingsEdited();
        m_service.close();
    }
}

void SpotSetupWindow::chooseSource(SpotSource choice) {
    m_service.chooseSource(choice); // the controls follow through settingsChanged
    showHelpFromItsStart();
}

// The help text of a source is read from its start: the caret goes to its second character.
void SpotSetupWindow::showHelpFromItsStart() {
    // Shown at once: a later catching-up would put the caret at the end of the help text.
    showStatusNow();
    QTextCursor caret = m_statusArea->textCursor();
    caret.setPosition(std::min(1, m_statusArea->document()->characterCount() - 1));
    m_statusArea->setTextCursor(caret);
    m_statusArea->ensureCursorVisible();
}

// ---------------------------------------------------------------- buttons

void SpotSetupWindow::openPort() {
    m_service.open();
    if (isVisible() && m_service.isListening()) {
        m_sent->setFocus();
    }
}

void SpotSetupWindow::closePort() {
    m_service.close();
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

void SpotSetupWindow::sendText() {
    if (!isListening()) {
        openPort();
    }
    if (!m_service.send(toLatin1(m_sent->text()))) {
        return; // the open failed and said why; the typed text stays in the field
    }
    const QSignalBlocker block(m_sent);
    m_sent->clear();
}

void SpotSetupWindow::agwAutoSend(const QString& text) {
    if (!m_service.autoSends()) {
        return;
    }
    if (const auto piece = agwAutoSendPiece(toLatin1(text))) {
        m_service.send(*piece);
        const QSignalBlocker block(m_sent);
        m_sent->clear();
    }
}

void SpotSetupWindow::spotLast() {
    m_sent->setText(QStringLiteral("DX Frequency in kHz ") + fromLatin1(m_host.lastLoggedCall()));
    m_sent->setFocus();
    m_sent->setSelection(3, 16);
}

void SpotSetupWindow::done() {
    if (opensLink(m_service.source()) && !isListening()) {
        openPort();
    }
    std::string path;
    const FileResult written = m_service.saveSettings(&path);
    if (!written.ok) {
        m_ctx.dialogs.message(this, QStringLiteral("Unable to write file."),
                              fromLatin1(path + "  " + written.error +
                                         "\r\n\r\nThe spotting settings were not saved; this window stays open "
                                         "so that they are not lost."),
                              MsgButtons::Ok, MsgIcon::Warning);
        returnToFront();
        return;
    }
    m_host.packetResize();
    hide();
}

// ---------------------------------------------------------------- status area

// Brings the status area on screen up to the service's text: what was appended, or all of it
// after a trim or a replacement; then the caret goes before the last character. While text
// pours in, the screen follows at most every kStatusRefreshMs, so a flood does not spend the
// window thread on redrawing text nobody can read that fast.
void SpotSetupWindow::showStatus() {
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
    const StatusText::Update update = m_service.takeStatusUpdate();
    if (update.empty()) {
        return;
    }
    const StatusText& status = m_service.statusText();
    if (update.replaced) {
        m_statusArea->setPlainText(displayText(fromLatin1(status.text())));
    } else {
        QTextCursor end(m_statusArea->document());
        end.movePosition(QTextCursor::End);
        end.insertText(displayText(fromLatin1(update.appended)));
    }
    if (status.size() >= 3) {
        QTextCursor caret = m_statusArea->textCursor();
        caret.movePosition(QTextCursor::End);
        caret.movePosition(QTextCursor::Left);
        m_statusArea->setTextCursor(caret);
        m_statusArea->ensureCursorVisible();
    }
}

// ---------------------------------------------------------------- keys and window events

// Esc or Ctrl+C: the TNC's command-mode character; true when the key was used up.
bool SpotSetupWindow::commandModeKey() {
    m_dxOnly->setChecked(false);
    if (!isListening()) {
        openPort();
    }
    bool swallowed = false;
    if (m_service.source() == SpotSource::Tnc && m_service.serialPort().isOpen()) {
        if (!m_service.sendCommandModeCharacter()) {
            return false; // not a hexadecimal number
        }
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
        if (esc && inSent && m_service.source() == SpotSource::Agw) {
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
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && opensLink(m_service.source())) {
        showStatus();
        m_sent->setFocus();
    }
}

void SpotSetupWindow::closeEvent(QCloseEvent* event) {
    // The close box ends the links with the window; the settings are kept as they were saved.
    m_service.shutdown();
    event->accept();
    emit closedByOperator();
}

} // namespace corvane::spots
