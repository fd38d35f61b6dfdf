#pragma once
// The top of the main window: the own call and grid, the UTC and local clocks, and the
// Time On clock with its button (cmdLogOn).

#include "core/DateTime.h"

#include <QObject>
#include <QTimer>

class QLabel;
class QPushButton;
class QWidget;

namespace corvane {

struct AppContext;
class Session;

class ClockPanel : public QObject {
    Q_OBJECT
public:
    ClockPanel(AppContext& context, Session& session, QWidget* central);

    void showStation();
    void start(); // the 1000 ms clock
    void tick();
    bool timeOnRunning() const { return m_running; }
    // Starts the Time On clock, or stops it and adds the run to the accumulated total.
    void toggleTimeOn();
    // The accumulated total brought up to now (File > Exit while the clock runs).
    void settleTimeOn();
    void resetTimeOn();

signals:
    void timeOnStarted();
    // The clock stopped; `utc` is when, in UTC.
    void timeOnStopped(const DateTime& utc);

private:
    AppContext& m_ctx;
    Session& m_session;
    QTimer m_timer;
    bool m_running = false;
    DateTime m_start;

    QLabel* m_ownCall = nullptr;     // Label2
    QLabel* m_ownGrid = nullptr;     // Label4
    QLabel* m_utcClock = nullptr;    // lblutctime
    QLabel* m_localClock = nullptr;  // lblCurTime
    QLabel* m_amPm = nullptr;        // Label16
    QPushButton* m_logOn = nullptr;  // cmdLogOn
    QLabel* m_timeOnClock = nullptr; // lblttrack
};

} // namespace corvane
