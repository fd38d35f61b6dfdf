#include "cw/winkey/WinKeyerSettings.h"

#include <gtest/gtest.h>

namespace corvane::cw {
namespace {

TEST(WinKeyerFile, WritesEightLinesByteExact) {
    WinKeyerSettings s;
    s.speedWpm = "18";
    EXPECT_EQ(formatWinKeyerSettings(s), "0\r\n\"18\"\r\n\"50\"\r\n\"0\"\r\n\"0\"\r\n\"50\"\r\n6\r\n0\r\n");

    s.comPort = 255;
    s.speedWpm = "28";
    s.weight = "45";
    s.leadIn = "5";
    s.tail = "12";
    s.ratio = "33";
    s.pinConfig = 5;
    s.keyerMode = 48;
    const std::string bytes = formatWinKeyerSettings(s);
    EXPECT_EQ(bytes, "255\r\n\"28\"\r\n\"45\"\r\n\"5\"\r\n\"12\"\r\n\"33\"\r\n5\r\n48\r\n");
    const WinKeyerFileRead read = parseWinKeyerSettings(bytes);
    EXPECT_EQ(read.itemsRead, 8);
    EXPECT_EQ(read.settings, s);

    s.speedWpm = "2\"0"; // a quote cannot be written inside quotes
    EXPECT_EQ(parseWinKeyerSettings(formatWinKeyerSettings(s)).settings.speedWpm, "20");
}

TEST(WinKeyerFile, ShortOrDamagedFilesKeepWhatCameBefore) {
    // Six items: the buttons keep their defaults.
    WinKeyerFileRead read = parseWinKeyerSettings("3\r\n\"20\"\r\n\"55\"\r\n\"1\"\r\n\"2\"\r\n\"40\"\r\n");
    EXPECT_EQ(read.itemsRead, 6);
    EXPECT_EQ(read.settings.comPort, 3);
    EXPECT_EQ(read.settings.ratio, "40");
    EXPECT_EQ(read.settings.pinConfig, kDefaultPinConfig);
    EXPECT_EQ(read.settings.keyerMode, kDefaultKeyerMode);

    // Seven items.
    read = parseWinKeyerSettings("3\r\n\"20\"\r\n\"55\"\r\n\"1\"\r\n\"2\"\r\n\"40\"\r\n8\r\n");
    EXPECT_EQ(read.itemsRead, 7);
    EXPECT_EQ(read.settings.pinConfig, 8);
    EXPECT_EQ(read.settings.keyerMode, kDefaultKeyerMode);

    // A port that does not fit a byte stops the reading at once.
    read = parseWinKeyerSettings("300\r\n\"20\"\r\n");
    EXPECT_EQ(read.itemsRead, 0);
    EXPECT_EQ(read.settings, WinKeyerSettings{});

    // A button value that does not fit a byte is not taken; one that matches no button is.
    read = parseWinKeyerSettings("1\r\n\"20\"\r\n\"50\"\r\n\"0\"\r\n\"0\"\r\n\"50\"\r\n999\r\n16\r\n");
    EXPECT_EQ(read.itemsRead, 6);
    EXPECT_EQ(read.settings.pinConfig, kDefaultPinConfig);
    read = parseWinKeyerSettings("1\r\n\"20\"\r\n\"50\"\r\n\"0\"\r\n\"0\"\r\n\"50\"\r\n7\r\n99\r\n");
    EXPECT_EQ(read.settings.pinConfig, 7);
    EXPECT_EQ(read.settings.keyerMode, 99);

    EXPECT_EQ(parseWinKeyerSettings("").itemsRead, 0);
    EXPECT_EQ(parseWinKeyerSettings("\"unterminated").itemsRead, 0);
}

TEST(WinKeyerFields, SpeedWeightAndRatioSendOnlyTheirRanges) {
    EXPECT_EQ(checkSpeedField("0").send, 0);
    EXPECT_EQ(checkSpeedField("99").send, 99);
    const FieldCheck tooFast = checkSpeedField("100");
    EXPECT_EQ(tooFast.text, "100"); // left as typed, not sent
    EXPECT_FALSE(tooFast.send);
    const FieldCheck empty = checkSpeedField("");
    EXPECT_EQ(empty.text, "18");
    EXPECT_FALSE(empty.send);

    EXPECT_EQ(checkWeightField("50").send, 50);
    EXPECT_FALSE(checkWeightField("120").send);
    EXPECT_EQ(checkWeightField("x").text, "50");

    // The label says 33 to 66, yet 32 and 67 are sent; 31 and 68 are not.
    EXPECT_EQ(checkRatioField("32").send, 32);
    EXPECT_EQ(checkRatioField("67").send, 67);
    EXPECT_FALSE(checkRatioField("31").send);
    EXPECT_FALSE(checkRatioField("68").send);
    EXPECT_EQ(checkRatioField("").text, "50");
}

TEST(WinKeyerFields, LeadInAndTailGoTogether) {
    LeadTailCheck both = checkLeadTailFields("5", "12", true);
    ASSERT_TRUE(both.send);
    EXPECT_EQ(both.send->first, 5);
    EXPECT_EQ(both.send->second, 12);

    // Leaving a field while the other holds no number: the field left becomes "0".
    LeadTailCheck partial = checkLeadTailFields("7", "", true);
    EXPECT_FALSE(partial.send);
    EXPECT_EQ(partial.leadIn, "0");
    EXPECT_EQ(partial.tail, "");
    partial = checkLeadTailFields("", "9", false);
    EXPECT_EQ(partial.leadIn, "");
    EXPECT_EQ(partial.tail, "0");

    // Numbers too big for a byte are not sent (and not wrapped around).
    const LeadTailCheck big = checkLeadTailFields("300", "5", true);
    EXPECT_FALSE(big.send);
    EXPECT_EQ(big.leadIn, "300");
}

TEST(WinKeyerFields, ComPortFitsAByte) {
    ComPortCheck c = checkComPortField("3");
    EXPECT_EQ(c.text, "3");
    EXPECT_EQ(c.port, 3);
    c = checkComPortField("");
    EXPECT_EQ(c.text, "0");
    EXPECT_EQ(c.port, 0);
    c = checkComPortField("256");
    EXPECT_EQ(c.text, "256");
    EXPECT_EQ(c.port, 0);
}

TEST(WinKeyerFields, SpeedCouplingTakesFiveToNinetyNine) {
    EXPECT_FALSE(coupledSpeed("4"));
    EXPECT_EQ(coupledSpeed("5"), 5);
    EXPECT_EQ(coupledSpeed("99"), 99);
    EXPECT_FALSE(coupledSpeed("100"));
    EXPECT_FALSE(coupledSpeed("-20"));
    EXPECT_FALSE(coupledSpeed("fast"));
    EXPECT_EQ(coupledSpeed("12.5"), 12); // halves to even
    EXPECT_EQ(coupledSpeed("13.5"), 14);
}

} // namespace
} // namespace corvane::cw
