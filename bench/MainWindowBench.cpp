// The main window with a full log: one keystroke in the call field, and one logged
// contact with every contact listed, each measured with the window's whole update.

#include "BenchUtil.h"
#include "log/LogFile.h"
#include "log/MainWindowFixture.h"

#include <QApplication>
#include <QPushButton>

using namespace corvane;

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    test::MainWindowFixture f;
    std::vector<QsoRecord> records;
    for (int i = 0; i < ContactLog::kCapacity - 40; ++i) {
        records.push_back(
            {"K" + std::to_string(i) + "AB", "1,234", "FN31", "", "FN20", "2012/12/29", "20:00:00", "3", "CW", ""});
    }
    f.writeFile("log.txt", formatLog(records));
    if (!f.start()) {
        return 1;
    }
    f.window->show();
    QApplication::processEvents();

    // A keystroke that matches many calls, then its backspace.
    QLineEdit* call = f.call();
    call->setFocus();
    call->setText(QStringLiteral("K1"));
    const double keyMs = bench::medianMs(51, [&] {
        QTest::keyClick(call, Qt::Key_2);
        QApplication::processEvents();
        QTest::keyClick(call, Qt::Key_Backspace);
        QApplication::processEvents();
    });
    bench::report("keystroke_call_12000_window", keyMs / 2, "ms");

    // Every contact listed, then contacts logged one by one (sync included).
    f.child<QPushButton>("cmdList")->click();
    QApplication::processEvents();
    int n = 0;
    const double logMs = bench::medianMs(21, [&] {
        call->setText(QStringLiteral("W%1NEW").arg(++n));
        f.grid()->setText(QStringLiteral("EM84"));
        QTest::keyClick(f.grid(), Qt::Key_Return);
        QApplication::processEvents();
    });
    bench::report("log_contact_all_listed_12000_window", logMs, "ms");
    return 0;
}
