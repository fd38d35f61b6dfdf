// RigCntrl.txt byte for byte, older files and damaged ones.
#include "rig/RigSettings.h"

#include <gtest/gtest.h>

namespace corvane::rig {
namespace {

const std::string kIcomFile = "\"9600 \"\r\n\"N\"\r\n\"8\"\r\n\"1\"\r\n\"FE FE 64 E0 04 FD\"\r\n"
                              "\"FE FE 64 E0 03 FD\"\r\n\"9600,N,8,1\"\r\n3\r\n\"R\"\r\n\"F\"\r\n\"Icom\"\r\n"
                              "1\r\n0\r\n2\r\n\"localhost\"\r\n4532\r\n";

RigLinkSettings icomSettings() {
    RigLinkSettings s;
    s.baud = "9600";
    s.modeCommand = "FE FE 64 E0 04 FD";
    s.frequencyCommand = "FE FE 64 E0 03 FD";
    s.port = 3;
    s.power = PowerLine::Rts;
    s.pollRate = PollRate::Fast;
    s.model = "Icom";
    s.convertToHex = true;
    s.useFrequency = false;
    s.modeSource = ModeSource::Frequency;
    return s;
}

TEST(RigSettingsFile, WritesTheBytesTheReaderTakesBack) {
    const auto s = icomSettings();
    EXPECT_EQ(formatRigSettings(s), kIcomFile);
    const auto read = parseRigSettings(kIcomFile);
    EXPECT_EQ(read.itemsRead, kRigSettingsItems);
    EXPECT_TRUE(read.modelRead);
    EXPECT_EQ(read.settings, s);
    EXPECT_EQ(read.settings.settingsString(), "9600,N,8,1");
    EXPECT_EQ(formatRigSettings(read.settings), kIcomFile);
}

TEST(RigSettingsFile, FiveDigitBaudHasNoPadding) {
    RigLinkSettings s;
    const std::string bytes = formatRigSettings(s);
    EXPECT_EQ(bytes.substr(0, 9), "\"56000\"\r\n");
    EXPECT_EQ(parseRigSettings(bytes).settings, s);
}

TEST(RigSettingsFile, OlderFileWithoutNetworkItemsReads) {
    const std::string older = kIcomFile.substr(0, kIcomFile.find("\"localhost\""));
    RigLinkSettings defaults;
    defaults.rigctldHost = "radio.local";
    const auto read = parseRigSettings(older, defaults);
    EXPECT_EQ(read.itemsRead, kRigSettingsItemsBeforeNetwork);
    EXPECT_EQ(read.settings.model, "Icom");
    EXPECT_EQ(read.settings.rigctldHost, "radio.local");
    EXPECT_EQ(read.settings.rigctldPort, kDefaultRigctldPort);
}

TEST(RigSettingsFile, ReadingStopsAtTheFirstBadValue) {
    RigLinkSettings defaults;
    defaults.model = "Kenwood";
    // Port 11 is not a port: baud to settings string are kept, the rest stays as it was.
    std::string bad = kIcomFile;
    bad.replace(bad.find("3\r\n\"R\""), 1, "11");
    const auto read = parseRigSettings(bad, defaults);
    EXPECT_EQ(read.itemsRead, 7);
    EXPECT_FALSE(read.modelRead);
    EXPECT_EQ(read.settings.baud, "9600");
    EXPECT_EQ(read.settings.port, 1);
    EXPECT_EQ(read.settings.model, "Kenwood");
    // Bad first item, a baud that is not in the list, an empty file, a bad TCP port.
    EXPECT_EQ(parseRigSettings("\"1234 \"\r\n").itemsRead, 0);
    EXPECT_EQ(parseRigSettings("").itemsRead, 0);
    EXPECT_EQ(parseRigSettings("\"9600\"\r\n\"X\"\r\n").itemsRead, 1);
    std::string badPort = kIcomFile;
    badPort.replace(badPort.find("4532"), 4, "70000");
    EXPECT_EQ(parseRigSettings(badPort).itemsRead, 15);
    EXPECT_EQ(parseRigSettings(badPort).settings.rigctldPort, kDefaultRigctldPort);
    // A host longer than any host name can be is not one.
    std::string longHost = kIcomFile;
    longHost.replace(longHost.find("localhost"), 9, std::string(kMaxRigctldHostLength + 1, 'h'));
    EXPECT_EQ(parseRigSettings(longHost).itemsRead, 14);
}

TEST(RigSettingsFile, TheTypedRigctldPortIsOneTo65535) {
    EXPECT_EQ(parseRigctldPort("4532"), 4532);
    EXPECT_EQ(parseRigctldPort(" 1 "), 1);
    EXPECT_EQ(parseRigctldPort("65535"), 65535);
    for (const char* bad : {"", " ", "0", "65536", "99999", "-1", "45 32", "4532x", "0x10", "100000"}) {
        EXPECT_FALSE(parseRigctldPort(bad)) << bad;
    }
}

TEST(RigSettingsFile, QuotesInCommandsAreLeftOut) {
    auto s = icomSettings();
    s.frequencyCommand = "F\"A;";
    const auto read = parseRigSettings(formatRigSettings(s));
    EXPECT_EQ(read.itemsRead, kRigSettingsItems);
    EXPECT_EQ(read.settings.frequencyCommand, "FA;");
}

TEST(RigSettingsFile, PollIntervals) {
    EXPECT_EQ(pollIntervalMs(PollRate::Fast), 50);
    EXPECT_EQ(pollIntervalMs(PollRate::Medium), 250);
    EXPECT_EQ(pollIntervalMs(PollRate::Slow), 1000);
    EXPECT_EQ(pollIntervalMs(PollRate::Rare), 5000);
}

} // namespace
} // namespace corvane::rig
