#include "spots/SpotSettings.h"

#include <gtest/gtest.h>

using namespace corvane::spots;

TEST(SpotSettings, FileIsFourteenLinesByteForByteAndReadsBack) {
    SpotSettings s;
    s.source = std::string(kSourceTelnet);
    s.telnetPort = "23";
    s.telnetHost = "dxc.example.net";
    s.listMode = true;
    s.dxOnly = 1;
    const std::string expected = "\"9600\"\r\n\"N\"\r\n\"8\"\r\n\"1\"\r\n1\r\n\"N\"\r\n\"Telnet\"\r\n0\r\n3\r\n1\r\n"
                                 "#TRUE#\r\n\"03\"\r\n\"23\"\r\n\"dxc.example.net\"\r\n";
    EXPECT_EQ(formatSpotSettings(s), expected);
    EXPECT_EQ(parseSpotSettings(expected), s);

    s.telnetHost = "bad\"host";
    EXPECT_EQ(parseSpotSettings(formatSpotSettings(s))->telnetHost, "badhost");
}

TEST(SpotSettings, IncompleteOrOutOfRangeFilesAreNotApplied) {
    const std::string good = formatSpotSettings(SpotSettings{});
    EXPECT_TRUE(parseSpotSettings(good));
    EXPECT_FALSE(parseSpotSettings(good.substr(0, good.size() - 6)));
    EXPECT_FALSE(parseSpotSettings(""));
    std::string portEleven = good;
    portEleven.replace(portEleven.find("\r\n1\r\n"), 5, "\r\n11\r\n");
    EXPECT_FALSE(parseSpotSettings(portEleven));
}

TEST(SpotSettings, SerialStringCommandCharacterAndSocketMessages) {
    SpotSettings s;
    s.baud = "19200  ";
    s.parity = "E";
    s.dataBits = "7";
    s.stopBits = "2";
    EXPECT_EQ(serialSettingsString(s), "19200,E,7,2");

    EXPECT_EQ(commandModeCharacter("03"), '\x03');
    EXPECT_EQ(commandModeCharacter("1b"), '\x1b');
    EXPECT_EQ(commandModeCharacter("FF"), '\xff');
    EXPECT_FALSE(commandModeCharacter("100"));
    EXPECT_FALSE(commandModeCharacter("zz"));
    EXPECT_FALSE(commandModeCharacter(""));

    EXPECT_EQ(socketErrorMessage(10058), "ERROR: Socket has been shut down.");
    EXPECT_EQ(socketErrorMessage(10060), "ERROR: Socket has been shut down.");
    EXPECT_EQ(socketErrorMessage(10061), "ERROR: Connection is forcefully rejected.");
    EXPECT_EQ(socketErrorMessage(12345), "Error number 12345");
}

TEST(SpotSettings, SourceNamesAndTheTncDefaults) {
    for (SpotSource source : kSourceChoices) {
        EXPECT_EQ(spotSourceNamed(spotSourceName(source)), source);
    }
    EXPECT_EQ(spotSourceName(SpotSource::Agw), "AGW Packet Engine");
    EXPECT_EQ(spotSourceNamed(""), SpotSource::Unset);
    EXPECT_EQ(spotSourceNamed("telnet"), SpotSource::Unset); // the file's names, exactly
    EXPECT_FALSE(opensLink(SpotSource::None));
    EXPECT_FALSE(opensLink(SpotSource::Unset));

    SpotSettings s;
    s.baud = "1200";
    s.parity = "E";
    s.dataBits = "7";
    s.stopBits = "2";
    s.handshaking = 1;
    s.commandChar = "1B";
    s.port = 4;
    s.telnetHost = "kept";
    applyTncDefaults(s);
    EXPECT_EQ(serialSettingsString(s), "9600,N,8,1");
    EXPECT_EQ(s.handshaking, 3);
    EXPECT_EQ(s.commandChar, "03");
    EXPECT_EQ(s.port, 4);
    EXPECT_EQ(s.telnetHost, "kept");
}
