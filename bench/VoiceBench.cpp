// Push-to-talk release: how long after a recording's audio has run out the push-to-talk
// line goes off. The voice keyer runs as in the program, on the window thread's timers with
// its 40 ms end-of-play check; the player is a recording one whose audio ends a set time after
// it started, and the serial line notes when it was switched. Twenty recordings of 300 to
// 490 ms, so that their ends fall at every point between two checks.
//
//  - ptt_release_after_end_ms: the longest of the twenty (goal: under 50 ms)
//  - ptt_release_after_end_mean_ms: their mean
//  - voice_ui_stall_max_ms: the longest gap between two ticks of a 1 ms heartbeat on the
//    window thread meanwhile

#include "BenchUtil.h"
#include "platform/PortBroker.h"
#include "platform/QtOneShotTimer.h"
#include "support/RecordingParallel.h"
#include "support/RecordingWavePlayer.h"
#include "voice/VoiceKeyer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <chrono>

using namespace corvane;
using Clock = std::chrono::steady_clock;

namespace {

// A serial port whose only interest is when RTS went off.
class TimedLinePort final : public SerialPort {
public:
    void setPortNumber(int port) override { m_port = port; }
    int portNumber() const override { return m_port; }
    std::string devicePath() const override { return "/dev/bench-ptt"; }
    bool setSettings(std::string_view) override { return true; }
    std::string settings() const override { return "9600,N,8,1"; }
    void setHandshaking(Handshaking) override {}
    bool setDtr(bool on) override {
        m_dtr = on;
        return true;
    }
    bool setRts(bool on) override {
        if (m_rts && !on && m_open) {
            releasedAt = Clock::now();
        }
        m_rts = on;
        return true;
    }
    bool dtr() const override { return m_dtr; }
    bool rts() const override { return m_rts; }
    bool open(std::string* = nullptr) override { return m_open = true; }
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    bool write(std::string_view) override { return true; }
    std::string readAll() override { return {}; }
    std::int64_t outputPending() const override { return 0; }

    Clock::time_point releasedAt{};

private:
    int m_port = 0;
    bool m_dtr = false;
    bool m_rts = false;
    bool m_open = false;
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    test::RecordingWavePlayer player;
    player.acceptAll = true;
    TimedLinePort serial;
    test::RecordingParallel parallel;
    PortBroker broker;
    QtOneShotTimer endPoll;
    QtOneShotTimer repeat;
    VoiceKeyer keyer(VoiceKeyerDevices{player, serial, parallel, broker, endPoll, repeat}, {});
    keyer.settings().recordingPaths[0] = "/bench/cq.wav";
    keyer.settings().pttPort = "1";

    QElapsedTimer sinceTick;
    qint64 stallMax = 0;
    QTimer heartbeat;
    heartbeat.setTimerType(Qt::PreciseTimer);
    QObject::connect(&heartbeat, &QTimer::timeout, [&] { stallMax = std::max(stallMax, sinceTick.restart()); });

    std::vector<double> delays;
    for (int i = 0; i < 20; ++i) {
        player.playMs = 300 + i * 10;
        player.fileDurationMs = player.playMs;
        keyer.playMessage(1);
        if (i == 0) {
            sinceTick.start();
            heartbeat.start(1);
        }
        while (serial.rts()) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        }
        delays.push_back(std::chrono::duration<double, std::milli>(serial.releasedAt - player.endedAt).count());
    }
    heartbeat.stop();
    double sum = 0;
    for (double d : delays) {
        sum += d;
    }
    bench::report("ptt_release_after_end_ms", *std::max_element(delays.begin(), delays.end()), "ms");
    bench::report("ptt_release_after_end_mean_ms", sum / static_cast<double>(delays.size()), "ms");
    bench::report("voice_ui_stall_max_ms", static_cast<double>(stallMax), "ms");
    return 0;
}
