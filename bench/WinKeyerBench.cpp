// The WinKeyer path through the whole program side, against the simulated keyer on a
// pseudo-terminal:
//   winkey_fkey_to_first_byte  ms from a function key on the main window to the keyer
//                              reading the message's first character (median of 21)
//   winkey_ui_stall_max        the window thread's longest stall (gap between the ticks of a
//                              1 ms heartbeat timer) while a 60-character message streams
//   winkey_practice_ui_stall_max  the same while code practice sends 60 characters
//   winkey_repeat_pause_late   ms the second copy of a repeating F1 message reaches the air
//                              later than the keyer's end of the first one plus the pause

#include "BenchUtil.h"
#include "WindowThread.h"
#include "cw/ui/CodePracticeWindow.h"
#include "cw/ui/CwController.h"
#include "cw/winkey/ui/WinKeyerService.h"
#include "platform/serial/SerialSettings.h"
#include "support/SimulatedWinKeyer.h"
#include "support/TestAppContext.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QPlainTextEdit>
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
    test::TestAppContext context;
    context.settings->set(serialDeviceKey(1), keyer.devicePath());
    Host host;
    QWidget mainWindow;
    cw::CwController cw(host, context.app, &mainWindow);

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
    bench::runUntil([&] { return !keyer.busy() && !wk.transmitting(); }, 5000);

    // Code practice through the keyer: one character at a time, each handed over in turn.
    {
        cw::CodePracticeWindow practice(cw);
        practice.findChild<QPlainTextEdit*>(QStringLiteral("txtToSend"))->setPlainText(QString(60, QLatin1Char('E')));
        const std::size_t before = keyer.keyed().size();
        bench::StallMeter practiceBeat;
        practiceBeat.start();
        practice.send();
        const bool sent = bench::runUntil([&] { return keyer.keyed().size() >= before + 60; }, 20000);
        practiceBeat.stop();
        if (!sent) {
            std::fprintf(stderr, "winkey bench: code practice did not reach the keyer\n");
            return 1;
        }
        bench::report("winkey_practice_ui_stall_max", practiceBeat.longestMs(), "ms");
    }

    // A repeating F1 message: the pause runs from the keyer's end of one copy.
    constexpr int kPauseMs = 300;
    cw.sender().settings().messages[0] = "TEST";
    cw.sender().applyRepeatSeconds("0.3");
    const std::size_t before = keyer.keyedTimes().size();
    pressKey(cw, Qt::Key_F1);
    if (!bench::runUntil([&] { return keyer.keyedTimes().size() >= before + 5; }, 10000)) {
        std::fprintf(stderr, "winkey bench: the calling loop did not repeat\n");
        return 1;
    }
    pressKey(cw, Qt::Key_Shift);
    const auto times = keyer.keyedTimes();
    const double gapMs =
        std::chrono::duration<double, std::milli>(times[before + 4].started - times[before + 3].finished).count();
    bench::report("winkey_repeat_pause_late", gapMs - kPauseMs, "ms");
    cw.shutdown();
    return 0;
}
