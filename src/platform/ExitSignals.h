#pragma once
// SIGTERM and SIGINT, turned into a call on the window thread: the program ends the way
// File > Exit does, with the keyer stopped and every key line dropped, instead of dying with
// the transmitter keyed.

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace corvane {

class ExitSignals : public QObject {
    Q_OBJECT
public:
    // `onSignal` runs on the window thread with the signal number, once per signal.
    explicit ExitSignals(std::function<void(int)> onSignal, QObject* parent = nullptr);
    ~ExitSignals() override;

private:
    void readSignal();
    std::function<void(int)> m_onSignal;
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace corvane
