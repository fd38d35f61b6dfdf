#include "spots/ui/SpectrumMapWindow.h"

#include "spots/ui/SpotArea.h"
#include "spots/ui/SpotLabel.h"
#include "spots/ui/SpotWorthMarks.h"
#include "ui/FormScaler.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <cmath>

namespace corvane::spots {

namespace {
constexpr double kFont = 8.25;
}

SpectrumMapWindow::SpectrumMapWindow(RecentSpots& store, std::function<DateTime()> now,
                                     std::function<double()> utcOffsetHours, QWidget* parent)
    : QDialog(parent), m_store(store), m_now(std::move(now)), m_utcOffset(std::move(utcOffsetHours)) {
    setObjectName(QStringLiteral("SpectrumMap"));
    setWindowTitle(QString::fromLatin1(kTitle));
    setModal(true);
    for (int row = 0; row < kSpectrumRows; ++row) {
        const auto r = static_cast<std::size_t>(row);
        m_strips[r] = new QLabel(this);
        m_strips[r]->setObjectName(QStringLiteral("lblHFSpots%1").arg(row));
        m_strips[r]->setStyleSheet(QStringLiteral("background: #000080;"));
        // The band's ground: its line, scale and spots are drawn over it.
        m_strips[r]->setProperty("drawnOver", true);
        FormScaler::place(m_strips[r],
                          {kSpectrumStripLeft, static_cast<double>(kSpectrumStripTop + kSpectrumRowPitch * row),
                           kSpectrumStripWidth, kSpectrumStripHeight},
                          kFont);
        m_bandNames[r] = new QLabel(QString::fromLatin1(kSpectrumBands[r].band), m_strips[r]);
        m_bandNames[r]->setStyleSheet(QStringLiteral("color: #a0a0ff;"));
        m_lines[r] = new QFrame(this);
        m_lines[r]->setObjectName(QStringLiteral("lineHF%1").arg(row));
        m_lines[r]->setStyleSheet(QStringLiteral("background: white;"));
        FormScaler::place(m_lines[r],
                          {kSpectrumLineX1, static_cast<double>(kSpectrumLineY + kSpectrumRowPitch * row),
                           kSpectrumLineX2 - kSpectrumLineX1, 15},
                          kFont);
        for (int i = 0; i < 5; ++i) {
            auto* label = new QLabel(this);
            label->setObjectName(QStringLiteral("lblFreqSpot%1").arg(5 * row + i));
            label->setStyleSheet(QStringLiteral("color: white;"));
            m_scale[static_cast<std::size_t>(5 * row + i)] = label;
        }
    }
    for (int i = 0; i < kSpotSlots; ++i) {
        auto* label = new SpotLabel(i, this);
        m_labels[static_cast<std::size_t>(i)] = label;
        connect(label, &SpotLabel::rightPressed, this, [this](int slot) {
            emit spotChosen(slot);
            hide();
        });
        connect(label, &SpotLabel::otherPressed, this, [this](int slot) {
            m_store.remove(slot);
            redraw();
            emit spotRemoved();
        });
    }
    m_labels.back()->raise();
    FormScaler::scale(this, ScaleVariant::WorkAreaFilled,
                      {0, 0, static_cast<double>(kSpectrumDesignWidth), static_cast<double>(kSpectrumDesignHeight)});
    placeRows();
}

SpectrumMapWindow::~SpectrumMapWindow() {
    setWorth(nullptr);
}

void SpectrumMapWindow::setWorth(SpotWorthSlot* worth) {
    if (m_worth != nullptr) {
        m_worth->unlisten(m_worthListener);
    }
    m_worth = worth;
    if (m_worth != nullptr) {
        m_worthListener = m_worth->listen([this] {
            if (isVisible()) {
                redraw();
            }
        });
    }
}

QRect SpectrumMapWindow::lineOf(int row) const {
    return m_lines[static_cast<std::size_t>(row)]->geometry();
}

void SpectrumMapWindow::placeRows() {
    const auto scales = spectrumScales(m_store);
    const int gap = static_cast<int>(std::lround(0.004 * height()));
    for (int row = 0; row < kSpectrumRows; ++row) {
        const QRect line = lineOf(row);
        for (int i = 0; i < 5; ++i) {
            QLabel* label = m_scale[static_cast<std::size_t>(5 * row + i)];
            label->setText(
                QString::fromStdString(scales[static_cast<std::size_t>(row)].captions[static_cast<std::size_t>(i)]));
            label->adjustSize();
            const QRect strip = m_strips[static_cast<std::size_t>(row)]->geometry();
            const double left = scaleCaptionLeft(i, line.left(), line.right(), label->width());
            label->move(
                static_cast<int>(std::lround(keepInside(left, label->width(), strip.left(), strip.right() + 1))),
                line.top() + gap);
            label->show();
        }
        // The band's name stands below the line just right of the first caption: above the
        // line are the spots, which may stand at its very start.
        QLabel* name = m_bandNames[static_cast<std::size_t>(row)];
        const QRect first = m_scale[static_cast<std::size_t>(5 * row)]->geometry();
        const QRect strip = m_strips[static_cast<std::size_t>(row)]->geometry();
        name->adjustSize();
        name->move(first.right() + 1 + first.height() / 2 - strip.left(), first.top() - strip.top());
    }
}

void SpectrumMapWindow::redraw() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    for (SpotLabel* label : m_labels) {
        label->hide();
    }
    placeRows();
    const auto scales = spectrumScales(m_store);
    for (const SpotMark& mark : spectrumMarks(m_store, scales, m_now(), m_utcOffset())) {
        SpotLabel* label = m_labels[static_cast<std::size_t>(mark.slot)];
        const QRect line = lineOf(mark.row);
        label->setText(QString::fromLatin1(mark.caption.c_str()));
        label->setToolTip(QString::fromLatin1(mark.toolTip.c_str()));
        setTextColour(label, mark.colour);
        if (m_worth != nullptr && m_worth->attached()) {
            markLabel(label, m_worth->worthOf(m_store.slot(mark.slot).call), mark.colour);
        }
        label->adjustSize();
        label->move(static_cast<int>(std::lround(labelLeft(mark.fraction, line.left(), line.right(), label->width()))),
                    line.top() - label->height());
        label->show();
        label->raise();
    }
    QApplication::restoreOverrideCursor();
}

void SpectrumMapWindow::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        redraw();
    }
}

void SpectrumMapWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    redraw();
}

} // namespace corvane::spots
