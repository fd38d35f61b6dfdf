// Super check partial in the real main window, with a 50 000-call MASTER.SCP in the working
// folder and a 1 000-contact log:
//   scp_ui_stall_max            the window thread's longest stall (gap between the ticks of a
//                               1 ms heartbeat timer) from the end of start-up until the known
//                               calls are in (the file is read on a worker thread)
//   scp_window_keystroke_50000  one typed character in the call field, the known-calls line
//                               and every other reaction of the window included

#include "BenchUtil.h"
#include "WindowThread.h"
#include "log/LogFile.h"
#include "support/MainWindowFixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <chrono>
#include <cstdio>

using namespace corvane;
using SteadyClock = std::chrono::steady_clock;

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    test::MainWindowFixture f;
    std::string scp = "# generated\r\n";
    for (int i = 0; i < 50000; ++i) {
        scp += "K" + std::to_string(i % 10) + static_cast<char>('A' + (i / 10) % 26) +
               static_cast<char>('A' + (i / 260) % 26) + static_cast<char>('A' + (i / 6760) % 26) + "\r\n";
    }
    f.writeFile("MASTER.SCP", scp);
    std::vector<QsoRecord> records;
    for (int i = 0; i < 1000; ++i) {
        records.push_back({"K" + std::to_string(i % 10) + "AA" + static_cast<char>('A' + i % 26), "1,234", "FN31", "",
                           "FN20", "2012/12/29", "18:00:00", "3", "CW", ""});
    }
    f.writeFile("log.txt", formatLog(records));

    bench::StallMeter heartbeat;
    if (!f.start()) {
        return 1;
    }
    heartbeat.start();
    auto* line = f.child<QLabel>("lblScp");
    f.call()->setFocus();
    f.call()->setText(QStringLiteral("K1"));
    QElapsedTimer waited;
    waited.start();
    while (line->text().isEmpty() && waited.elapsed() < 5000) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    heartbeat.stop();
    if (line->text().isEmpty()) {
        std::fprintf(stderr, "scp bench: the known calls never came\n");
        return 1;
    }
    bench::report("scp_ui_stall_max", heartbeat.longestMs(), "ms");

    QLineEdit* call = f.call();
    call->setText(QStringLiteral("K1"));
    const double pairMs = bench::medianMs(51, [&] {
        QTest::keyClick(call, Qt::Key_B);
        QApplication::processEvents();
        QTest::keyClick(call, Qt::Key_Backspace);
        QApplication::processEvents();
    });
    bench::report("scp_window_keystroke_50000", pairMs * 1000.0 / 2.0, "us");
    return 0;
}
