#pragma once
// The window thread in the benchmarks: running its event loop alone while the work goes on,
// and measuring its longest stall.

#include <QEventLoop>
#include <QObject>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <functional>

namespace corvane::bench {

// Runs the window thread's event loop until `done` holds or the time is up. Unlike
// QTest::qWaitFor, which sleeps up to 10 ms between its turns, this leaves the thread to
// the event loop alone, so a heartbeat measures the program and not the waiting.
inline bool runUntil(const std::function<bool()>& done, int timeoutMs) {
    if (done()) {
        return true;
    }
    QEventLoop loop;
    QTimer check;
    check.setTimerType(Qt::PreciseTimer);
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    QObject::connect(&check, &QTimer::timeout, [&] {
        if (done() || std::chrono::steady_clock::now() >= giveUp) {
            loop.quit();
        }
    });
    check.start(1);
    loop.exec();
    return done();
}

// The longest stall: a 1 ms heartbeat timer on the thread that creates the meter, and the
// longest gap seen between two of its ticks while it runs.
class StallMeter {
public:
    StallMeter() {
        m_heartbeat.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_heartbeat, &QTimer::timeout, [this] {
            const auto now = Clock::now();
            if (m_last != Clock::time_point{}) {
                m_longestMs = std::max(m_longestMs, std::chrono::duration<double, std::milli>(now - m_last).count());
            }
            m_last = now;
        });
    }

    void start() { m_heartbeat.start(1); }
    void stop() { m_heartbeat.stop(); }
    double longestMs() const { return m_longestMs; }

private:
    using Clock = std::chrono::steady_clock;
    QTimer m_heartbeat;
    Clock::time_point m_last{};
    double m_longestMs = 0;
};

} // namespace corvane::bench
