#pragma once
// A spot's label on a band line: its caption, colour and tool tip come from the map
// arithmetic; the mouse is reported to the map that owns it.

#include <QLabel>

namespace corvane::spots {

class SpotLabel : public QLabel {
    Q_OBJECT
public:
    SpotLabel(int slot, QWidget* parent);
    int slot() const { return m_slot; }
    // The width of the label with its design caption "DXLBL", whatever it shows now: the map
    // lines keep this much room at each end.
    int designWidth() const;

signals:
    void hovered(int slot);
    void rightPressed(int slot);
    void otherPressed(int slot);

protected:
    bool event(QEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    int m_slot;
};

} // namespace corvane::spots
