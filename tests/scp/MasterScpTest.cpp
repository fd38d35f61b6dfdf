#include "scp/MasterScp.h"

#include <gtest/gtest.h>

using namespace corvane;
using namespace std::literals;

namespace {

std::string joined(const std::vector<std::string>& calls) {
    std::string out;
    for (const auto& c : calls) {
        out += c + " ";
    }
    return out;
}

ScpIndex indexOf(std::string_view file) {
    return ScpIndex(parseMasterScp(file).calls);
}

} // namespace

TEST(MasterScp, ReadsCallsSkipsCommentsBlanksAndDamagedLines) {
    const auto read = parseMasterScp("\xEF\xBB\xBF# Master.scp for this season\r\n"
                                     "W1AW\r\n"
                                     "  k1abc \r\n" // blanks around and lower case
                                     "\r\n"
                                     "VE3/K1ABC\n"        // line end without CR
                                     "DL1 ABC\r\n"        // blank inside
                                     "K1\"X\r\n"          // a quote would reach log.txt
                                     "ABCDEF\r\n"         // no digit
                                     "12345\r\n"          // no letter
                                     "W1ABCDEFGHIJKL\r\n" // longer than the call field
                                     "K1ABC\r\n"          // twice
                                     "\x00\x01\xFF\r\n"
                                     "N0XYZ"sv); // no line end at the end
    EXPECT_EQ(read.calls, (std::vector<std::string>{"K1ABC", "N0XYZ", "VE3/K1ABC", "W1AW"}));
    EXPECT_EQ(read.skippedLines, 6);
}

TEST(MasterScp, EmptyAndCommentOnlyFilesHoldNoCalls) {
    EXPECT_TRUE(parseMasterScp("").calls.empty());
    const auto read = parseMasterScp("# nothing\r\n#\r\n\r\n");
    EXPECT_TRUE(read.calls.empty());
    EXPECT_EQ(read.skippedLines, 0);
}

TEST(ScpIndex, FindsTheTypedTextAnywhereBeginningsFirst) {
    const ScpIndex index = indexOf("AK1ABQ\nK1ABC\nK1ABD\nVE3/K1ABC\nW1AW\nN1AB\nK2XY\n");
    EXPECT_EQ(joined(index.find("K1AB", 100)), "K1ABC K1ABD AK1ABQ VE3/K1ABC ");
    EXPECT_EQ(joined(index.find("1AB", 100)), "AK1ABQ K1ABC K1ABD N1AB VE3/K1ABC ");
    EXPECT_EQ(joined(index.find("W1AW", 100)), "W1AW ");
    EXPECT_TRUE(index.find("ZZ", 100).empty());
}

TEST(ScpIndex, NothingBeforeTheSecondCharacterOrForTextNoCallHolds) {
    const ScpIndex index = indexOf("K1ABC\nK2XY\n");
    EXPECT_TRUE(index.find("", 100).empty());
    EXPECT_TRUE(index.find("K", 100).empty());
    EXPECT_EQ(index.find("K1", 100).size(), 1u);
    // A line end in the typed text must not match across two calls.
    EXPECT_TRUE(index.find("C\nK", 100).empty());
    EXPECT_TRUE(index.find("ABC\nK2", 100).empty());
    EXPECT_TRUE(ScpIndex().find("K1", 100).empty());
}

TEST(ScpIndex, StopsWhenTheLineIsFull) {
    const ScpIndex index = indexOf("K1AA\nK1AB\nK1AC\nXK1AD\n");
    // Each call takes its length and one blank: two fit in ten characters.
    EXPECT_EQ(joined(index.find("K1", 10)), "K1AA K1AB ");
    EXPECT_EQ(joined(index.find("K1", 14)), "K1AA K1AB ");
    EXPECT_EQ(joined(index.find("K1", 15)), "K1AA K1AB K1AC ");
    EXPECT_EQ(joined(index.find("K1", 21)), "K1AA K1AB K1AC XK1AD ");
    EXPECT_TRUE(index.find("K1", 4).empty());
}

TEST(ScpIndex, LoggedCallsAreMarkedWhateverTheirCase) {
    const std::vector<std::string> found{"K1ABC", "K1ABD", "VE3/K1ABC"};
    const std::vector<std::string_view> log{"W1AW", "k1abd", "VE3/K1ABC", "K1ABCD"};
    EXPECT_EQ(loggedAmong(found, "K1AB", log), (std::vector<bool>{false, true, true}));
    EXPECT_EQ(loggedAmong(found, "K1AB", {}), (std::vector<bool>{false, false, false}));
}

TEST(ScpIndex, FiftyThousandCallsAllFound) {
    std::string file;
    for (int i = 0; i < 50000; ++i) {
        file += "K" + std::to_string(i % 10) + static_cast<char>('A' + (i / 10) % 26) +
                static_cast<char>('A' + (i / 260) % 26) + static_cast<char>('A' + (i / 6760) % 26) + "\r\n";
    }
    const auto read = parseMasterScp(file);
    ASSERT_EQ(read.calls.size(), 50000u);
    const ScpIndex index(read.calls);
    // Every call is found by its own text, and only calls containing the text are given.
    for (const char* typed : {"K0AAA", "K9TZG", "K5MKB"}) {
        const auto found = index.find(typed, 200);
        ASSERT_FALSE(found.empty()) << typed;
        EXPECT_EQ(found.front(), typed);
    }
    for (const auto& call : index.find("ZG", 1000)) {
        EXPECT_NE(call.find("ZG"), std::string::npos) << call;
    }
}
