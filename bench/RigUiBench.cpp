// The rig link on the window thread against a simulated Kenwood on a pseudo-terminal:
//   rig_ui_stall_max   the window thread's longest stall (gap between the ticks of a 1 ms
//                      heartbeat timer) while polling at 100 ms and tuning once a second for
//                      10 s
//   rig_ui_tune_ms     ms from a frequency change to the radio taking it (median of the ten;
//                      the Kenwood's own pause of 205 ms included)

#include "BenchUtil.h"
#include "TempDir.h"
#include "WindowThread.h"
#include "platform/PortBroker.h"
#include "platform/QtSettingsStore.h"
#include "platform/serial/QtSerialPort.h"
#include "platform/serial/SerialSettings.h"
#include "rig/ui/RigLink.h"
#include "support/SimulatedRadio.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <functional>

using namespace corvane;
using SteadyClock = std::chrono::steady_clock;

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);

    test::SimulatedRadio radio(test::SimulatedRadio::Family::Kenwood);
    if (!radio.ready()) {
        std::fprintf(stderr, "rig bench: no pseudo-terminal\n");
        return 1;
    }
    PortBroker broker;
    const std::string device = radio.devicePath();
    rig::RigLink link({broker, [](float) {}, [](const std::string&) {}, [] { return std::string("."); }, [] {}},
                      std::make_unique<QtSerialPort>([device](int) { return device; }));
    rig::RigLinkSettings& settings = link.settings();
    settings.model = "Kenwood";
    settings.frequencyCommand = "FA;";
    settings.modeCommand = "MD;";
    settings.pollRate = rig::PollRate::Fast;
    settings.port = 1;
    if (!link.test() || !bench::runUntil([&] { return link.state().frequencyMHz > 0; }, 3000)) {
        std::fprintf(stderr, "rig bench: the radio did not answer\n");
        return 1;
    }

    bench::StallMeter heartbeat;
    heartbeat.start();
    std::vector<double> tuneMs;
    for (int second = 0; second < 10; ++second) {
        const long long hz = 1810000 + second * 1000;
        const auto asked = SteadyClock::now();
        link.changeFrequency(static_cast<float>(hz) / 1e6F);
        bench::runUntil([&] { return radio.frequencyHz() == hz; }, 1000);
        tuneMs.push_back(std::chrono::duration<double, std::milli>(SteadyClock::now() - asked).count());
        bench::runUntil([] { return false; }, static_cast<int>(std::max(0.0, 1000.0 - tuneMs.back())));
    }
    heartbeat.stop();
    if (radio.frequencyHz() != 1819000 || !link.polling()) {
        std::fprintf(stderr, "rig bench: the radio was not tuned\n");
        return 1;
    }
    std::sort(tuneMs.begin(), tuneMs.end());
    bench::report("rig_ui_stall_max", heartbeat.longestMs(), "ms");
    bench::report("rig_ui_tune_ms", tuneMs[tuneMs.size() / 2], "ms");
    link.shutdown();
    return 0;
}
