#include "log/ui/ClockPanel.h"

#include "core/Clock.h"
#include "log/Entry.h"
#include "log/Session.h"
#include "ui/AppContext.h"
#include "ui/WidgetText.h"

#include <QLabel>
#include <QLocale>
#include <QPushButton>

namespace corvane {

ClockPanel::ClockPanel(AppContext& context, Session& session, QWidget* central)
    : QObject(central), m_ctx(context), m_session(session) {
    m_ownCall = makeLabel(central, "Label2", QString(), {120, 120, 2000, 520}, 14, true);
    m_ownCall->setAccessibleName(QStringLiteral("Own call"));
    m_ownCall->setAccessibleDescription(QStringLiteral("The call sign of your station"));
    m_ownGrid = makeLabel(central, "Label4", QString(), {2200, 120, 1100, 520}, 14, true);
    m_ownGrid->setAccessibleName(QStringLiteral("Own grid"));
    m_ownGrid->setAccessibleDescription(QStringLiteral("The grid square of your station"));

    makeLabel(central, "lblUtcCaption", QStringLiteral("UTC"), {3500, 60, 1200, 240}, 8.25);
    m_utcClock = makeLabel(central, "lblutctime", QStringLiteral("00:00:00"), {3500, 300, 1200, 380}, 10, true);
    m_utcClock->setAccessibleName(QStringLiteral("UTC time"));
    m_utcClock->setAccessibleDescription(QStringLiteral("The time in UTC, logged with each contact"));
    makeLabel(central, "lblLocalCaption", QStringLiteral("Local"), {4800, 60, 1100, 240}, 8.25);
    m_localClock = makeLabel(central, "lblCurTime", QString(), {4800, 300, 1100, 380}, 10);
    m_localClock->setAccessibleName(QStringLiteral("Local time"));
    m_localClock->setAccessibleDescription(QStringLiteral("The time of this computer"));
    m_amPm = makeLabel(central, "Label16", QString(), {5900, 300, 520, 380}, 10);
    m_amPm->setAccessibleName(QStringLiteral("AM or PM"));

    m_logOn = new QPushButton(QStringLiteral("&Log \"Time On\""), central);
    m_logOn->setObjectName(QStringLiteral("cmdLogOn"));
    m_logOn->setToolTip(QStringLiteral("Records On/Off times and controls duration clock."));
    m_logOn->setAccessibleDescription(QStringLiteral("Starts or stops the clock of your time on the air"));
    m_logOn->setFocusPolicy(Qt::NoFocus);
    FormScaler::place(m_logOn, {6500, 120, 1800, 480}, 8.25);
    connect(m_logOn, &QPushButton::clicked, this, &ClockPanel::toggleTimeOn);
    m_timeOnClock = makeLabel(central, "lblttrack", QStringLiteral("00:00:00"), {8400, 120, 1100, 480}, 10, true);
    m_timeOnClock->setAccessibleName(QStringLiteral("Time on the air"));
    m_timeOnClock->setAccessibleDescription(QStringLiteral("How long you have been on the air"));

    m_timer.setInterval(1000);
    connect(&m_timer, &QTimer::timeout, this, &ClockPanel::tick);
}

void ClockPanel::showStation() {
    m_ownCall->setText(fromLatin1(m_session.prefs().ownCall));
    m_ownGrid->setText(fromLatin1(m_session.prefs().ownGrid));
}

void ClockPanel::start() {
    m_start = m_ctx.clock.localNow();
    m_timer.start();
    tick();
}

void ClockPanel::tick() {
    const DateTime local = m_ctx.clock.localNow();
    Preferences& prefs = m_session.prefs();
    m_utcClock->setText(fromLatin1(formatTimeHms(applyUtcOffset(local, prefs.utcOffsetHours))));
    m_localClock->setText(fromLatin1(formatLocalClock(local)));
    const QLocale locale;
    QString mark = local.hour < 12 ? locale.amText() : locale.pmText();
    if (mark.isEmpty()) {
        mark = local.hour < 12 ? QStringLiteral("AM") : QStringLiteral("PM");
    }
    m_amPm->setText(mark);
    if (m_running) {
        m_timeOnClock->setText(
            fromLatin1(formatDuration(timeOnTotalSeconds(m_start, local, prefs.timeOnAccumulatedSeconds))));
    }
}

void ClockPanel::toggleTimeOn() {
    Preferences& prefs = m_session.prefs();
    if (!m_running) {
        m_start = m_ctx.clock.localNow();
        m_running = true;
        m_logOn->setText(QStringLiteral("&Log \"Time Off\""));
        emit timeOnStarted();
        return;
    }
    m_running = false;
    m_logOn->setText(QStringLiteral("&Log \"Time On\""));
    prefs.timeOnAccumulatedSeconds =
        timeOnTotalSeconds(m_start, m_ctx.clock.localNow(), prefs.timeOnAccumulatedSeconds);
    emit timeOnStopped(applyUtcOffset(m_ctx.clock.localNow(), prefs.utcOffsetHours));
}

void ClockPanel::settleTimeOn() {
    if (!m_running) {
        return;
    }
    Preferences& prefs = m_session.prefs();
    prefs.timeOnAccumulatedSeconds =
        timeOnTotalSeconds(m_start, m_ctx.clock.localNow(), prefs.timeOnAccumulatedSeconds);
    m_running = false;
}

void ClockPanel::resetTimeOn() {
    m_session.prefs().timeOnAccumulatedSeconds = 0.0f;
    m_start = m_ctx.clock.localNow();
    m_timeOnClock->setText(QStringLiteral("00:00:00"));
}

} // namespace corvane
