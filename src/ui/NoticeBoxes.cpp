#include "ui/NoticeBoxes.h"

#include <QPointer>
#include <QWidget>

namespace corvane {

NoticeBoxes::NoticeBoxes(Dialogs& dialogs, std::function<QWidget*()> parent, QObject* owner)
    : QObject(owner), m_dialogs(dialogs), m_parent(std::move(parent)) {}

void NoticeBoxes::post(Notice notice) {
    const auto same = [&](const QString& title, const QString& text) {
        return title == notice.title && text == notice.text;
    };
    if (m_showing && same(m_onScreenTitle, m_onScreenText)) {
        return;
    }
    for (const Notice& waiting : m_waiting) {
        if (same(waiting.title, waiting.text)) {
            return;
        }
    }
    m_waiting.push_back(std::move(notice));
    if (!m_showing && !m_scheduled) {
        m_scheduled = true;
        QMetaObject::invokeMethod(this, &NoticeBoxes::showWaiting, Qt::QueuedConnection);
    }
}

// Notices posted while a box is up wait for it to close: never a box over a box of ours.
void NoticeBoxes::showWaiting() {
    m_scheduled = false;
    if (m_showing) {
        return;
    }
    const QPointer<NoticeBoxes> alive(this);
    while (!m_waiting.empty()) {
        Notice notice = std::move(m_waiting.front());
        m_waiting.pop_front();
        m_showing = true;
        m_onScreenTitle = notice.title;
        m_onScreenText = notice.text;
        if (notice.beep) {
            m_dialogs.beep();
        }
        m_dialogs.message(m_parent ? m_parent() : nullptr, notice.title, notice.text, MsgButtons::Ok, notice.icon);
        if (!alive) {
            return; // the owner went away while the box was up
        }
        m_showing = false;
        m_onScreenTitle.clear();
        m_onScreenText.clear();
        if (notice.after) {
            notice.after();
            if (!alive) {
                return;
            }
        }
    }
}

} // namespace corvane
