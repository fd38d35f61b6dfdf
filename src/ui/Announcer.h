#pragma once
// Speaks news the operator must act on (a refused duplicate, a contact not logged) through the
// screen reader at once, without taking the keyboard from the field that has it.
//
// Screen readers speak a notification when one appears on screen; a label that merely changes
// its name is spoken only when it has the focus. The announcer is such a notification: a
// one-pixel, unpainted widget that is shown anew with each message as its name. Before it
// appears, the widget that has the keyboard is reported focused again, so that the last focus
// event a screen reader heard is the true one even when the focus moved inside another focus
// change (a duplicate refused as the grid field was entered sends the keyboard back to the call).

#include <QString>
#include <QWidget>

namespace corvane {

class Announcer final : public QWidget {
    Q_OBJECT
public:
    explicit Announcer(QWidget* parent);

    // Queued: spoken once the event that led to it has finished.
    void announce(const QString& text);
    // What was announced last ("" before the first).
    QString lastAnnouncement() const { return m_last; }

protected:
    void paintEvent(QPaintEvent*) override {}

private:
    void present();

    QString m_last;
};

} // namespace corvane
