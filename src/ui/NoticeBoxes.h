#pragma once
// Message boxes for failures a service reports from a read handler, a timer step or a keyer
// callback. The service sets its state straight first and posts the notice; the box opens
// from a queued call once the service is back in the event loop, so that data and timers
// arriving while the box is up find the service whole. Boxes come one at a time, in the
// order posted; a notice equal to one already waiting or on screen is the same news and is
// dropped.

#include "platform/Dialogs.h"

#include <QObject>
#include <QString>
#include <deque>
#include <functional>

class QWidget;

namespace corvane {

class NoticeBoxes final : public QObject {
public:
    struct Notice {
        QString title;
        QString text;
        MsgIcon icon = MsgIcon::None;
        bool beep = false;
        std::function<void()> after; // runs when the box was closed
    };

    // `parent` gives the window the boxes belong to when each one opens.
    NoticeBoxes(Dialogs& dialogs, std::function<QWidget*()> parent, QObject* owner = nullptr);

    void post(Notice notice);
    // A box of this object is on screen now.
    bool showing() const { return m_showing; }
    // Notices posted and not shown yet.
    std::size_t waiting() const { return m_waiting.size(); }

private:
    void showWaiting();

    Dialogs& m_dialogs;
    std::function<QWidget*()> m_parent;
    std::deque<Notice> m_waiting;
    QString m_onScreenTitle;
    QString m_onScreenText;
    bool m_showing = false;
    bool m_scheduled = false;
};

} // namespace corvane
