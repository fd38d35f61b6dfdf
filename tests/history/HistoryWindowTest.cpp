// The call history in the real main window: the hint beside the grid field, the word after a
// contact logged with another grid, the file menu's load, the spots marked with their worth,
// and a history file that is no file.

#include "history/ui/HistoryFeature.h"
#include "log/score/Grid.h"
#include "spots/SpotText.h"
#include "spots/ui/SpectrumMapWindow.h"
#include "spots/ui/SpotArea.h"
#include "spots/ui/SpotLabel.h"
#include "spots/ui/SpotsFeature.h"
#include "support/MainWindowFixture.h"
#include "support/SpotLines.h"
#include "ui/LayoutCheck.h"

#include <QAction>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace corvane;
using namespace corvane::test;

namespace {

constexpr const char* kHistory = "# shared history\r\n!!Order!!,Call,Name,Loc1\r\nK1ABC,Ann,FN42\r\n"
                                 "JA1XX,Ken,PM95\r\n\"W5XX\",\"Bob\",\"EM10\"\r\ndamaged line\r\n";

history::HistoryFeature* historyOf(MainWindowFixture& f) {
    return f.window->feature<history::HistoryFeature>();
}

// Starts the window and waits for the history to be read.
void startAndLoad(MainWindowFixture& f) {
    ASSERT_TRUE(f.start());
    ASSERT_NE(historyOf(f), nullptr);
    QTRY_VERIFY(historyOf(f)->worth().history() != nullptr);
}

void type(MainWindowFixture& f, const char* text) {
    f.call()->setFocus();
    QTest::keyClicks(f.call(), QString::fromLatin1(text));
}

void logContact(MainWindowFixture& f, const char* call, const char* grid) {
    f.call()->clear();
    type(f, call);
    f.grid()->setFocus();
    QTest::keyClicks(f.grid(), QString::fromLatin1(grid));
    QTest::keyClick(f.grid(), Qt::Key_Return);
}

// The figures the entry line shows for the grid, from the station's FN20.
GridDisplay figuresOf(const char* grid) {
    return computeGridDisplay(grid, "FN20", *gridCorner("FN20"), "");
}

// "1 pt", "3 pts".
QString pointsText(const GridDisplay& figures) {
    return QString::fromStdString(figures.points) +
           (figures.points == "1" ? QStringLiteral(" pt") : QStringLiteral(" pts"));
}

spots::SpotHandOff spot(const char* call, const char* kHz) {
    return {kHz, call, spots::spotRecord(spots::testing::clusterLine("K1TTT", kHz, call))};
}

} // namespace

TEST(HistoryHint, AKnownCallShowsItsGridDistanceAndPointsAndNeverFillsTheGridField) {
    MainWindowFixture f;
    f.writeFile("CallHistory.txt", kHistory);
    startAndLoad(f);
    QLabel* hint = f.child<QLabel>("lblHistory");
    ASSERT_NE(hint, nullptr);
    EXPECT_TRUE(hint->isVisible());
    EXPECT_NE(historyOf(f)->lastLoadText().find("3 calls from the call history (1 damaged line skipped)"),
              std::string::npos);

    type(f, "k1abc");
    const GridDisplay fn42 = figuresOf("FN42");
    EXPECT_EQ(hint->text(),
              QStringLiteral("FN42\n%1 km  %2").arg(QString::fromStdString(fn42.kilometres), pointsText(fn42)));
    EXPECT_EQ(f.grid()->text(), QString());
    // A screen reader hears where the grid comes from.
    EXPECT_EQ(hint->accessibleName(),
              QStringLiteral("From call history, not received: grid FN42, %1 kilometers, %2 "
                             "points")
                  .arg(QString::fromStdString(fn42.kilometres), QString::fromStdString(fn42.points)));
    EXPECT_TRUE(hint->accessibleDescription().contains(QStringLiteral("was not received")));

    // A portable station is known by its base call, and says so; an unknown call shows nothing.
    type(f, "/P");
    EXPECT_TRUE(hint->text().startsWith(QStringLiteral("FN42 (base call)\n")));
    f.call()->clear();
    type(f, "JA1XX");
    EXPECT_TRUE(hint->text().endsWith(pointsText(figuresOf("PM95"))));
    EXPECT_TRUE(hint->text().contains(QString::fromStdString(figuresOf("PM95").kilometres)));
    f.call()->clear();
    type(f, "N0NE");
    EXPECT_EQ(hint->text(), QString());

    // The post-contest fields take the hint's place while they are shown.
    f.child<QAction>("mnuPostContest")->trigger();
    EXPECT_FALSE(hint->isVisible());
    f.child<QAction>("mnuPostContest")->trigger();
    EXPECT_TRUE(hint->isVisible());
}

TEST(HistoryHint, AReceivedGridOtherThanTheHistorysIsToldAfterLoggingWithoutABox) {
    MainWindowFixture f;
    f.writeFile("CallHistory.txt", kHistory);
    startAndLoad(f);
    const auto boxes = f.dialogs.shown.size();
    logContact(f, "K1ABC", "FN43");
    EXPECT_EQ(f.window->session().log().qsoCount(), 1);
    EXPECT_EQ(f.labelText("lblDialog"), QStringLiteral("Check grid: K1ABC sent FN43, history has FN42"));
    EXPECT_TRUE(f.child<QLabel>("lblDialog")->accessibleName().contains(QStringLiteral("Check grid")));
    logContact(f, "W5XX", "EM10");
    EXPECT_EQ(f.window->session().log().qsoCount(), 2);
    EXPECT_EQ(f.labelText("lblDialog"), QString());
    EXPECT_EQ(f.dialogs.shown.size(), boxes);
    EXPECT_EQ(f.call()->text(), QString());
}

TEST(HistorySpots, SpotsArriveWithTheirWorthAndALoggedCallTurnsDuplicateAtOnce) {
    MainWindowFixture f;
    f.writeFile("CallHistory.txt", kHistory);
    f.writeFile("log.txt", "\"W5XX\",\"100\",\"EM10\",\"\",\"FN20\",\"2012/12/29\",\"18:00:00\",\"2\",\"CW\",\"\"\r\n");
    startAndLoad(f);
    auto* spotsFeature = f.window->feature<spots::SpotsFeature>();
    spotsFeature->bandMapSpots(spot("K1ABC", "1825.5"));
    spotsFeature->bandMapSpots(spot("W5XX", "1830.0"));
    spotsFeature->bandMapSpots(spot("N0NE", "1835.0"));
    QTreeWidget* list = spotsFeature->area().list();
    ASSERT_EQ(list->topLevelItemCount(), 3);
    EXPECT_EQ(list->headerItem()->text(3), QStringLiteral("Pts"));
    EXPECT_FALSE(list->isColumnHidden(3));
    const auto row = [list](const char* call) {
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            if (list->topLevelItem(i)->text(0) == QLatin1String(call)) {
                return list->topLevelItem(i);
            }
        }
        return static_cast<QTreeWidgetItem*>(nullptr);
    };
    EXPECT_EQ(row("K1ABC")->text(3), QString::fromStdString(figuresOf("FN42").points));
    EXPECT_FALSE(row("K1ABC")->font(0).strikeOut());
    EXPECT_EQ(row("W5XX")->text(3), QStringLiteral("dupe"));
    EXPECT_TRUE(row("W5XX")->font(0).strikeOut());
    EXPECT_EQ(row("N0NE")->text(3), QString());

    // On the band map: the tool tip adds the points, a duplicate is struck through.
    spotsFeature->area().layout(false, spots::SpotSource::Telnet);
    ASSERT_TRUE(spotsFeature->area().bandMapShown());
    spots::SpotLabel* k1abc = spotsFeature->area().spotLabel(spots::kSpotSlots - 3);
    spots::SpotLabel* w5xx = spotsFeature->area().spotLabel(spots::kSpotSlots - 2);
    ASSERT_TRUE(k1abc->isVisibleTo(spotsFeature->area().panel()));
    EXPECT_TRUE(k1abc->toolTip().endsWith(QStringLiteral("  FN42 %1").arg(pointsText(figuresOf("FN42")))));
    EXPECT_TRUE(w5xx->toolTip().endsWith(QStringLiteral("  worked")));
    EXPECT_TRUE(w5xx->font().strikeOut());
    // A screen reader hears what the eye sees: the call, its worth, and "worked" for the one struck out.
    EXPECT_TRUE(k1abc->accessibleName().startsWith(QStringLiteral("K1ABC ")));
    EXPECT_TRUE(k1abc->accessibleName().endsWith(QStringLiteral(" FN42 %1").arg(pointsText(figuresOf("FN42")))));
    EXPECT_TRUE(w5xx->accessibleName().endsWith(QStringLiteral(" worked")));
    EXPECT_FALSE(k1abc->font().strikeOut());

    // Logged now: the list row and the label are duplicates at once.
    logContact(f, "K1ABC", "FN42");
    EXPECT_EQ(row("K1ABC")->text(3), QStringLiteral("dupe"));
    EXPECT_TRUE(row("K1ABC")->font(0).strikeOut());
    EXPECT_TRUE(k1abc->font().strikeOut());
    EXPECT_TRUE(k1abc->toolTip().endsWith(QStringLiteral("  worked")));

    // The spectrum map uses the same marks.
    auto* map = spotsFeature->showSpectrumMap();
    ASSERT_NE(map, nullptr);
    EXPECT_TRUE(map->spotLabel(spots::kSpotSlots - 3)->font().strikeOut());
    EXPECT_TRUE(map->spotLabel(spots::kSpotSlots - 2)->toolTip().endsWith(QStringLiteral("  worked")));
    EXPECT_TRUE(map->spotLabel(spots::kSpotSlots - 2)->accessibleName().endsWith(QStringLiteral(" worked")));
    map->close();
    QTest::qWait(10);
}

TEST(HistoryLoadMenu, FileLoadCallHistoryAddsAnAdifFileAndTellsWhatWasRead) {
    MainWindowFixture f;
    startAndLoad(f);
    EXPECT_EQ(historyOf(f)->worth().history()->size(), 0u);
    f.writeFile("other.adi", "header\r\n<EOH>\r\n<CALL:5>G4AAA <GRIDSQUARE:4>IO91 <EOR>\r\n"
                             "<CALL:3>W1AW<GRIDSQUARE:4>FN31 <EOR>\r\n");
    f.dialogs.fileAnswers.push_back(QString::fromStdString(f.file("other.adi")));
    f.child<QAction>("mnuLoadCallHistory")->trigger();
    QTRY_VERIFY(f.dialogs.shown.back().kind == ShownBox::Kind::Message);
    EXPECT_EQ(f.dialogs.shown.back().title, QStringLiteral("Load Call History"));
    const ShownBox& box = f.dialogs.shown.back();
    EXPECT_EQ(box.kind, ShownBox::Kind::Message);
    EXPECT_EQ(box.text, QStringLiteral("Read 1 contact from 1 log (1 damaged ADIF record skipped); 1 known call."));
    type(f, "G4AAA");
    EXPECT_TRUE(f.child<QLabel>("lblHistory")->text().startsWith(QStringLiteral("IO91\n")));
}

TEST(HistoryBadInput, AHistoryFileThatIsAFolderOrAPipeIsToldOnTheMessageLineAndTheLoggerWorks) {
    for (const bool pipe : {false, true}) {
        MainWindowFixture f;
        if (pipe) {
            ASSERT_EQ(::mkfifo(f.file("CallHistory.txt").c_str(), 0600), 0);
        } else {
            std::filesystem::create_directories(f.file("CallHistory.txt"));
        }
        startAndLoad(f);
        EXPECT_TRUE(f.labelText("lblDialog")
                        .startsWith(QStringLiteral("Call history: ") +
                                    QString::fromStdString(f.file("CallHistory.txt")) +
                                    QStringLiteral(": not a regular file")))
            << f.labelText("lblDialog").toStdString();
        logContact(f, "K1ABC", "FN42");
        EXPECT_EQ(f.window->session().log().qsoCount(), 1);
        EXPECT_EQ(f.labelText("lblHistory"), QString());
    }
}

TEST(HistoryHint, TheLongestHintFitsBesideTheGridField) {
    // A portable call of the far side of the earth: five digits of kilometres, two of points.
    MainWindowFixture f;
    f.writeFile("CallHistory.txt", "VK9AAA,OF70\r\n");
    startAndLoad(f);
    type(f, "VK9AAA/MM");
    QLabel* hint = f.child<QLabel>("lblHistory");
    ASSERT_TRUE(hint->text().startsWith(QStringLiteral("OF70 (base call)\n")));
    const GridDisplay far = figuresOf("OF70");
    ASSERT_EQ(far.kilometres.size(), 6u);
    ASSERT_EQ(far.points.size(), 2u);
    std::string all;
    for (const std::string& problem : layoutProblems(f.window.get())) {
        all += "\n  " + problem;
    }
    EXPECT_TRUE(all.empty()) << all;
}
