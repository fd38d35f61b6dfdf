#include "log/LogFile.h"

#include "support/Contacts.h"

#include <gtest/gtest.h>

using namespace corvane;

namespace {

QsoRecord k1abc() {
    return test::Contact().ownGrid("FM19");
}

} // namespace

TEST(LogFile, LineOfTheExampleContactIsByteExact) {
    const std::string line = formatLogLine(k1abc());
    EXPECT_EQ(line, "\"K1ABC\",\"1,234\",\"FN31\",\"\",\"FM19\",\"2012/12/29\",\"23:15:02\",\"3\",\"CW\",\"\"\r\n");
    EXPECT_EQ(line.size(), 68u + 2u);
}

TEST(LogFile, RoundTripKeepsRecordsAndOrder) {
    std::vector<QsoRecord> records;
    for (int i = 0; i < 30; ++i) {
        QsoRecord r = k1abc();
        r.call = "W" + std::to_string(i) + "XY";
        r.frequency = i % 2 ? "1830.000" : "";
        r.points = i % 3 ? std::to_string(i % 7) : "";
        records.push_back(r);
    }
    const std::string text = formatLog(records);
    const auto parsed = parseLog(text, 12000);
    ASSERT_TRUE(parsed.ok) << parsed.problem;
    EXPECT_EQ(parsed.records, records);
    EXPECT_EQ(formatLog(parsed.records), text);
}

TEST(LogFile, EmptyLogHasNoRecords) {
    const auto parsed = parseLog("", 12000);
    EXPECT_TRUE(parsed.ok);
    EXPECT_TRUE(parsed.records.empty());
}

TEST(LogFile, ReaderAcceptsLooseButValidForms) {
    // Unterminated last line, LF-only line ends, blanks before fields and bare fields.
    const std::string text = "\"A1\",\"1\",\"FN31\",\"\",\"FM19\",\"2012/12/29\",\"23:15:02\",\"3\",\"CW\",\"\"\n"
                             " \"B2\", 12 ,\"FN32\",,\"FM19\",\"2012/12/29\",\"23:16\",4,\"CW\",\"1830.000\"";
    const auto parsed = parseLog(text, 12000);
    ASSERT_TRUE(parsed.ok) << parsed.problem;
    ASSERT_EQ(parsed.records.size(), 2u);
    EXPECT_EQ(parsed.records[1].call, "B2");
    EXPECT_EQ(parsed.records[1].kilometers, "12");
    EXPECT_EQ(parsed.records[1].miles, "");
    EXPECT_EQ(parsed.records[1].points, "4");
    EXPECT_EQ(parsed.records[1].frequency, "1830.000");
}

TEST(LogFile, DamagedLogsNameTheLineAndTheFault) {
    const std::string good = "\"A1\",\"1\",\"FN31\",\"\",\"FM19\",\"2012/12/29\",\"23:15:02\",\"3\",\"CW\",\"\"\r\n";
    struct Case {
        std::string text;
        int line;
        std::string problemStart;
    } cases[] = {
        {good + "\"B2\",\"1\",\"FN31\"\r\n", 2, "the line has 3 of the 10"},
        {good + good + "\"B2\",\"1\",\"FN31\",\"\",\"FM19\"", 3, "the line has 5"},
        {good + "\"B\"2\",\"1\",\"FN31\",\"\",\"FM19\",\"2012/12/29\",\"23:15:02\",\"3\",\"CW\",\"\"\r\n", 2,
         "a double quote"},
        {good + "B\"2,\"1\",\"FN31\",\"\",\"FM19\",\"2012/12/29\",\"23:15:02\",\"3\",\"CW\",\"\"\r\n", 2,
         "a double quote"},
        {good + "\"B2,\"1\"\r\n", 2, "a double quote"},
        {good + "\"A1\",\"1\",\"FN31\",\"\",\"FM19\",\"2012/12/29\",\"23:15:02\",\"3\",\"CW\",\"\",\"x\"\r\n", 2,
         "the line has more"},
        {good + "\r\n" + good, 2, "the line has 0"},
        {"\"open", 1, "a quoted field is not closed"},
    };
    for (const auto& c : cases) {
        const auto parsed = parseLog(c.text, 12000);
        EXPECT_FALSE(parsed.ok) << c.text;
        EXPECT_EQ(parsed.errorLine, c.line) << c.text;
        EXPECT_EQ(parsed.problem.rfind(c.problemStart, 0), 0u) << parsed.problem;
    }
}

TEST(LogFile, MoreRecordsThanTheCapacityIsAFault) {
    std::vector<QsoRecord> records(4, k1abc());
    const auto parsed = parseLog(formatLog(records), 3);
    EXPECT_FALSE(parsed.ok);
    EXPECT_EQ(parsed.errorLine, 4);
    EXPECT_EQ(parseLog(formatLog(records), 4).ok, true);
}

TEST(LogFile, ControlCharactersInAFieldDamageTheLine) {
    const std::string good = formatLogLine(k1abc());
    struct Case {
        std::string call;
        std::string problem;
    };
    const std::vector<Case> cases = {
        {std::string("K1\0ABC", 6), "the call field holds a control character (byte 0x00)"},
        {"K1\x1B[2JABC", "the call field holds a control character (byte 0x1B)"},
        {"K1\tABC", "the call field holds a control character (byte 0x09)"},
        {"K1ABC\x7F", "the call field holds a control character (byte 0x7F)"},
    };
    for (const Case& c : cases) {
        QsoRecord bad = k1abc();
        bad.call = c.call;
        const auto parsed = parseLog(good + formatLogLine(bad) + good, 12000);
        EXPECT_FALSE(parsed.ok);
        EXPECT_EQ(parsed.errorLine, 2);
        EXPECT_EQ(parsed.problem, c.problem);
        EXPECT_TRUE(parsed.records.empty());
    }
    // The same in a loose line, in a later field.
    const auto loose = parseLog(good + "\"A1\",1,\"FN31\",,\"FM19\",\"2012/12/29\",\"23:15\",3,\"C\x01W\",\"\"", 12000);
    EXPECT_FALSE(loose.ok);
    EXPECT_EQ(loose.errorLine, 2);
    EXPECT_EQ(loose.problem, "the mode field holds a control character (byte 0x01)");
    // Bytes of 0x80 and above are letters of the 8-bit code page, not damage.
    QsoRecord latin = k1abc();
    latin.call = "\xC5\xD8";
    EXPECT_TRUE(parseLog(formatLogLine(latin), 12000).ok);
}

TEST(LogFile, RecordsThatCannotBeWrittenAreNamed) {
    EXPECT_EQ(unwritableReason(k1abc()), "");
    QsoRecord quote = k1abc();
    quote.gridR = "FN\"31";
    EXPECT_EQ(unwritableReason(quote), "the received grid field holds a double quote");
    QsoRecord control = k1abc();
    control.frequency = "1830\r\n";
    EXPECT_EQ(unwritableReason(control), "the frequency field holds a control character (byte 0x0D)");
}
