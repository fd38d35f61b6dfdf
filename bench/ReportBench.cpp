// The contest report of a full log of 12000 contacts:
//   report_12000           making and writing the page (coastlines read, facts, pictures,
//                          HTML), as `corvane report --out` does
//   report_png_12000       the three pictures drawn and written as PNG files (--png)
//   report_ui_stall_max    the window thread's longest stall while File > Contest Report
//                          makes and writes the page in the real main window

#include "BenchUtil.h"
#include "ScoreBenchLog.h"
#include "WindowThread.h"
#include "export/Cabrillo.h"
#include "log/LogFile.h"
#include "report/ReportHtml.h"
#include "report/ui/ReportFeature.h"
#include "report/ui/ScenePainter.h"
#include "support/MainWindowFixture.h"

#include <QAction>
#include <QApplication>
#include <cstdio>

using namespace corvane;

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // The coastlines the build made, as the program finds them beside itself.
    qputenv("CORVANE_DATA_DIR", CORVANE_BUILD_DATA_DIR);
    QApplication app(argc, argv);
    const ContactLog log = bench::fullLog(DateTime{2012, 12, 30, 8, 0, 0});
    Preferences prefs;
    prefs.ownCall = "W1XYZ";
    prefs.ownGrid = "FN20";
    prefs.ownLatitude = 40.0;
    prefs.ownLongitude = 76.0;
    test::TempDir dir;
    const std::string coastFile = findCoastlineFile(CORVANE_BUILD_DATA_DIR, "");
    if (coastFile.empty()) {
        std::fprintf(stderr, "report bench: no coastlines in %s, the figures leave them out\n", CORVANE_BUILD_DATA_DIR);
    }

    std::size_t sink = 0;
    ContestReport made;
    bench::report("report_12000",
                  bench::medianMs(5,
                                  [&] {
                                      made = makeContestReport(log, prefs, loadCoastlines(coastFile), kProgramTitle);
                                      sink += writeReportFile(dir.file("report.html"), made.html).ok ? 1 : 0;
                                  }),
                  "ms");
    bench::report("report_png_12000",
                  bench::medianMs(3,
                                  [&] {
                                      for (const Scene& picture : made.pictures) {
                                          sink += writeScenePng(picture, dir.file(picture.name + ".png")).ok ? 1 : 0;
                                      }
                                  }),
                  "ms");

    test::MainWindowFixture f;
    f.writeFile("log.txt", formatLog(log.records()));
    f.features = [](FeatureContext& context) {
        std::vector<std::unique_ptr<Feature>> features;
        features.push_back(std::make_unique<ReportFeature>(context, [](const QString&) { return true; }));
        return features;
    };
    if (!f.start()) {
        return 1;
    }
    bool written = false;
    QObject::connect(f.window->feature<ReportFeature>(), &ReportFeature::finished, [&](bool ok) { written = ok; });
    f.dialogs.fileAnswers.push_back(QString::fromStdString(f.file("night.html")));
    bench::StallMeter heartbeat;
    heartbeat.start();
    f.child<QAction>("mnuReport")->trigger();
    const bool done = bench::runUntil([&] { return written; }, 20000);
    heartbeat.stop();
    if (!done) {
        std::fprintf(stderr, "report bench: the report was never written\n");
        return 1;
    }
    bench::report("report_ui_stall_max", heartbeat.longestMs(), "ms");
    return sink == 0 ? 1 : 0;
}
