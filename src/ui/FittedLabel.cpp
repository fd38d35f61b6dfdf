#include "ui/FittedLabel.h"

#include <QEvent>
#include <QFontMetricsF>
#include <cmath>

namespace corvane {

namespace {
constexpr double kSmallestShare = 0.5;
constexpr double kStepPoints = 0.5;
} // namespace

FittedLabel::FittedLabel(QWidget* parent) : QLabel(parent), m_base(font()) {}

void FittedLabel::setFittedText(const QString& text) {
    setText(text);
    refit();
}

bool FittedLabel::event(QEvent* event) {
    const bool handled = QLabel::event(event);
    if (event->type() == QEvent::FontChange && !m_fitting) {
        m_base = font(); // the window scaled its controls: the new size to fit from
        refit();
    } else if (event->type() == QEvent::Resize) {
        refit();
    }
    return handled;
}

void FittedLabel::refit() {
    if (m_fitting) {
        return;
    }
    m_fitting = true;
    const QRect box = contentsRect();
    const QString shown = text();
    QFont f = m_base;
    bool wrap = false;
    if (!shown.isEmpty() && box.isValid() && QFontMetricsF(f).horizontalAdvance(shown) > box.width()) {
        wrap = true;
        const double smallest = m_base.pointSizeF() * kSmallestShare;
        for (double size = m_base.pointSizeF(); size >= smallest; size -= kStepPoints) {
            f.setPointSizeF(size);
            const QRectF needed = QFontMetricsF(f).boundingRect(QRectF(0, 0, box.width(), 1e6),
                                                                Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, shown);
            if (std::ceil(needed.height()) <= box.height() && std::ceil(needed.width()) <= box.width()) {
                break;
            }
        }
    }
    setWordWrap(wrap);
    if (font() != f) {
        setFont(f);
    }
    m_fitting = false;
}

} // namespace corvane
