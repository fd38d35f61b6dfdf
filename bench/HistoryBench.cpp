// The call history, with a 100 000-station CallHistory.txt:
//   history_load_100000       reading the file and building the history (ms)
//   history_ui_stall_max      the window thread's longest stall (gap between the ticks of a
//                             1 ms heartbeat timer) from the end of start-up until the history
//                             is in (it is read on a worker thread) (ms)
//   history_keystroke_100000  one typed character in the call field of the real window, the
//                             history hint and every other reaction of the window included (us)
//   spot_worth_200            marking the 200 rows of the spot list again after a contact (us)

#include "BenchUtil.h"
#include "WindowThread.h"
#include "history/HistorySources.h"
#include "history/ui/HistoryFeature.h"
#include "log/LogFile.h"
#include "spots/SpotText.h"
#include "spots/ui/SpotArea.h"
#include "spots/ui/SpotsFeature.h"
#include "support/MainWindowFixture.h"
#include "support/SpotLines.h"

#include <QApplication>
#include <QTreeWidget>
#include <cstdio>

using namespace corvane;

namespace {

std::string callOf(int i) {
    return "K" + std::to_string(i % 10) + static_cast<char>('A' + (i / 10) % 26) +
           static_cast<char>('A' + (i / 260) % 26) + static_cast<char>('A' + (i / 6760) % 26);
}

std::string gridOf(int i) {
    return {static_cast<char>('A' + i % 18), static_cast<char>('A' + (i / 18) % 18), static_cast<char>('0' + i % 10),
            static_cast<char>('0' + (i / 10) % 10)};
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    test::MainWindowFixture f;
    std::string text = "# generated\r\n!!Order!!,Call,Name,Loc1\r\n";
    for (int i = 0; i < 100000; ++i) {
        text += callOf(i) + ",Op," + gridOf(i) + "\r\n";
    }
    f.writeFile("CallHistory.txt", text);

    HistorySources sources;
    sources.historyFile = f.file("CallHistory.txt");
    std::size_t known = 0;
    const double loadMs = bench::medianMs(11, [&] { known = loadHistory(sources).history.size(); });
    if (known < 99000) {
        std::fprintf(stderr, "history bench: only %zu calls read\n", known);
        return 1;
    }
    bench::report("history_load_100000", loadMs, "ms");

    std::vector<QsoRecord> records;
    for (int i = 0; i < 1000; ++i) {
        records.push_back({callOf(i), "1,234", gridOf(i), "", "FN20", "2012/12/29", "18:00:00", "3", "CW", ""});
    }
    f.writeFile("log.txt", formatLog(records));

    bench::StallMeter heartbeat;
    if (!f.start()) {
        return 1;
    }
    auto* history = f.window->feature<history::HistoryFeature>();
    heartbeat.start();
    const bool loaded = bench::runUntil([history] { return history->worth().history() != nullptr; }, 10000);
    heartbeat.stop();
    if (!loaded) {
        std::fprintf(stderr, "history bench: the history never came\n");
        return 1;
    }
    bench::report("history_ui_stall_max", heartbeat.longestMs(), "ms");

    QLineEdit* call = f.call();
    call->setFocus();
    call->setText(QString::fromStdString(callOf(5000).substr(0, 4)));
    const double pairMs = bench::medianMs(51, [&] {
        QTest::keyClick(call, Qt::Key_A);
        QApplication::processEvents();
        QTest::keyClick(call, Qt::Key_Backspace);
        QApplication::processEvents();
    });
    bench::report("history_keystroke_100000", pairMs * 1000.0 / 2.0, "us");

    auto* spotsFeature = f.window->feature<spots::SpotsFeature>();
    for (int i = 0; i < 200; ++i) {
        const std::string kHz = std::to_string(1800 + i % 199) + ".5";
        const std::string c = callOf(i * 37);
        spotsFeature->bandMapSpots({kHz, c, spots::spotRecord(spots::testing::clusterLine("K1TTT", kHz, c))});
    }
    if (spotsFeature->area().list()->topLevelItemCount() != 200) {
        std::fprintf(stderr, "history bench: the spot list holds %d rows\n",
                     spotsFeature->area().list()->topLevelItemCount());
        return 1;
    }
    const double remarkMs = bench::medianMs(51, [&] { spotsFeature->area().remark(); });
    bench::report("spot_worth_200", remarkMs * 1000.0, "us");
    return 0;
}
