#include "voice/ui/PhoneWindow.h"

#include "core/DurableFile.h"
#include "core/NumberText.h"
#include "cw/CwSettings.h"
#include "platform/Dialogs.h"
#include "ui/AppContext.h"
#include "ui/FormScaler.h"
#include "ui/KeyText.h"
#include "ui/PortDeviceField.h"
#include "ui/WidgetText.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>

namespace corvane {

namespace {

constexpr TwipRect kDesign{0, 0, 8400, 6600};
constexpr double kFont = 8.25;
constexpr double kRow = 400;
constexpr double kFirstRow = 1150;

// Paths go to wave2.txt as the file system names them (UTF-8), so a name with letters beyond
// ASCII opens again as it was chosen.
std::string pathBytes(const QString& text) {
    return QFile::encodeName(text).toStdString();
}
QString pathText(const std::string& bytes) {
    return QFile::decodeName(QByteArray::fromStdString(bytes));
}

} // namespace

PhoneWindow::PhoneWindow(AppContext& context, VoiceKeyer& keyer, QWidget* parent)
    : QDialog(parent, Qt::Window), m_ctx(context), m_keyer(keyer) {
    setObjectName(QStringLiteral("PhoneFrm"));
    setWindowTitle(QString::fromLatin1(kTitle));
    setAccessibleName(QString::fromLatin1(kTitle));
    setAccessibleDescription(QStringLiteral("Wave files played with push-to-talk, one per function key"));
    m_filling = true;

    QLabel* help =
        addLabel(QStringLiteral(
                     "Each wave file corresponds to a function key.  Select the wave file you would like to associate "
                     "with the function key. From the main logging page, key your transmitter and press the "
                     "appropriate function key each time you wish to play a wave file."),
                 120, 100, 8160, 960);
    help->setObjectName(QStringLiteral("lblHelp"));
    help->setWordWrap(true);

    // Double quotes cannot be stored in wave2.txt's quoted items.
    const QRegularExpression noQuote(QStringLiteral("[^\"]*"));
    for (int i = 0; i < 9; ++i) {
        const double top = kFirstRow + i * kRow;
        const QString key = QStringLiteral("F%1").arg(i + 1);
        QLabel* caption = addLabel(key, 120, top + 40, 400);
        const QByteArray name = QStringLiteral("Text%1").arg(i + 1).toLatin1();
        QLineEdit* field = addField(name.constData(), 560, top, 5000, key + QStringLiteral(" wave file"),
                                    QStringLiteral("The wave file played for function key ") + key);
        field->setValidator(new QRegularExpressionValidator(noQuote, field));
        caption->setBuddy(field);
        m_paths[static_cast<std::size_t>(i)] = field;
        connect(field, &QLineEdit::textChanged, this, [this, i](const QString& text) {
            if (!m_filling) {
                m_keyer.settings().recordingPaths[static_cast<std::size_t>(i)] = pathBytes(text);
            }
        });
        const QByteArray browseName = QStringLiteral("cmdBrowse%1").arg(i + 1).toLatin1();
        QPushButton* browseButton = addButton(browseName.constData(), QStringLiteral("Browse"), 5640, top - 20, 1000,
                                              QStringLiteral("Chooses the wave file for ") + key);
        browseButton->setAccessibleName(QStringLiteral("Browse for ") + key);
        connect(browseButton, &QPushButton::clicked, this, [this, i] { browse(i + 1); });
    }

    const double side = 6800;
    addLabel(QStringLiteral("PTT Port"), side, kFirstRow, 1000);
    m_port = addField("Text10", side, kFirstRow + 280, 700, QStringLiteral("Push-to-talk serial port"),
                      QStringLiteral("Serial port number for push-to-talk, 0 for none"));
    m_port->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), m_port));
    connect(m_port, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!m_filling) {
            m_keyer.settings().pttPort = toLatin1(text);
        }
    });
    auto* device = new PortDeviceField(m_ctx.settings, this);
    device->setObjectName(QStringLiteral("txtPttDevice"));
    device->setAccessibleName(QStringLiteral("Push-to-talk serial device"));
    // Just under the port number, as wide as the column.
    FormScaler::place(device, {side, kFirstRow + 640, 1500, 330}, kFont);
    device->follow(m_port);
    m_portDevice = device;
    m_optRts = addOption("optRTS", QStringLiteral("RTS"), side, kFirstRow + 1120,
                         QStringLiteral("Push-to-talk on the serial port's RTS line"));
    m_optDtr = addOption("optDTR", QStringLiteral("DTR"), side, kFirstRow + 1440,
                         QStringLiteral("Push-to-talk on the serial port's DTR line"));
    m_optParallel = addOption("optParallel", QStringLiteral("Parallel"), side, kFirstRow + 1760,
                              QStringLiteral("Push-to-talk on the parallel port"));
    auto* lines = new QButtonGroup(this);
    const std::pair<QRadioButton*, PttLine> options[] = {
        {m_optRts, PttLine::Rts}, {m_optDtr, PttLine::Dtr}, {m_optParallel, PttLine::Parallel}};
    for (const auto& [button, line] : options) {
        lines->addButton(button);
        connect(button, &QRadioButton::toggled, this, [this, line = line](bool on) {
            if (on && !m_filling) {
                m_keyer.settings().pttLine = line;
            }
        });
    }
    addLabel(QStringLiteral("Address"), side, kFirstRow + 2120, 1000);
    m_address = addField("Text11", side, kFirstRow + 2400, 1000, QStringLiteral("Parallel port address"),
                         QStringLiteral("Base address of the parallel port, decimal or &H hexadecimal"));
    connect(m_address, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!m_filling) {
            m_keyer.settings().parallelAddress = toLatin1(text);
        }
    });
    addLabel(QStringLiteral("Loop (Sec)"), side, kFirstRow + 2840, 1200);
    m_loop = addField("txtPHLoop", side, kFirstRow + 3120, 700, QStringLiteral("Loop seconds"),
                      QStringLiteral("Pause in seconds before F1 plays again; 0 plays it once"));
    m_loop->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9.]*")), m_loop));
    connect(m_loop, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!m_filling) {
            m_keyer.settings().loopSeconds = toLatin1(text);
        }
    });

    const double bottom = kFirstRow + 9 * kRow + 200;
    m_test = addButton("cmdTest", QStringLiteral("Test"), 560, bottom, 1000,
                       QStringLiteral("Plays the F1 wave file with push-to-talk"));
    addLabel(QStringLiteral("Plays F1 Command"), 1680, bottom + 60, 1800);
    connect(m_test, &QPushButton::clicked, this, &PhoneWindow::test);
    m_stop = addButton("cmdStop", QStringLiteral("Stop"), 3600, bottom, 1000, QStringLiteral("Ends the repeat of F1"));
    m_stop->hide();
    connect(m_stop, &QPushButton::clicked, this, &PhoneWindow::stop);
    m_done = addButton("cmdDone", QStringLiteral("Done"), side, bottom, 1200,
                       QStringLiteral("Keeps these settings in wave2.txt and hides the window"));
    connect(m_done, &QPushButton::clicked, this, &PhoneWindow::done);

    m_filling = false;
    showSettings();
    FormScaler::scale(this, ScaleVariant::WorkAreaCapped, kDesign);
}

QLabel* PhoneWindow::addLabel(const QString& text, double left, double top, double width, double height) {
    auto* label = new QLabel(text, this);
    FormScaler::place(label, {left, top, width, height}, kFont);
    return label;
}

QLineEdit* PhoneWindow::addField(const char* name, double left, double top, double width, const QString& accessibleName,
                                 const QString& description) {
    auto* field = new QLineEdit(this);
    field->setObjectName(QString::fromLatin1(name));
    field->setAccessibleName(accessibleName);
    field->setAccessibleDescription(description);
    FormScaler::place(field, {left, top, width, 330}, kFont);
    field->installEventFilter(this);
    return field;
}

QPushButton* PhoneWindow::addButton(const char* name, const QString& caption, double left, double top, double width,
                                    const QString& description) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    button->setAccessibleDescription(description);
    FormScaler::place(button, {left, top, width, 380}, kFont);
    return button;
}

QRadioButton* PhoneWindow::addOption(const char* name, const QString& caption, double left, double top,
                                     const QString& description) {
    auto* option = new QRadioButton(caption, this);
    option->setObjectName(QString::fromLatin1(name));
    option->setAccessibleDescription(description);
    FormScaler::place(option, {left, top, 1400, 300}, kFont);
    return option;
}

void PhoneWindow::showSettings() {
    m_filling = true;
    const VoiceSettings& s = m_keyer.settings();
    for (std::size_t i = 0; i < m_paths.size(); ++i) {
        m_paths[i]->setText(pathText(s.recordingPaths[i]));
    }
    m_port->setText(fromLatin1(s.pttPort));
    m_address->setText(fromLatin1(s.parallelAddress));
    m_loop->setText(fromLatin1(s.loopSeconds));
    switch (s.pttLine.value_or(PttLine::Rts)) {
    case PttLine::Rts:
        m_optRts->setChecked(true);
        break;
    case PttLine::Dtr:
        m_optDtr->setChecked(true);
        break;
    case PttLine::Parallel:
        m_optParallel->setChecked(true);
        break;
    }
    m_filling = false;
}

bool PhoneWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn && watched == m_port) {
        QMetaObject::invokeMethod(m_port, &QLineEdit::selectAll, Qt::QueuedConnection);
    } else if (event->type() == QEvent::FocusOut && watched == m_port) {
        portFieldLeft();
    } else if (event->type() == QEvent::FocusOut && watched == m_loop) {
        loopFieldLeft();
    } else if (event->type() == QEvent::KeyPress && watched == m_address) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->text() == QStringLiteral("\"")) {
            return true; // refused: the address is a quoted item of wave2.txt
        }
        const QString text = key->text();
        if (text.size() == 1 && text[0] >= QLatin1Char('a') && text[0] <= QLatin1Char('z')) {
            m_address->insert(capitals(text));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void PhoneWindow::portFieldLeft() {
    if (!isNumeric(toLatin1(m_port->text()))) {
        m_port->setText(QStringLiteral("0"));
    }
    m_keyer.settings().pttPort = toLatin1(m_port->text());
    m_keyer.openPttPort();
}

void PhoneWindow::loopFieldLeft() {
    const std::string field = toLatin1(m_loop->text());
    int intervalMs = 0;
    if (!cw::repeatIntervalMs(field, intervalMs)) {
        if (!parseNumber(field)) {
            m_ctx.dialogs.beep();
        }
        m_loop->setText(QStringLiteral("0"));
        intervalMs = 0;
    }
    m_keyer.settings().loopSeconds = toLatin1(m_loop->text());
    m_keyer.setRepeatIntervalMs(intervalMs);
}

void PhoneWindow::takeFields() {
    // The pause is taken as the field stands, as if it had just been left for the button.
    loopFieldLeft();
}

void PhoneWindow::test() {
    takeFields();
    m_keyer.playMessage(1);
    if (isVisible()) {
        m_done->setFocus();
    }
    if (m_keyer.repeatOn()) {
        m_stop->show();
    }
}

void PhoneWindow::stop() {
    m_keyer.stopRepeat();
    m_stop->hide();
}

void PhoneWindow::repeatStopped() {
    m_stop->hide();
}

void PhoneWindow::browse(int key) {
    const auto chosen = m_ctx.dialogs.openFile(this, QStringLiteral("Open"), QString(), QStringLiteral("(*.wav)"));
    QDir::setCurrent(QString::fromStdString(m_ctx.workingDirectory));
    if (!chosen || chosen->contains(QLatin1Char('"'))) {
        m_ctx.dialogs.beep();
        return;
    }
    m_paths[static_cast<std::size_t>(key - 1)]->setText(*chosen);
    m_done->setFocus();
}

bool PhoneWindow::writeSettings() {
    QDir::setCurrent(QString::fromStdString(m_ctx.workingDirectory));
    const std::string path = m_ctx.workingFile("wave2.txt");
    const FileResult written = replaceAtomically(path, formatVoiceSettings(m_keyer.settings()));
    if (!written.ok) {
        m_ctx.dialogs.message(this, QStringLiteral("Unable to write file."),
                              QString::fromLatin1((path + "  " + written.error).c_str()), MsgButtons::Ok,
                              MsgIcon::Warning);
    }
    return written.ok;
}

void PhoneWindow::done() {
    takeFields();
    if (!writeSettings()) {
        return; // the window stays open, so the settings are not lost
    }
    hide();
}

void PhoneWindow::closeEvent(QCloseEvent* event) {
    m_keyer.stopPlayback();
    m_stop->hide();
    QDialog::closeEvent(event);
}

} // namespace corvane
