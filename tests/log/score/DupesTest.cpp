#include "log/score/Dupes.h"

#include "ScoreTestLog.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

using test::contact;
using test::logOf;

TEST(Dupcheck, FirstMatchingRecordIgnoringCaseWithItsMessage) {
    std::vector<QsoRecord> records;
    for (int i = 1; i <= 6; ++i) {
        records.push_back(contact("N" + std::to_string(i) + "XX"));
    }
    records.push_back(contact("K1ABC", "FN31", "2012/12/29", "23:15:02", "3"));
    records.push_back(contact("K1ABC", "FN42", "2012/12/30", "01:00:00", "4"));
    const ContactLog log = logOf(records);

    const auto hit = findDuplicate(log, "k1abc");
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->recordIndex, 7);
    EXPECT_EQ(hit->message, "Duplicate K1ABC 2012/12/29 23:15:02 ON 3  Rec# 7");
    EXPECT_FALSE(findDuplicate(log, "K1AB"));
    EXPECT_FALSE(findDuplicate(log, "K1ABCD"));
    EXPECT_FALSE(findDuplicate(ContactLog{}, "K1ABC"));
}

PartialCheckResult typeKey(const ContactLog& log, std::string_view before, char key, bool on = true,
                           bool timeOn = false) {
    return partialCheck(log, PartialCheckInput{before, key, on, timeOn});
}

TEST(PartialCheck, ListsMatchesNewestFirstAndWarnsFromTheFourthCharacter) {
    const ContactLog log = logOf({contact("K1ABC"), contact("K1ABD"), contact("W1XYZ"), contact("K1A")});
    const auto r = typeKey(log, "K1A", 'B');
    EXPECT_EQ(r.dupeList, "K1ABD K1ABC ");
    EXPECT_TRUE(r.dupeListTeal);
    EXPECT_EQ(r.messageText, "Possible Duplicate!");
    EXPECT_FALSE(r.beep);

    // Three characters typed: the list shows, but the warning waits for a longer call.
    const auto three = typeKey(log, "K1", 'A');
    EXPECT_EQ(three.dupeList, "K1A K1ABD K1ABC ");
    EXPECT_EQ(three.messageText, " ");

    const auto none = typeKey(log, "K1AB", 'X', true, false);
    EXPECT_EQ(none.dupeList, "");
    EXPECT_FALSE(none.dupeListTeal);
    EXPECT_EQ(none.messageText, std::nullopt);
    EXPECT_EQ(typeKey(log, "K1AB", 'X', true, true).messageText, " ");
}

TEST(PartialCheck, MatchesLowerCaseRecords) {
    const ContactLog log = logOf({contact("k1abc")});
    EXPECT_EQ(typeKey(log, "K1A", 'B').dupeList, "k1abc ");
}

TEST(PartialCheck, OffOrUnlistableKeysListNothing) {
    const ContactLog log = logOf({contact("K1ABC")});
    const auto off = typeKey(log, "K1A", 'B', false, true);
    EXPECT_EQ(off.dupeList, "");
    EXPECT_EQ(off.messageText, " ");
    EXPECT_EQ(typeKey(log, "K1A", 'B', false, false).messageText, std::nullopt);
    for (char key : {'\b', '-', '[', ' '}) {
        EXPECT_EQ(typeKey(log, "K1AB", key).dupeList, "") << int(key);
    }
    EXPECT_EQ(typeKey(log, "K1AB", 'C').dupeList, "K1ABC ");
}

TEST(PartialCheck, ThirdCharacterRule) {
    const ContactLog log;
    const auto kab = typeKey(log, "KA", 'B');
    EXPECT_TRUE(kab.beep);
    EXPECT_EQ(kab.messageText, "The second or third character is not numeric!");
    for (const char* before : {"K1", "KA", "K/"}) {
        const char key = std::string_view(before) == "KA" ? '1' : 'A';
        const auto r = typeKey(log, before, key);
        EXPECT_FALSE(r.beep) << before << key;
        EXPECT_EQ(r.messageText, " ");
    }
    // Not the third character, or not a listable key: no check.
    EXPECT_FALSE(typeKey(log, "KAB", 'C').beep);
    EXPECT_FALSE(typeKey(log, "KA", '\b').beep);
}

TEST(PartialCheck, ListStopsOnceLongerThan100Characters) {
    std::vector<QsoRecord> records;
    for (int i = 10; i < 40; ++i) {
        records.push_back(contact("W1A" + std::to_string(i))); // 5 characters + blank each
    }
    const ContactLog log = logOf(records);
    const auto r = typeKey(log, "W1", 'A');
    // 17 matches make 102 characters: records 1..17, the 17th first.
    EXPECT_EQ(r.dupeList.size(), 102u);
    EXPECT_EQ(r.dupeList.substr(0, 12), "W1A26 W1A25 ");
    EXPECT_EQ(r.dupeList.substr(90), "W1A11 W1A10 ");
}

TEST(DupeHold, KeystrokesWaitUntilThreeSecondsAfterTheDuplicate) {
    EXPECT_EQ(dupeHoldRemainingMs(10'000, 10'000), 3000);
    EXPECT_EQ(dupeHoldRemainingMs(10'000, 12'500), 500);
    EXPECT_EQ(dupeHoldRemainingMs(10'000, 13'000), 0);
    EXPECT_EQ(dupeHoldRemainingMs(10'000, 20'000), 0);
}

} // namespace
} // namespace corvane
