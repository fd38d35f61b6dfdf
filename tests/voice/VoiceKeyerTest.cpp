// The voice keyer: push-to-talk around each recording, on a serial line and/or the parallel
// port, the F1 repeat and its pause, and push-to-talk released on every way a playback ends.

#include "voice/VoiceKeyer.h"

#include "platform/PortBroker.h"
#include "support/FakeSerialPort.h"
#include "support/ManualTimer.h"
#include "support/RecordingParallel.h"
#include "support/RecordingWavePlayer.h"
#include "voice/WaveFile.h"

#include <gtest/gtest.h>

using namespace corvane;
using namespace corvane::test;

namespace {

class VoiceKeyerTest : public ::testing::Test {
protected:
    VoiceKeyerTest() {
        player.playable = {"/w/cq.wav", "/w/report.wav"};
        keyer.settings().recordingPaths[0] = "/w/cq.wav";
        keyer.settings().recordingPaths[1] = "/w/report.wav";
        keyer.settings().pttPort = "1";
    }

    // What the serial lines did, as "R1" (RTS on), "D0" (DTR off) ...
    std::vector<std::string> lines() const {
        std::vector<std::string> out;
        for (const auto& c : serial.lineChanges()) {
            if (c.whileOpen) {
                out.push_back(std::string(1, c.line) + (c.on ? "1" : "0"));
            }
        }
        return out;
    }

    RecordingWavePlayer player;
    FakeSerialPort serial;
    RecordingParallel parallel;
    PortBroker broker;
    ManualTimeline time;
    ManualTimer endPoll{time};
    ManualTimer repeat{time};
    std::vector<std::string> invalidPorts;
    std::vector<std::string> lineFailures;
    VoiceKeyer keyer{VoiceKeyerDevices{player, serial, parallel, broker, endPoll, repeat},
                     [this](const std::string& why) { invalidPorts.push_back(why); },
                     [this](const std::string& why) { lineFailures.push_back(why); }};
};

TEST_F(VoiceKeyerTest, PttGoesOnBeforeTheRecordingAndOffAtTheFirstCheckAfterItsEnd) {
    keyer.playMessage(1);
    EXPECT_TRUE(serial.isOpen());
    EXPECT_TRUE(serial.rts());
    EXPECT_EQ(player.events, (std::vector<std::string>{"close", "open /w/cq.wav", "play /w/cq.wav"}));
    // The lines start off when the port opens, then RTS is keyed before the play.
    EXPECT_EQ(lines(), std::vector<std::string>{"R1"});

    time.advance(400);
    EXPECT_TRUE(serial.rts()) << "still playing";
    player.finish();
    time.advance(kEndOfPlayPollMs);
    EXPECT_FALSE(serial.rts());
    EXPECT_FALSE(keyer.pttKeyed());
    EXPECT_EQ(lines(), (std::vector<std::string>{"R1", "R0"}));
    EXPECT_TRUE(serial.isOpen()) << "the port stays open for the next recording";
    EXPECT_FALSE(endPoll.isActive());
}

TEST_F(VoiceKeyerTest, DtrIsKeyedWhenChosenAndOtherKeysDoNothing) {
    keyer.settings().pttLine = PttLine::Dtr;
    keyer.playMessage(2);
    EXPECT_TRUE(serial.dtr());
    EXPECT_FALSE(serial.rts());
    EXPECT_EQ(player.played, std::vector<std::string>{"/w/report.wav"});
    player.finish();
    time.advance(kEndOfPlayPollMs);
    EXPECT_EQ(lines(), (std::vector<std::string>{"D1", "D0"}));

    const auto events = player.events.size();
    keyer.playMessage(0);
    keyer.playMessage(10);
    EXPECT_EQ(player.events.size(), events);
}

TEST_F(VoiceKeyerTest, AnEmptyPathKeysNothingAndPlaysNothing) {
    keyer.settings().recordingPaths[0] = "   ";
    keyer.playMessage(1);
    EXPECT_TRUE(player.played.empty());
    EXPECT_FALSE(serial.isOpen());
    EXPECT_TRUE(serial.lineChanges().empty());
    EXPECT_TRUE(parallel.writes.empty());
}

TEST_F(VoiceKeyerTest, AFileThatDoesNotOpenAfterPttWentOnReleasesPttAtOnce) {
    keyer.settings().recordingPaths[0] = "/w/missing.wav";
    keyer.settings().pttLine = PttLine::Parallel; // RTS and the parallel port
    keyer.playMessage(1);
    EXPECT_EQ(lines(), (std::vector<std::string>{"R1", "R0"}));
    EXPECT_EQ(parallel.writes, (std::vector<std::pair<int, int>>{{0x37A, 3}, {0x37A, 2}}));
    EXPECT_FALSE(keyer.pttKeyed());
    EXPECT_FALSE(endPoll.isActive());
    EXPECT_TRUE(invalidPorts.empty()) << "silent";
}

TEST_F(VoiceKeyerTest, ParallelWithPortZeroKeysOnlyTheControlRegister) {
    keyer.settings().pttPort = "0";
    keyer.settings().pttLine = PttLine::Parallel;
    keyer.settings().parallelAddress = "888"; // &H378
    keyer.playMessage(1);
    EXPECT_EQ(parallel.writes, (std::vector<std::pair<int, int>>{{0x37A, 3}}));
    player.finish();
    time.advance(kEndOfPlayPollMs);
    EXPECT_EQ(parallel.writes, (std::vector<std::pair<int, int>>{{0x37A, 3}, {0x37A, 2}}));
    EXPECT_EQ(serial.opens, 0);
    EXPECT_TRUE(serial.lineChanges().empty());
    EXPECT_EQ(parallel.openAddress, -1) << "the parallel device is let go between recordings";
}

TEST_F(VoiceKeyerTest, AParallelDeviceTheCwKeyerHoldsIsWrittenAndLeftToIt) {
    keyer.settings().pttPort = "0";
    keyer.settings().pttLine = PttLine::Parallel;
    ASSERT_TRUE(parallel.open(0x37A)); // the CW keyer's "Printer" option claimed it
    keyer.playMessage(1);
    player.finish();
    time.advance(kEndOfPlayPollMs);
    EXPECT_EQ(parallel.writes, (std::vector<std::pair<int, int>>{{0x37A, 3}, {0x37A, 2}}));
    EXPECT_EQ(parallel.opens.size(), 1u) << "not claimed a second time";
    EXPECT_EQ(parallel.closes, 0) << "the CW keyer's claim stays";

    // The CW keyer lets go of the device while PTT is keyed (it shuts down first).
    keyer.playMessage(1);
    parallel.close();
    keyer.shutdown();
    EXPECT_EQ(parallel.writes.back(), (std::pair<int, int>{0x37A, 2})) << "PTT is not left on in the register";
    EXPECT_EQ(parallel.openAddress, -1);
}

TEST_F(VoiceKeyerTest, AnUnusableParallelAddressKeysNoPort) {
    keyer.settings().pttPort = "0";
    keyer.settings().pttLine = PttLine::Parallel;
    keyer.settings().parallelAddress = "&HZZ";
    keyer.playMessage(1);
    EXPECT_TRUE(parallel.opens.empty());
    EXPECT_EQ(player.played.size(), 1u) << "the recording still plays";
}

TEST_F(VoiceKeyerTest, AnInvalidPortIsReportedAndTheRecordingStillPlays) {
    serial.failOpen = true;
    keyer.playMessage(1);
    EXPECT_EQ(invalidPorts.size(), 1u);
    EXPECT_EQ(player.played.size(), 1u);
    EXPECT_FALSE(keyer.pttKeyed());
    player.finish();
    time.advance(kEndOfPlayPollMs);
    EXPECT_TRUE(lines().empty());
    EXPECT_EQ(broker.deviceOf(PortOwner::PushToTalk), "");

    EXPECT_EQ(keyer.openPttPort(), PttPortResult::Invalid);
    keyer.settings().pttPort = "0";
    EXPECT_EQ(keyer.openPttPort(), PttPortResult::Closed);
    EXPECT_EQ(invalidPorts.size(), 2u) << "port 0 is no failure";
}

TEST_F(VoiceKeyerTest, ANewRecordingCutsTheFirstOffWithPttStillOn) {
    keyer.playMessage(1);
    time.advance(200);
    keyer.playMessage(2);
    EXPECT_EQ(lines(), (std::vector<std::string>{"R1", "R1"})) << "no release between the two";
    EXPECT_EQ(player.played, (std::vector<std::string>{"/w/cq.wav", "/w/report.wav"}));
    time.advance(400);
    EXPECT_TRUE(serial.rts());
    player.finish();
    time.advance(kEndOfPlayPollMs);
    EXPECT_FALSE(serial.rts());
}

TEST_F(VoiceKeyerTest, F1RepeatsAfterItsPauseUntilStopped) {
    keyer.setRepeatIntervalMs(5000);
    keyer.playMessage(1);
    EXPECT_TRUE(keyer.repeatOn());
    time.advance(1000);
    player.finish();
    time.advance(kEndOfPlayPollMs);
    EXPECT_FALSE(serial.rts());
    time.advance(4999);
    EXPECT_EQ(player.played.size(), 1u) << "still in the pause";
    EXPECT_FALSE(serial.rts());
    time.advance(1);
    EXPECT_EQ(player.played.size(), 2u);
    EXPECT_TRUE(serial.rts());

    // Stopped while the second plays: it plays to its end, PTT is released, no third.
    keyer.stopRepeat();
    EXPECT_TRUE(serial.rts());
    player.finish();
    time.advance(kEndOfPlayPollMs);
    EXPECT_FALSE(serial.rts());
    time.advance(60000);
    EXPECT_EQ(player.played.size(), 2u);
}

TEST_F(VoiceKeyerTest, APttLineTheDeviceRefusesPlaysNothingEndsTheLoopAndSaysWhy) {
    keyer.setRepeatIntervalMs(5000);
    serial.linesBeforeFailure = 0; // the first change on the open port, keying RTS, fails
    keyer.playMessage(1);
    EXPECT_TRUE(player.played.empty()) << "a recording without PTT goes nowhere";
    EXPECT_FALSE(keyer.pttKeyed());
    EXPECT_FALSE(keyer.repeatOn());
    ASSERT_EQ(lineFailures.size(), 1u);
    EXPECT_EQ(lineFailures[0], "RTS on " + serial.devicePath() + ": Inappropriate ioctl for device");
    time.advance(60000);
    EXPECT_TRUE(player.played.empty());

    // The next key tries again and plays once the line can be keyed.
    serial.linesBeforeFailure = -1;
    serial.failLines = false;
    keyer.playMessage(2);
    EXPECT_EQ(player.played, std::vector<std::string>{"/w/report.wav"});
    EXPECT_TRUE(serial.rts());

    // The same for the parallel port: a write that fails names the port and the reason.
    keyer.stopPlayback();
    keyer.settings().pttPort = "0";
    keyer.settings().pttLine = PttLine::Parallel;
    parallel.failWrites = true;
    keyer.playMessage(2);
    EXPECT_EQ(player.played.size(), 1u);
    ASSERT_EQ(lineFailures.size(), 2u);
    EXPECT_EQ(lineFailures[1].rfind("Parallel push-to-talk at &H378: ", 0), 0u) << lineFailures[1];
}

TEST_F(VoiceKeyerTest, OnlyF1RepeatsAndOnlyWithAPause) {
    keyer.playMessage(1);
    EXPECT_FALSE(keyer.repeatOn()) << "pause 0";
    keyer.setRepeatIntervalMs(2000);
    keyer.playMessage(2);
    EXPECT_FALSE(keyer.repeatOn());
}

TEST_F(VoiceKeyerTest, PttIsNotHeldLongerThanTheRecordingWhenThePlayerNeverSaysItEnded) {
    player.stuck = true;
    player.fileDurationMs = 2000;
    keyer.playMessage(1);
    time.advance(2000);
    EXPECT_TRUE(serial.rts()) << "a normal recording is not cut short";
    time.advance(kPlaybackMarginMs + kEndOfPlayPollMs);
    EXPECT_FALSE(serial.rts());
    EXPECT_FALSE(keyer.pttKeyed());
}

TEST_F(VoiceKeyerTest, ClosingTheWindowOrEndingTheProgramReleasesPttAtOnce) {
    keyer.setRepeatIntervalMs(3000);
    keyer.playMessage(1);
    keyer.stopPlayback();
    EXPECT_FALSE(serial.rts());
    EXPECT_FALSE(keyer.repeatOn());
    EXPECT_EQ(player.events.back(), "close");
    time.advance(10000);
    EXPECT_EQ(player.played.size(), 1u);

    keyer.settings().pttLine = PttLine::Parallel;
    keyer.playMessage(1);
    keyer.shutdown();
    EXPECT_FALSE(serial.rts());
    EXPECT_FALSE(serial.isOpen());
    EXPECT_EQ(parallel.writes.back(), (std::pair<int, int>{0x37A, 2}));
    EXPECT_EQ(broker.deviceOf(PortOwner::PushToTalk), "");
}

TEST_F(VoiceKeyerTest, OpeningPttDisplacesTheCwKeyingPortAndTheCwPortDisplacesPtt) {
    int cwClosed = 0;
    broker.join(PortOwner::CwKeying, [&] { ++cwClosed; });
    serial.setPortNumber(1); // the keying line sits on the push-to-talk device
    ASSERT_TRUE(broker.acquire(PortOwner::CwKeying, serial.devicePath()));
    EXPECT_EQ(keyer.openPttPort(), PttPortResult::Opened);
    EXPECT_EQ(cwClosed, 1);
    EXPECT_EQ(broker.deviceOf(PortOwner::PushToTalk), serial.devicePath());

    keyer.playMessage(1);
    ASSERT_TRUE(serial.rts());
    // The CW keyer takes the device back in the middle of the recording.
    ASSERT_TRUE(broker.acquire(PortOwner::CwKeying, serial.devicePath()));
    EXPECT_FALSE(serial.isOpen());
    player.finish();
    time.advance(kEndOfPlayPollMs);
    EXPECT_FALSE(keyer.pttKeyed());
    // The next recording opens the port again.
    keyer.playMessage(1);
    EXPECT_TRUE(serial.isOpen());
    EXPECT_TRUE(serial.rts());
}

} // namespace
