// The contact list in "All" mode over a full log: the cost of one logged contact, the
// model update and the view processing it, on an offscreen window.

#include "BenchUtil.h"
#include "ScoreBenchLog.h"
#include "log/ui/ContactListPanel.h"

#include <QApplication>
#include <QPushButton>
#include <QTableView>
#include <algorithm>
#include <chrono>
#include <vector>

using namespace corvane;

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);

    const DateTime newest{2012, 12, 29, 23, 0, 0};
    ContactLog log = bench::fullLog(newest);
    const QsoRecord last = log.record(log.qsoCount());
    log.removeLast();

    ContactListPanel panel(log, {0, 0, 6200, 4800});
    panel.findChild<QPushButton*>(QStringLiteral("cmdList"))->click(); // "All"
    panel.show();
    QApplication::processEvents();

    // Each run logs the 12000th contact; the step back between runs is not timed.
    std::vector<double> times;
    for (int run = 0; run < 41; ++run) {
        const auto start = std::chrono::steady_clock::now();
        log.append(last);
        panel.contactLogged();
        panel.view()->viewport()->repaint();
        QApplication::processEvents();
        const auto end = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
        log.removeLast();
        panel.rebuild();
        QApplication::processEvents();
    }
    std::sort(times.begin(), times.end());
    bench::report("list_all_log_one_12000", times[times.size() / 2], "ms");

    // For comparison: the whole list rebuilt, as after every load of the log.
    log.append(last);
    const double rebuilt = bench::medianMs(21, [&] {
        panel.rebuild();
        panel.view()->viewport()->repaint();
        QApplication::processEvents();
    });
    bench::report("list_all_rebuild_12000", rebuilt, "ms");
    return 0;
}
