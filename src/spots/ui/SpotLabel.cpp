#include "spots/ui/SpotLabel.h"

#include <QMouseEvent>

namespace corvane::spots {

SpotLabel::SpotLabel(int slot, QWidget* parent) : QLabel(parent), m_slot(slot) {
    setObjectName(QStringLiteral("lblDXSpot%1").arg(slot));
    // Read as its tool tip says it (see event()).
    setAccessibleDescription(QStringLiteral("A spot on the band map. Right-click tunes the radio to it and puts the "
                                            "call in the Call field; a click takes it off the map."));
    setAlignment(Qt::AlignCenter);
    setMouseTracking(true);
    hide();
}

int SpotLabel::designWidth() const {
    const int frame = 2 * (frameWidth() + margin());
    return fontMetrics().horizontalAdvance(QStringLiteral("DXLBL")) + frame;
}

bool SpotLabel::event(QEvent* event) {
    // A screen reader reads the spot as the tool tip tells it to the eye: call, frequency, time
    // and what the call is worth ("worked" for a duplicate, which the eye sees struck out).
    if (event->type() == QEvent::ToolTipChange) {
        setAccessibleName(toolTip().simplified());
    }
    return QLabel::event(event);
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
