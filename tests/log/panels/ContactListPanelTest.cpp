// The contact list: last 20 or all, the one-row update after each contact, the header
// sort, and the edit and delete buttons.

#include "log/ui/ContactListPanel.h"

#include "PanelsTestLog.h"
#include "ui/FormScaler.h"

#include <QHeaderView>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

using namespace corvane;
using namespace corvane::test;

namespace {

constexpr TwipRect kArea{120, 3600, 6200, 3400};

QPushButton* button(ContactListPanel& panel, const char* name) {
    return panel.findChild<QPushButton*>(QString::fromLatin1(name));
}

std::vector<std::string> column(const ContactListPanel& panel, int c) {
    std::vector<std::string> out;
    for (const auto& row : panel.rowsAsText()) {
        out.push_back(row[static_cast<std::size_t>(c)]);
    }
    return out;
}

QPoint rowCentre(ContactListPanel& panel, int row) {
    return panel.view()->visualRect(panel.model()->index(row, 1)).center();
}

} // namespace

TEST(ContactListPanel, ShowsTheLast20NewestFirstWithItsColumnsAndTips) {
    ContactLog log = logOf(numberedRecords(25));
    ContactListPanel panel(log, kArea);
    EXPECT_EQ(panel.view()->objectName(), QStringLiteral("ListView1"));
    EXPECT_EQ(panel.view()->toolTip(), QStringLiteral("Click record to edit or delete."));
    EXPECT_EQ(button(panel, "cmdList")->text(), QStringLiteral("Last 20"));
    EXPECT_EQ(button(panel, "cmdList")->toolTip(),
              QStringLiteral("List all or last 20 contacts (Listing all will slow the program)"));
    EXPECT_FALSE(button(panel, "cmdEdit")->isVisibleTo(&panel));
    EXPECT_FALSE(button(panel, "cmdDelete")->isVisibleTo(&panel));
    EXPECT_EQ(button(panel, "cmdEdit")->text(), QStringLiteral("Edit Contact"));
    EXPECT_EQ(button(panel, "cmdDelete")->text(), QStringLiteral("Delete Contact"));

    const QStringList headers{"Rec#", "Call", "Grid R", "Date / Time", "Kilometers", "Points", "Grid S"};
    for (int c = 0; c < 7; ++c) {
        EXPECT_EQ(panel.model()->headerData(c, Qt::Horizontal).toString(), headers[c]);
    }
    EXPECT_EQ(panel.view()->columnWidth(0), FormScaler::toPixels(560));
    EXPECT_EQ(panel.view()->columnWidth(3), FormScaler::toPixels(1050));

    panel.rebuild();
    const auto rows = panel.rowsAsText();
    ASSERT_EQ(rows.size(), 20u);
    EXPECT_EQ(rows.front(), (std::vector<std::string>{"25", "W25X", "EM25", "12/29  23:15", "1,234", "25", "FN20"}));
    EXPECT_EQ(rows.back()[0], "6");
}

TEST(ContactListPanel, AllModeAddsOneRowPerContactWithoutAReset) {
    ContactLog log = logOf(numberedRecords(25));
    ContactListPanel panel(log, kArea);
    QSignalSpy focus(&panel, &ContactListPanel::focusCallRequested);
    button(panel, "cmdList")->click();
    EXPECT_EQ(button(panel, "cmdList")->text(), QStringLiteral("All"));
    EXPECT_TRUE(panel.listAll());
    EXPECT_EQ(focus.count(), 1);
    EXPECT_EQ(panel.model()->rowCount(), 25);
    EXPECT_EQ(column(panel, 0).back(), "1");

    QSignalSpy reset(panel.model(), &QAbstractItemModel::modelAboutToBeReset);
    QSignalSpy inserted(panel.model(), &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(panel.model(), &QAbstractItemModel::rowsRemoved);
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(log.append(qso("N" + std::to_string(i) + "NEW", "FN42")));
        panel.contactLogged();
    }
    EXPECT_EQ(reset.count(), 0);
    EXPECT_EQ(removed.count(), 0);
    ASSERT_EQ(inserted.count(), 3);
    EXPECT_EQ(inserted.at(0).at(1).toInt(), 0);
    EXPECT_EQ(inserted.at(0).at(2).toInt(), 0);
    EXPECT_EQ(panel.model()->rowCount(), 28);
    EXPECT_EQ(panel.rowsAsText().front()[1], "N2NEW");

    // Back to "Last 20": a full list drops its oldest row and takes the new one on top.
    button(panel, "cmdList")->click();
    EXPECT_EQ(button(panel, "cmdList")->text(), QStringLiteral("Last 20"));
    reset.clear();
    inserted.clear();
    ASSERT_TRUE(log.append(qso("K9LAST", "FN42")));
    panel.contactLogged();
    EXPECT_EQ(reset.count(), 0);
    ASSERT_EQ(removed.count(), 1);
    EXPECT_EQ(removed.at(0).at(1).toInt(), 19);
    EXPECT_EQ(inserted.count(), 1);
    EXPECT_EQ(column(panel, 0).front(), "29");
    EXPECT_EQ(column(panel, 0).back(), "10");
}

TEST(ContactListPanel, HeaderClickSortsOnceAsTextUntilTheNextRebuild) {
    ContactLog log = logOf(numberedRecords(12));
    ContactListPanel panel(log, kArea);
    button(panel, "cmdList")->click(); // all 12
    emit panel.view()->horizontalHeader()->sectionClicked(0);
    EXPECT_EQ(column(panel, 0),
              (std::vector<std::string>{"1", "10", "11", "12", "2", "3", "4", "5", "6", "7", "8", "9"}));

    // A contact logged while sorted rebuilds the list newest first.
    ASSERT_TRUE(log.append(qso("K1NEW", "FN42")));
    panel.contactLogged();
    EXPECT_EQ(column(panel, 0).front(), "13");
    EXPECT_EQ(column(panel, 0).back(), "1");

    emit panel.view()->horizontalHeader()->sectionClicked(1);
    EXPECT_EQ(column(panel, 1).front(), "K1NEW");
    panel.rebuild();
    EXPECT_EQ(column(panel, 0).front(), "13");
}

TEST(ContactListPanel, ClickingARowOffersEditAndDeleteForItsRecord) {
    ContactLog log = logOf(numberedRecords(25));
    ContactListPanel panel(log, kArea);
    panel.resize(700, 400);
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    QSignalSpy edit(&panel, &ContactListPanel::editRequested);
    QSignalSpy del(&panel, &ContactListPanel::deleteRequested);

    QTest::mouseClick(panel.view()->viewport(), Qt::LeftButton, {}, rowCentre(panel, 2));
    EXPECT_EQ(panel.editedIndex(), 23);
    EXPECT_TRUE(button(panel, "cmdEdit")->isVisible());
    EXPECT_TRUE(button(panel, "cmdDelete")->isVisible());
    button(panel, "cmdEdit")->click();
    button(panel, "cmdDelete")->click();
    ASSERT_EQ(edit.count(), 1);
    EXPECT_EQ(edit.at(0).at(0).toInt(), 23);
    ASSERT_EQ(del.count(), 1);
    EXPECT_EQ(del.at(0).at(0).toInt(), 23);

    // A contact logged meanwhile keeps the choice on the same record.
    ASSERT_TRUE(log.append(qso("K1NEW", "FN42")));
    panel.contactLogged();
    EXPECT_EQ(panel.editedIndex(), 23);

    panel.hideEditButtons();
    EXPECT_FALSE(button(panel, "cmdEdit")->isVisible());

    // Releasing the right button over a row edits that row at once.
    QTest::mouseClick(panel.view()->viewport(), Qt::RightButton, {}, rowCentre(panel, 0));
    ASSERT_EQ(edit.count(), 2);
    EXPECT_EQ(edit.at(1).at(0).toInt(), 26);

    panel.rebuild();
    EXPECT_EQ(panel.editedIndex(), 0);
    EXPECT_FALSE(button(panel, "cmdEdit")->isVisible());
}

TEST(ContactListPanel, ARowChosenWithTheKeysIsOfferedWhenTheListLosesTheFocus) {
    ContactLog log = logOf(numberedRecords(25));
    QWidget window;
    ContactListPanel panel(log, kArea, &window);
    auto* other = new QPushButton(QStringLiteral("elsewhere"), &window);
    other->move(0, 300);
    window.resize(700, 400);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    panel.view()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(panel.view(), Qt::Key_Down);
    QTest::keyClick(panel.view(), Qt::Key_Down);
    EXPECT_FALSE(button(panel, "cmdEdit")->isVisible());
    other->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(button(panel, "cmdEdit")->isVisible());
    EXPECT_EQ(panel.editedIndex(), 23);
}

TEST(ContactListPanel, AnEmptyListOffersNothing) {
    ContactLog log;
    ContactListPanel panel(log, kArea);
    panel.show();
    QSignalSpy edit(&panel, &ContactListPanel::editRequested);
    QTest::mouseClick(panel.view()->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseClick(panel.view()->viewport(), Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_FALSE(button(panel, "cmdEdit")->isVisible());
    EXPECT_EQ(edit.count(), 0);
    EXPECT_TRUE(panel.rowsAsText().empty());

    // With rows but none chosen, the right button below them edits nothing.
    log.assign(numberedRecords(2));
    panel.rebuild();
    QTest::mouseClick(panel.view()->viewport(), Qt::RightButton, {}, QPoint(5, panel.view()->viewport()->height() - 3));
    EXPECT_EQ(edit.count(), 0);
}
