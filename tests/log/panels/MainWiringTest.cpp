// The panels wired into the main window: logging, hover and click on the map, edit by
// the right button, delete, colours, restore and archive. Built into log_panels_test
// once the main window holds the panels (see CMakeLists.txt).

#include "PanelsTestLog.h"
#include "log/ui/ContactListPanel.h"
#include "log/ui/EditContactWindow.h"
#include "log/ui/EntryLine.h"
#include "log/ui/GridMapPanel.h"
#include "support/MainWindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <gtest/gtest.h>

using namespace corvane;
using namespace corvane::test;

TEST(MainWiring, LogEditDeleteColoursRestore) {
    MainWindowFixture f(DateTime{2012, 12, 29, 23, 0, 0});
    ASSERT_TRUE(f.start());
    MainWindow& w = *f.window;
    const TempDir& dir = f.dir;
    ScriptedDialogs& dialogs = f.dialogs;
    auto* map = w.findChild<GridMapPanel*>();
    auto* list = w.findChild<ContactListPanel*>();
    ASSERT_TRUE(map && list);
    EXPECT_EQ(map->caption(102), "FN20");

    auto* call = w.findChild<QLineEdit*>("txtCall");
    auto* grid = w.findChild<QLineEdit*>("txtSec");
    for (auto [c, g] : {std::pair{"K1ABC", "FN31"}, std::pair{"K2ABC", "FN42"}, std::pair{"K3ABC", "EN61"}}) {
        call->setText(c);
        grid->setText(g);
        w.entryLine().logEnteredContact();
    }
    ASSERT_EQ(w.log().qsoCount(), 3);
    EXPECT_EQ(list->model()->rowCount(), 3);
    EXPECT_EQ(list->rowsAsText().front()[1], "K3ABC");
    int fn31 = 0;
    while (map->caption(fn31) != "FN31")
        ++fn31;
    EXPECT_TRUE(map->isWorked(fn31));
    std::string before = bytesOf(dir.file("log.txt"));

    // hover
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(map->label(fn31), &enter);
    EXPECT_EQ(w.findChild<QLabel*>("lblDupe")->text(), "FN31  Total = 1");
    QTest::mouseClick(map->label(fn31), Qt::LeftButton);
    EXPECT_EQ(grid->text(), "FN31");
    grid->clear();

    // edit the top row (K3ABC, record 3) by the right button: grid to FN42
    QTimer::singleShot(0, [] {
        auto* d = qobject_cast<EditContactWindow*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        auto* g = d->findChild<QLineEdit*>("txtEditGridR");
        g->setText("FN41");
        d->pressDone();
    });
    QTest::mouseClick(list->view()->viewport(), Qt::RightButton, {},
                      list->view()->visualRect(list->model()->index(0, 1)).center());
    EXPECT_EQ(w.log().record(3).gridR, "FN41");
    EXPECT_EQ(list->rowsAsText().front()[2], "FN41");
    EXPECT_NE(bytesOf(dir.file("log.txt")), before);

    // delete record 2 through the buttons
    QTest::mouseClick(list->view()->viewport(), Qt::LeftButton, {},
                      list->view()->visualRect(list->model()->index(1, 1)).center());
    auto* del = list->findChild<QPushButton*>("cmdDelete");
    EXPECT_TRUE(del->isVisible());
    dialogs.messageAnswers.push_back(MsgAnswer::Yes);
    del->click();
    EXPECT_EQ(w.log().qsoCount(), 2);
    EXPECT_FALSE(del->isVisible());
    EXPECT_EQ(list->model()->rowCount(), 2);

    // colours
    QTimer::singleShot(0, [] {
        auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        d->findChild<QPushButton*>("cmdWorked")->click();
        d->findChild<QPushButton*>("cmdDone")->click();
    });
    dialogs.colourAnswers.push_back(0x00FF0000);
    w.findChild<QAction*>("mnuColors")->trigger();
    EXPECT_EQ(w.preferences().workedColour, 0x00FF0000);
    EXPECT_EQ(map->label(fn31)->palette().color(QPalette::WindowText), QColor(0, 0, 255));

    // restore a 5-contact log
    writeLogFile(dir.file("five.log"), numberedRecords(5));
    dialogs.messageAnswers = {MsgAnswer::Ok, MsgAnswer::Yes};
    dialogs.fileAnswers.push_back(QString::fromStdString(dir.file("five.log")));
    w.findChild<QAction*>("mnuRestore")->trigger();
    EXPECT_EQ(w.log().qsoCount(), 5);
    EXPECT_EQ(list->model()->rowCount(), 5);

    dialogs.fileAnswers.push_back(QString::fromStdString(dir.file("arch.log")));
    w.findChild<QAction*>("mnuArchive")->trigger();
    EXPECT_EQ(bytesOf(dir.file("arch.log")), bytesOf(dir.file("log.txt")));
}
