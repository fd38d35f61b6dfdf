#include "cw/winkey/WinKeyer.h"
#include "support/FakeSerialPort.h"
#include "support/ManualTimer.h"

#include <gtest/gtest.h>

namespace corvane::cw {
namespace {

const std::string kGreeting("\x13\x13\x13\x00\x04\x55\x00\x02", 8);

struct OpenOutcome {
    int calls = 0;
    int result = 99;
    int version = -1;
};

struct WinKeyerLink : ::testing::Test {
    FakeSerialPort port;
    test::ManualTimeline time;
    test::ManualTimer timer{time};
    WinKeyer keyer{port, timer};
    OpenOutcome outcome;
    std::vector<std::string> lost;
    std::vector<int> statuses;
    int released = 0;

    void SetUp() override {
        keyer.setLostHandler([this](const std::string& why) { lost.push_back(why); });
        keyer.setStatusHandler([this](int s) { statuses.push_back(s); });
        keyer.setPortReleased([this] { ++released; });
    }
    void startOpen(int portNumber = 2) {
        keyer.open(portNumber, [this](int result, std::uint8_t version) {
            ++outcome.calls;
            outcome.result = result;
            outcome.version = version;
        });
    }
    void reply(std::string bytes) {
        port.replies.push_back(std::move(bytes));
        keyer.dataArrived();
    }
    void openKeyer(std::uint8_t version = 23) {
        startOpen();
        reply(std::string("\x55", 1));
        reply(std::string(1, static_cast<char>(version)));
        ASSERT_TRUE(keyer.isOpen());
        port.written.clear();
    }
};

TEST_F(WinKeyerLink, OpensWithEchoTestAndHostOpenOnAPortSetForTheKeyer) {
    startOpen(3);
    EXPECT_TRUE(port.isOpen());
    EXPECT_EQ(port.portNumber(), 3);
    EXPECT_EQ(port.settings(), "1200,N,8,2");
    EXPECT_EQ(port.handshaking, Handshaking::None);
    EXPECT_TRUE(port.dtr());
    EXPECT_FALSE(port.rts());
    EXPECT_EQ(port.written, kGreeting);
    EXPECT_TRUE(keyer.isOpening());
    EXPECT_EQ(outcome.calls, 0);

    // The replies come split over reads and mixed with status and pot bytes.
    reply(std::string("\xC0", 1));
    reply(std::string("\x55\x83", 2));
    EXPECT_EQ(outcome.calls, 0);
    reply(std::string("\xC0\x1F", 2));
    EXPECT_EQ(outcome.calls, 1);
    EXPECT_EQ(outcome.result, 0);
    EXPECT_EQ(outcome.version, 0x1F);
    EXPECT_TRUE(keyer.isOpen());
    EXPECT_EQ(keyer.version(), 0x1F);
    EXPECT_EQ(keyer.speedPot(), 3);
    EXPECT_EQ(keyer.status(), 0);
    EXPECT_EQ(port.written, kGreeting + "\x15"); // then asks for the status
    EXPECT_FALSE(timer.isActive());              // nothing to watch while idle
}

TEST_F(WinKeyerLink, AKeyerThatNeverAnswersGivesNoEchoResponseAfterASecond) {
    startOpen();
    time.advance(999);
    EXPECT_EQ(outcome.calls, 0);
    time.advance(1);
    EXPECT_EQ(outcome.calls, 1);
    EXPECT_EQ(outcome.result, -1);
    EXPECT_EQ(outcome.version, 0);
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(keyer.isOpen());
    EXPECT_EQ(port.written, kGreeting + std::string("\x00\x03", 2)); // host close, in case
    EXPECT_EQ(released, 1);
    EXPECT_EQ(*winKeyerResultText(outcome.result), "No Echo Response");
}

TEST_F(WinKeyerLink, EchoButNoVersionGivesNoOpenResponse) {
    startOpen();
    time.advance(900);
    reply("\x55");
    time.advance(900); // the second wait starts with the echo
    EXPECT_EQ(outcome.calls, 0);
    time.advance(100);
    EXPECT_EQ(outcome.result, -3);
    EXPECT_EQ(*winKeyerResultText(-3), "No Open Response");
}

TEST_F(WinKeyerLink, GarbageInsteadOfTheEchoIsAMismatch) {
    startOpen();
    reply(std::string("\xC4\x81\x12", 3)); // status and pot bytes pass, the data byte is wrong
    EXPECT_EQ(outcome.result, -2);
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(*winKeyerResultText(-2), "Echo Mismatch");

    // A version byte of 0 is no version.
    startOpen();
    reply("\x55");
    reply(std::string("\x00", 1));
    EXPECT_EQ(outcome.result, -3);
}

TEST_F(WinKeyerLink, PortFailuresAndRefusals) {
    port.failOpen = true;
    startOpen();
    EXPECT_EQ(outcome.result, -4);
    EXPECT_EQ(*winKeyerResultText(-4), "Com Open Failed");

    port.failOpen = false;
    int asked = 0;
    keyer.setPortGate([&](const std::string& device, std::string* refusal) {
        ++asked;
        EXPECT_EQ(device, "/dev/ttyUSB1");
        *refusal = "The rig link holds this port.";
        return false;
    });
    const int opensBefore = port.opens;
    startOpen(2);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(outcome.result, -4);
    EXPECT_EQ(port.opens, opensBefore);
    EXPECT_EQ(keyer.lastRefusal(), "The rig link holds this port.");
}

TEST_F(WinKeyerLink, OpeningTwiceSaysAlreadyOpenAndCloseEndsAnOpenEarly) {
    startOpen();
    OpenOutcome second;
    keyer.open(2, [&](int r, std::uint8_t) { second.result = r; });
    EXPECT_EQ(second.result, -8);

    EXPECT_EQ(keyer.close(), 0);
    EXPECT_EQ(outcome.result, -9);
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(keyer.close(), -9);
    time.advance(5000); // the dead open's timer does nothing
    EXPECT_EQ(outcome.calls, 1);
}

TEST_F(WinKeyerLink, EveryOperationSendsItsBytesWhileOpenAndNothingWhileClosed) {
    EXPECT_EQ(keyer.setSpeed(20), -9);
    EXPECT_EQ(keyer.sendCharacter('A'), -9);
    EXPECT_EQ(keyer.clearBuffer(), -9);
    EXPECT_EQ(keyer.status(), -9);
    EXPECT_TRUE(port.written.empty());

    openKeyer();
    EXPECT_EQ(keyer.setSpeed(20), 0);
    EXPECT_EQ(keyer.setWeight(50), 0);
    EXPECT_EQ(keyer.setDitDahRatio(50), 0);
    EXPECT_EQ(keyer.setPttLeadTail(1, 2), 0);
    EXPECT_EQ(keyer.setPinConfig(6), 0);
    EXPECT_EQ(keyer.setMode(16), 0);
    EXPECT_EQ(keyer.sendCharacter('C'), 0);
    EXPECT_EQ(keyer.backspace(), 0);
    EXPECT_EQ(keyer.clearBuffer(), 0);
    EXPECT_EQ(keyer.sendCharacter('\x1B'), -10); // a command byte is never sent as a character
    EXPECT_EQ(port.written, std::string("\x02\x14\x03\x32\x17\x32\x04\x01\x02\x09\x06\x0E\x10"
                                        "C\x08\x0A",
                                        16));
    EXPECT_EQ(keyer.close(), 0);
    EXPECT_EQ(port.written.substr(16), std::string("\x00\x03", 2));
    EXPECT_FALSE(port.isOpen());
}

TEST_F(WinKeyerLink, StatusFollowsTheKeyersOwnReports) {
    openKeyer();
    reply(std::string("\xC4", 1));
    EXPECT_EQ(keyer.status(), 4);
    reply(std::string("\xC5", 1));
    EXPECT_EQ(keyer.status(), 5);
    reply(std::string("\xC4\xC0", 2));
    EXPECT_EQ(keyer.status(), 0);
    EXPECT_EQ(statuses, (std::vector<int>{4, 5, 4, 0}));

    reply("TEST"); // echoed characters
    EXPECT_EQ(keyer.takeEchoed(), "TEST");
    EXPECT_EQ(keyer.takeEchoed(), "");
}

TEST_F(WinKeyerLink, AQuietKeyerIsAskedAndLostWhenItDoesNotAnswer) {
    openKeyer();
    keyer.sendCharacter('E');
    time.advance(1999);
    EXPECT_TRUE(port.written == "E");
    time.advance(1);
    EXPECT_EQ(port.written, "E\x15"); // asked for its status
    reply(std::string("\xC4", 1));    // it answers: all well, still sending
    EXPECT_TRUE(lost.empty());
    time.advance(2000);
    EXPECT_EQ(port.written, "E\x15\x15");
    time.advance(999);
    EXPECT_TRUE(lost.empty());
    time.advance(1);
    ASSERT_EQ(lost.size(), 1u);
    EXPECT_FALSE(keyer.isOpen());
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(keyer.status(), -9);
    EXPECT_EQ(statuses.back(), -9);

    // An idle keyer is left alone.
    openKeyer();
    reply(std::string("\xC0", 1));
    time.advance(60000);
    EXPECT_TRUE(port.written.empty());
    EXPECT_TRUE(keyer.isOpen());
}

TEST_F(WinKeyerLink, APortThatGoesAwayLosesTheKeyer) {
    openKeyer();
    port.close(); // unplugged
    keyer.dataArrived();
    ASSERT_EQ(lost.size(), 1u);
    EXPECT_FALSE(keyer.isOpen());

    openKeyer();
    port.close();
    EXPECT_EQ(keyer.sendCharacter('A'), -9);
    EXPECT_EQ(lost.size(), 2u);
    EXPECT_EQ(keyer.clearBuffer(), -9);
    EXPECT_EQ(lost.size(), 2u); // reported once
}

} // namespace
} // namespace corvane::cw
