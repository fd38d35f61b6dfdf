#include "spots/ui/SpotSetupWindow.h"

// The setup window's controls: building them on the design grid, and which of them the chosen
// source enables.

#include "spots/ui/SpotService.h"
#include "ui/AppContext.h"
#include "ui/FormScaler.h"
#include "ui/PortDeviceField.h"
#include "ui/WidgetText.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace corvane::spots {

namespace {

constexpr double kFont = 8.25;
constexpr const char* kBaudCaptions[] = {"1.2k", "2.4k", "4.8k", "9.6k", "14.4k", "19.2k"};

} // namespace

QRadioButton* SpotSetupWindow::addOption(QWidget* group, const QString& name, const QString& caption,
                                         const TwipRect& at) {
    auto* option = new QRadioButton(caption, group);
    option->setObjectName(name);
    // Read with its frame's title: "Parity None" and "Power None" differ.
    if (const auto* box = qobject_cast<QGroupBox*>(group)) {
        option->setAccessibleName(box->title().remove(QLatin1Char(':')) + QLatin1Char(' ') + caption);
    }
    FormScaler::place(option, at, kFont);
    connect(option, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            optionChanged();
        }
    });
    return option;
}

void SpotSetupWindow::buildControls() {
    auto label = [this](const char* name, const QString& text, const TwipRect& at) {
        return makeLabel(this, name, text, at, kFont);
    };
    auto group = [this](const char* name, const QString& caption, const TwipRect& at) {
        auto* g = new QGroupBox(caption, this);
        g->setObjectName(QString::fromLatin1(name));
        FormScaler::place(g, at, kFont);
        return g;
    };
    auto button = [this](const char* name, const QString& caption, const TwipRect& at) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        FormScaler::place(b, at, kFont);
        return b;
    };
    auto field = [this](const char* name, const TwipRect& at) {
        auto* f = new QLineEdit(this);
        f->setObjectName(QString::fromLatin1(name));
        FormScaler::place(f, at, kFont);
        return f;
    };

    // Left column: the source, its buttons and the serial settings.
    label("lblSource", QStringLiteral("DX Spot Source:"), {120, 100, 2300, 240});
    m_sourceList = new QListWidget(this);
    m_sourceList->setObjectName(QStringLiteral("lstSource"));
    m_sourceList->setAccessibleName(QStringLiteral("Spot source"));
    m_sourceList->setAccessibleDescription(QStringLiteral("Where spots come from: the choice is kept for next time."));
    // Row i of the list is kSourceChoices[i].
    for (SpotSource s : kSourceChoices) {
        m_sourceList->addItem(fromLatin1(std::string(spotSourceName(s))));
    }
    FormScaler::place(m_sourceList, {120, 360, 2400, 960}, kFont);
    connect(m_sourceList, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        chooseSource(kSourceChoices[static_cast<std::size_t>(m_sourceList->row(item))]);
    });
    connect(m_sourceList, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && kSourceChoices[static_cast<std::size_t>(row)] != m_service.source()) {
            chooseSource(kSourceChoices[static_cast<std::size_t>(row)]);
        }
    });
    m_open = button("cmdOpen", QStringLiteral("Open Port"), {2700, 340, 1560, 360});
    m_close = button("cmdClose", QStringLiteral("Close Port"), {2700, 740, 1560, 360});
    connect(m_open, &QPushButton::clicked, this, &SpotSetupWindow::openPort);
    connect(m_close, &QPushButton::clicked, this, &SpotSetupWindow::closePort);
    // Clear of the Telnet host field below it, descenders included.
    m_listening = label("lblListening", QStringLiteral("Listening"), {2700, 1120, 1560, 260});
    m_listening->setStyleSheet(QStringLiteral("color: #008000; font-weight: bold;"));
    m_listening->hide();

    m_hostLabel = label("lblTelnetHost", QStringLiteral("Telnet Host:"), {120, 1440, 1100, 240});
    m_telnetHost = field("txtTelnetHost", {1240, 1400, 3020, 315});
    nameControl(m_telnetHost, QStringLiteral("Telnet host"), QStringLiteral("The DX cluster's host name or address."));
    m_portLabel = label("lblTelnetPort", QStringLiteral("Telnet Port:"), {120, 1800, 1100, 240});
    m_telnetPort = field("txtTelnetPort", {1240, 1760, 800, 315});
    nameControl(m_telnetPort, QStringLiteral("Telnet port"), QStringLiteral("The DX cluster's TCP port."));
    m_cmdCharLabel = label("lblCmdChar", QStringLiteral("TNC cmd mode hex character:"), {120, 2160, 2900, 240});
    m_cmdChar = field("txtCmdChar", {3080, 2120, 600, 315});
    nameControl(m_cmdChar, QStringLiteral("TNC command mode hex character"),
                QStringLiteral("The character, in hex, that puts the TNC into command mode (03 is Ctrl+C)."));
    for (QLineEdit* edited : {m_telnetHost, m_telnetPort, m_cmdChar}) {
        connect(edited, &QLineEdit::textChanged, this, &SpotSetupWindow::settingsEdited);
    }

    // The baud group's caption is long: it stands above the group, wrapped.
    QLabel* baudCaption =
        label("lblBaud", QStringLiteral("Baud Rate of Com Port to TNC (not necessarily transmitted baud rate)"),
              {120, 2440, 4140, 440});
    baudCaption->setWordWrap(true);
    m_baudCaption = baudCaption;
    QGroupBox* baud = group("fraBaud", QString(), {120, 2880, 4140, 680});
    for (std::size_t i = 0; i < m_baud.size(); ++i) {
        m_baud[i] = addOption(
            baud, QStringLiteral("optBaud%1").arg(i), QString::fromLatin1(kBaudCaptions[i]),
            {120.0 + 1340.0 * static_cast<double>(i % 3), 140.0 + 260.0 * static_cast<double>(i / 3), 1200, 240});
    }
    constexpr double kPitch = 230; // an option's height too: stacked options touch, never overlap
    auto optionTop = [](std::size_t i) { return 260.0 + kPitch * static_cast<double>(i); };
    QGroupBox* parity = group("fraParity", QStringLiteral("Parity"), {120, 3620, 1340, 960});
    const char* parityCaptions[] = {"Odd", "None", "Even"};
    for (std::size_t i = 0; i < m_parity.size(); ++i) {
        m_parity[i] = addOption(parity, QStringLiteral("optParity%1").arg(i), QString::fromLatin1(parityCaptions[i]),
                                {120, optionTop(i), 1100, kPitch});
    }
    QGroupBox* dataBits = group("fraDataBits", QStringLiteral("Data Bits"), {1520, 3620, 1300, 960});
    QGroupBox* stopBits = group("fraStopBits", QStringLiteral("Stop Bits"), {2900, 3620, 1360, 960});
    for (std::size_t i = 0; i < 2; ++i) {
        m_dataBits[i] = addOption(dataBits, QStringLiteral("optDataBits%1").arg(i), i == 0 ? "7" : "8",
                                  {120, optionTop(i), 1000, kPitch});
        m_stopBits[i] = addOption(stopBits, QStringLiteral("optStopBits%1").arg(i), i == 0 ? "1" : "2",
                                  {120, optionTop(i), 1000, kPitch});
    }
    QGroupBox* comm = group("fraCommPort", QStringLiteral("Comm Port"), {120, 4580, 4140, 740});
    for (std::size_t i = 0; i < m_portOption.size(); ++i) {
        m_portOption[i] = addOption(
            comm, QStringLiteral("optPort%1").arg(i), QString::number(i + 1),
            {120.0 + 800.0 * static_cast<double>(i % 5), 260.0 + 230.0 * static_cast<double>(i / 5), 700, 230});
    }
    // The device the chosen comm port stands for, beside the hex box under the sent line.
    m_portDevice = new PortDeviceField(m_ctx.settings, this);
    m_portDevice->setObjectName(QStringLiteral("txtTncDevice"));
    m_portDevice->setAccessibleName(QStringLiteral("TNC serial device"));
    FormScaler::place(m_portDevice, {6540, 5310, 2820, 315}, kFont);
    for (std::size_t i = 0; i < m_portOption.size(); ++i) {
        connect(m_portOption[i], &QRadioButton::toggled, m_portDevice, [this, i](bool on) {
            if (on) {
                m_portDevice->setPort(static_cast<int>(i) + 1);
            }
        });
    }
    QGroupBox* power = group("fraPower", QStringLiteral("Connection Power"), {120, 5340, 1900, 960});
    const char* powerCaptions[] = {"None", "Raise RTS", "Raise DTR"};
    for (std::size_t i = 0; i < m_power.size(); ++i) {
        m_power[i] = addOption(power, QStringLiteral("optPower%1").arg(i), QString::fromLatin1(powerCaptions[i]),
                               {120, optionTop(i), 1660, kPitch});
    }
    QGroupBox* hand = group("fraHandshaking", QStringLiteral("Handshaking"), {2100, 5340, 2160, 1220});
    const char* handCaptions[] = {"None", "Xon Xoff", "RTS", "RTS OnOff"};
    for (std::size_t i = 0; i < m_handshaking.size(); ++i) {
        m_handshaking[i] = addOption(hand, QStringLiteral("optHandshaking%1").arg(i),
                                     QString::fromLatin1(handCaptions[i]), {120, optionTop(i), 1900, kPitch});
    }
    m_serialGroups = {baud, parity, dataBits, stopBits, comm, power, hand};

    // Right column: what arrives, what is sent, and how the main form shows the spots.
    m_statusArea = new QPlainTextEdit(this);
    m_statusArea->setObjectName(QStringLiteral("txtUnProcessed"));
    m_statusArea->setAccessibleName(QStringLiteral("Spot link status"));
    m_statusArea->setAccessibleDescription(QStringLiteral("What the spot link received and what it is doing."));
    m_statusArea->setReadOnly(true);
    m_statusArea->setUndoRedoEnabled(false);
    m_statusArea->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_statusArea->setStyleSheet(
        QStringLiteral("QPlainTextEdit { background: #000080; color: white; font-family: monospace; }"));
    FormScaler::place(m_statusArea, {4440, 120, 4920, 4180}, kFont);
    m_prompt = label("lblSend", QString(), {4440, 4380, 4920, 240});
    m_sent = field("txtSent", {4440, 4640, 4920, 315});
    nameControl(m_sent, QStringLiteral("Send to the spot source"),
                QStringLiteral("A line typed here goes to the TNC, the cluster or the packet engine."));
    connect(m_sent, &QLineEdit::textChanged, this, &SpotSetupWindow::agwAutoSend);
    m_dxOnly = new QCheckBox(QStringLiteral("List DX Only (also controls main form)"), this);
    m_dxOnly->setObjectName(QStringLiteral("chkDXOnly"));
    FormScaler::place(m_dxOnly, {4440, 5040, 4200, 260}, kFont);
    connect(m_dxOnly, &QCheckBox::toggled, this, [this](bool on) { m_service.setDxOnly(on); });
    m_hex = new QCheckBox(QStringLiteral("Convert to Hex"), this);
    m_hex->setObjectName(QStringLiteral("chkHex"));
    m_hex->setEnabled(false);
    FormScaler::place(m_hex, {4440, 5340, 2000, 260}, kFont);
    m_display = group("fraDisplay", QStringLiteral("Main Form Display"), {4440, 5660, 2300, 560});
    m_bandMap = new QRadioButton(QStringLiteral("Band Map"), m_display);
    m_bandMap->setObjectName(QStringLiteral("optBandMap"));
    FormScaler::place(m_bandMap, {120, 250, 1060, 240}, kFont);
    m_list = new QRadioButton(QStringLiteral("List"), m_display);
    m_list->setObjectName(QStringLiteral("optList"));
    FormScaler::place(m_list, {1240, 250, 900, 240}, kFont);
    m_bandMap->setChecked(true);
    connect(m_list, &QRadioButton::toggled, this, &SpotSetupWindow::settingsEdited);
    m_spotLast = button("cmdSpotLast", QStringLiteral("&Spot Last"), {6900, 5760, 1180, 400});
    m_done = button("cmdDone", QStringLiteral("&Done"), {8180, 5760, 1180, 400});
    connect(m_spotLast, &QPushButton::clicked, this, &SpotSetupWindow::spotLast);
    connect(m_done, &QPushButton::clicked, this, &SpotSetupWindow::done);
}

void SpotSetupWindow::disableSourceControls() {
    for (QGroupBox* g : m_serialGroups) {
        g->setEnabled(false);
    }
    m_baudCaption->setEnabled(false);
    for (QWidget* w :
         std::initializer_list<QWidget*>{m_sent, m_cmdChar, m_telnetHost, m_telnetPort, m_dxOnly, m_display, m_prompt,
                                         m_cmdCharLabel, m_hostLabel, m_portLabel, m_open, m_close}) {
        w->setEnabled(false);
    }
}

void SpotSetupWindow::showSourceChoice() {
    const QSignalBlocker block(m_sourceList);
    int row = -1;
    for (std::size_t i = 0; i < std::size(kSourceChoices); ++i) {
        if (kSourceChoices[i] == m_service.source()) {
            row = static_cast<int>(i);
        }
    }
    m_sourceList->setCurrentRow(row);
}

void SpotSetupWindow::enableFor(SpotSource source) {
    const bool tnc = source == SpotSource::Tnc;
    const bool telnet = source == SpotSource::Telnet;
    if (tnc) {
        for (QGroupBox* g : m_serialGroups) {
            g->setEnabled(true);
        }
        m_baudCaption->setEnabled(true);
        m_cmdChar->setEnabled(true);
        m_cmdCharLabel->setEnabled(true);
    }
    if (telnet) {
        for (QWidget* w : std::initializer_list<QWidget*>{m_telnetHost, m_telnetPort, m_hostLabel, m_portLabel}) {
            w->setEnabled(true);
        }
    }
    if (opensLink(source)) {
        for (QWidget* w : std::initializer_list<QWidget*>{m_sent, m_prompt, m_open, m_close, m_display, m_dxOnly}) {
            w->setEnabled(true);
        }
    }
}

void SpotSetupWindow::setPrompt() {
    switch (m_service.source()) {
    case SpotSource::Tnc:
        m_prompt->setText(QStringLiteral("Send text  (Ctrl C or Esc for TNC Command mode):"));
        break;
    case SpotSource::Agw:
        m_prompt->setText(QStringLiteral("Send text (use : to send cmds such as :C Varkel or :D)"));
        break;
    case SpotSource::Telnet:
        m_prompt->setText(QStringLiteral("Type text to send and press enter:"));
        break;
    case SpotSource::None:
    case SpotSource::Unset:
        m_prompt->setText(QString());
        break;
    }
}

} // namespace corvane::spots
