#include "spots/ui/SpotLabel.h"

#include <QMouseEvent>

namespace corvane::spots {

SpotLabel::SpotLabel(int slot, QWidget* parent) : QLabel(QStringLiteral("DXLBL"), parent), m_slot(slot) {
    setObjectName(QStringLiteral("lblDXSpot%1").arg(slot));
    setAlignment(Qt::AlignCenter);
    setMouseTracking(true);
    hide();
}

int SpotLabel::designWidth() const {
    const int frame = 2 * (frameWidth() + margin());
    return fontMetrics().horizontalAdvance(QStringLiteral("DXLBL")) + frame;
}

void SpotLabel::enterEvent(QEnterEvent* event) {
    QLabel::enterEvent(event);
    emit hovered(m_slot);
}

void SpotLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        emit rightPressed(m_slot);
    } else {
        emit otherPressed(m_slot);
    }
    event->accept();
}

} // namespace corvane::spots
