// The edit window and the Edit and Delete flows, through the real log file.

#include "log/ui/EditContactWindow.h"

#include "PanelsTestLog.h"
#include "TempDir.h"
#include "log/LogStore.h"
#include "support/ScriptedDialogs.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace corvane;
using namespace corvane::test;

namespace {

OwnStation fn20Station() {
    return {"FN20", *gridCorner("FN20")};
}

QLineEdit* field(QWidget& w, const char* name) {
    return w.findChild<QLineEdit*>(QString::fromLatin1(name));
}

class EditFlow : public ::testing::Test {
protected:
    void SetUp() override {
        records = numberedRecords(10);
        records[2] = qso("K3ABC", "FN31", "2", "612");
        writeLogFile(dir.file("log.txt"), records);
        ASSERT_TRUE(store.load().ok);
    }

    // The log as a fresh load of the file sees it.
    ContactLog reloaded() const {
        LogStore fresh(dir.file("log.txt"));
        EXPECT_TRUE(fresh.load().ok);
        return fresh.log();
    }

    TempDir dir;
    std::vector<QsoRecord> records;
    LogStore store{dir.file("log.txt")};
    ScriptedDialogs dialogs;
};

void showActive(QWidget& w) {
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
}

} // namespace

TEST_F(EditFlow, OpensWithTheRecordAndFiltersKeys) {
    EditContactWindow w(store.log(), 3, fn20Station(), dialogs);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Edit Contact Entry"));
    EXPECT_EQ(w.findChild<QLabel*>(QStringLiteral("lblHeading"))->text(), QStringLiteral("Edit Contact:"));
    EXPECT_EQ(field(w, "txtEditCall")->text(), QStringLiteral("K3ABC"));
    EXPECT_EQ(field(w, "txtEditGridR")->text(), QStringLiteral("FN31"));
    EXPECT_EQ(field(w, "txtEditKm")->text(), QStringLiteral("612")); // opening recomputes nothing
    EXPECT_EQ(field(w, "txtEditPoints")->text(), QStringLiteral("2"));
    EXPECT_FALSE(w.findChild<QLabel*>(QStringLiteral("lblEditDupe"))->isVisibleTo(&w));
    EXPECT_FALSE(w.findChild<QPushButton*>(QStringLiteral("cmdDeleteDupe"))->isVisibleTo(&w));

    QLineEdit* call = field(w, "txtEditCall");
    call->clear();
    QTest::keyClicks(call, "k\"3x");
    EXPECT_EQ(call->text(), QStringLiteral("K3X"));
    QLineEdit* date = field(w, "txtEditDate");
    date->clear();
    QTest::keyClicks(date, "2012a/1-2/30");
    EXPECT_EQ(date->text(), QStringLiteral("2012/12/30"));
    QLineEdit* time = field(w, "txtEditTime");
    time->clear();
    QTest::keyClicks(time, "1x2:3 0");
    EXPECT_EQ(time->text(), QStringLiteral("12:30"));
}

TEST_F(EditFlow, LeavingABadDateOrTimeIsRefusedAndPointsBecomeZero) {
    EditContactWindow w(store.log(), 3, fn20Station(), dialogs);
    showActive(w);
    QLineEdit* date = field(w, "txtEditDate");
    QLineEdit* time = field(w, "txtEditTime");
    QLineEdit* points = field(w, "txtEditPoints");
    date->setFocus();
    date->setText(QStringLiteral("2012/13/40"));
    time->setText(QStringLiteral("25:99")); // both bad: one box, not a ping-pong
    time->setFocus(Qt::TabFocusReason);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("Invalid Date Format!"));
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("You have entered an invalid date format!"));
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_TRUE(date->hasFocus());

    date->setText(QStringLiteral("2012/12/30"));
    time->setFocus(Qt::TabFocusReason);
    points->setFocus(Qt::TabFocusReason);
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[1].title, QStringLiteral("Invalid Time Format!"));
    EXPECT_EQ(dialogs.shown[1].text, QStringLiteral("You have entered an invalid time format!"));
    EXPECT_TRUE(time->hasFocus());

    // Done refuses the bad time too and nothing is stored.
    w.pressDone();
    EXPECT_EQ(dialogs.shown.back().title, QStringLiteral("Invalid Time Format!"));
    EXPECT_EQ(w.result(), EditContactWindow::Result::Closed);

    time->setText(QStringLiteral("01:02:03"));
    points->setFocus(Qt::TabFocusReason);
    points->setText(QStringLiteral("abc"));
    field(w, "txtEditKm")->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(points->text(), QStringLiteral("0"));
    w.close();
}

TEST_F(EditFlow, ChangingTheGridRecomputesAndDoneWritesTheRecord) {
    EditContactWindow w(store.log(), 3, fn20Station(), dialogs);
    QLineEdit* grid = field(w, "txtEditGridR");
    const auto expected = recomputeEditGrid("FN42", "FN20", fn20Station().position, "2");
    ASSERT_TRUE(expected);
    grid->selectAll();
    QTest::keyClicks(grid, "fn4");
    EXPECT_EQ(field(w, "txtEditKm")->text(), QStringLiteral("612")); // three characters: nothing yet
    QTest::keyClicks(grid, "2");
    EXPECT_EQ(grid->text(), QStringLiteral("FN42"));
    EXPECT_EQ(field(w, "txtEditKm")->text().toStdString(), expected->kilometres);
    EXPECT_EQ(field(w, "txtEditPoints")->text().toStdString(), expected->points);
    EXPECT_NE(expected->kilometres, "612");

    QTest::keyClick(field(w, "txtEditCall"), Qt::Key_Return); // Enter presses Done
    ASSERT_EQ(w.result(), EditContactWindow::Result::Stored);
    const EditFlowResult done = finishEdit(nullptr, store, dialogs, 3, w.result(), w.storedRecord());
    EXPECT_EQ(done.outcome, EditFlowResult::Outcome::Stored);

    records[2].gridR = "FN42";
    records[2].kilometers = expected->kilometres;
    records[2].points = expected->points;
    EXPECT_EQ(bytesOf(dir.file("log.txt")), formatLog(records));
    const ContactLog after = reloaded();
    EXPECT_EQ(after.records(), records);
    EXPECT_FLOAT_EQ(after.totalPoints(), logOf(records).totalPoints());
}

TEST_F(EditFlow, EditingToAnotherRecordsCallOffersDeleteDupeWhichRenumbers) {
    const std::string call8 = records[7].call;
    EditContactWindow w(store.log(), 3, fn20Station(), dialogs);
    QLineEdit* call = field(w, "txtEditCall");
    call->setText(QString::fromStdString(call8));
    w.findChild<QPushButton*>(QStringLiteral("cmdDone"))->click();
    EXPECT_EQ(w.result(), EditContactWindow::Result::Closed);
    EXPECT_TRUE(w.findChild<QLabel*>(QStringLiteral("lblEditDupe"))->isVisibleTo(&w));
    EXPECT_EQ(w.findChild<QLabel*>(QStringLiteral("lblEditDupe"))->text(), QStringLiteral("Dupe!"));
    auto* deleteDupe = w.findChild<QPushButton*>(QStringLiteral("cmdDeleteDupe"));
    EXPECT_TRUE(deleteDupe->isVisibleTo(&w));
    EXPECT_EQ(deleteDupe->text(), QStringLiteral("Delete Dupe"));
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_EQ(bytesOf(dir.file("log.txt")), formatLog(records)); // nothing stored

    deleteDupe->click();
    ASSERT_EQ(w.result(), EditContactWindow::Result::DeleteRequested);
    dialogs.messageAnswers.push_back(MsgAnswer::Yes);
    const EditFlowResult done = finishEdit(nullptr, store, dialogs, 3, w.result(), w.storedRecord());
    EXPECT_EQ(done.outcome, EditFlowResult::Outcome::Deleted);
    ASSERT_FALSE(dialogs.shown.empty());
    EXPECT_EQ(dialogs.shown.back().title, QStringLiteral("Are you sure?"));
    EXPECT_EQ(dialogs.shown.back().text, QStringLiteral("Are you sure?"));
    EXPECT_EQ(dialogs.shown.back().buttons, MsgButtons::YesNo);

    records.erase(records.begin() + 2);
    EXPECT_EQ(bytesOf(dir.file("log.txt")), formatLog(records));
    const ContactLog after = reloaded();
    ASSERT_EQ(after.qsoCount(), 9);
    EXPECT_EQ(after.record(7).call, call8);
}

TEST_F(EditFlow, ClosingWithoutDoneOrAnsweringNoLeavesTheFileAsItWas) {
    const std::string before = bytesOf(dir.file("log.txt"));
    EXPECT_EQ(finishEdit(nullptr, store, dialogs, 3, EditContactWindow::Result::Closed, {}).outcome,
              EditFlowResult::Outcome::Unchanged);
    EXPECT_EQ(bytesOf(dir.file("log.txt")), before);

    dialogs.messageAnswers.push_back(MsgAnswer::No);
    EXPECT_EQ(runDeleteFlow(nullptr, store, dialogs, 3).outcome, EditFlowResult::Outcome::Unchanged);
    EXPECT_EQ(bytesOf(dir.file("log.txt")), before);
    EXPECT_EQ(runDeleteFlow(nullptr, store, dialogs, 11).outcome, EditFlowResult::Outcome::NoRecord);
    EXPECT_EQ(runDeleteFlow(nullptr, store, dialogs, 0).outcome, EditFlowResult::Outcome::NoRecord);
}

TEST_F(EditFlow, DeletingTheLastRecordShortensTheFileByOneLine) {
    dialogs.messageAnswers.push_back(MsgAnswer::Yes);
    EXPECT_EQ(runDeleteFlow(nullptr, store, dialogs, 10).outcome, EditFlowResult::Outcome::Deleted);
    records.pop_back();
    EXPECT_EQ(bytesOf(dir.file("log.txt")), formatLog(records));
    EXPECT_EQ(store.log().qsoCount(), 9);
}

TEST_F(EditFlow, AFailedRewriteIsReportedAndKeepsTheLog) {
    // A folder in the way of the file: no rights get a file renamed over it.
    std::filesystem::remove(dir.file("log.txt"));
    std::filesystem::create_directory(dir.file("log.txt"));
    dialogs.messageAnswers.push_back(MsgAnswer::Yes);
    const EditFlowResult result = runDeleteFlow(nullptr, store, dialogs, 3);
    EXPECT_EQ(result.outcome, EditFlowResult::Outcome::WriteFailed);
    EXPECT_FALSE(result.error.empty());
    EXPECT_EQ(dialogs.shown.back().title, QStringLiteral("Unable to write file."));
    EXPECT_EQ(store.log().qsoCount(), 10); // memory still mirrors what was there
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("log.txt")));
}

TEST_F(EditFlow, RunEditFlowStoresALowerCaseCallInUpperCase) {
    QTimer::singleShot(0, [] {
        auto* w = qobject_cast<EditContactWindow*>(QApplication::activeModalWidget());
        ASSERT_NE(w, nullptr);
        QLineEdit* call = w->findChild<QLineEdit*>(QStringLiteral("txtEditCall"));
        call->selectAll();
        QTest::keyClicks(call, "ve3xyz");
        QTest::keyClick(call, Qt::Key_Return);
    });
    const EditFlowResult result = runEditFlow(nullptr, store, dialogs, 5, fn20Station());
    EXPECT_EQ(result.outcome, EditFlowResult::Outcome::Stored);
    records[4].call = "VE3XYZ";
    EXPECT_EQ(bytesOf(dir.file("log.txt")), formatLog(records));
}
