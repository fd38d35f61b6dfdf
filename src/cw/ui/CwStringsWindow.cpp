#include "cw/ui/CwStringsWindow.h"

#include "cw/ui/CwController.h"
#include "ui/FormScaler.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace corvane::cw {

namespace {
constexpr TwipRect kDesign{0, 0, 6000, 6000};
constexpr double kFont = 8.25;
} // namespace

CwStringsWindow::CwStringsWindow(CwController& controller, QWidget* parent)
    : QWidget(parent, Qt::Window), m_cw(controller) {
    setObjectName(QStringLiteral("frmCWStrings"));
    setWindowTitle(QString::fromLatin1(kTitle));
    for (int i = 0; i < 12; ++i) {
        const double top = 120 + i * 380;
        auto* key = new QLabel(QStringLiteral("F%1").arg(i + 1), this);
        key->setObjectName(QStringLiteral("lblKey%1").arg(i + 1));
        FormScaler::place(key, {120, top, 500, 330}, kFont);
        auto* text = new QLabel(this);
        text->setObjectName(QStringLiteral("lblString%1").arg(i + 1));
        FormScaler::place(text, {700, top, 5100, 330}, kFont);
        key->installEventFilter(this);
        text->installEventFilter(this);
        m_keys[static_cast<std::size_t>(i)] = key;
        m_texts[static_cast<std::size_t>(i)] = text;
    }
    auto* note = new QLabel(QStringLiteral("Press Ctrl W to Show this form."), this);
    FormScaler::place(note, {120, 4800, 3600, 330}, kFont);
    auto* done = new QPushButton(QStringLiteral("Done"), this);
    done->setObjectName(QStringLiteral("cmdDone"));
    done->setFocusPolicy(Qt::NoFocus);
    FormScaler::place(done, {4300, 5100, 1200, 400}, kFont);
    connect(done, &QPushButton::clicked, this, &QWidget::showMinimized);
    refresh();
    FormScaler::scale(this, ScaleVariant::ScreenCapped, kDesign);
}

void CwStringsWindow::refresh() {
    const CwSettings& s = m_cw.sender().settings();
    for (int i = 0; i < kMessageCount; ++i) {
        m_texts[static_cast<std::size_t>(i)]->setText(QString::fromLatin1(s.messages[static_cast<std::size_t>(i)]));
    }
    m_texts[11]->setText(QStringLiteral("Keyboard"));
}

void CwStringsWindow::clickRow(int key) {
    if (m_cw.keyingOption() == KeyingOption::None || key < 1 || key > kMessageCount) {
        return; // F12 does nothing here
    }
    m_cw.sender().fKey(key);
}

bool CwStringsWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        refresh();
    }
    return QWidget::event(event);
}

bool CwStringsWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        for (int i = 0; i < 12; ++i) {
            if (watched == m_keys[static_cast<std::size_t>(i)] || watched == m_texts[static_cast<std::size_t>(i)]) {
                clickRow(i + 1);
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CwStringsWindow::keyPressEvent(QKeyEvent* event) {
    // Every key the main window knows (Ctrl shortcuts included) works here as there.
    if (m_cw.routeKey(event)) {
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace corvane::cw
