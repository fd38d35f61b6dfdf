#include "cw/winkey/WinKeyerProtocol.h"

#include <gtest/gtest.h>

namespace corvane::cw {
namespace {

std::string bytes(std::initializer_list<int> values) {
    std::string out;
    for (const int v : values) {
        out.push_back(static_cast<char>(v));
    }
    return out;
}

TEST(WinKeyerProtocol, EveryOperationHasItsCommandBytes) {
    EXPECT_EQ(hostOpenCommand(), bytes({0x00, 0x02}));
    EXPECT_EQ(hostCloseCommand(), bytes({0x00, 0x03}));
    EXPECT_EQ(echoTestCommand(), bytes({0x00, 0x04, 0x55}));
    EXPECT_EQ(echoTestCommand(0x41), bytes({0x00, 0x04, 0x41}));
    EXPECT_EQ(speedCommand(25), bytes({0x02, 25}));
    EXPECT_EQ(weightCommand(50), bytes({0x03, 50}));
    EXPECT_EQ(pttLeadTailCommand(3, 250), bytes({0x04, 3, 250}));
    EXPECT_EQ(pinConfigCommand(6), bytes({0x09, 0x06}));
    EXPECT_EQ(modeCommand(48), bytes({0x0E, 0x30}));
    EXPECT_EQ(ditDahRatioCommand(67), bytes({0x17, 67}));
    EXPECT_EQ(clearBufferCommand(), bytes({0x0A}));
    EXPECT_EQ(backspaceCommand(), bytes({0x08}));
    EXPECT_EQ(statusRequestCommand(), bytes({0x15}));
    EXPECT_EQ(speedPotRequestCommand(), bytes({0x07}));
    EXPECT_EQ(nullCommand(), bytes({0x13}));
    EXPECT_EQ(adminCommand(AdminCommand::Reset), bytes({0x00, 0x01}));
}

TEST(WinKeyerProtocol, OnlyPrintableBytesGoAsCharacters) {
    EXPECT_EQ(characterByte('A'), 0x41);
    EXPECT_EQ(characterByte(' '), 0x20);
    EXPECT_EQ(characterByte('!'), 0x21); // handed over as it is
    EXPECT_EQ(characterByte('~'), 0x7E);
    // Bytes below 0x20 are commands to the keyer: an Esc typed into the buffer would be
    // "merge letters" and swallow the next two characters.
    EXPECT_FALSE(characterByte('\x1B'));
    EXPECT_FALSE(characterByte('\x0A'));
    EXPECT_FALSE(characterByte('\x00'));
    EXPECT_FALSE(characterByte('\x7F'));
    EXPECT_FALSE(characterByte('\xC4'));
}

TEST(WinKeyerProtocol, ArgumentCountsFollowTheCommandTable) {
    EXPECT_EQ(argumentCount(WinkeyCommand::Admin), 1);
    EXPECT_EQ(adminArgumentCount(AdminCommand::Echo), 1);
    EXPECT_EQ(adminArgumentCount(AdminCommand::HostOpen), 0);
    EXPECT_EQ(argumentCount(WinkeyCommand::SetPttLeadTail), 2);
    EXPECT_EQ(argumentCount(WinkeyCommand::SetupSpeedPot), 3);
    EXPECT_EQ(argumentCount(WinkeyCommand::LoadDefaults), 15);
    EXPECT_EQ(argumentCount(WinkeyCommand::MergeLetters), 2);
    EXPECT_EQ(argumentCount(WinkeyCommand::ClearBuffer), 0);
    EXPECT_EQ(argumentCount(WinkeyCommand::Backspace), 0);
    EXPECT_EQ(argumentCount(WinkeyCommand::RequestStatus), 0);
    EXPECT_EQ(argumentCount(WinkeyCommand::SetSpeed), 1);
    EXPECT_EQ(argumentCount(WinkeyCommand::SetDitDahRatio), 1);
    EXPECT_EQ(bufferPointerArgumentCount(3), 2);
    EXPECT_EQ(bufferPointerArgumentCount(0), 1);
}

TEST(WinKeyerProtocol, TopBitsTellKeyerBytesApart) {
    EXPECT_EQ(classifyKeyerByte(0xC0), KeyerByteKind::Status);
    EXPECT_EQ(classifyKeyerByte(0xFF), KeyerByteKind::Status);
    EXPECT_EQ(classifyKeyerByte(0x80), KeyerByteKind::SpeedPot);
    EXPECT_EQ(classifyKeyerByte(0xBF), KeyerByteKind::SpeedPot);
    EXPECT_EQ(classifyKeyerByte(0x7F), KeyerByteKind::Data);
    EXPECT_EQ(classifyKeyerByte(0x00), KeyerByteKind::Data);
    EXPECT_EQ(speedPotValue(0x80 | 37), 37);
}

TEST(WinKeyerProtocol, StatusBitsDecodeAndMapToTheSendLoopsValue) {
    const KeyerStatus idle = decodeStatus(0xC0);
    EXPECT_EQ(idle, KeyerStatus{});
    EXPECT_EQ(sendStatusValue(idle), 0);

    const KeyerStatus busy = decodeStatus(0xC4);
    EXPECT_TRUE(busy.busy);
    EXPECT_FALSE(busy.xoff);
    EXPECT_EQ(sendStatusValue(busy), 4);

    const KeyerStatus full = decodeStatus(0xC5);
    EXPECT_TRUE(full.busy && full.xoff);
    EXPECT_EQ(sendStatusValue(full), kHoldStatus);

    EXPECT_TRUE(decodeStatus(0xC2).breakIn);
    EXPECT_EQ(sendStatusValue(decodeStatus(0xC2)), 4); // the paddle is sending
    EXPECT_EQ(sendStatusValue(decodeStatus(0xC6)), 4); // busy and break-in: still only sending
    EXPECT_EQ(sendStatusValue(decodeStatus(0xD0)), 5); // waiting: hold
    EXPECT_EQ(sendStatusValue(decodeStatus(0xC1)), 5); // XOFF even before busy shows
    EXPECT_EQ(sendStatusValue(decodeStatus(0xC8)), 0); // key down / pushbutton report alone
    EXPECT_TRUE(decodeStatus(0xC8).keyDown);

    for (int low = 0; low < 32; ++low) {
        const auto byte = static_cast<std::uint8_t>(0xC0 | low);
        EXPECT_EQ(encodeStatus(decodeStatus(byte)), byte);
    }
}

TEST(WinKeyerProtocol, RepliesAreFoundAcrossReadsAndBetweenStatusBytes) {
    KeyerByteDecoder decoder;
    decoder.expectReplies(2);
    using K = KeyerEvent::Kind;
    // The echo and the version come in separate reads, with status and pot bytes around.
    EXPECT_EQ(decoder.decode(bytes({0xC0})), (std::vector<KeyerEvent>{{K::Status, 0xC0}}));
    EXPECT_EQ(decoder.decode(bytes({0x85, 0x55})), (std::vector<KeyerEvent>{{K::SpeedPot, 5}, {K::Reply, 0x55}}));
    EXPECT_EQ(decoder.repliesExpected(), 1);
    EXPECT_EQ(decoder.decode(bytes({0xC4, 0x17, 0x43})),
              (std::vector<KeyerEvent>{{K::Status, 0xC4}, {K::Reply, 0x17}, {K::Echo, 0x43}}));
    EXPECT_EQ(decoder.repliesExpected(), 0);
    EXPECT_TRUE(decoder.decode("").empty());

    // Both replies in one read.
    KeyerByteDecoder once;
    once.expectReplies(2);
    EXPECT_EQ(once.decode(bytes({0x55, 0x1E})), (std::vector<KeyerEvent>{{K::Reply, 0x55}, {K::Reply, 0x1E}}));
    once.expectReplies(1);
    once.cancelReplies();
    EXPECT_EQ(once.decode("Q"), (std::vector<KeyerEvent>{{K::Echo, 'Q'}}));
}

} // namespace
} // namespace corvane::cw
