#include "log/score/ContactList.h"

#include "ScoreTestLog.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

std::vector<int> shown(const ContactListRows& rows) {
    std::vector<int> records;
    for (int r = 0; r < rows.rowCount(); ++r) {
        records.push_back(rows.recordAt(r));
    }
    return records;
}

std::vector<int> descending(int from, int to) {
    std::vector<int> v;
    for (int i = from; i >= to; --i) {
        v.push_back(i);
    }
    return v;
}

TEST(ContactListRows, LastTwentyOrAllNewestFirst) {
    ContactListRows rows;
    rows.rebuild(25);
    EXPECT_EQ(shown(rows), descending(25, 6));
    rows.setListAll(true);
    EXPECT_EQ(shown(rows), descending(25, 1));
    rows.setListAll(false);
    rows.rebuild(7);
    EXPECT_EQ(shown(rows), descending(7, 1));
    rows.rebuild(0);
    EXPECT_EQ(rows.rowCount(), 0);
    EXPECT_EQ(rows.recordAt(0), 0);
    EXPECT_EQ(listModeCaption(true), "All");
    EXPECT_EQ(listModeCaption(false), "Last 20");
}

// Applying the plan for each logged contact gives the same rows as a full rebuild.
TEST(ContactListRows, OneContactAppendedMatchesARebuild) {
    for (bool all : {false, true}) {
        ContactListRows rows;
        rows.setListAll(all);
        rows.rebuild(0);
        for (int count = 1; count <= 45; ++count) {
            const auto plan = rows.planAppend(count);
            ASSERT_FALSE(plan.reset);
            EXPECT_EQ(plan.removeLastRow, !all && count > 20) << count;
            if (plan.removeLastRow) {
                rows.removeLastRow();
            }
            rows.insertNewestRow();
            ContactListRows rebuilt;
            rebuilt.setListAll(all);
            rebuilt.rebuild(count);
            ASSERT_EQ(shown(rows), shown(rebuilt)) << count;
        }
    }
}

TEST(ContactListRows, SortedOrChangedLogNeedsAReset) {
    const ContactLog log = test::numberedLog(12);
    ContactListRows rows;
    rows.rebuild(12);
    EXPECT_TRUE(rows.planAppend(14).reset);
    rows.sortByColumn(log, ListColumn::RecordNumber);
    EXPECT_TRUE(rows.isSorted());
    EXPECT_TRUE(rows.planAppend(13).reset);
}

TEST(ContactListRows, ColumnSortComparesText) {
    const ContactLog log = test::numberedLog(12);
    ContactListRows rows;
    rows.setListAll(true);
    rows.rebuild(12);
    rows.sortByColumn(log, ListColumn::RecordNumber);
    EXPECT_EQ(shown(rows), (std::vector<int>{1, 10, 11, 12, 2, 3, 4, 5, 6, 7, 8, 9}));
    // Equal texts keep the newest-first order they had.
    rows.rebuild(12);
    rows.sortByColumn(log, ListColumn::GridR);
    EXPECT_EQ(shown(rows), descending(12, 1));
    // The next rebuild restores newest first.
    rows.rebuild(12);
    EXPECT_FALSE(rows.isSorted());
    EXPECT_EQ(shown(rows), descending(12, 1));
}

TEST(ContactListRows, SortIgnoresLetterCase) {
    const ContactLog log = test::logOf({test::contact("k2b"), test::contact("K1A"), test::contact("K3C")});
    ContactListRows rows;
    rows.rebuild(3);
    rows.sortByColumn(log, ListColumn::Call);
    EXPECT_EQ(shown(rows), (std::vector<int>{2, 1, 3}));
}

TEST(ContactListCells, SevenColumnsOfARow) {
    const auto& columns = listColumns();
    EXPECT_EQ(columns[0].header, "Rec#");
    EXPECT_EQ(columns[3].header, "Date / Time");
    EXPECT_EQ(columns[6].header, "Grid S");
    EXPECT_EQ(columns[3].widthTwips, 1050);

    QsoRecord r = test::contact("K1ABC", "FN31", "2012/12/29", "23:15:02", "3");
    const ContactLog log = test::logOf({test::contact("W1AW"), r});
    EXPECT_EQ(listRowTexts(log, 2),
              (std::array<std::string, 7>{"2", "K1ABC", "FN31", "12/29  23:15", "1,234", "3", "FN20"}));
}

TEST(ContactListCells, DateTimeOfPostContestAndUnreadableTexts) {
    EXPECT_EQ(listDateTimeText("2013/01/05", "09:15"), "01/05  09:15");
    EXPECT_EQ(listDateTimeText("2013/1/5", "9:15"), "01/05  09:15");
    EXPECT_EQ(listDateTimeText("", ""), "  ");
    EXPECT_EQ(listDateTimeText("someday", "25:00"), "someday  25:00");
}

} // namespace
} // namespace corvane
