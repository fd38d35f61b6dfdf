#include "export/Adif.h"

#include "ExportTestData.h"
#include "TempDir.h"
#include "export/ClipboardText.h"

#include <gtest/gtest.h>
#include <vector>

using namespace corvane;
using corvane::test::k1abcContact;

namespace {

const std::string kHeader = "ADIF Export from Varkel's Corvane Contest Log 1.2\r\n"
                            "<PROGRAMID:28>Varkel's Corvane Contest Log\r\n"
                            "Log exported on: 2012-12-30 10:00:00\r\n"
                            "\r\n"
                            "<EOH>\r\n";

AdifInput input(const std::vector<QsoRecord>& records, std::string power, std::string comment) {
    AdifInput in;
    in.records = records;
    in.power = std::move(power);
    in.comment = std::move(comment);
    in.exportDateText = "2012-12-30 10:00:00";
    return in;
}

} // namespace

TEST(Adif, ExampleContactWithPowerAndComment) {
    const std::vector<QsoRecord> records{k1abcContact()};
    EXPECT_EQ(buildAdif(input(records, "100", "Corvane Contest")),
              kHeader + "<Call:5>K1ABC <Qso_Date:8:d>20121229 <Band:4>160M\r\n"
                        "<Mode:2>CW\r\n"
                        "<Tx_Pwr:3>100 <Time_On:4>2315 <Gridsquare:4>FN31 <Comment:15>Corvane Contest\r\n"
                        "<eor>\r\n"
                        "\r\n");
}

TEST(Adif, WithoutPowerOrCommentTheRecordEndsOnTheThirdLine) {
    const std::vector<QsoRecord> records{k1abcContact()};
    EXPECT_EQ(buildAdif(input(records, "", "")), kHeader + "<Call:5>K1ABC <Qso_Date:8:d>20121229 <Band:4>160M\r\n"
                                                           "<Mode:2>CW\r\n"
                                                           "<Time_On:4>2315 <Gridsquare:4>FN31 <eor>\r\n"
                                                           "\r\n");
}

TEST(Adif, EmptyLogIsTheHeaderOnly) {
    const std::vector<QsoRecord> none;
    EXPECT_EQ(buildAdif(input(none, "100", "x")), kHeader);
}

TEST(Adif, FrequencyPostContestTimeAndRecordMode) {
    QsoRecord r = k1abcContact();
    r.frequency = " 1.830 ";
    r.qsoTime = "23:15";
    r.mode = "SSB"; // the export always says CW
    const std::string text = formatAdifRecord(r, "100", "");
    EXPECT_EQ(text, "<Call:5>K1ABC <Qso_Date:8:d>20121229 <Band:4>160M\r\n"
                    "<Mode:2>CW\r\n"
                    "<Tx_Pwr:3>100 <Freq:5>1.830 <Time_On:4>2315 <Gridsquare:4>FN31 <eor>\r\n\r\n");
}

TEST(Adif, MissingCallDateAndGridLeaveTheirFieldsOut) {
    QsoRecord r;
    r.qsoDate = "2012/13/40";
    const std::string text = formatAdifRecord(r, "", "");
    EXPECT_EQ(text, "<Band:4>160M\r\n<Mode:2>CW\r\n<Time_On:4>0000 <eor>\r\n\r\n");
}

TEST(Adif, GridLengthCountsTheGridAsWritten) {
    QsoRecord r = k1abcContact();
    r.gridR = "FN31  ";
    EXPECT_NE(formatAdifRecord(r, "", "").find("<Gridsquare:4>FN31 <eor>"), std::string::npos);
}

TEST(Adif, TimeAndDateTexts) {
    EXPECT_EQ(adifTime("23:15:02"), "2315");
    EXPECT_EQ(adifTime(" 9:15 "), "0915");
    EXPECT_EQ(adifTime(""), "0000");
    EXPECT_EQ(adifTime("2315"), "2315");
    EXPECT_EQ(adifDate("2012/12/29"), "20121229");
    EXPECT_EQ(adifDate("2012/2/3"), "20120203");
    EXPECT_EQ(adifDate("2013/02/29"), "");
    EXPECT_EQ(adifDate(""), "");
}

TEST(Adif, WrittenFileEqualsTheBuiltText) {
    corvane::test::TempDir dir;
    const std::vector<QsoRecord> records{k1abcContact(), k1abcContact()};
    const AdifInput in = input(records, "5", "");
    ASSERT_TRUE(writeAdifFile(dir.file("Corvane.adi"), in).ok);
    EXPECT_EQ(readWholeFile(dir.file("Corvane.adi")), buildAdif(in));
    EXPECT_EQ(adifWrittenMessage("/tmp/Corvane.adi"),
              "The file was successfully written to the directory:\r\n\r\n/tmp/Corvane.adi.");
}

TEST(ClipboardText, HeaderThenRowsFromTheBottomOfTheList) {
    const std::vector<std::string> headers{"Rec#", "Call", "Grid", "Km", "Points", "Date", "Time"};
    // "Last 20" of 25 contacts: the list shows 25 at the top down to 6 at the bottom.
    std::vector<std::vector<std::string>> rows;
    for (int rec = 25; rec >= 6; --rec) {
        rows.push_back({std::to_string(rec), "K" + std::to_string(rec), "FN31", "1,234", "3", "2012/12/29", "23:15"});
    }
    const std::string text = buildListClipboardText(headers, rows);
    std::string expected = "Rec#\tCall\tGrid\tKm\tPoints\tDate\tTime\r\n";
    for (int rec = 6; rec <= 25; ++rec) {
        expected += std::to_string(rec) + "\tK" + std::to_string(rec) + "\tFN31\t1,234\t3\t2012/12/29\t23:15\r\n";
    }
    EXPECT_EQ(text, expected);
    EXPECT_EQ(buildListClipboardText(headers, {}), "Rec#\tCall\tGrid\tKm\tPoints\tDate\tTime\r\n");
}
