// File > Contest Report in the main window, and the pictures drawn as PNG.

#include "ReportTestLog.h"
#include "export/Cabrillo.h"
#include "log/LogFile.h"
#include "report/ReportHtml.h"
#include "report/ReportPictures.h"
#include "report/ui/ReportFeature.h"
#include "report/ui/ScenePainter.h"
#include "support/MainWindowFixture.h"

#include <QAction>
#include <QMenu>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace corvane;
using namespace corvane::test;

namespace {

struct ReportWindow {
    MainWindowFixture f;
    std::vector<QString> opened;
    bool browserStarts = true;

    ReportWindow() {
        f.writeFile("log.txt", formatLog(nightLog().records()));
        f.features = [this](FeatureContext& context) {
            std::vector<std::unique_ptr<Feature>> features;
            features.push_back(std::make_unique<ReportFeature>(context, [this](const QString& path) {
                opened.push_back(path);
                return browserStarts;
            }));
            return features;
        };
    }

    ReportFeature& feature() { return *f.window->feature<ReportFeature>(); }
    QAction* action() { return f.child<QAction>("mnuReport"); }

    // Chooses `path` in the save dialog, triggers the menu item and waits for the outcome.
    bool write(const std::optional<QString>& path) {
        f.dialogs.fileAnswers.push_back(path);
        QSignalSpy done(&feature(), &ReportFeature::finished);
        action()->trigger();
        if (!path) {
            return false;
        }
        EXPECT_FALSE(action()->isEnabled()) << "the item rests while the page is made";
        EXPECT_TRUE(done.wait(20000));
        EXPECT_TRUE(action()->isEnabled());
        return !done.isEmpty() && done.front().front().toBool();
    }
};

} // namespace

TEST(ReportWindow, TheReportIsWrittenBesideTheLogAndOpened) {
    TempDir data;
    const std::string coastFile = data.file("coastlines.txt");
    ASSERT_TRUE(replaceAtomically(coastFile, "Corvane coastlines 1\r\n-74000,40500 -73000,41000 -70000,42000\r\n").ok);
    qputenv("CORVANE_DATA_DIR", QByteArray::fromStdString(data.path().string()));
    ReportWindow w;
    ASSERT_TRUE(w.f.start());
    const std::size_t startBoxes = w.f.dialogs.messages().size(); // "Open existing log?"

    // With the other files made from the log, before the separator above Exit.
    QMenu* file = w.f.child<QMenu>("mnuFile");
    const QList<QAction*> items = file->actions();
    const auto at = items.indexOf(w.action());
    ASSERT_GT(at, 0);
    EXPECT_EQ(items[at - 1]->objectName(), QStringLiteral("mnuCopyList"));
    EXPECT_TRUE(items[at + 1]->isSeparator());
    EXPECT_EQ(w.action()->text(), QStringLiteral("Contest Re&port…"));

    const QString path = QString::fromStdString(w.f.file("report.html"));
    ASSERT_TRUE(w.write(path));
    EXPECT_EQ(w.f.dialogs.proposedSavePaths(), std::vector<QString>{path});
    qunsetenv("CORVANE_DATA_DIR");
    EXPECT_EQ(w.opened, std::vector<QString>{path});
    EXPECT_EQ(w.f.dialogs.messages().size(), startBoxes);
    const ContestReport expected =
        makeContestReport(w.f.window->log(), w.f.window->preferences(), loadCoastlines(coastFile), kProgramTitle);
    EXPECT_EQ(w.f.readFile("report.html"), expected.html);
    EXPECT_EQ(expected.html.find("Coastlines are not installed"), std::string::npos);
    EXPECT_EQ(expected.facts.totals.contacts, 9);

    // Cancelled: nothing happens.
    w.write(std::nullopt);
    EXPECT_EQ(w.opened.size(), 1u);
}

TEST(ReportWindow, AFailedWriteOrAMissingBrowserIsToldAndLosesNothing) {
    ReportWindow w;
    ASSERT_TRUE(w.f.start());
    w.f.dialogs.shown.clear();
    w.f.writeFile("report.html", "earlier report");

    EXPECT_FALSE(w.write(QString::fromStdString(w.f.file("no-such-folder/report.html"))));
    ASSERT_EQ(w.f.dialogs.messages().size(), 1u);
    EXPECT_EQ(w.f.dialogs.messages()[0].title, QStringLiteral("Unable to write file."));
    EXPECT_TRUE(w.f.dialogs.messages()[0].text.contains(QStringLiteral("no-such-folder/report.html")));
    EXPECT_EQ(w.f.dialogs.beeps, 1);
    EXPECT_TRUE(w.opened.empty());
    EXPECT_EQ(w.f.readFile("report.html"), "earlier report");

    // Written, but no browser: the box says where the page is.
    w.browserStarts = false;
    const QString path = QString::fromStdString(w.f.file("report.html"));
    EXPECT_TRUE(w.write(path));
    ASSERT_EQ(w.f.dialogs.messages().size(), 2u);
    EXPECT_EQ(w.f.dialogs.messages()[1].title, QStringLiteral("Contest Report"));
    EXPECT_TRUE(w.f.dialogs.messages()[1].text.contains(path));
    EXPECT_TRUE(w.f.readFile("report.html").starts_with("<!DOCTYPE html>"));

    // Closing the window while a report is being written waits for it, whole.
    w.f.dialogs.fileAnswers.push_back(QString::fromStdString(w.f.file("late.html")));
    w.action()->trigger();
    w.f.window->shutdown();
    EXPECT_TRUE(w.f.readFile("late.html").ends_with("</html>\r\n"));
}

TEST(ReportPictures, ThePngShowsTheSceneItIsDrawnFrom) {
    const ReportFacts facts = gatherReportFacts(nightLog(), station("FN20"));
    const Scene map = mapScene(facts, nullptr, "no coastlines");
    const QImage image = sceneImage(map);
    ASSERT_EQ(image.size(), QSize(kMapWidth, kMapHeight));
    // Each dot in its points colour where the projection puts it (the squares of this log lie
    // far apart), the sea inside the rim, white outside it.
    const AzimuthalMap projection = reportMap(facts);
    for (const PlacedContact& p : facts.placed) {
        const PlanePoint at = projection.fromPolar(p.bearingDegrees, p.kilometres);
        const Rgb colour = pointsColours(p.points, {}).background;
        EXPECT_EQ(image.pixelColor(static_cast<int>(std::lround(at.x)), static_cast<int>(std::lround(at.y))),
                  QColor(colour.red, colour.green, colour.blue))
            << p.record;
    }
    EXPECT_EQ(image.pixelColor(kMapWidth - 5, 300), QColor(Qt::white));
    int sea = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            sea += image.pixelColor(x, y) == QColor(236, 243, 250) ? 1 : 0;
        }
    }
    EXPECT_GT(sea, static_cast<int>(0.6 * M_PI * kMapRadiusPx * kMapRadiusPx));

    TempDir dir;
    ASSERT_TRUE(writeScenePng(map, dir.file("map.png")).ok);
    QImage back;
    ASSERT_TRUE(back.load(QString::fromStdString(dir.file("map.png"))));
    EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), image);
    const FileResult refused = writeScenePng(map, dir.file("missing/map.png"));
    EXPECT_FALSE(refused.ok);
    EXPECT_FALSE(refused.error.empty());
}
