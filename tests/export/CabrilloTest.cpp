#include "export/Cabrillo.h"

#include "ExportTestData.h"
#include "TempDir.h"
#include "core/DurableFile.h"
#include "log/ContactLog.h"

#include <gtest/gtest.h>
#include <sstream>
#include <vector>

using namespace corvane;
using corvane::test::k1abcContact;

namespace {

// The text starting at a 1-based column.
std::string at(const std::string& line, int column, std::size_t length) {
    return line.substr(static_cast<std::size_t>(column - 1), length);
}

std::vector<std::string> splitCrLf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const auto end = text.find("\r\n", start);
        EXPECT_NE(end, std::string::npos) << "line without CR LF";
        if (end == std::string::npos) {
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

CabrilloInput w1xyzInput(const std::vector<QsoRecord>& records) {
    CabrilloInput in;
    in.records = records;
    in.ownCall = "W1XYZ";
    in.powerCategory = 2;
    in.totalScoreText = "6";
    return in;
}

} // namespace

TEST(Cabrillo, QsoLineOfTheExampleContactSitsInItsColumns) {
    const std::string text = formatCabrilloQso(k1abcContact(), "W1XYZ");
    EXPECT_EQ(text, "QSO:  1800 CW 2012-12-29 2315 W1XYZ         599 FM19   K1ABC         599 FN31\r\n");
    const std::string line = text.substr(0, text.size() - 2);
    EXPECT_EQ(at(line, 1, 4), "QSO:");
    EXPECT_EQ(at(line, 7, 4), "1800");
    EXPECT_EQ(at(line, 12, 2), "CW");
    EXPECT_EQ(at(line, 15, 10), "2012-12-29");
    EXPECT_EQ(at(line, 26, 4), "2315");
    EXPECT_EQ(at(line, 31, 5), "W1XYZ");
    EXPECT_EQ(at(line, 45, 3), "599");
    EXPECT_EQ(at(line, 49, 4), "FM19");
    EXPECT_EQ(at(line, 56, 5), "K1ABC");
    EXPECT_EQ(at(line, 70, 3), "599");
    EXPECT_EQ(at(line, 74, 4), "FN31");
}

TEST(Cabrillo, PostContestTimeAndRecordFrequencyDoNotChangeTheLine) {
    QsoRecord r = k1abcContact();
    r.qsoTime = "23:15";
    r.frequency = "1830.000";
    EXPECT_EQ(formatCabrilloQso(r, "W1XYZ"), formatCabrilloQso(k1abcContact(), "W1XYZ"));
}

TEST(Cabrillo, LongReceivedCallWrapsToItsColumnsOnANewLine) {
    QsoRecord r = k1abcContact();
    r.call = "ABCDEFGHIJKLMN"; // 14 characters: ends in column 69, "599" follows at 70
    std::string text = formatCabrilloQso(r, "W1XYZ");
    auto lines = splitCrLf(text);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(at(lines[0], 56, 17), "ABCDEFGHIJKLMN599");
    EXPECT_EQ(at(lines[0], 74, 4), "FN31");

    r.call = "ABCDEFGHIJKLMNO"; // 15 characters: ends in column 70
    text = formatCabrilloQso(r, "W1XYZ");
    lines = splitCrLf(text);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].size(), 70u);
    EXPECT_EQ(at(lines[0], 56, 15), "ABCDEFGHIJKLMNO");
    EXPECT_EQ(lines[1], std::string(69, ' ') + "599 FN31");
}

TEST(Cabrillo, EmptyLogWritesTheHeaderAndEndLine) {
    const std::vector<QsoRecord> none;
    CabrilloInput in = w1xyzInput(none);
    in.totalScoreText = "0";
    in.club = "Yankee Clipper";
    in.name = "Pat Doe";
    in.addressLine1 = "1 Main St";
    in.addressLine2 = "Town, ST 00000";
    in.email = "pat@example.org";
    in.soapbox = "Fun!";
    EXPECT_EQ(buildCabrillo(in), "START-OF-LOG: 2.0\r\n"
                                 "CREATED-BY: Varkel's Corvane Contest Log 1.2\r\n"
                                 "CONTEST: CORVANE\r\n"
                                 "CALLSIGN: W1XYZ\r\n"
                                 "CATEGORY: SINGLE-OP 160M LOW \r\n"
                                 "CLAIMED-SCORE: 0\r\n"
                                 "OPERATORS: W1XYZ\r\n"
                                 "CLUB: Yankee Clipper\r\n"
                                 "NAME: Pat Doe\r\n"
                                 "ADDRESS: 1 Main St\r\n"
                                 "ADDRESS: Town, ST 00000\r\n"
                                 "ADDRESS: (e-mail) pat@example.org\r\n"
                                 "SOAPBOX: Fun!\r\n"
                                 "SOAPBOX:\r\n"
                                 "SOAPBOX:\r\n"
                                 "END-OF-LOG:\r\n");
}

TEST(Cabrillo, CategoryOperatorsAndContactsInLogOrder) {
    std::vector<QsoRecord> records{k1abcContact(), k1abcContact()};
    records[1].call = "N2DEF";
    CabrilloInput in = w1xyzInput(records);
    in.ownCall = "  W1XYZ  ";
    in.category = OperatorCategory::Multi;
    in.powerCategory = 3;
    const auto lines = splitCrLf(buildCabrillo(in));
    ASSERT_EQ(lines.size(), 18u);
    EXPECT_EQ(lines[3], "CALLSIGN: W1XYZ");
    EXPECT_EQ(lines[4], "CATEGORY: MULTI-ONE 160M HIGH ");
    EXPECT_EQ(lines[6], "OPERATORS: W1XYZ"); // multi-op with the field left empty
    EXPECT_EQ(at(lines[15], 31, 5), "W1XYZ");
    EXPECT_EQ(at(lines[15], 56, 5), "K1ABC");
    EXPECT_EQ(at(lines[16], 56, 5), "N2DEF");
    EXPECT_EQ(lines[17], "END-OF-LOG:");

    in.operators = "W1XYZ K1ABC";
    in.powerCategory = 1;
    const auto withOps = splitCrLf(buildCabrillo(in));
    EXPECT_EQ(withOps[4], "CATEGORY: MULTI-ONE 160M QRP ");
    EXPECT_EQ(withOps[6], "OPERATORS: W1XYZ K1ABC");
}

TEST(Cabrillo, FileStemIsTheLeadingCallCharacters) {
    EXPECT_EQ(callFileStem("W1XYZ/P"), "W1XYZ");
    EXPECT_EQ(callFileStem("  VE3ABC  "), "VE3ABC");
    EXPECT_EQ(callFileStem(""), "YourCall");
    EXPECT_EQ(callFileStem("/P"), "YourCall");
    EXPECT_EQ(callFileStem("w1xyz"), "YourCall");
}

TEST(Cabrillo, TotalScoreIsPointsTimesThePowerFactor) {
    EXPECT_EQ(totalScoreText(123.0f, 1), "492");
    EXPECT_EQ(totalScoreText(123.0f, 2), "246");
    EXPECT_EQ(totalScoreText(123.0f, 3), "123");
    EXPECT_EQ(totalScoreText(0.0f, 2), "0");
    EXPECT_EQ(totalScoreText(2.5f, 3), "2.5");
}

TEST(Cabrillo, WrittenFileEqualsTheBuiltText) {
    corvane::test::TempDir dir;
    const std::vector<QsoRecord> records{k1abcContact()};
    const CabrilloInput in = w1xyzInput(records);
    const std::string path = dir.file("W1XYZ.log");
    ASSERT_TRUE(replaceAtomically(path, "old content that is longer than nothing").ok);
    ASSERT_TRUE(writeCabrilloFile(path, in).ok);
    EXPECT_EQ(readWholeFile(path), buildCabrillo(in));

    const auto failed = writeCabrilloFile(dir.file("missing-folder/W1XYZ.log"), in);
    EXPECT_FALSE(failed.ok);
    EXPECT_FALSE(failed.error.empty());
}

TEST(Cabrillo, WrittenMessageNamesTheFile) {
    EXPECT_EQ(cabrilloWrittenMessage("/home/op/W1XYZ.log"),
              "The file was successfully written to the directory:\r\n\r\n/home/op/W1XYZ.log.\r\n\r\n"
              "Attach this file to an e-mail addressed for contest submission.  If you wish to print this file, "
              "you can open it with Notepad or Wordpad to print.");
}
