#include "ui/Announcer.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QTimer>

namespace corvane {

namespace {

constexpr int kShownMs = 1500;

// A notification whose name is the message. The name is read from the announcer rather than set
// on the widget, so that a new message sends no name-change event of its own: the screen reader
// hears only that the notification appeared, and reads its name then.
class AnnouncerAccessible final : public QAccessibleWidget {
public:
    explicit AnnouncerAccessible(Announcer* announcer) : QAccessibleWidget(announcer, QAccessible::Notification) {}
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) {
            return static_cast<const Announcer*>(widget())->lastAnnouncement();
        }
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* announcerInterface(const QString& className, QObject* object) {
    if (className == QLatin1String("corvane::Announcer") && object != nullptr && object->isWidgetType()) {
        return new AnnouncerAccessible(static_cast<Announcer*>(object));
    }
    return nullptr;
}

} // namespace

Announcer::Announcer(QWidget* parent) : QWidget(parent) {
    static const bool installed = [] {
        QAccessible::installFactory(announcerInterface);
        return true;
    }();
    (void)installed;
    setObjectName(QStringLiteral("announcer"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(0, 0, 1, 1);
    hide();
}

void Announcer::announce(const QString& text) {
    m_last = text.trimmed();
    if (m_last.isEmpty()) {
        return;
    }
    QTimer::singleShot(0, this, &Announcer::present);
}

void Announcer::present() {
    if (!QAccessible::isActive()) {
        return;
    }
    if (QWidget* focused = QApplication::focusWidget()) {
        QAccessibleEvent focus(focused, QAccessible::Focus);
        QAccessible::updateAccessibility(&focus);
    }
    hide();
    show();
    raise();
    // Gone again shortly, so that the next message appears anew.
    QTimer::singleShot(kShownMs, this, &QWidget::hide);
}

} // namespace corvane
