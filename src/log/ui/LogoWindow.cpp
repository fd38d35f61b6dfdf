#include "log/ui/LogoWindow.h"

#include "ui/FormScaler.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

namespace corvane {

QPixmap LogoWindow::builtInLogo(bool second) {
    QPixmap pixmap(480, 270);
    pixmap.fill(QColor(0, 0, 96));
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    // A 160 m dipole over a great circle: the contest in one picture.
    p.setPen(QPen(QColor(0, 192, 192), 3));
    p.drawArc(QRect(40, 120, 400, 260), 0, 180 * 16);
    p.setPen(QPen(Qt::white, 2));
    p.drawLine(140, 110, 340, 110);
    p.drawLine(240, 110, 240, 150);
    QFont title = p.font();
    title.setPointSize(20);
    title.setBold(true);
    p.setFont(title);
    p.drawText(QRect(0, 20, 480, 40), Qt::AlignCenter, QStringLiteral("Corvane Contest Log"));
    QFont small = p.font();
    small.setPointSize(11);
    small.setBold(false);
    p.setFont(small);
    p.drawText(QRect(0, 60, 480, 30), Qt::AlignCenter, QStringLiteral("Varkel Software  -  160 m CW"));
    if (second) {
        p.setPen(QPen(QColor(255, 255, 0), 2));
        for (int i = 0; i < 3; ++i) {
            p.drawArc(QRect(225 - i * 14, 95 - i * 14, 30 + i * 28, 30 + i * 28), 30 * 16, 120 * 16);
        }
        p.drawText(QRect(0, 230, 480, 30), Qt::AlignCenter, QStringLiteral("Version 1.2"));
    }
    return pixmap;
}

LogoWindow::LogoWindow(const QString& splashPath, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmVarkelLogo"));
    setWindowTitle(QStringLiteral("Varkel's Corvane Contest Log"));
    setWindowFlag(Qt::FramelessWindowHint);
    setModal(true);
    m_picture = new QLabel(this);
    m_picture->setObjectName(QStringLiteral("imgLogo"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_picture);

    m_closeTimer.setSingleShot(true);
    connect(&m_closeTimer, &QTimer::timeout, this, &QDialog::accept);
    QPixmap splash;
    if (QFileInfo::exists(splashPath) && splash.load(splashPath)) {
        m_picture->setPixmap(splash);
        m_closeTimer.start(2700);
    } else {
        m_picture->setPixmap(builtInLogo(false));
        m_secondTimer.setSingleShot(true);
        connect(&m_secondTimer, &QTimer::timeout, this, [this] { m_picture->setPixmap(builtInLogo(true)); });
        m_secondTimer.start(1100);
        m_closeTimer.start(1900);
    }
    adjustSize();
    // Centred, 170 twips above the middle of the screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.left() + (area.width() - width()) / 2,
             area.top() + (area.height() - height()) / 2 - FormScaler::toPixels(170));
    }
}

void LogoWindow::mousePressEvent(QMouseEvent* event) {
    QDialog::mousePressEvent(event);
    accept();
}

} // namespace corvane
