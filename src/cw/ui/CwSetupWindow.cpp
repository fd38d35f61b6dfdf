#include "cw/ui/CwSetupWindow.h"

#include "core/NumberText.h"
#include "cw/CwTiming.h"
#include "cw/MorseTable.h"
#include "cw/ui/CodePracticeWindow.h"
#include "cw/ui/CwController.h"
#include "platform/Dialogs.h"
#include "platform/parallel/ParallelPort.h"
#include "ui/AppContext.h"
#include "ui/FormScaler.h"
#include "ui/KeyText.h"
#include "ui/PortDeviceField.h"
#include "ui/WidgetText.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>

namespace corvane::cw {

namespace {

// The controls are laid out on an 11000 x 7300 grid and drawn onto the 9600 x 7200 design
// canvas (less the title bar), so that the window fits the screen it is scaled to.
constexpr double kLayoutWidth = 11000;
constexpr double kLayoutHeight = 7300;
constexpr TwipRect kDesign{0, 0, 9480, 6840};
constexpr double kFont = 7.5;

void placeOnCanvas(QWidget* control, const TwipRect& layout, double fontPoints) {
    const double fx = kDesign.width / kLayoutWidth;
    const double fy = kDesign.height / kLayoutHeight;
    FormScaler::place(control, {layout.left * fx, layout.top * fy, layout.width * fx, layout.height * fy}, fontPoints);
}
constexpr double kRow = 400;

std::string bytesOf(const QString& text) {
    return text.toLatin1().toStdString();
}

} // namespace

CwSetupWindow::CwSetupWindow(CwController& controller, QWidget* parent)
    : QDialog(parent, Qt::Window), m_cw(controller) {
    setObjectName(QStringLiteral("CWFrm"));
    setWindowTitle(QString::fromLatin1(kTitle));
    m_filling = true; // building: no control reports to the controller yet

    // The messages F1 .. F11.
    static constexpr const char* kNames[kMessageCount] = {"Text1", "Text2", "Text3", "Text4",  "Text5", "Text6",
                                                          "Text7", "Text8", "Text9", "Text12", "Text13"};
    for (int i = 0; i < kMessageCount; ++i) {
        const double top = 240 + i * kRow;
        addLabel(QStringLiteral("F%1").arg(i + 1), 120, top, 420);
        QLineEdit* field = addField(kNames[i], QString(), 600, top, 5000);
        nameControl(field, QStringLiteral("F%1 message").arg(i + 1),
                    QStringLiteral("What F%1 sends in CW. $ stands for the call, * for the RST, # for the number; a ! "
                                   "enters the contact.")
                        .arg(i + 1));
        m_messages[static_cast<std::size_t>(i)] = field;
        connect(field, &QLineEdit::textEdited, this, [this, field, i](const QString& text) {
            const QString upper = capitals(text);
            if (upper != text) {
                const int cursor = field->cursorPosition();
                field->setText(upper);
                field->setCursorPosition(cursor);
            }
            m_cw.sender().settings().messages[static_cast<std::size_t>(i)] = bytesOf(upper);
        });
    }
    addLabel(QStringLiteral("[ AR     \\ CL     ] SK     ; KN     = BT"), 120, 240 + 11 * kRow, 5400);
    addLabel(QStringLiteral("Loop (Sec)"), 120, 5050, 1000);
    m_repeat = addField("txtCWLoop", QStringLiteral("0"), 1200, 5050, 700);
    nameControl(m_repeat, QStringLiteral("Loop seconds"),
                QStringLiteral("The pause in seconds before F1 is sent again; 0 sends it once."));
    m_repeat->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9.]*")), m_repeat));
    m_display = new QCheckBox(QStringLiteral("Display CW text on main form (NA for WinKey)."), this);
    m_display->setObjectName(QStringLiteral("Check1"));
    m_display->setChecked(true);
    placeOnCanvas(m_display, {120, 5420, 5400, 300}, kFont);
    connect(m_display, &QCheckBox::toggled, this, [this](bool on) { m_cw.sender().settings().displayText = on; });
    // Runs on under the right-hand column, which leaves this height free. The last line ends
    // clear of the strip the window manager's frame takes off the window's height.
    addLabel(QStringLiteral("Wildcards are $ for Call, * for RST  and # for Number (where applicable)."), 120, 5780,
             7000);
    addLabel(QStringLiteral("A ! in the string enters the contact."), 120, 6060, 5500);
    addLabel(QStringLiteral("You must be in CW mode."), 120, 6340, 5500);
    addLabel(QStringLiteral("Up / Down arrows on main form change speed."), 120, 6600, 5500);

    // Keying options.
    addLabel(QStringLiteral("Keying Options"), 6000, 240, 2000);
    addLabel(QStringLiteral("Serial"), 6000, 560, 1000);
    m_optRts = addOption("optRTS", QStringLiteral("RTS"), 6000, 860, 900);
    m_optDtr = addOption("optDTR", QStringLiteral("DTR"), 6900, 860, 900);
    addLabel(QStringLiteral("Port"), 7900, 860, 500);
    m_port = addField("Text10", QStringLiteral("0"), 8400, 860, 600);
    nameControl(m_port, QStringLiteral("Keying serial port number"),
                QStringLiteral("The serial port whose RTS or DTR line keys the transmitter."));
    m_port->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), m_port));
    connect(m_port, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!m_filling) {
            m_cw.sender().settings().serialPort = bytesOf(text);
        }
    });
    // The device the keying port number stands for; typing another one there maps the number to it.
    m_serialDevice = new PortDeviceField(m_cw.context().settings, this);
    m_serialDevice->setObjectName(QStringLiteral("txtSerialDevice"));
    m_serialDevice->setEditable(true);
    m_serialDevice->setAccessibleName(QStringLiteral("Keying serial device"));
    m_serialDevice->installEventFilter(this);
    placeOnCanvas(m_serialDevice, {9100, 860, 1800, 330}, kFont);
    m_serialDevice->follow(m_port);
    addLabel(QStringLiteral("Parallel"), 6000, 1260, 1000);
    m_optPrinter = addOption("optPrinter", QStringLiteral("Printer"), 6000, 1560, 1000);
    addLabel(QStringLiteral("Address"), 7100, 1560, 800);
    m_address = addField("Text14", QStringLiteral("&H378"), 7900, 1560, 800);
    nameControl(m_address, QStringLiteral("Printer port address"),
                QStringLiteral("The parallel port's address, as &H378, that keys the transmitter."));
    m_parallelDevice = addLabel(QString(), 8800, 1560, 2100);
    m_parallelDevice->setObjectName(QStringLiteral("lblParallelDevice"));
    connect(m_address, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!m_filling) {
            m_cw.setPrinterAddress(text);
        }
        const auto base = parseParallelAddress(bytesOf(text));
        const std::string device = base ? parportDeviceFor(*base) : std::string();
        m_parallelDevice->setText(device.empty() ? QStringLiteral("(no device)") : QString::fromStdString(device));
    });
    m_optNone = addOption("optNone", QStringLiteral("None"), 6000, 1960, 900);
    m_optWinKey = addOption("optWinKey", QStringLiteral("WinKey"), 6900, 1960, 1000);
    m_configureWinKey = addButton("cmdConfigureWinkey", QStringLiteral("Configure Winkey"), 8000, 1920, 1800);
    m_configureWinKey->hide();
    connect(m_configureWinKey, &QPushButton::clicked, this, [this] { m_cw.showWinKeyerWindow(); });
    const std::pair<QRadioButton*, KeyingOption> options[] = {{m_optNone, KeyingOption::None},
                                                              {m_optRts, KeyingOption::Rts},
                                                              {m_optDtr, KeyingOption::Dtr},
                                                              {m_optPrinter, KeyingOption::Printer},
                                                              {m_optWinKey, KeyingOption::WinKey}};
    auto* keyingGroup = new QButtonGroup(this);
    for (const auto& [button, option] : options) {
        keyingGroup->addButton(button);
        connect(button, &QRadioButton::toggled, this, [this, option = option](bool on) {
            if (on && !m_filling) {
                m_cw.selectKeyingOption(option);
            }
        });
    }
    m_optNone->setChecked(true);

    QPushButton* testButton = addButton("cmdTest", QStringLiteral("&Test"), 6000, 2850, 1000);
    connect(testButton, &QPushButton::clicked, this, &CwSetupWindow::test);
    m_sending = addLabel(QStringLiteral("Sending!"), 7100, 2900, 1200);
    m_sending->setObjectName(QStringLiteral("lblSending"));
    m_sending->hide();
    addLabel(QStringLiteral("No sidetone is made here: Test keys the transmitter."), 8300, 2900, 2600, 400)
        ->setWordWrap(true);

    // Speed and word space.
    addLabel(QStringLiteral("WPM"), 6000, 3400, 1100);
    m_speed = addField("Text11", QStringLiteral("13"), 7100, 3400, 600);
    nameControl(m_speed, QStringLiteral("CW speed in words per minute"),
                QStringLiteral("Faster and Slower, or the arrow keys in the main window, change it by one."));
    m_speed->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), m_speed));
    connect(m_speed, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!m_filling) {
            m_cw.sender().settings().speedWpm = bytesOf(text);
            m_cw.sender().timingChanged();
        }
    });
    connect(addButton("cmdFaster", QStringLiteral("Faster"), 7800, 3360, 900), &QPushButton::clicked, this,
            [this] { stepSpeed(1); });
    connect(addButton("cmdSlower", QStringLiteral("Slower"), 8800, 3360, 900), &QPushButton::clicked, this,
            [this] { stepSpeed(-1); });
    addLabel(QStringLiteral("Word Space"), 6000, 3800, 1100);
    m_wordSpace = addField("txtSpace", QStringLiteral("0"), 7100, 3800, 600);
    nameControl(m_wordSpace, QStringLiteral("Extra word space"),
                QStringLiteral("Added to the space between words, in dot lengths; More and Less change it."));
    m_wordSpace->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[-./0-9]*")), m_wordSpace));
    connect(m_wordSpace, &QLineEdit::textChanged, this, [this] { wordSpaceChanged(); });
    connect(addButton("cmdMore", QStringLiteral("More"), 7800, 3760, 900), &QPushButton::clicked, this,
            [this] { stepWordSpace(1); });
    connect(addButton("cmdLess", QStringLiteral("Less"), 8800, 3760, 900), &QPushButton::clicked, this,
            [this] { stepWordSpace(-1); });

    // Timing options.
    addLabel(QStringLiteral("Timing Options: "), 6000, 4250, 2000);
    m_optTimer = addOption("optTimer", QStringLiteral("Timer"), 6000, 4550, 900);
    m_optLoop = addOption("optLoop", QStringLiteral("Loop"), 6900, 4550, 900);
    m_optSleep = addOption("OptSleep", QStringLiteral("Sleep"), 7800, 4550, 900);
    m_optTimer->setToolTip(QStringLiteral("Times by Windows System time."));
    m_optSleep->setToolTip(QStringLiteral("Times by Windows System time."));
    m_optLoop->setToolTip(QStringLiteral("Times by a For Next loop."));
    auto* timingGroup = new QButtonGroup(this);
    for (QRadioButton* option : {m_optTimer, m_optLoop, m_optSleep}) {
        timingGroup->addButton(option);
    }
    addLabel(QStringLiteral("Timer is the preferred option on most systems. "), 6000, 4850, 4900);
    m_loopDelayLabel = addLabel(QStringLiteral("Loop Delay"), 6000, 5200, 1100);
    m_loopDelay = addField("txtLoop", QStringLiteral("0"), 7100, 5200, 1100);
    m_loopDelay->setToolTip(QStringLiteral("Loops per 60 ms"));
    nameControl(m_loopDelay, QStringLiteral("Loop delay"),
                QStringLiteral("Loops per 60 ms, for the Loop timing option; F and S tune it."));
    connect(m_loopDelay, &QLineEdit::textChanged, this, [this] { loopFieldChanged(); });
    m_loopFaster = addButton("cmdLoopFaster", QStringLiteral("F"), 8300, 5160, 450);
    m_loopFaster->setToolTip(QStringLiteral("Speed up CW"));
    m_loopFaster->setAccessibleName(QStringLiteral("Loop delay faster"));
    m_loopSlower = addButton("cmdLoopSlower", QStringLiteral("S"), 8800, 5160, 450);
    m_loopSlower->setToolTip(QStringLiteral("Slow Down CW"));
    m_loopSlower->setAccessibleName(QStringLiteral("Loop delay slower"));
    connect(m_loopFaster, &QPushButton::clicked, this, [this] { tuneLoop(true); });
    connect(m_loopSlower, &QPushButton::clicked, this, [this] { tuneLoop(false); });
    connect(m_optTimer, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            chooseTiming(0);
        }
    });
    connect(m_optLoop, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            chooseTiming(1);
        }
    });
    connect(m_optSleep, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            chooseTiming(2);
        }
    });

    QPushButton* practice = addButton("cmdCodePractice", QStringLiteral("Send Code Practice"), 6000, 6500, 2200);
    connect(practice, &QPushButton::clicked, this, &CwSetupWindow::openCodePractice);
    m_done = addButton("cmdDone", QStringLiteral("Done"), 9000, 6500, 1200);
    connect(m_done, &QPushButton::clicked, this, &CwSetupWindow::done);

    connect(&m_cw, &CwController::speedChanged, this, &CwSetupWindow::showSpeed);
    m_idle = m_cw.sender().addIdleListener([this] {
        if (m_sending->isVisible()) {
            m_sending->hide();
            if (isVisible()) {
                m_messages[0]->setFocus();
            }
        }
    });

    m_filling = false;
    showSettings();
    FormScaler::scale(this, ScaleVariant::WorkAreaCapped, kDesign);
}

QLineEdit* CwSetupWindow::addField(const char* name, const QString& text, double left, double top, double width) {
    auto* field = new QLineEdit(text, this);
    field->setObjectName(QString::fromLatin1(name));
    placeOnCanvas(field, {left, top, width, 330}, kFont);
    field->installEventFilter(this);
    return field;
}

QLabel* CwSetupWindow::addLabel(const QString& text, double left, double top, double width, double height) {
    auto* label = new QLabel(text, this);
    placeOnCanvas(label, {left, top, width, height}, kFont);
    return label;
}

QPushButton* CwSetupWindow::addButton(const char* name, const QString& caption, double left, double top, double width) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    placeOnCanvas(button, {left, top, width, 380}, kFont);
    return button;
}

QRadioButton* CwSetupWindow::addOption(const char* name, const QString& caption, double left, double top,
                                       double width) {
    auto* option = new QRadioButton(caption, this);
    option->setObjectName(QString::fromLatin1(name));
    placeOnCanvas(option, {left, top, width, 300}, kFont);
    return option;
}

void CwSetupWindow::showSettings() {
    m_filling = true;
    const CwSettings& s = m_cw.sender().settings();
    for (int i = 0; i < kMessageCount; ++i) {
        m_messages[static_cast<std::size_t>(i)]->setText(QString::fromLatin1(s.messages[static_cast<std::size_t>(i)]));
    }
    m_port->setText(QString::fromLatin1(s.serialPort));
    m_speed->setText(QString::fromLatin1(s.speedWpm));
    m_wordSpace->setText(QString::fromLatin1(s.wordSpace));
    m_address->setText(QString::fromLatin1(s.parallelAddress));
    m_display->setChecked(s.displayText);
    m_repeat->setText(QString::fromLatin1(s.repeatSeconds));
    const TimingMethod method = m_cw.sender().timingMethod();
    m_loopDelay->setText(QString::number(static_cast<long long>(m_cw.sender().loopOffset())));
    (method == TimingMethod::Loop    ? m_optLoop
     : method == TimingMethod::Sleep ? m_optSleep
                                     : m_optTimer)
        ->setChecked(true);
    const bool loop = method == TimingMethod::Loop;
    for (QWidget* w : {static_cast<QWidget*>(m_loopDelay), static_cast<QWidget*>(m_loopDelayLabel),
                       static_cast<QWidget*>(m_loopFaster), static_cast<QWidget*>(m_loopSlower)}) {
        w->setEnabled(loop);
    }
    showSerialDevice();
    m_filling = false;
    showKeyingOption();
}

void CwSetupWindow::showKeyingOption() {
    const bool filling = m_filling;
    m_filling = true;
    switch (m_cw.keyingOption()) {
    case KeyingOption::None:
        m_optNone->setChecked(true);
        break;
    case KeyingOption::Rts:
        m_optRts->setChecked(true);
        break;
    case KeyingOption::Dtr:
        m_optDtr->setChecked(true);
        break;
    case KeyingOption::Printer:
        m_optPrinter->setChecked(true);
        break;
    case KeyingOption::WinKey:
        m_optWinKey->setChecked(true);
        m_configureWinKey->show(); // stays visible from now on
        break;
    }
    m_filling = filling;
}

void CwSetupWindow::showSpeed(const QString& speedWpm) {
    m_filling = true;
    m_speed->setText(speedWpm);
    m_filling = false;
}

void CwSetupWindow::showSerialDevice() {
    m_serialDevice->setPort(PortDeviceField::portOf(m_port->text()));
}

void CwSetupWindow::chooseTiming(int method) {
    if (m_filling) {
        return;
    }
    const TimingMethod chosen = method == 1   ? TimingMethod::Loop
                                : method == 2 ? TimingMethod::Sleep
                                              : TimingMethod::Timer;
    double offset = m_cw.sender().loopOffset();
    if (chosen == TimingMethod::Loop && offset == 0.0) {
        offset = static_cast<double>(calibrateLoop());
    }
    m_cw.sender().setTimingOptions(chosen, offset);
    showSettings();
}

void CwSetupWindow::loopFieldChanged() {
    if (m_filling) {
        return;
    }
    if (const auto value = parseNumber(bytesOf(m_loopDelay->text()))) {
        m_cw.sender().setTimingOptions(m_cw.sender().timingMethod(), *value);
    }
}

void CwSetupWindow::tuneLoop(bool faster) {
    const std::string field = bytesOf(m_loopDelay->text());
    const auto value = faster ? loopFaster(field) : loopSlower(field);
    if (!value) {
        return;
    }
    m_loopDelay->setText(QString::number(*value));
    m_done->setFocus();
}

void CwSetupWindow::stepSpeed(int delta) {
    showSpeed(QString::fromStdString(m_cw.sender().changeSpeed(delta)));
}

void CwSetupWindow::stepWordSpace(int delta) {
    const auto value = parseNumber(bytesOf(m_wordSpace->text()));
    m_wordSpace->setText(value ? QString::fromStdString(formatDouble(*value + delta)) : QStringLiteral("0"));
}

void CwSetupWindow::wordSpaceChanged() {
    const auto value = parseNumber(bytesOf(m_wordSpace->text()));
    if (value && *value < kMinWordSpaceAdjust) {
        m_wordSpace->setText(QStringLiteral("-8"));
        return;
    }
    if (!m_filling) {
        m_cw.sender().settings().wordSpace = bytesOf(m_wordSpace->text());
        m_cw.sender().timingChanged();
    }
}

void CwSetupWindow::portFieldLeft() {
    if (!isNumeric(bytesOf(m_port->text()))) {
        m_port->setText(QStringLiteral("0"));
    }
    m_cw.sender().settings().serialPort = bytesOf(m_port->text());
    showSerialDevice();
    m_cw.cwSetup();
}

void CwSetupWindow::speedFieldLeft() {
    if (!isNumeric(bytesOf(m_speed->text()))) {
        m_speed->setText(QStringLiteral("0"));
    }
}

void CwSetupWindow::wordSpaceLeft() {
    if (!isNumeric(bytesOf(m_wordSpace->text()))) {
        m_wordSpace->setText(QStringLiteral("0"));
    }
}

void CwSetupWindow::repeatFieldLeft() {
    if (!m_cw.sender().applyRepeatSeconds(bytesOf(m_repeat->text()))) {
        m_repeat->setText(QStringLiteral("0"));
        m_cw.context().dialogs.beep();
    }
}

bool CwSetupWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->text() == QStringLiteral("\"")) {
            return true; // a double quote cannot be stored in cw.txt
        }
    } else if (event->type() == QEvent::FocusIn && watched == m_port) {
        QMetaObject::invokeMethod(m_port, &QLineEdit::selectAll, Qt::QueuedConnection);
    } else if (event->type() == QEvent::FocusOut) {
        if (watched == m_port) {
            portFieldLeft();
        } else if (watched == m_speed) {
            speedFieldLeft();
        } else if (watched == m_wordSpace) {
            wordSpaceLeft();
        } else if (watched == m_repeat) {
            repeatFieldLeft();
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CwSetupWindow::test() {
    m_sending->show();
    m_cw.sender().fKey(9);
    if (!m_cw.sender().sending()) {
        m_sending->hide();
        if (isVisible()) {
            m_messages[0]->setFocus();
        }
    }
}

void CwSetupWindow::done() {
    std::string error;
    if (!m_cw.saveSettings(&error)) {
        // The window stays open with the edited messages, so that nothing is lost.
        m_cw.context().dialogs.message(this, QStringLiteral("Unable to write file."),
                                       QString::fromLatin1(error.c_str()), MsgButtons::Ok, MsgIcon::Warning);
        return;
    }
    hide();
    setWindowModality(Qt::NonModal);
    if (m_cw.keyingOption() != KeyingOption::None) {
        m_cw.showStringsWindow(true);
    }
    if (QWidget* main = m_cw.mainWindow()) {
        main->activateWindow();
        main->setFocus();
    }
}

void CwSetupWindow::openCodePractice() {
    auto* practice = new CodePracticeWindow(m_cw, this);
    practice->setAttribute(Qt::WA_DeleteOnClose);
    practice->open();
}

void CwSetupWindow::closeEvent(QCloseEvent* event) {
    // The window and its fields stay for the whole run; closing only hides it.
    event->ignore();
    hide();
    setWindowModality(Qt::NonModal);
}

} // namespace corvane::cw
