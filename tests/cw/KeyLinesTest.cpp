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
    std::vector<int> opens;
    int openAddress = -1;
    bool fail = false;
    bool open(int address) override {
        opens.push_back(address);
        openAddress = address;
        return true;
    }
    void close() override { openAddress = -1; }
    bool isOpenFor(int address) const override { return address == openAddress; }
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

    // A line that fails part way through a character: the outcome says so and the failure
    // names the line, the device and the system's reason.
    serial.linesBeforeFailure = 1;
    line.setOption(KeyingOption::Rts);
    EXPECT_EQ(keyOne(line, 'A'), CharacterOutcome::LineFailed);
    EXPECT_EQ(line.failure(), "RTS on " + serial.devicePath() + ": Inappropriate ioctl for device");

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

TEST(KeyLines, TheParallelAddressIsDecimalOrHexUpToTheLastControlRegister) {
    EXPECT_EQ(parseParallelAddress("&H378"), 888);
    EXPECT_EQ(parseParallelAddress("888"), 888);
    EXPECT_EQ(parseParallelAddress("&h3bc"), 0x3BC);
    EXPECT_EQ(parseParallelAddress("32765"), 32765);
    EXPECT_FALSE(parseParallelAddress("32766"));
    EXPECT_FALSE(parseParallelAddress("&HFFFFF"));
    EXPECT_FALSE(parseParallelAddress("&H"));
    EXPECT_FALSE(parseParallelAddress("12.5"));
    EXPECT_FALSE(parseParallelAddress("-1"));
    EXPECT_FALSE(parseParallelAddress("port"));
    EXPECT_FALSE(parseParallelAddress("-1e41")); // beyond every whole type: refused, never converted
    EXPECT_FALSE(parseParallelAddress("1e308"));
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
    EXPECT_FALSE(out.open(0x37A));
    EXPECT_NE(out.lastError().find("no-such-device"), std::string::npos);
    EXPECT_EQ(out.deviceInUse(), (proc.path() / "no-such-device").string());
    EXPECT_FALSE(out.write(0x37A, 3)); // never opened: nothing is tried on the keyer thread
    EXPECT_EQ(out.lastError(), "The parallel port is not open.");
}

// A ppdev output whose system calls are recorded instead of made.
class FakePpdev final : public PpdevOutput {
public:
    ~FakePpdev() override { close(); } // with the fake release, before the real one would run

    std::string device = "/dev/parport1";
    std::vector<int> resolved;       // base addresses looked up
    std::vector<std::string> opened; // devices opened
    std::vector<int> released;
    std::vector<int> written;
    bool failWrites = false;

protected:
    std::string resolveDevice(int baseAddress) override {
        resolved.push_back(baseAddress);
        return device;
    }
    int openDevice(const std::string& path) override {
        opened.push_back(path);
        return 1000 + static_cast<int>(opened.size());
    }
    bool claimDevice(int) override { return true; }
    bool writeControl(int, std::uint8_t value) override {
        if (failWrites) {
            errno = EIO;
            return false;
        }
        written.push_back(value);
        return true;
    }
    void releaseDevice(int fd) override { released.push_back(fd); }
};

TEST(KeyLines, TheParallelDeviceIsFoundOnceBeforeKeyingNotOnEveryElement) {
    FakePpdev out;
    EXPECT_FALSE(out.write(0x37A, 3)); // not open yet: no lookup, no open on the keyer thread
    EXPECT_TRUE(out.resolved.empty());
    ASSERT_TRUE(out.open(0x37A));
    for (int i = 0; i < 50; ++i) {
        ASSERT_TRUE(out.write(0x37A, static_cast<std::uint8_t>(2 + i % 2)));
    }
    EXPECT_EQ(out.resolved, std::vector<int>{0x378});
    EXPECT_EQ(out.opened, std::vector<std::string>{"/dev/parport1"});
    EXPECT_EQ(out.written.size(), 50u);
    EXPECT_TRUE(out.open(0x37A)); // already open: nothing again
    EXPECT_EQ(out.resolved.size(), 1u);
    EXPECT_FALSE(out.write(0x27A, 3)); // another address is not written through this device
    EXPECT_EQ(out.written.size(), 50u);

    // Another address: the old device is let go, the new one found.
    ASSERT_TRUE(out.open(0x27A));
    EXPECT_EQ(out.resolved, (std::vector<int>{0x378, 0x278}));
    EXPECT_EQ(out.released, std::vector<int>{1001});

    // A failed write lets the device go; it is found again at the next open only.
    out.failWrites = true;
    EXPECT_FALSE(out.write(0x27A, 3));
    EXPECT_EQ(out.released.size(), 2u);
    out.failWrites = false;
    EXPECT_FALSE(out.write(0x27A, 2));
    EXPECT_EQ(out.opened.size(), 2u);
    EXPECT_TRUE(out.open(0x27A));
    EXPECT_EQ(out.opened.size(), 3u);

    out.device.clear();
    out.close();
    EXPECT_FALSE(out.open(0x37A));
    EXPECT_EQ(out.lastError(), "No parallel port at this address.");

    // Through the keying line: prepared once on the window thread, then only written.
    FakePpdev ppdev;
    FakeSerialPort serial;
    KeyingLine line(serial, ppdev);
    line.setOption(KeyingOption::Printer);
    ASSERT_TRUE(line.prepare());
    EXPECT_TRUE(line.prepare());
    EXPECT_EQ(keyOne(line, 'E'), CharacterOutcome::Sent);
    EXPECT_EQ(keyOne(line, 'T'), CharacterOutcome::Sent);
    EXPECT_EQ(ppdev.written, (std::vector<int>{3, 2, 2, 2, 3, 3, 3, 2, 2, 2}));
    EXPECT_EQ(ppdev.resolved.size(), 1u);
    line.setPrinterAddress("12.5");
    EXPECT_FALSE(line.prepare());
    line.setOption(KeyingOption::Rts);
    EXPECT_TRUE(line.prepare()); // nothing to prepare for the serial lines
}

TEST(KeyLines, ChangingTheOptionOrTheAddressKeysUpTheLineLeft) {
    FakeSerialPort serial;
    serial.setPortNumber(1);
    serial.open();
    RecordingParallel parallel;
    KeyingLine line(serial, parallel);
    line.setOption(KeyingOption::Printer);
    ASSERT_TRUE(line.prepare());
    ASSERT_TRUE(line.keyDown());       // a character on the air ...
    line.setOption(KeyingOption::Rts); // ... when the operator picks another option
    EXPECT_EQ(parallel.writes, (std::vector<std::pair<int, int>>{{0x37A, 3}, {0x37A, 2}}));
    ASSERT_TRUE(line.keyDown());
    line.setOption(KeyingOption::Dtr);
    std::string seen;
    for (const auto& c : serial.lineChanges()) {
        seen += c.line;
        seen += c.on ? '1' : '0';
    }
    EXPECT_EQ(seen, "R1R0");

    line.setOption(KeyingOption::Printer);
    parallel.writes.clear();
    ASSERT_TRUE(line.keyDown());
    line.setPrinterAddress("&H278");
    EXPECT_EQ(parallel.writes, (std::vector<std::pair<int, int>>{{0x37A, 3}, {0x37A, 2}}));
}

} // namespace
} // namespace corvane::cw
