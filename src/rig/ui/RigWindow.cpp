#include "rig/ui/RigWindow.h"

#include "bandplan/BandPlan.h"
#include "core/DurableFile.h"
#include "platform/Dialogs.h"
#include "rig/HexText.h"
#include "rig/RigFrequency.h"
#include "rig/RigModels.h"
#include "rig/ui/RigLink.h"
#include "ui/FormScaler.h"
#include "ui/PortDeviceField.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QShowEvent>
#include <QTextEdit>
#include <array>
#include <memory>

namespace corvane::rig {

namespace {

constexpr TwipRect kDesign{0, 0, 9300, 7200};
constexpr double kFont = 8.25;

constexpr std::array<std::string_view, 9> kBauds = {"1200",  "2400",  "4800",  "9600", "14400",
                                                    "19200", "28800", "38400", "56000"};
constexpr std::array<char, 3> kParities = {'O', 'N', 'E'};
constexpr std::array<char, 2> kDataBits = {'7', '8'};
constexpr std::array<char, 2> kStopBits = {'1', '2'};
constexpr std::array<PowerLine, 3> kPowers = {PowerLine::None, PowerLine::Rts, PowerLine::Dtr};
constexpr std::array<PollRate, 4> kPollRates = {PollRate::Fast, PollRate::Medium, PollRate::Slow, PollRate::Rare};
constexpr std::array<ModeSource, 3> kModeSources = {ModeSource::Rig, ModeSource::Frequency, ModeSource::DontUse};
constexpr std::string_view kNoResponse = "No Response";
constexpr std::string_view kBadPortTitle = "Invalid rigctld Port";
constexpr std::string_view kNotPollingTitle = "You must be polling your rig to test this function.";
constexpr std::string_view kNotPollingText = "You must be polling your rig to test this function.  Please select your "
                                             "rig type and click the Test command button.";

QString latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}
std::string bytesOf(const QString& text) {
    return text.toLatin1().toStdString();
}

template <typename Array, typename Value> int indexOf(const Array& values, const Value& value) {
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (values[i] == value) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void check(QButtonGroup* group, int index) {
    if (QAbstractButton* option = group->button(index)) {
        option->setChecked(true);
    }
}

} // namespace

RigWindow::RigWindow(Dialogs& dialogs, RigLink& link, Hooks hooks, QWidget* parent)
    : QDialog(parent, Qt::Window), m_dialogs(dialogs), m_link(link), m_hooks(std::move(hooks)) {
    setObjectName(QStringLiteral("RigControlfrm"));
    setWindowTitle(QStringLiteral(" Rig Interface Setup"));
    m_loading = true;

    addLabel(QStringLiteral("Select Rig:"), 120, 80, 2200);
    m_models = new QListWidget(this);
    m_models->setObjectName(QStringLiteral("List1"));
    m_models->setAccessibleName(QStringLiteral("Rig model"));
    m_models->setAccessibleDescription(QStringLiteral("The radio the program reads and tunes; a click chooses it."));
    FormScaler::place(m_models, {120, 380, 2200, 2950}, kFont);
    connect(m_models, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        if (!m_loading && item != nullptr) {
            selectModel(item->text());
        }
    });

    std::vector<QString> bauds;
    for (auto baud : kBauds) {
        bauds.push_back(latin1(baud));
    }
    m_baud = addOptions("fraBaud", QStringLiteral("Baud"), "optBaud", bauds, 2450, 80, 1250);
    m_parity = addOptions("fraParity", QStringLiteral("Parity"), "optParity",
                          {QStringLiteral("Odd"), QStringLiteral("None"), QStringLiteral("Even")}, 3800, 80, 1250);
    m_dataBits = addOptions("fraDataBits", QStringLiteral("Data Bits"), "optDataBits",
                            {QStringLiteral("7"), QStringLiteral("8")}, 3800, 1200, 1250);
    m_stopBits = addOptions("fraStopBits", QStringLiteral("Stop Bits"), "optStopBits",
                            {QStringLiteral("1"), QStringLiteral("2")}, 3800, 2070, 1250);
    std::vector<QString> ports;
    for (int i = 1; i <= 10; ++i) {
        ports.push_back(QStringLiteral("Com %1").arg(i));
    }
    // A row below the port options shows the device the chosen port stands for.
    m_port = addOptions("fraPort", QStringLiteral("Port"), "optPort", ports, 5150, 80, 2060, 2, 1);
    if (m_hooks.settings != nullptr) {
        auto* frame = findChild<QGroupBox*>(QStringLiteral("fraPort"));
        m_portDevice = new PortDeviceField(*m_hooks.settings, frame);
        m_portDevice->setObjectName(QStringLiteral("txtRigDevice"));
        m_portDevice->setAccessibleName(QStringLiteral("Rig port device"));
        FormScaler::place(m_portDevice, {100, 1530, 1700, 300}, kFont);
        // Follows the option checked, however it came to be checked: a click, the keyboard, a
        // screen reader's toggle action or the settings being shown.
        connect(m_port, &QButtonGroup::idToggled, m_portDevice, [this](int id, bool checked) {
            if (checked) {
                m_portDevice->setPort(id + 1);
            }
        });
    }
    m_power = addOptions("fraPower", QStringLiteral("Power Interface"), "optPower",
                         {QStringLiteral("None"), QStringLiteral("Raise RTS"), QStringLiteral("Raise DTR")}, 5150, 1970,
                         1900);
    m_poll = addOptions(
        "fraPoll", QStringLiteral("Poll Rate"), "optPoll",
        {QStringLiteral("100 ms"), QStringLiteral("500 ms"), QStringLiteral("2 Sec"), QStringLiteral("10 Sec")}, 7280,
        80, 1870);
    m_modeBy =
        addOptions("fraModeBy", QStringLiteral("Mode by:"), "optModeBy",
                   {QStringLiteral("Rig"), QStringLiteral("Frequency"), QStringLiteral("Don't Use")}, 7280, 1470, 1870);
    m_useFrequency = addCheck("chkUseFreq", QStringLiteral("Use Frequency"), 7280, 2620, 1870);

    addLabel(QStringLiteral("String to read frequency:"), 2450, 2920, 2600);
    m_freqCommand = new QLineEdit(this);
    m_freqCommand->setObjectName(QStringLiteral("txtFreq"));
    m_freqCommand->setAccessibleName(QStringLiteral("String to read frequency"));
    m_freqCommand->setAccessibleDescription(QStringLiteral("The command that asks the radio for its frequency."));
    FormScaler::place(m_freqCommand, {2450, 3200, 3300, 330}, kFont);
    addLabel(QStringLiteral("String to read mode:"), 2450, 3550, 3000);
    m_modeCommand = new QLineEdit(this);
    m_modeCommand->setObjectName(QStringLiteral("txtMode"));
    m_modeCommand->setAccessibleName(QStringLiteral("String to read mode"));
    m_modeCommand->setAccessibleDescription(QStringLiteral("The command that asks the radio for its mode."));
    FormScaler::place(m_modeCommand, {2450, 3830, 3300, 330}, kFont);
    m_toHex = addCheck("chkHex", QStringLiteral("Convert to Hex"), 5900, 3220, 1900);
    m_fromHex = addCheck("chkFromHex", QStringLiteral("Convert from Hex"), 5900, 3850, 1900);
    for (QLineEdit* box : {m_freqCommand, m_modeCommand}) {
        box->installEventFilter(this);
    }
    connect(m_freqCommand, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_link.settings().frequencyCommand = bytesOf(text); });
    connect(m_modeCommand, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_link.settings().modeCommand = bytesOf(text); });
    connect(m_toHex, &QCheckBox::toggled, this, [this](bool on) {
        m_link.settings().convertToHex = on;
        m_fromHex->setChecked(on);
    });
    connect(m_useFrequency, &QCheckBox::toggled, this, [this](bool on) { m_link.settings().useFrequency = on; });

    m_icomNote = addLabel(latin1(kIcomNote), 2450, 4200, 6700, 420);
    m_icomNote->setObjectName(QStringLiteral("lblIcomNote"));
    m_icomNote->setWordWrap(true);
    m_icomNote->hide();

    // What the radio answered, under the model list.
    addLabel(QStringLiteral("Frequency:"), 120, 3440, 950);
    m_frequency = addLabel(QString(), 1100, 3420, 1220, 300);
    m_frequency->setObjectName(QStringLiteral("lblFreq"));
    addLabel(QStringLiteral("Mode:"), 120, 3790, 950);
    m_mode = addLabel(QString(), 1100, 3770, 1220, 300);
    m_mode->setObjectName(QStringLiteral("lblMode"));
    m_polling = addLabel(QStringLiteral("Polling Rig"), 120, 4140, 2200);
    m_polling->setObjectName(QStringLiteral("lblPolling"));
    m_polling->setStyleSheet(QStringLiteral("color: red; font-weight: bold;"));
    m_polling->hide();
    for (QLabel* display : {m_frequency, m_mode}) {
        display->setFrameShape(QFrame::Panel);
        display->setFrameShadow(QFrame::Sunken);
    }

    addLabel(QStringLiteral("Unprocessed data returned:"), 120, 4705, 2300);
    m_unprocessed = new QLineEdit(this);
    m_unprocessed->setObjectName(QStringLiteral("txtUnprocessed"));
    m_unprocessed->setReadOnly(true);
    m_unprocessed->setAccessibleName(QStringLiteral("Unprocessed data returned"));
    m_unprocessed->setAccessibleDescription(QStringLiteral("The radio's last answer as it came, before decoding."));
    FormScaler::place(m_unprocessed, {2450, 4685, 3150, 330}, kFont);
    connect(addButton("cmdCopy", QStringLiteral("Copy unprocessed data to clipboard"), 5750, 4660, 3430),
            &QPushButton::clicked, this, &RigWindow::copyUnprocessed);

    // The Pegasus files and the rigctld address share a row: each model uses one of them.
    addLabel(QStringLiteral("Pegasus folder:"), 120, 5130, 1300);
    m_pegasusFolder = new QLineEdit(this);
    m_pegasusFolder->setObjectName(QStringLiteral("txtPegasusFolder"));
    m_pegasusFolder->setAccessibleName(QStringLiteral("Pegasus exchange folder"));
    m_pegasusFolder->setAccessibleDescription(
        QStringLiteral("The folder where the Pegasus radio's program and this one exchange files."));
    FormScaler::place(m_pegasusFolder, {1450, 5100, 2900, 330}, kFont);
    addLabel(QStringLiteral("rigctld host:"), 4480, 5130, 1200);
    m_rigctldHost = new QLineEdit(this);
    m_rigctldHost->setObjectName(QStringLiteral("txtRigctldHost"));
    m_rigctldHost->setAccessibleName(QStringLiteral("rigctld host"));
    m_rigctldHost->setAccessibleDescription(QStringLiteral("The computer rigctld runs on, by name or address."));
    m_rigctldHost->setMaxLength(static_cast<int>(kMaxRigctldHostLength));
    FormScaler::place(m_rigctldHost, {5700, 5100, 1950, 330}, kFont);
    addLabel(QStringLiteral("Port:"), 7760, 5130, 500);
    m_rigctldPort = new QLineEdit(this);
    m_rigctldPort->setObjectName(QStringLiteral("txtRigctldPort"));
    m_rigctldPort->setAccessibleName(QStringLiteral("rigctld TCP port"));
    m_rigctldPort->setAccessibleDescription(QStringLiteral("The TCP port rigctld listens on, 4532 unless set."));
    m_rigctldPort->setMaxLength(5);
    m_rigctldPort->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), m_rigctldPort));
    FormScaler::place(m_rigctldPort, {8280, 5100, 900, 330}, kFont);

    connect(addButton("cmdTest", QStringLiteral("Test"), 120, 5490, 1400), &QPushButton::clicked, this,
            &RigWindow::test);
    m_endTest = addButton("cmdEndTest", QStringLiteral("End Test"), 1650, 5490, 1400);
    m_endTest->setEnabled(false);
    connect(m_endTest, &QPushButton::clicked, this, &RigWindow::endTest);
    connect(addButton("cmdChangeFreq", QStringLiteral("Change Frequency"), 3180, 5490, 2200), &QPushButton::clicked,
            this, &RigWindow::changeFrequencyButton);
    m_done = addButton("cmdDone", QStringLiteral("&Done"), 7780, 5490, 1400);
    connect(m_done, &QPushButton::clicked, this, &RigWindow::done);

    // The link's news across the whole window, room for five lines: a missing device or an
    // unreachable daemon is named in full, a long path broken wherever it must be. It ends
    // clear of the bottom edge, which a window frame may take.
    m_status = new QTextEdit(this);
    m_status->setObjectName(QStringLiteral("txtStatus"));
    m_status->setAccessibleName(QStringLiteral("Rig link status"));
    m_status->setAccessibleDescription(QStringLiteral("What the link to the radio is doing, and why it failed."));
    m_status->setReadOnly(true);
    m_status->setFrameShape(QFrame::NoFrame);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_status->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_status->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_status->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_status->document()->setDocumentMargin(0);
    m_status->viewport()->setAutoFillBackground(false);
    m_status->setStyleSheet(QStringLiteral("QTextEdit { background: transparent; }"));
    FormScaler::place(m_status, {120, 5930, 9060, 950}, kFont);

    // Any click on a line, port, power or poll option ends a test; the mode source clears the mode.
    // A screen reader's toggle action checks an option without a click: it counts as one.
    for (QButtonGroup* group : {m_baud, m_parity, m_dataBits, m_stopBits, m_port, m_power, m_poll}) {
        connect(group, &QButtonGroup::buttonClicked, this, [this] {
            endTest();
            takeOptions();
        });
        connect(group, &QButtonGroup::idToggled, this, [this](int, bool checked) {
            if (checked && !m_loading) {
                endTest();
                takeOptions();
            }
        });
    }
    connect(m_modeBy, &QButtonGroup::buttonClicked, this, [this] {
        takeOptions();
        m_mode->setText(latin1(kNoResponse));
        m_link.state().mode.clear();
    });

    connect(&m_link, &RigLink::replyRead, this, &RigWindow::refreshDisplays);
    connect(&m_link, &RigLink::pollingChanged, this, &RigWindow::pollingChanged);
    connect(&m_link, &RigLink::statusChanged, this, [this](const QString& text) { m_status->setPlainText(text); });
    connect(&m_link, &RigLink::readingLost, this, &RigWindow::readingLost);

    m_loading = false;
    FormScaler::scale(this, ScaleVariant::WorkAreaCapped, kDesign);
}

RigWindow::~RigWindow() = default;

QLabel* RigWindow::addLabel(const QString& text, double left, double top, double width, double height,
                            QWidget* parent) {
    auto* label = new QLabel(text, parent != nullptr ? parent : this);
    FormScaler::place(label, {left, top, width, height}, kFont);
    return label;
}

QPushButton* RigWindow::addButton(const char* name, const QString& caption, double left, double top, double width) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    FormScaler::place(button, {left, top, width, 380}, kFont);
    return button;
}

QCheckBox* RigWindow::addCheck(const char* name, const QString& caption, double left, double top, double width) {
    auto* box = new QCheckBox(caption, this);
    box->setObjectName(QString::fromLatin1(name));
    FormScaler::place(box, {left, top, width, 300}, kFont);
    return box;
}

QButtonGroup* RigWindow::addOptions(const char* frameName, const QString& title, const char* optionPrefix,
                                    const std::vector<QString>& captions, double left, double top, double width,
                                    int columns, int extraRows) {
    auto* frame = new QGroupBox(title, this);
    frame->setObjectName(QString::fromLatin1(frameName));
    const int rows =
        static_cast<int>((captions.size() + static_cast<std::size_t>(columns) - 1) / static_cast<std::size_t>(columns));
    FormScaler::place(frame, {left, top, width, 330.0 + (rows + extraRows) * 250.0}, kFont);
    auto* group = new QButtonGroup(this);
    const double columnWidth = (width - 160) / columns;
    for (std::size_t i = 0; i < captions.size(); ++i) {
        auto* option = new QRadioButton(captions[i], frame);
        option->setObjectName(QStringLiteral("%1%2").arg(QString::fromLatin1(optionPrefix)).arg(i));
        // Read with its frame's title: "Parity None" and "Power Interface None" differ.
        option->setAccessibleName(title + QLatin1Char(' ') + captions[i]);
        const int row = static_cast<int>(i) % rows;
        const int column = static_cast<int>(i) / rows;
        FormScaler::place(option, {100 + column * columnWidth, 270.0 + row * 250.0, columnWidth - 20, 240}, kFont);
        group->addButton(option, static_cast<int>(i));
    }
    return group;
}

// ---------------------------------------------------------------- load and the controls

std::string RigWindow::settingsPath() const {
    return m_hooks.workingDirectory + "/" + std::string(kRigSettingsFile);
}

void RigWindow::load() {
    m_loading = true;
    m_models->clear();
    for (const RigModel& row : rigModels()) {
        m_models->addItem(latin1(row.name));
    }
    // A missing or unreadable file leaves the window's defaults and SelectedRig as they were.
    RigLinkSettings& settings = m_link.settings();
    if (const auto bytes = readWholeFile(settingsPath())) {
        const RigSettingsReadResult read = parseRigSettings(*bytes, settings);
        const std::string before = settings.model;
        settings = read.settings;
        if (!read.modelRead) {
            settings.model = before;
        }
    }
    if (m_hooks.selectedRigChanged) {
        m_hooks.selectedRigChanged(settings.model);
    }
    showSettings();
    m_icomNote->setVisible(settings.model == "Icom");
    const RigModel* row = findRigModel(settings.model);
    setHexBox(row != nullptr && row->hexBoxEnabled, settings.convertToHex);
    m_pegasusFolder->setText(latin1(m_hooks.pegasusFolder ? m_hooks.pegasusFolder() : std::string()));

    // The "E" rows of the band plan pick the mode when the radio is tuned; a missing or damaged
    // file keeps what was read before the fault, so tuning then leaves the mode alone.
    std::vector<bandplan::BandPlanRow> rows;
    if (const auto plan = readWholeFile(m_hooks.workingDirectory + "/" + std::string(bandplan::kBandPlanFile))) {
        rows = bandplan::parseExtraRows(*plan).rows;
    }
    auto shared = std::make_shared<std::vector<bandplan::BandPlanRow>>(std::move(rows));
    m_link.setModeRows([shared](float frequencyMHz) { return bandplan::modeFromBandPlan(*shared, frequencyMHz); });
    m_link.state().kenwoodVfo = 10;
    m_loading = false;
}

void RigWindow::showSettings() {
    const bool wasLoading = m_loading;
    m_loading = true;
    const RigLinkSettings& s = m_link.settings();
    for (int i = 0; i < m_models->count(); ++i) {
        if (bytesOf(m_models->item(i)->text()) == s.model) {
            m_models->setCurrentRow(i);
        }
    }
    check(m_baud, indexOf(kBauds, std::string_view(s.baud)));
    check(m_parity, indexOf(kParities, s.parity));
    check(m_dataBits, indexOf(kDataBits, s.dataBits));
    check(m_stopBits, indexOf(kStopBits, s.stopBits));
    check(m_port, s.port - 1);
    if (m_portDevice != nullptr) {
        m_portDevice->setPort(s.port);
    }
    check(m_power, indexOf(kPowers, s.power));
    check(m_poll, indexOf(kPollRates, s.pollRate));
    check(m_modeBy, indexOf(kModeSources, s.modeSource));
    m_freqCommand->setText(latin1(s.frequencyCommand));
    m_modeCommand->setText(latin1(s.modeCommand));
    m_useFrequency->setChecked(s.useFrequency);
    m_rigctldHost->setText(latin1(s.rigctldHost));
    m_rigctldPort->setText(QString::number(s.rigctldPort));
    m_loading = wasLoading;
}

// The selected options into the settings; a group with nothing selected leaves its field.
void RigWindow::takeOptions() {
    RigLinkSettings& s = m_link.settings();
    if (const int i = m_baud->checkedId(); i >= 0) {
        s.baud = std::string(kBauds[static_cast<std::size_t>(i)]);
    }
    if (const int i = m_parity->checkedId(); i >= 0) {
        s.parity = kParities[static_cast<std::size_t>(i)];
    }
    if (const int i = m_dataBits->checkedId(); i >= 0) {
        s.dataBits = kDataBits[static_cast<std::size_t>(i)];
    }
    if (const int i = m_stopBits->checkedId(); i >= 0) {
        s.stopBits = kStopBits[static_cast<std::size_t>(i)];
    }
    if (const int i = m_port->checkedId(); i >= 0) {
        s.port = i + 1;
    }
    if (const int i = m_power->checkedId(); i >= 0) {
        s.power = kPowers[static_cast<std::size_t>(i)];
    }
    if (const int i = m_poll->checkedId(); i >= 0) {
        s.pollRate = kPollRates[static_cast<std::size_t>(i)];
    }
    if (const int i = m_modeBy->checkedId(); i >= 0) {
        s.modeSource = kModeSources[static_cast<std::size_t>(i)];
    }
}

bool RigWindow::takeRigctldAddress() {
    RigLinkSettings& s = m_link.settings();
    if (const QString host = m_rigctldHost->text().trimmed(); !host.isEmpty()) {
        s.rigctldHost = bytesOf(host);
    }
    m_rigctldHost->setText(latin1(s.rigctldHost)); // an empty field shows the host still used
    const QString typed = m_rigctldPort->text();
    if (const auto port = parseRigctldPort(bytesOf(typed))) {
        s.rigctldPort = *port;
        m_rigctldPort->setText(QString::number(*port));
        return true;
    }
    m_rigctldPort->setText(QString::number(s.rigctldPort));
    m_dialogs.message(this, latin1(kBadPortTitle),
                      QStringLiteral("The rigctld TCP port must be a whole number from 1 to 65535; \"%1\" cannot be "
                                     "used. Port %2 stays in use: correct it and press the button again.")
                          .arg(typed, QString::number(s.rigctldPort)),
                      MsgButtons::Ok, MsgIcon::Warning);
    return false;
}

void RigWindow::setHexBox(bool enabled, bool checked) {
    m_toHex->setEnabled(enabled);
    m_toHex->setChecked(checked);
    m_link.settings().convertToHex = checked;
}

void RigWindow::selectModel(const QString& name) {
    const RigModel* row = findRigModel(bytesOf(name));
    if (row == nullptr) {
        return;
    }
    endTest();
    RigLinkSettings& s = m_link.settings();
    takeOptions();
    s.model = std::string(row->name);
    if (m_hooks.selectedRigChanged) {
        m_hooks.selectedRigChanged(s.model);
    }
    s.frequencyCommand = std::string(row->frequencyCommand);
    s.modeCommand = std::string(row->modeCommand);
    if (row->line.baud) {
        s.baud = std::string(*row->line.baud);
    }
    if (row->line.dataBits) {
        s.dataBits = *row->line.dataBits;
    }
    if (row->line.stopBits) {
        s.stopBits = *row->line.stopBits;
    }
    if (row->line.parity) {
        s.parity = *row->line.parity;
    }
    showSettings();
    setHexBox(row->hexBoxEnabled, row->convertToHex);
    m_icomNote->setVisible(row->icomNote);
}

bool RigWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn && (watched == m_freqCommand || watched == m_modeCommand)) {
        endTest();
    }
    return QDialog::eventFilter(watched, event);
}

// ---------------------------------------------------------------- Test, End Test, Done

bool RigWindow::test() {
    if (!takeRigctldAddress()) {
        return false;
    }
    const bool rig = m_link.settings().model != kNoRig;
    if (rig) {
        m_frequency->setText(latin1(kNoResponse));
        m_mode->setText(latin1(kNoResponse));
        m_endTest->setEnabled(true);
        m_polling->show();
    }
    takeOptions();
    if (m_hooks.setPegasusFolder) {
        m_hooks.setPegasusFolder(bytesOf(m_pegasusFolder->text()));
    }
    if (!rig) {
        return false;
    }
    const bool polling = m_link.test();
    if (!polling) {
        m_endTest->setEnabled(false);
        m_polling->hide();
    }
    return polling;
}

void RigWindow::endTest() {
    m_frequency->clear();
    m_mode->clear();
    m_unprocessed->clear();
    m_link.endTest();
    m_polling->hide();
    m_endTest->setEnabled(false);
}

void RigWindow::done() {
    if (!takeRigctldAddress()) {
        return; // the window stays open with the port to correct; nothing is saved
    }
    if (m_link.settings().model != kNoRig) {
        test();
    } else {
        takeOptions();
    }
    if (m_hooks.setPegasusFolder) {
        m_hooks.setPegasusFolder(bytesOf(m_pegasusFolder->text()));
    }
    if (m_hooks.savePreferences) {
        m_hooks.savePreferences();
    }
    const FileResult written = replaceAtomically(settingsPath(), formatRigSettings(m_link.settings()));
    m_saveOk = written.ok;
    if (!written.ok) {
        m_dialogs.message(this, QStringLiteral("Unable to write file."), latin1(settingsPath() + "  " + written.error),
                          MsgButtons::Ok, MsgIcon::Warning);
        return; // the window stays, so the settings are not lost
    }
    hide();
}

void RigWindow::changeFrequencyButton() {
    if (!m_link.active()) {
        m_dialogs.message(this, latin1(kNotPollingTitle), latin1(kNotPollingText), MsgButtons::Ok,
                          MsgIcon::Information);
        return;
    }
    if (m_hooks.runTester) {
        m_hooks.runTester();
    }
}

void RigWindow::copyUnprocessed() {
    QApplication::clipboard()->setText(m_unprocessed->text());
    m_done->setFocus();
}

// ---------------------------------------------------------------- displays

void RigWindow::refreshDisplays() {
    if (!isVisible()) {
        return;
    }
    const PollState& state = m_link.state();
    if (state.frequencyMHz > 0) {
        m_frequency->setText(latin1(frequencyDisplayText(state.frequencyMHz)));
    }
    m_mode->setText(latin1(state.mode));
    const std::string& reply = m_link.lastReply();
    m_unprocessed->setText(latin1(m_fromHex->isChecked() ? hexDump(reply) : reply));
}

void RigWindow::readingLost() {
    // The link lost the radio, or the radio stopped answering: what it said last goes.
    const QString shown = m_link.active() ? latin1(kNoResponse) : QString();
    m_frequency->setText(shown);
    m_mode->setText(shown);
}

void RigWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    showReading();
}

// The displays as the link stands now: readings that came while the window was hidden, or
// "No Response" when there is none.
void RigWindow::showReading() {
    if (!m_link.active()) {
        return; // End Test or a lost port left them cleared
    }
    const PollState& state = m_link.state();
    if (!m_link.haveReading()) {
        m_frequency->setText(latin1(kNoResponse));
        m_mode->setText(latin1(kNoResponse));
    } else {
        m_frequency->setText(state.frequencyMHz > 0 ? latin1(frequencyDisplayText(state.frequencyMHz))
                                                    : latin1(kNoResponse));
        m_mode->setText(latin1(state.mode));
    }
    const std::string& reply = m_link.lastReply();
    m_unprocessed->setText(latin1(m_fromHex->isChecked() ? hexDump(reply) : reply));
}

void RigWindow::pollingChanged(bool polling) {
    if (!polling && !m_link.busy()) {
        m_polling->hide();
        m_endTest->setEnabled(false);
    } else if (polling) {
        m_polling->show();
        m_endTest->setEnabled(true);
    }
}

} // namespace corvane::rig
