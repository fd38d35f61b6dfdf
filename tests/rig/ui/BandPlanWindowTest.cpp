// The privileges window over BandPlan.txt files of the test's own: the chart drawn at once for
// the Extra class, the class buttons, a missing and a damaged file.

#include "bandplan/ui/BandPlanWindow.h"

#include "TempDir.h"
#include "core/DurableFile.h"
#include "support/ScriptedDialogs.h"

#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

namespace corvane::bandplan {
namespace {

constexpr std::string_view kPlan = "\"2025/01/01\"\r\n"
                                   "\"160\",\"O\",\"CW\",1.8,2.0\r\n"
                                   "\"160\",\"E\",\"CW\",1.8,2.0\r\n"
                                   "\"160\",\"G\",\"CW\",1.8,2.0\r\n"
                                   "\"80\",\"O\",\"CW\",3.5,4.0\r\n"
                                   "\"80\",\"E\",\"CW\",3.5,3.6\r\n"
                                   "\"80\",\"E\",\"PH\",3.6,4.0\r\n"
                                   "\"40\",\"O\",\"CW\",7.0,7.3\r\n"
                                   "\"40\",\"E\",\"CW\",7.0,7.125\r\n";

int countNamed(const QWidget& window, const QString& prefix) {
    int n = 0;
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        if (label->objectName().startsWith(prefix)) {
            ++n;
        }
    }
    return n;
}

TEST(BandPlanWindow, OpensWithTheExtraChartAndRedrawsEachClassAfresh) {
    test::TempDir dir;
    ASSERT_TRUE(replaceAtomically(dir.file("BandPlan.txt"), kPlan).ok);
    test::ScriptedDialogs dialogs;
    BandPlanWindow window(dialogs, dir.path().string());
    window.resize(960, 720);
    window.load();
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Frequency Privileges"));
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("lblHeading"))->text(),
              QStringLiteral("Extra Frequency Privileges"));
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("lblEffective"))->text(),
              QStringLiteral("Frequencies Effective: 2025/01/01"));
    EXPECT_EQ(countNamed(window, QStringLiteral("blbl")), 3);
    EXPECT_EQ(countNamed(window, QStringLiteral("bnlb")), 3);
    EXPECT_EQ(countNamed(window, QStringLiteral("priv")), 4);

    // A segment over the whole band covers the whole bar.
    const QLabel* bar = window.findChild<QLabel*>(QStringLiteral("blbl1"));
    const QLabel* segment = window.findChild<QLabel*>(QStringLiteral("priv1"));
    EXPECT_NEAR(segment->x(), bar->x(), 1);
    EXPECT_NEAR(segment->width(), bar->width(), 1);
    EXPECT_EQ(segment->text(), QStringLiteral("1.800 - 2.000"));
    EXPECT_TRUE(segment->toolTip().startsWith(QStringLiteral("CW  ")));

    window.findChild<QPushButton*>(QStringLiteral("cmdClassG"))->click();
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("lblHeading"))->text(),
              QStringLiteral("General Frequency Privileges"));
    EXPECT_EQ(countNamed(window, QStringLiteral("blbl")), 1);
    window.chooseClass("G");
    EXPECT_EQ(countNamed(window, QStringLiteral("blbl")), 1); // the earlier labels are gone
    EXPECT_EQ(countNamed(window, QStringLiteral("priv")), 1);
    window.chooseClass("N");
    EXPECT_EQ(countNamed(window, QStringLiteral("blbl")), 0);
}

TEST(BandPlanWindow, AMissingFileIsNamedAndTheWindowStillOpens) {
    test::TempDir dir;
    test::ScriptedDialogs dialogs;
    BandPlanWindow window(dialogs, dir.path().string());
    window.load();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("Band Data Not Available."));
    EXPECT_TRUE(dialogs.shown[0].text.startsWith(QStringLiteral("Band data not available.")));
    EXPECT_TRUE(dialogs.shown[0].text.contains(QStringLiteral("BandPlan.txt")));
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("lblHeading"))->text(), QStringLiteral("Privelages"));
    EXPECT_EQ(countNamed(window, QStringLiteral("blbl")), 0);
}

TEST(BandPlanWindow, ADamagedRowIsNamedByLineAndTheRowsBeforeItStillChart) {
    test::TempDir dir;
    std::string damaged(kPlan.substr(0, kPlan.find("\"80\",\"O\"")));
    damaged += "\"80\",\"O\",\"CW\",three,4.0\r\n";
    ASSERT_TRUE(replaceAtomically(dir.file("BandPlan.txt"), damaged).ok);
    test::ScriptedDialogs dialogs;
    BandPlanWindow window(dialogs, dir.path().string());
    window.load();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_TRUE(dialogs.shown[0].text.contains(QStringLiteral("line 5"))) << dialogs.shown[0].text.toStdString();
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("lblHeading"))->text(), QStringLiteral("Privelages"));
    // The date was read before the row that failed.
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("lblEffective"))->text(),
              QStringLiteral("Frequencies Effective: 2025/01/01"));
    window.chooseClass("E");
    EXPECT_EQ(countNamed(window, QStringLiteral("blbl")), 1);
}

} // namespace
} // namespace corvane::bandplan
