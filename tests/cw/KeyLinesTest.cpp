#include "cw/KeyLines.h"

#include "TempDir.h"
#include "cw/Keyer.h"
#include "support/FakeSerialPort.h"
#include "support/InstantKeyerClock.h"
#include "support/RecordingKeyLine.h"

#include <condition_variable>
#include <fstream>
#include <gtest/gtest.h>

namespace corvane::cw {
namespace {

struct RecordingParallel : ParallelOutput {
    std::vector<std::pair<int, int>> writes;
    bool fail = false;
    bool write(int address, std::uint8_t value) override {
        if (fail) {
            return false;
        }
        writes.emplace_back(address, value);
        return true;
    }
};

// Sends one character through a keyer on the line and waits for it to be done.
CharacterOutcome keyOne(KeyLine& line, char c) {
    InstantKeyerClock clock;
    std::mutex m;
    std::condition_variable cv;
    std::optional<CharacterOutcome> result;
    Keyer keyer(line, clock, [&](char, CharacterOutcome o) {
        std::lock_guard lock(m);
        result = o;
        cv.notify_all();
    });
    keyer.setTiming({TimingMethod::Timer, 20, 0, 0});
    keyer.transmit(c);
    std::unique_lock lock(m);
    cv.wait(lock, [&] { return result.has_value(); });
    return *result;
}

TEST(KeyLines, PrinterWritesThreeAndTwoToTheControlRegister) {
    FakeSerialPort serial;
    RecordingParallel parallel;
    KeyingLine line(serial, parallel);
    line.setOption(KeyingOption::Printer);
    EXPECT_EQ(keyOne(line, 'E'), CharacterOutcome::Sent);
    const std::vector<std::pair<int, int>> expected{{0x37A, 3}, {0x37A, 2}, {0x37A, 2}, {0x37A, 2}};
    EXPECT_EQ(parallel.writes, expected);

    parallel.writes.clear();
    line.setPrinterAddress("888"); // the same port as &H378
    keyOne(line, 'E');
    EXPECT_EQ(parallel.writes, expected);

    parallel.writes.clear();
    line.setPrinterAddress("&H278");
    keyOne(line, 'T');
    EXPECT_EQ(parallel.writes.front(), std::make_pair(0x27A, 3));

    line.setPrinterAddress("40000"); // beyond a signed 16-bit control address
    EXPECT_EQ(keyOne(line, 'E'), CharacterOutcome::LineFailed);
    line.setPrinterAddress("&H378");
    parallel.fail = true;
    EXPECT_EQ(keyOne(line, 'E'), CharacterOutcome::LineFailed);
}

TEST(KeyLines, RtsAndDtrKeyTheirOwnLineForEveryUnit) {
    FakeSerialPort serial;
    RecordingParallel parallel;
    KeyingLine line(serial, parallel);
    serial.setPortNumber(1);
    serial.open();
    line.setOption(KeyingOption::Rts);
    keyOne(line, 'E');
    line.setOption(KeyingOption::Dtr);
    keyOne(line, 'E');
    std::string seen;
    for (const auto& c : serial.lineChanges()) {
        seen += c.line;
        seen += c.on ? '1' : '0';
    }
    EXPECT_EQ(seen, "R1R0R0R0D1D0D0D0");
    EXPECT_TRUE(parallel.writes.empty());

    serial.failLines = true;
    line.setOption(KeyingOption::Rts);
    EXPECT_EQ(keyOne(line, 'E'), CharacterOutcome::LineFailed);

    // With no port open the character is timed and no line moves on the device.
    FakeSerialPort closed;
    KeyingLine idle(closed, parallel);
    idle.setOption(KeyingOption::Dtr);
    EXPECT_EQ(keyOne(idle, 'E'), CharacterOutcome::Sent);
    for (const auto& c : closed.lineChanges()) {
        EXPECT_FALSE(c.whileOpen);
    }
    KeyingLine none(closed, parallel);
    EXPECT_EQ(keyOne(none, 'E'), CharacterOutcome::Sent);
    none.setOption(KeyingOption::WinKey);
    EXPECT_EQ(keyOne(none, 'E'), CharacterOutcome::Sent);
    EXPECT_TRUE(parallel.writes.empty());
}

TEST(KeyingPort, SetupOpensWithBothLinesOffAndClosesThePushToTalkPort) {
    PortBroker broker;
    FakeSerialPort keyingSerial, ptt;
    broker.join(PortOwner::PushToTalk, [&ptt] { ptt.close(); });
    ptt.setPortNumber(2);
    broker.acquire(PortOwner::PushToTalk, ptt.devicePath());
    ptt.open();
    KeyingPort port(keyingSerial, broker);

    EXPECT_EQ(port.setup("2"), KeyingPortResult::Opened);
    EXPECT_TRUE(keyingSerial.isOpen());
    EXPECT_FALSE(ptt.isOpen());
    EXPECT_EQ(keyingSerial.portNumber(), 2);
    const auto changes = keyingSerial.lineChanges();
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_FALSE(changes[0].on);
    EXPECT_FALSE(changes[0].whileOpen);
    EXPECT_FALSE(changes[1].on);

    EXPECT_EQ(port.setup("0"), KeyingPortResult::Closed);
    EXPECT_FALSE(keyingSerial.isOpen());
    EXPECT_EQ(keyingSerial.opens, 1);

    std::string error;
    EXPECT_EQ(port.setup("x", &error), KeyingPortResult::Invalid);
    EXPECT_FALSE(error.empty());
    keyingSerial.failOpen = true;
    EXPECT_EQ(port.setup("3", &error), KeyingPortResult::Invalid);
    EXPECT_EQ(error, keyingSerial.openError);
    EXPECT_FALSE(keyingSerial.isOpen());

    // The push-to-talk owner opening its port closes the keying port in turn.
    keyingSerial.failOpen = false;
    port.setup("2");
    broker.acquire(PortOwner::PushToTalk, ptt.devicePath());
    EXPECT_FALSE(keyingSerial.isOpen());

    // A rig link holding the device refuses the keying port with the reason.
    port.setup("0");
    broker.released(PortOwner::PushToTalk);
    ASSERT_TRUE(broker.acquire(PortOwner::Rig, keyingSerial.devicePath()));
    EXPECT_EQ(port.setup("2", &error), KeyingPortResult::Invalid);
    EXPECT_NE(error.find("in use by the rig link"), std::string::npos);
    EXPECT_FALSE(keyingSerial.isOpen());
}

TEST(KeyLines, TheParallelDeviceFollowsTheBaseAddress) {
    test::TempDir proc;
    std::filesystem::create_directories(proc.path() / "parport0");
    std::filesystem::create_directories(proc.path() / "parport1");
    std::ofstream(proc.path() / "parport0" / "base-addr") << "53248\t53256\n";
    std::ofstream(proc.path() / "parport1" / "base-addr") << "888\t1912\n";
    EXPECT_EQ(parportDeviceFor(888, proc.path().string()), "/dev/parport1");
    EXPECT_EQ(parportDeviceFor(53248, proc.path().string()), "/dev/parport0");
    EXPECT_EQ(parportDeviceFor(0x278, proc.path().string()), "/dev/parport1");
    EXPECT_EQ(parportDeviceFor(0x378, "/nonexistent"), "/dev/parport0");
    EXPECT_EQ(parportDeviceFor(0x123, "/nonexistent"), "");

    PpdevOutput out("/nonexistent");
    out.setDeviceOverride((proc.path() / "no-such-device").string());
    EXPECT_FALSE(out.write(0x37A, 3));
    EXPECT_NE(out.lastError().find("no-such-device"), std::string::npos);
    EXPECT_EQ(out.deviceInUse(), (proc.path() / "no-such-device").string());
}

} // namespace
} // namespace corvane::cw
