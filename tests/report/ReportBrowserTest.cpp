// The report written by the built program, opened in a real browser (headless Chromium) and
// checked by an HTML validator (tidy); the PNG pictures beside it. Without Chromium or tidy
// the check that needs it is skipped.

#include "ReportTestLog.h"
#include "TempDir.h"
#include "core/DurableFile.h"
#include "log/LogFile.h"

#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

using namespace corvane;
using namespace corvane::test;

namespace {

struct ProcessRun {
    int status = -1;
    std::string out;
    std::string err;
};

ProcessRun run(const QString& program, const QStringList& args, const std::string& folder, int timeoutMs = 90000) {
    QProcess process;
    process.setWorkingDirectory(QString::fromStdString(folder));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), QString::fromStdString(folder));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    process.setProcessEnvironment(env);
    process.start(program, args);
    ProcessRun r;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return r;
    }
    r.out = process.readAllStandardOutput().toStdString();
    r.err = process.readAllStandardError().toStdString();
    r.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return r;
}

// A night of 600 contacts across North America and a few from Europe and Japan.
std::vector<QsoRecord> busyNight() {
    const char* const grids[] = {"FN31", "FN42", "EN90", "EM73", "EM12", "CM87", "DN07", "EL96", "FN03",
                                 "EN52", "DM79", "FM18", "CN87", "IO91", "JO62", "PM95", "KP20", "FK68"};
    std::vector<QsoRecord> records;
    for (int i = 0; i < 600; ++i) {
        const int minute = i * 11 / 10 + (i > 300 ? 90 : 0);
        const std::string day = minute / 60 + 21 >= 24 ? "2012/12/30" : "2012/12/29";
        const int hour = (minute / 60 + 21) % 24;
        char time[16];
        std::snprintf(time, sizeof time, "%02d:%02d:%02d", hour, minute % 60, i % 60);
        QsoRecord r = timedContact("K" + std::to_string(i), day, time, grids[i % 18], "1");
        const Preferences own = station("FN20");
        r.points = computeGridDisplay(r.gridR, own.ownGrid, {own.ownLatitude, own.ownLongitude}, "0").points;
        records.push_back(r);
    }
    return records;
}

double inkShare(const QImage& image) {
    qint64 ink = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            ink += image.pixelColor(x, y).lightness() < 245 ? 1 : 0;
        }
    }
    return static_cast<double>(ink) / (static_cast<double>(image.width()) * image.height());
}

bool hasColour(const QImage& image, const QColor& colour) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == colour) {
                return true;
            }
        }
    }
    return false;
}

class ReportInBrowser : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(replaceAtomically(dir.file("cvnpref.txt"), formatPreferences(station("FN20"))).ok);
        ASSERT_TRUE(replaceAtomically(dir.file("log.txt"), formatLog(busyNight())).ok);
        const ProcessRun made = run(QStringLiteral(CORVANE_BINARY),
                                    {QStringLiteral("report"), QStringLiteral("--out"), QStringLiteral("report.html"),
                                     QStringLiteral("--png"), QStringLiteral("pictures")},
                                    dir.path().string());
        ASSERT_EQ(made.status, 0) << made.err;
        EXPECT_EQ(made.out, "wrote report.html: 600 contacts\nwrote pictures/map.png\nwrote pictures/hours.png\n"
                            "wrote pictures/points.png\n");
    }

    TempDir dir;
};

} // namespace

TEST_F(ReportInBrowser, ChromiumRendersThePageWithItsPictures) {
    const QString chromium = QStandardPaths::findExecutable(QStringLiteral("chromium"));
    if (chromium.isEmpty()) {
        GTEST_SKIP() << "chromium is not installed";
    }
    TempDir profile;
    const std::string shot = dir.file("shot.png");
    const ProcessRun shown =
        run(chromium,
            {QStringLiteral("--headless"), QStringLiteral("--no-sandbox"), QStringLiteral("--disable-gpu"),
             QStringLiteral("--disable-quic"), QStringLiteral("--no-first-run"),
             QStringLiteral("--disable-background-networking"), QStringLiteral("--disable-component-update"),
             QStringLiteral("--disable-sync"), QStringLiteral("--hide-scrollbars"),
             QStringLiteral("--user-data-dir=") + QString::fromStdString(profile.path().string()),
             QStringLiteral("--screenshot=") + QString::fromStdString(shot), QStringLiteral("--window-size=1000,2600"),
             QStringLiteral("file://") + QString::fromStdString(dir.file("report.html"))},
            dir.path().string());
    ASSERT_EQ(shown.status, 0) << shown.err;
    QImage image;
    ASSERT_TRUE(image.load(QString::fromStdString(shot))) << shown.err;
    EXPECT_EQ(image.size(), QSize(1000, 2600));
    EXPECT_GT(inkShare(image), 0.05) << "the page looks blank";
    // The pictures are drawn, not only the text: the map's sea and the hourly bars.
    EXPECT_TRUE(hasColour(image, QColor(236, 243, 250)));
    EXPECT_TRUE(hasColour(image, QColor(70, 110, 170)));
}

TEST_F(ReportInBrowser, ThePageIsValidHtml) {
    const QString tidy = QStandardPaths::findExecutable(QStringLiteral("tidy"));
    if (tidy.isEmpty()) {
        GTEST_SKIP() << "tidy is not installed";
    }
    const ProcessRun checked =
        run(tidy, {QStringLiteral("-q"), QStringLiteral("-e"), QStringLiteral("-utf8"), QStringLiteral("report.html")},
            dir.path().string());
    EXPECT_EQ(checked.status, 0) << checked.err;
    EXPECT_EQ(checked.err, "");
}

TEST_F(ReportInBrowser, EachPictureIsAPngOfItsScene) {
    const std::pair<const char*, QSize> pictures[] = {
        {"map", QSize(900, 1000)}, {"hours", QSize(900, 640)}, {"points", QSize(900, 410)}};
    for (const auto& [name, size] : pictures) {
        QImage image;
        ASSERT_TRUE(image.load(QString::fromStdString(dir.file(std::string("pictures/") + name + ".png")))) << name;
        EXPECT_EQ(image.size(), size) << name;
        EXPECT_GT(inkShare(image), 0.02) << name;
    }
}
