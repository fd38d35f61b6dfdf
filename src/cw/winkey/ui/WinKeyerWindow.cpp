#include "cw/winkey/ui/WinKeyerWindow.h"

#include "ui/FormScaler.h"
#include "ui/KeyText.h"
#include "ui/PortDeviceField.h"
#include "ui/WidgetText.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>

namespace corvane::cw {

namespace {

constexpr TwipRect kDesign{0, 0, 7200, 5400};
constexpr double kFont = 8.25;
// The window's last line ends well above its design height: the window manager's title bar
// and border come off the window's height, and the controls are not moved up for them.
constexpr double kRow = 360;

QString latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}
QString latin1(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}
std::string bytesOf(const QString& text) {
    return text.toLatin1().toStdString();
}

} // namespace

WinKeyerWindow::WinKeyerWindow(WinKeyerController& controller, Hooks hooks, QWidget* parent)
    : QDialog(parent, Qt::Window), m_wk(controller), m_hooks(std::move(hooks)) {
    setObjectName(QStringLiteral("frmWinKey"));
    setWindowTitle(latin1(kWinKeyerTitle));
    m_filling = true;

    const struct {
        QLineEdit** field;
        const char* name;
        const char* caption;
        const char* help;
        const char* spoken; // what a screen reader reads for the field
        const char* about;  // and what goes in it, where the window shows no help line
    } fields[] = {
        {&m_comPort, "txtComPort", "Com Port:", nullptr, "WinKeyer serial port number",
         "The serial port the WinKeyer is on."},
        {&m_speed, "txtWPM", "WPM:", nullptr, "WinKeyer speed in words per minute",
         "The speed Open sends to the keyer; the arrow keys in the main window change it."},
        {&m_weight, "txtWeight", "Weight:", "Proportional amount added or subtracted (50 is standard).", "Weight",
         nullptr},
        {&m_leadIn, "txtLeadIn", "Lead In:", "Lead in time for transmitter (10 ms increments).", "Lead in", nullptr},
        {&m_tail, "txtTail", "Tail:", "Tail time after keying has stopped (10 ms increments).", "Tail", nullptr},
        {&m_ratio, "txtRatio", "Ratio:", "Ratio of dits to dahs (Range: 33 - 66).", "Ratio", nullptr},
    };
    double top = 150;
    for (const auto& f : fields) {
        addLabel(QString::fromLatin1(f.caption), 150, top + 30, 1000);
        *f.field = addField(f.name, 1150, top, 600);
        nameControl(*f.field, QString::fromLatin1(f.spoken),
                    QString::fromLatin1(f.about != nullptr ? f.about : f.help));
        if (f.help != nullptr) {
            addLabel(QString::fromLatin1(f.help), 1850, top + 30, 5200);
        }
        top += kRow;
    }

    if (m_hooks.settings != nullptr) {
        m_comDevice = new PortDeviceField(*m_hooks.settings, this);
        m_comDevice->setObjectName(QStringLiteral("txtComDevice"));
        m_comDevice->setAccessibleName(QStringLiteral("WinKeyer serial device"));
        FormScaler::place(m_comDevice, {1850, 150, 3300, 330}, kFont);
        m_comDevice->follow(m_comPort);
    }

    m_pins = addChoices("fraPinConfig", QStringLiteral("Pin 5 Configuration"), kPinConfigChoices, 150, 2370,
                        [this](std::uint8_t v) { m_wk.choosePinConfig(v); });
    m_modes = addChoices("fraKeyerMode", QStringLiteral("Keyer Mode"), kKeyerModeChoices, 2750, 2370,
                         [this](std::uint8_t v) { m_wk.chooseKeyerMode(v); });

    addLabel(QStringLiteral("WinKey Status:"), 5300, 2370, 1800);
    m_status = addLabel(latin1(m_wk.statusText()), 5300, 2640, 1800);
    m_status->setObjectName(QStringLiteral("lblStatus"));
    addLabel(QStringLiteral("WinKey Version:"), 5300, 2980, 1800);
    m_version = addLabel(latin1(m_wk.versionText()), 5300, 3250, 1800);
    m_version->setObjectName(QStringLiteral("lblVersion"));

    connect(addButton("cmdOpen", QStringLiteral("Open"), 5300, 150, 850), &QPushButton::clicked, this,
            &WinKeyerWindow::open);
    connect(addButton("cmdClose", QStringLiteral("Close"), 6250, 150, 850), &QPushButton::clicked, this,
            &WinKeyerWindow::close);

    m_typing = addField("txtSend", 150, 3780, 4400);
    m_typing->setValidator(nullptr);
    nameControl(m_typing, QStringLiteral("Text for the keyer"),
                QStringLiteral("Characters typed here go to the WinKeyer and are sent at once."));
    connect(addButton("cmdTest", QStringLiteral("Test"), 150, 4190, 1000), &QPushButton::clicked, this,
            [this] { m_wk.test(m_hooks.ownCall ? m_hooks.ownCall() : std::string()); });
    connect(addButton("cmdBufferTest", QStringLiteral("Buffer Test"), 1250, 4190, 1300), &QPushButton::clicked, this,
            [this] { m_wk.bufferTest(); });
    connect(addButton("cmdStop", QStringLiteral("Stop"), 2650, 4190, 1000), &QPushButton::clicked, this,
            [this] { m_wk.stop(); });
    m_done = addButton("cmdDone", QStringLiteral("&Done"), 5900, 4190, 1200);
    connect(m_done, &QPushButton::clicked, this, &WinKeyerWindow::done);
    addLabel(QStringLiteral("Up / down arrows from main form change speeds."), 150, 4640, 6900);

    m_wk.setView(this);
    m_filling = false;
    showFields();
    FormScaler::scale(this, ScaleVariant::ScaleToScreen, kDesign);
}

WinKeyerWindow::~WinKeyerWindow() {
    m_wk.setView(nullptr);
}

QLineEdit* WinKeyerWindow::addField(const char* name, double left, double top, double width) {
    auto* field = new QLineEdit(this);
    field->setObjectName(QString::fromLatin1(name));
    field->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), field));
    FormScaler::place(field, {left, top, width, 330}, kFont);
    field->installEventFilter(this);
    return field;
}

QLabel* WinKeyerWindow::addLabel(const QString& text, double left, double top, double width, QWidget* parent) {
    auto* label = new QLabel(text, parent != nullptr ? parent : this);
    FormScaler::place(label, {left, top, width, 270}, kFont);
    return label;
}

QPushButton* WinKeyerWindow::addButton(const char* name, const QString& caption, double left, double top,
                                       double width) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    FormScaler::place(button, {left, top, width, 380}, kFont);
    return button;
}

QButtonGroup* WinKeyerWindow::addChoices(const char* frameName, const QString& title,
                                         std::span<const WinKeyerChoice> choices, double left, double top,
                                         const std::function<void(std::uint8_t)>& chosen) {
    auto* frame = new QGroupBox(title, this);
    frame->setObjectName(QString::fromLatin1(frameName));
    FormScaler::place(frame, {left, top, 2450, 1330}, kFont);
    auto* group = new QButtonGroup(this);
    double y = 250;
    for (const WinKeyerChoice& choice : choices) {
        auto* option = new QRadioButton(latin1(choice.caption), frame);
        option->setObjectName(latin1(choice.objectName));
        FormScaler::place(option, {120, y, 2250, 250}, kFont);
        group->addButton(option, choice.value); // the id is the byte the choice stands for
        y += 260;
    }
    connect(group, &QButtonGroup::idToggled, this, [this, chosen](int id, bool on) {
        if (on && !m_filling) {
            chosen(static_cast<std::uint8_t>(id));
        }
    });
    return group;
}

void WinKeyerWindow::showStatus(const std::string& text) {
    m_status->setText(latin1(text));
}

void WinKeyerWindow::showVersion(const std::string& text) {
    m_version->setText(latin1(text));
}

void WinKeyerWindow::selectChoice(QButtonGroup* group, std::uint8_t value) {
    QAbstractButton* match = group->button(value);
    if (match != nullptr) {
        match->setChecked(true);
        return;
    }
    // A value of no button selects none.
    group->setExclusive(false);
    for (QAbstractButton* b : group->buttons()) {
        b->setChecked(false);
    }
    group->setExclusive(true);
}

void WinKeyerWindow::showFields() {
    const bool filling = m_filling;
    m_filling = true;
    const WinKeyerSettings& s = m_wk.settings();
    const auto set = [](QLineEdit* field, const std::string& text) {
        if (field->text() != latin1(text)) {
            field->setText(latin1(text));
        }
    };
    set(m_comPort, m_wk.comPortField());
    set(m_speed, s.speedWpm);
    set(m_weight, s.weight);
    set(m_leadIn, s.leadIn);
    set(m_tail, s.tail);
    set(m_ratio, s.ratio);
    selectChoice(m_pins, s.pinConfig);
    selectChoice(m_modes, s.keyerMode);
    m_filling = filling;
}

void WinKeyerWindow::focusDone() {
    m_done->setFocus();
}

void WinKeyerWindow::open() {
    m_wk.openKeyer();
}

void WinKeyerWindow::close() {
    m_wk.closeKeyer();
}

void WinKeyerWindow::done() {
    if (m_hooks.save && !m_hooks.save()) {
        return;
    }
    hide();
    setWindowModality(Qt::NonModal);
}

void WinKeyerWindow::fieldLeft(QObject* field) {
    const std::string text = bytesOf(static_cast<QLineEdit*>(field)->text());
    if (field == m_comPort) {
        m_wk.comPortLeft(text);
    } else if (field == m_speed) {
        m_wk.speedLeft(text);
    } else if (field == m_weight) {
        m_wk.weightLeft(text);
    } else if (field == m_leadIn) {
        m_wk.leadInLeft(text);
    } else if (field == m_tail) {
        m_wk.tailLeft(text);
    } else if (field == m_ratio) {
        m_wk.ratioLeft(text);
    }
}

bool WinKeyerWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut && watched != m_typing && !m_filling) {
        fieldLeft(watched);
    } else if (event->type() == QEvent::KeyPress && watched == m_typing) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const char c = typedChar(key);
        if (c != 0 && c != '\x7f') {
            const char upper = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
            m_typing->insert(QString(QChar(static_cast<unsigned char>(upper))));
            m_wk.typed(upper);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void WinKeyerWindow::closeEvent(QCloseEvent* event) {
    // Kept for the whole run; closing only hides it, as "&Done" does without saving.
    event->ignore();
    hide();
    setWindowModality(Qt::NonModal);
}

} // namespace corvane::cw
