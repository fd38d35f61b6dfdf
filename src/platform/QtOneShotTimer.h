#pragma once
// A single-shot timer of the window thread (the WinKeyer link, its send loop, the voice keyer).

#include "core/OneShotTimer.h"

#include <QTimer>

namespace corvane {

class QtOneShotTimer final : public OneShotTimer {
public:
    QtOneShotTimer() {
        m_timer.setSingleShot(true);
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] {
            auto fired = m_fired; // the callback may start the timer again
            if (fired) {
                fired();
            }
        });
    }
    void start(int intervalMs, std::function<void()> fired) override {
        m_fired = std::move(fired);
        m_timer.start(intervalMs);
    }
    void stop() override { m_timer.stop(); }
    bool isActive() const override { return m_timer.isActive(); }

private:
    QTimer m_timer;
    std::function<void()> m_fired;
};

} // namespace corvane
