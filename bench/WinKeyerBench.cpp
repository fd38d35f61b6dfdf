// The WinKeyer path through the whole program side, against the simulated keyer on a
// pseudo-terminal:
//   winkey_fkey_to_first_byte  ms from a function key on the main window to the keyer
//                              reading the message's first character (median of 21)
//   winkey_ui_stall_max        the window thread's longest stall (gap between the ticks of a
//                              1 ms heartbeat timer) while a 60-character message streams

#include "BenchUtil.h"
#include "TempDir.h"
#include "WindowThread.h"
#include "cw/ui/CwController.h"
#include "cw/winkey/ui/WinKeyerService.h"
#include "log/station/SharedPrefs.h"
#include "platform/QtSettingsStore.h"
#include "platform/serial/SerialSettings.h"
#include "support/ManualClock.h"
#include "support/ScriptedDialogs.h"
#include "support/SimulatedWinKeyer.h"
#include "ui/AppContext.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <functional>

using namespace corvane;
using SteadyClock = std::chrono::steady_clock;

namespace {

struct Host : cw::CwHost {
    std::string callText() const override { return "K1ABC"; }
    void logContact() override {}
    void clearEntry() override {}
    void showMessage(const std::string&) override {}
    void setMessageBackground(cw::Rgb) override {}
};

void pressKey(cw::CwController& cw, int code, const QString& text = {}) {
    QKeyEvent event(QEvent::KeyPress, code, Qt::NoModifier, text);
    if (!cw.handleKeyDown(&event)) {
        cw.handleKeyPress(&event);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);

    test::SimulatedWinKeyer keyer;
    keyer.setXoffAbove(85); // a real keyer's buffer: XOFF at two thirds of 128
    test::TempDir dir;
    ManualClock clock(DateTime{2012, 12, 29, 18, 15, 2});
    test::ScriptedDialogs dialogs;
    auto settings = makeFileSettingsStore(dir.file("settings.ini"));
    settings->set(serialDeviceKey(1), keyer.devicePath());
    SharedPrefs sharedPrefs;
    UserFolders folders;
    folders.userDataFolder = dir.file("Corvane");
    std::filesystem::create_directories(folders.userDataFolder);
    AppContext context{dialogs, clock, *settings, sharedPrefs, dir.path().string(), folders, [](int) {}};
    Host host;
    QWidget mainWindow;
    cw::CwController cw(host, context, &mainWindow);

    cw::CwSettings s;
    s.keyingOption = cw::KeyingOption::WinKey;
    s.speedWpm = "99";
    s.messages[1] = "$ TU";
    s.messages[2] = std::string("CQ CQ CQ TEST DE W1AW W1AW TEST 5NN 5NN TU 73 CQ TEST W1AW K");
    s.messages[2].resize(60, 'E');
    cw.loadSettings(cw::parseCwSettings(cw::formatCwSettings(s)));
    cw::WinKeyerController& wk = cw.winKeyer().controller();
    wk.comPortLeft("1");
    wk.openKeyer();
    if (!bench::runUntil([&] { return wk.isOpen(); }, 5000)) {
        std::fprintf(stderr, "winkey bench: the simulated keyer did not open\n");
        return 1;
    }
    bench::runUntil([] { return false; }, 50);

    // A function key to the first character on the wire.
    std::vector<double> delays;
    for (int run = 0; run < 21; ++run) {
        keyer.forgetReceived();
        const auto pressed = SteadyClock::now();
        pressKey(cw, Qt::Key_F2);
        if (!bench::runUntil([&] { return keyer.firstCharacterAt().has_value(); }, 5000)) {
            std::fprintf(stderr, "winkey bench: no character reached the keyer\n");
            return 1;
        }
        delays.push_back(std::chrono::duration<double, std::milli>(*keyer.firstCharacterAt() - pressed).count());
        wk.stop();
        bench::runUntil([&] { return !keyer.busy() && !wk.transmitting(); }, 5000);
    }
    std::sort(delays.begin(), delays.end());
    bench::report("winkey_fkey_to_first_byte", delays[delays.size() / 2], "ms");

    // The window thread while a 60-character message streams to the keyer.
    bench::StallMeter heartbeat;
    keyer.forgetReceived();
    heartbeat.start();
    bench::runUntil([] { return false; }, 20);
    pressKey(cw, Qt::Key_F3);
    const bool streamed = bench::runUntil([&] { return !wk.transmitting() && keyer.received().size() >= 60; }, 10000);
    heartbeat.stop();
    if (!streamed) {
        std::fprintf(stderr, "winkey bench: the message did not stream\n");
        return 1;
    }
    bench::report("winkey_ui_stall_max", heartbeat.longestMs(), "ms");
    wk.stop();
    cw.shutdown();
    return 0;
}
