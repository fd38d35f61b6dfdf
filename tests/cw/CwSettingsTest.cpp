#include "cw/CwSettings.h"

#include "cw/CwMessage.h"

#include <gtest/gtest.h>

namespace corvane::cw {
namespace {

CwSettings sample() {
    CwSettings s;
    s.messages = {"CQ TEST $", "$ *", "TU !", "", "", "", "", "", "VVV DE ", "AGN?", "QRZ, TEST"};
    s.serialPort = "1";
    s.speedWpm = "25";
    s.wordSpace = "-2";
    s.keyingOption = KeyingOption::Dtr;
    s.parallelAddress = "888";
    s.displayText = false;
    s.repeatSeconds = "2.5";
    return s;
}

TEST(CwSettingsFile, WritesEighteenLinesByteExactAndReadsThemBack) {
    const std::string bytes = formatCwSettings(sample());
    EXPECT_EQ(bytes, "\"CQ TEST $\"\r\n\"$ *\"\r\n\"TU !\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"VVV DE \"\r\n"
                     "\"1\"\r\n\"25\"\r\n\"AGN?\"\r\n\"QRZ, TEST\"\r\n\"-2\"\r\n2\r\n\"888\"\r\n0\r\n\"2.5\"\r\n");
    const auto read = parseCwSettings(bytes);
    EXPECT_TRUE(read.complete);
    EXPECT_EQ(read.itemsRead, 18);
    EXPECT_EQ(read.settings, sample());
    EXPECT_EQ(read.keyingOption, KeyingOption::Dtr);
    EXPECT_EQ(formatCwSettings(read.settings), bytes);
}

TEST(CwSettingsFile, DefaultsAndEmptyF9) {
    CwSettings defaults;
    const auto read = parseCwSettings(formatCwSettings(defaults));
    EXPECT_TRUE(read.complete);
    EXPECT_EQ(read.settings.messages[8], "VVV DE ");
    EXPECT_EQ(read.settings.speedWpm, "13");
    EXPECT_EQ(read.settings.parallelAddress, "&H378");
    EXPECT_TRUE(read.settings.displayText);
    EXPECT_EQ(read.keyingOption, KeyingOption::None);
}

TEST(CwSettingsFile, AShortFileKeepsWhatWasReadAndSelectsNone) {
    std::string bytes = formatCwSettings(sample());
    // Ten lines: F1 to F9 and the port.
    std::size_t cut = 0;
    for (int i = 0; i < 10; ++i) {
        cut = bytes.find("\r\n", cut) + 2;
    }
    const auto ten = parseCwSettings(bytes.substr(0, cut));
    EXPECT_FALSE(ten.complete);
    EXPECT_EQ(ten.itemsRead, 10);
    EXPECT_EQ(ten.settings.messages[0], "CQ TEST $");
    EXPECT_EQ(ten.settings.serialPort, "1");
    EXPECT_EQ(ten.settings.speedWpm, "13");
    EXPECT_EQ(ten.settings.messages[9], "");
    EXPECT_EQ(ten.keyingOption, KeyingOption::None);

    // Seventeen lines: the option was read but is not selected.
    const auto seventeen = parseCwSettings(bytes.substr(0, bytes.rfind("\"2.5\"")));
    EXPECT_EQ(seventeen.itemsRead, 17);
    EXPECT_EQ(seventeen.settings.keyingOption, KeyingOption::Dtr);
    EXPECT_EQ(seventeen.keyingOption, KeyingOption::None);
    EXPECT_EQ(seventeen.settings.repeatSeconds, "0");

    const auto empty = parseCwSettings("");
    EXPECT_EQ(empty.itemsRead, 0);
    EXPECT_EQ(empty.settings.messages[8], ""); // the file gave no F9
}

TEST(CwSettingsFile, AnUnreadableItemStopsTheRead) {
    std::string bytes = formatCwSettings(sample());
    const auto option = bytes.find("\r\n2\r\n");
    const auto badOption = parseCwSettings(bytes.substr(0, option) + "\r\n4\r\n" + bytes.substr(option + 5));
    EXPECT_EQ(badOption.itemsRead, 14);
    EXPECT_EQ(badOption.settings.keyingOption, KeyingOption::None);
    EXPECT_EQ(badOption.settings.parallelAddress, "&H378");

    const auto brokenQuote = parseCwSettings("\"CQ\"\r\n\"TU\r\n");
    EXPECT_EQ(brokenQuote.itemsRead, 1);
    EXPECT_EQ(brokenQuote.settings.messages[0], "CQ");
}

TEST(CwSettingsFile, DoubleQuotesNeverReachTheFile) {
    CwSettings s = sample();
    s.messages[3] = "SAY \"HI\"";
    EXPECT_FALSE(cwSettingsQuotable(s));
    EXPECT_TRUE(cwSettingsQuotable(sample()));
    const auto read = parseCwSettings(formatCwSettings(s));
    EXPECT_TRUE(read.complete);
    EXPECT_EQ(read.settings.messages[3], "SAY HI");
}

TEST(CwSettingsFile, RepeatInterval) {
    int ms = -1;
    EXPECT_TRUE(repeatIntervalMs("2", ms));
    EXPECT_EQ(ms, 2000);
    EXPECT_TRUE(repeatIntervalMs("0.0005", ms));
    EXPECT_EQ(ms, 0); // 0.5 ms -> 0
    EXPECT_TRUE(repeatIntervalMs("59.9", ms));
    EXPECT_EQ(ms, 59900);
    EXPECT_FALSE(repeatIntervalMs("60", ms));
    EXPECT_FALSE(repeatIntervalMs("-1", ms));
    EXPECT_FALSE(repeatIntervalMs("", ms));
}

TEST(CwSettingsFile, AKeyingOptionBeyondEveryWholeTypeStopsTheRead) {
    std::string bytes;
    for (int i = 0; i < 14; ++i) {
        bytes += "\"\"\r\n";
    }
    const auto read = parseCwSettings(bytes + "1e308\r\n");
    EXPECT_EQ(read.itemsRead, 14);
    EXPECT_FALSE(read.complete);
    EXPECT_EQ(read.keyingOption, KeyingOption::None);
}

TEST(CwMessage, FillsInCallReportAndNumberInThreePasses) {
    EXPECT_EQ(substituteMessage("$ TU", "  K1ABC "), "K1ABC TU");
    EXPECT_EQ(substituteMessage("* #", "K1ABC"), "5NN ");
    EXPECT_EQ(substituteMessage("$$", "W1"), "W1W1");
    EXPECT_EQ(substituteMessage("TU !", ""), "TU !");
    EXPECT_EQ(substituteMessage("*", "", "579"), "579");
    EXPECT_EQ(substituteMessage("*", "", "599"), "5NN");
    // A marker inside the inserted call is replaced by the later passes.
    EXPECT_EQ(substituteMessage("$", "A#B*"), "AB5NN");
}

} // namespace
} // namespace corvane::cw
