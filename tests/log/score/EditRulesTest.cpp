#include "log/score/EditRules.h"

#include "ScoreTestLog.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

using Outcome = EditDoneResult::Outcome;

TEST(EditKeys, FieldFilters) {
    EXPECT_EQ(filterEditKey(EditField::Call, 'k'), 'K');
    EXPECT_EQ(filterEditKey(EditField::Points, '"'), std::nullopt);
    EXPECT_EQ(filterEditKey(EditField::Date, '/'), '/');
    EXPECT_EQ(filterEditKey(EditField::Date, ':'), std::nullopt);
    EXPECT_EQ(filterEditKey(EditField::Date, 'a'), std::nullopt);
    EXPECT_EQ(filterEditKey(EditField::Time, ':'), ':');
    EXPECT_EQ(filterEditKey(EditField::Time, '/'), std::nullopt);
    EXPECT_EQ(filterEditKey(EditField::Time, '\b'), '\b');
}

TEST(EditFieldChecks, DateTimeAndPoints) {
    EXPECT_TRUE(isValidEditDate("2012/12/29"));
    EXPECT_FALSE(isValidEditDate("2012/13/29"));
    EXPECT_FALSE(isValidEditDate(""));
    EXPECT_TRUE(isValidEditTime("23:15:02"));
    EXPECT_TRUE(isValidEditTime("23:15"));
    EXPECT_FALSE(isValidEditTime("24:00"));
    EXPECT_EQ(pointsOnLeave("4"), "4");
    EXPECT_EQ(pointsOnLeave("x"), "0");
    EXPECT_EQ(pointsOnLeave(""), "0");
}

ContactLog tenContacts() {
    std::vector<QsoRecord> records;
    for (int i = 1; i <= 10; ++i) {
        records.push_back(test::contact("K" + std::to_string(i) + "AA"));
    }
    records[5].call = "k6aa"; // record 6 in lower case
    return test::logOf(records);
}

TEST(EditDone, TimeIsCheckedBeforeDate) {
    const ContactLog log = tenContacts();
    EditFields f = editFieldsOf(log.record(3));
    f.time = "9999";
    f.date = "bad";
    EXPECT_EQ(editDone(log, 3, f).outcome, Outcome::InvalidTime);
    f.time = "12:00";
    EXPECT_EQ(editDone(log, 3, f).outcome, Outcome::InvalidDate);
}

TEST(EditDone, CallOfAnotherRecordIsADupeWithCaseCounting) {
    const ContactLog log = tenContacts();
    EditFields f = editFieldsOf(log.record(3));
    f.call = "k8aa"; // typed in lower case: compared as stored, in upper case
    const auto r = editDone(log, 3, f);
    EXPECT_EQ(r.outcome, Outcome::Duplicate);
    EXPECT_EQ(r.duplicateRecords, (std::vector<int>{8}));
    // Its own call is no duplicate; a lower-case call in another record is not the same.
    f.call = "K3AA";
    EXPECT_EQ(editDone(log, 3, f).outcome, Outcome::Stored);
    f.call = "K6AA";
    EXPECT_EQ(editDone(log, 3, f).outcome, Outcome::Stored);
}

TEST(EditDone, StoredRecordIsUpperCasedAndTrimmedAndKeepsItsFrequency) {
    ContactLog log = tenContacts();
    QsoRecord withFrequency = log.record(3);
    withFrequency.frequency = "1825.000";
    log.replace(3, withFrequency);

    EditFields f = editFieldsOf(log.record(3));
    f.call = "w1xyz";
    f.gridR = "FN42  ";
    f.gridS = "FN20 ";
    f.kilometers = "567";
    f.points = "2";
    const auto r = editDone(log, 3, f);
    ASSERT_EQ(r.outcome, Outcome::Stored);
    EXPECT_EQ(r.record.call, "W1XYZ");
    EXPECT_EQ(r.record.gridR, "FN42");
    EXPECT_EQ(r.record.gridS, "FN20");
    EXPECT_EQ(r.record.kilometers, "567");
    EXPECT_EQ(r.record.points, "2");
    EXPECT_EQ(r.record.frequency, "1825.000");
    EXPECT_EQ(r.record.mode, "CW");

    const auto records = recordsWithReplaced(log, 3, r.record);
    ASSERT_EQ(records.size(), 10u);
    EXPECT_EQ(records[2], r.record);
    EXPECT_EQ(records[3], log.record(4));
}

TEST(Delete, LaterRecordsMoveUp) {
    const ContactLog log = tenContacts();
    const auto records = recordsWithDeleted(log, 3);
    ASSERT_EQ(records.size(), 9u);
    EXPECT_EQ(records[1].call, "K2AA");
    EXPECT_EQ(records[6].call, "K8AA"); // record 8 is now record 7
    EXPECT_EQ(recordsWithDeleted(log, 10).back().call, "K9AA");
    EXPECT_EQ(recordsWithDeleted(log, 11).size(), 10u);
}

} // namespace
} // namespace corvane
