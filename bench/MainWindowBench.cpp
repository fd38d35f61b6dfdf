// The main window with a full log: one keystroke in the call field, and one logged
// contact with every contact listed, each measured with the window's whole update. The
// log's contacts are 30 s apart and end a minute before the window's clock, as in a
// contest. A logged contact is measured twice: in the usual temporary folder (the sync
// of the appended line included) and in a folder in memory (/dev/shm), where a sync
// costs nothing, so that the window's own share shows; the sync is measured alone too.

#include "BenchUtil.h"
#include "log/LogFile.h"
#include "support/MainWindowFixture.h"

#include <QApplication>
#include <QPushButton>
#include <cstdlib>
#include <filesystem>

using namespace corvane;

namespace {

struct Figures {
    double keystrokeMs = 0;
    double logContactMs = 0;
    double syncAloneMs = 0;
};

Figures measure() {
    test::MainWindowFixture f;
    std::vector<QsoRecord> records;
    const int count = ContactLog::kCapacity - 40;
    const DateTime newest = addSeconds(f.clock.utcNow(), -60);
    for (int i = 0; i < count; ++i) {
        const DateTime when = addSeconds(newest, -30LL * (count - 1 - i));
        records.push_back({"K" + std::to_string(i) + "AB", "1,234", "FN31", "", "FN20", formatDateSlash(when),
                           formatTimeHms(when), "3", "CW", ""});
    }
    f.writeFile("log.txt", formatLog(records));
    if (!f.start()) {
        std::exit(1);
    }
    f.window->show();
    QApplication::processEvents();

    Figures out;
    // A keystroke that matches many calls, then its backspace.
    QLineEdit* call = f.call();
    call->setFocus();
    call->setText(QStringLiteral("K1"));
    out.keystrokeMs = bench::medianMs(51,
                                      [&] {
                                          QTest::keyClick(call, Qt::Key_2);
                                          QApplication::processEvents();
                                          QTest::keyClick(call, Qt::Key_Backspace);
                                          QApplication::processEvents();
                                      }) /
                      2;

    // Every contact listed, then contacts logged one by one (sync included).
    f.child<QPushButton>("cmdList")->click();
    QApplication::processEvents();
    int n = 0;
    out.logContactMs = bench::medianMs(21, [&] {
        call->setText(QStringLiteral("W%1NEW").arg(++n));
        f.grid()->setText(QStringLiteral("EM84"));
        QTest::keyClick(f.grid(), Qt::Key_Return);
        QApplication::processEvents();
    });

    // The disk's share: one line appended and synced to a copy of the log beside it.
    const std::string copy = f.file("sync-copy.txt");
    f.writeFile("sync-copy.txt", f.readFile("log.txt"));
    const std::string line = formatLogLine(records.back());
    appendDurably(copy, line); // the copy's own first sync is not timed
    out.syncAloneMs = bench::medianMs(21, [&] { appendDurably(copy, line); });
    return out;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const Figures onDisk = measure();
    bench::report("keystroke_call_12000_window", onDisk.keystrokeMs, "ms");
    bench::report("log_contact_all_listed_12000_window", onDisk.logContactMs, "ms");
    bench::report("log_contact_sync_alone_12000", onDisk.syncAloneMs, "ms");

    std::error_code ec;
    if (std::filesystem::is_directory("/dev/shm", ec)) {
        setenv("TMPDIR", "/dev/shm", 1);
        const Figures inMemory = measure();
        bench::report("log_contact_all_listed_12000_window_memory_folder", inMemory.logContactMs, "ms");
    }
    return 0;
}
