#include "cw/ui/CodePracticeWindow.h"

#include "cw/ui/CwController.h"
#include "ui/FormScaler.h"
#include "ui/KeyText.h"
#include "ui/WidgetText.h"

#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextCursor>
#include <QTimer>
#include <chrono>

namespace corvane::cw {

namespace {

constexpr TwipRect kDesign{0, 0, 9600, 7200};
constexpr double kFont = 8.25;

} // namespace

CodePracticeWindow::CodePracticeWindow(CwController& controller, QWidget* parent)
    : QDialog(parent), m_cw(controller),
      m_random(static_cast<std::mt19937::result_type>(std::chrono::system_clock::now().time_since_epoch().count())) {
    setObjectName(QStringLiteral("frmCodePractice"));
    setWindowTitle(QString::fromLatin1(kTitle));
    setModal(true);

    const auto label = [this](const QString& text, const TwipRect& at) {
        auto* l = new QLabel(text, this);
        l->setWordWrap(true);
        FormScaler::place(l, at, kFont);
        return l;
    };
    const auto button = [this](const char* name, const QString& caption, const TwipRect& at) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        FormScaler::place(b, at, kFont);
        return b;
    };
    label(QStringLiteral("You can transmit morse code practice using randomly generated characters, copying and "
                         "pasting text or typing text into the \"Text to Send\" text box.  Click Send to send the "
                         "characters. "),
          {120, 120, 9300, 500});

    label(QStringLiteral("Text to Send"), {120, 700, 3000, 260});
    m_toSend = new QPlainTextEdit(this);
    m_toSend->setObjectName(QStringLiteral("txtToSend"));
    m_toSend->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    FormScaler::place(m_toSend, {120, 960, 6000, 2200}, kFont);
    m_toSend->installEventFilter(this);
    nameControl(m_toSend, QStringLiteral("Text to Send"),
                QStringLiteral("The practice text Send keys, generated, pasted or typed."));
    label(QStringLiteral("Text Sent"), {120, 3250, 3000, 260});
    m_sent = new QPlainTextEdit(this);
    m_sent->setObjectName(QStringLiteral("txtSent"));
    m_sent->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    FormScaler::place(m_sent, {120, 3510, 6000, 1800}, kFont);
    nameControl(m_sent, QStringLiteral("Text Sent"), QStringLiteral("The characters sent so far."));

    label(QStringLiteral("Generate"), {6400, 960, 900, 300});
    m_groups = new QLineEdit(QStringLiteral("10"), this);
    m_groups->setObjectName(QStringLiteral("txtGroups"));
    FormScaler::place(m_groups, {7300, 930, 600, 330}, kFont);
    nameControl(m_groups, QStringLiteral("Groups to generate"),
                QStringLiteral("How many groups of random characters Generate makes."));
    label(QStringLiteral("groups of"), {8000, 960, 1000, 300});
    m_characters = new QLineEdit(QStringLiteral("5"), this);
    m_characters->setObjectName(QStringLiteral("txtCharacters"));
    FormScaler::place(m_characters, {6400, 1330, 600, 330}, kFont);
    nameControl(m_characters, QStringLiteral("Characters in each group"),
                QStringLiteral("How many random characters each generated group has."));
    label(QStringLiteral("characters each."), {7100, 1360, 2000, 300});
    label(QStringLiteral("Include:"), {6400, 1760, 1200, 300});
    m_lettersOnly = new QRadioButton(QStringLiteral("Letters Only"), this);
    m_lettersOnly->setObjectName(QStringLiteral("optLettersOnly"));
    FormScaler::place(m_lettersOnly, {6400, 2060, 1600, 300}, kFont);
    m_all = new QRadioButton(QStringLiteral("All"), this);
    m_all->setObjectName(QStringLiteral("optAll"));
    FormScaler::place(m_all, {8100, 2060, 900, 300}, kFont);
    m_all->setChecked(true);
    auto* include = new QButtonGroup(this);
    include->addButton(m_lettersOnly);
    include->addButton(m_all);
    connect(button("cmdGenerate", QStringLiteral("&Generate Random Characters"), {6400, 2460, 3000, 400}),
            &QPushButton::clicked, this, &CodePracticeWindow::generate);
    connect(button("cmdPaste", QStringLiteral("&Paste from Clipboard"), {6400, 2960, 3000, 400}), &QPushButton::clicked,
            this, [this] { m_toSend->setPlainText(QApplication::clipboard()->text()); });
    QPushButton* clearToSend = button("cmdClearToSend", QStringLiteral("&Clear"), {6400, 3460, 1400, 400});
    nameControl(clearToSend, QStringLiteral("Clear Text to Send"), QStringLiteral("Empties the Text to Send box."));
    connect(clearToSend, &QPushButton::clicked, this, [this] { m_toSend->clear(); });
    QPushButton* clearSent = button("cmdClearSent", QStringLiteral("Cl&ear"), {8000, 3460, 1400, 400});
    nameControl(clearSent, QStringLiteral("Clear Text Sent"), QStringLiteral("Empties the Text Sent box."));
    connect(clearSent, &QPushButton::clicked, this, [this] { m_sent->clear(); });
    connect(button("cmdSend", QStringLiteral("&Send"), {6400, 3960, 1400, 400}), &QPushButton::clicked, this,
            &CodePracticeWindow::send);
    connect(button("cmdStop", QStringLiteral("S&top"), {8000, 3960, 1400, 400}), &QPushButton::clicked, this,
            &CodePracticeWindow::stop);
    m_speed = label(QString(), {6400, 4560, 700, 300});
    m_speed->setObjectName(QStringLiteral("lblSpeed"));
    label(QStringLiteral("WPM"), {7100, 4560, 700, 300});
    connect(button("cmdFaster", QStringLiteral("&Faster"), {6400, 4960, 1400, 400}), &QPushButton::clicked, this,
            [this] { stepSpeed(1); });
    connect(button("cmdSlower", QStringLiteral("S&lower"), {8000, 4960, 1400, 400}), &QPushButton::clicked, this,
            [this] { stepSpeed(-1); });

    label(QStringLiteral("Type characters here to send text from keyboard:"), {120, 5500, 6000, 300});
    m_keyboard = new QLineEdit(this);
    m_keyboard->setObjectName(QStringLiteral("txtKeyboard"));
    FormScaler::place(m_keyboard, {120, 5820, 6000, 330}, kFont);
    m_keyboard->installEventFilter(this);
    nameControl(m_keyboard, QStringLiteral("Send from keyboard"),
                QStringLiteral("Each character typed here is sent at once."));

    m_speed->setText(QString::fromLatin1(m_cw.sender().settings().speedWpm));

    PracticeSender::Hooks hooks;
    hooks.textToSend = [this] { return m_toSend->toPlainText().toLatin1().toStdString(); };
    hooks.sent = [this](char c) { appendSent(c); };
    hooks.caret = [this](std::size_t position) {
        QTextCursor cursor = m_toSend->textCursor();
        cursor.setPosition(std::min<int>(static_cast<int>(position), m_toSend->toPlainText().size()));
        m_toSend->setTextCursor(cursor);
    };
    hooks.post = [this](std::function<void()> step) {
        QTimer::singleShot(0, this, [step = std::move(step)] { step(); });
    };
    m_sender = std::make_unique<PracticeSender>(m_cw.sender(), std::move(hooks));
    m_idle = m_cw.sender().addIdleListener([this] { m_sender->controllerIdle(); });
    FormScaler::scale(this, ScaleVariant::WorkAreaCapped, kDesign);
}

CodePracticeWindow::~CodePracticeWindow() = default;

void CodePracticeWindow::generate() {
    const GroupFields fields =
        normaliseGroupFields(m_groups->text().toLatin1().toStdString(), m_characters->text().toLatin1().toStdString());
    m_groups->setText(QString::fromStdString(fields.groups));
    m_characters->setText(QString::fromStdString(fields.characters));
    m_random.seed(static_cast<std::mt19937::result_type>(std::chrono::system_clock::now().time_since_epoch().count()));
    const int groups =
        std::clamp(m_groups->text().toDouble() > 0 ? static_cast<int>(m_groups->text().toDouble()) : 0, 0, 10000);
    const int characters = std::clamp(
        m_characters->text().toDouble() > 0 ? static_cast<int>(m_characters->text().toDouble()) : 0, 0, 1000);
    m_toSend->setPlainText(
        QString::fromStdString(generateGroups(groups, characters, m_lettersOnly->isChecked(), m_random)));
}

void CodePracticeWindow::send() {
    m_toSend->setFocus();
    m_sender->start();
}

void CodePracticeWindow::stop() {
    m_sender->stop();
}

void CodePracticeWindow::stepSpeed(int delta) {
    m_speed->setText(QString::fromStdString(m_cw.sender().changeSpeed(delta)));
    if (m_cw.setupWindow() != nullptr) {
        emit m_cw.speedChanged(m_speed->text());
    }
}

void CodePracticeWindow::appendSent(char c) {
    m_sent->moveCursor(QTextCursor::End);
    m_sent->insertPlainText(QString(QChar::fromLatin1(c)));
    QTextCursor cursor = m_sent->textCursor();
    cursor.movePosition(QTextCursor::Left);
    m_sent->setTextCursor(cursor);
}

void CodePracticeWindow::keyboardKey(QKeyEvent* event) {
    if (event->key() == Qt::Key_Backspace) {
        m_cw.sender().removeLastFromBuffer();
        QString sent = m_sent->toPlainText();
        if (!sent.isEmpty()) {
            sent.chop(1);
            m_sent->setPlainText(sent);
            m_sent->moveCursor(QTextCursor::End);
        }
        return;
    }
    const QString text = capitals(event->text());
    if (text.size() != 1 || text[0].unicode() > 0xFF) {
        return;
    }
    const char c = static_cast<char>(text[0].unicode());
    appendSent(c);
    m_cw.sender().appendToBuffer(c);
    if (!m_cw.sender().sending()) {
        m_cw.sender().loopThroughBuffer();
    }
}

bool CodePracticeWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (watched == m_keyboard) {
            if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
                return false;
            }
            keyboardKey(key);
            return true; // every key is consumed; the field stays empty
        }
        if (watched == m_toSend) {
            const QString text = key->text();
            if (text.size() == 1 && text[0] >= QLatin1Char('a') && text[0] <= QLatin1Char('z')) {
                m_toSend->insertPlainText(capitals(text));
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CodePracticeWindow::closeEvent(QCloseEvent* event) {
    m_sender->stop();
    m_cw.sender().clearBuffer();
    if (m_cw.sender().sending()) {
        event->ignore(); // the character in progress ends first
        return;
    }
    QDialog::closeEvent(event);
}

void CodePracticeWindow::reject() {
    m_sender->stop();
    m_cw.sender().clearBuffer();
    if (m_cw.sender().sending()) {
        return;
    }
    QDialog::reject();
}

} // namespace corvane::cw
