#include "platform/serial/QtSerialPort.h"

#include <QCoreApplication>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <mutex>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace corvane {
namespace {

// A pseudo-terminal pair: the program's port opens the follower side, the test plays the
// device on the leader side.
class Pty {
public:
    Pty() {
        char name[256] = {};
        if (::openpty(&m_leader, &m_follower, name, nullptr, nullptr) == 0) {
            m_name = name;
        }
    }
    ~Pty() {
        if (m_leader >= 0) {
            ::close(m_leader);
        }
        if (m_follower >= 0) {
            ::close(m_follower);
        }
    }
    const std::string& name() const { return m_name; }
    // The termios of the device as the port set them.
    termios settings() const {
        termios tio{};
        ::tcgetattr(m_follower, &tio);
        return tio;
    }
    // The device goes away, as an unplugged USB adapter does.
    void hangUp() {
        ::close(m_leader);
        m_leader = -1;
    }
    void send(std::string_view bytes) const {
        ASSERT_EQ(::write(m_leader, bytes.data(), bytes.size()), (ssize_t)bytes.size());
    }
    // Reads until `count` bytes came or nothing more arrives for a long while.
    std::string receive(std::size_t count) const {
        std::string out;
        while (out.size() < count) {
            pollfd p{m_leader, POLLIN, 0};
            if (::poll(&p, 1, 5000) <= 0) {
                break;
            }
            char buf[256];
            const ssize_t n = ::read(m_leader, buf, sizeof buf);
            if (n <= 0) {
                break;
            }
            out.append(buf, static_cast<std::size_t>(n));
        }
        return out;
    }

private:
    int m_leader = -1;
    int m_follower = -1;
    std::string m_name;
};

// Reads the port until `count` bytes came, as an owner polling from a timer would.
std::string readUntil(QtSerialPort& port, std::size_t count, int* reads = nullptr) {
    std::string out;
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (out.size() < count && std::chrono::steady_clock::now() < giveUp) {
        QCoreApplication::processEvents();
        const std::string part = port.readAll();
        if (!part.empty() && reads != nullptr) {
            ++*reads;
        }
        out += part;
    }
    return out;
}

TEST(QtSerialPort, CarriesEveryByteBothWays) {
    Pty pty;
    ASSERT_FALSE(pty.name().empty());
    QtSerialPort port([&](int n) { return n == 7 ? pty.name() : std::string(); });
    port.setPortNumber(7);
    EXPECT_EQ(port.devicePath(), pty.name());
    ASSERT_TRUE(port.setSettings("9600,N,8,1"));
    port.setDtr(false);
    port.setRts(false);
    std::string error;
    ASSERT_TRUE(port.open(&error)) << error;
    EXPECT_TRUE(port.isOpen());

    const std::string bytes("\x00\x80\xFD\xFE\xE0\x0D\x0A\xFF", 8);
    ASSERT_TRUE(port.write(bytes));
    EXPECT_TRUE(port.flush(5000));
    EXPECT_EQ(port.outputPending(), 0);
    EXPECT_EQ(pty.receive(bytes.size()), bytes);

    pty.send(bytes);
    EXPECT_EQ(readUntil(port, bytes.size()), bytes);
    EXPECT_EQ(port.readAll(), "");
}

TEST(QtSerialPort, ASplitReplyComesWholeOverSuccessiveReads) {
    Pty pty;
    QtSerialPort port([&](int) { return pty.name(); });
    port.setPortNumber(1);
    ASSERT_TRUE(port.open());
    pty.send(std::string("\xFE\xFE\xE0", 3));
    std::string got = readUntil(port, 3);
    pty.send(std::string("\x94\x03\x00\xFD", 4));
    got += readUntil(port, 4);
    EXPECT_EQ(got, std::string("\xFE\xFE\xE0\x94\x03\x00\xFD", 7));
}

TEST(QtSerialPort, FailuresAreReportedInsteadOfOpening) {
    QtSerialPort none;
    none.setPortNumber(0);
    std::string error;
    EXPECT_FALSE(none.open(&error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(none.isOpen());

    QtSerialPort missing([](int) { return std::string("/dev/corvane-no-such-port"); });
    missing.setPortNumber(3);
    EXPECT_FALSE(missing.open(&error));
    EXPECT_NE(error.find("/dev/corvane-no-such-port"), std::string::npos);
    EXPECT_FALSE(missing.write("x"));
    EXPECT_EQ(missing.readAll(), "");

    EXPECT_FALSE(missing.setSettings("9600,Q,8,1"));
    EXPECT_EQ(missing.settings(), "9600,N,8,1");
    // Lines set on a closed port are remembered for the open.
    EXPECT_TRUE(missing.setRts(true));
    EXPECT_TRUE(missing.rts());
}

TEST(QtSerialPort, APseudoTerminalRefusesModemLinesButStaysOpen) {
    Pty pty;
    QtSerialPort port([&](int) { return pty.name(); });
    port.setPortNumber(1);
    port.setRts(true);
    ASSERT_TRUE(port.open());
    EXPECT_FALSE(port.setRts(false)); // no modem lines on a pty
    EXPECT_TRUE(port.isOpen());
    port.close();
    EXPECT_FALSE(port.isOpen());
    EXPECT_TRUE(port.setDtr(true));
}

// Every line and termios call the port makes, in order ("clear DR" = TIOCMBIC of DTR and RTS).
class RecordingTtyLines final : public TtyLines {
public:
    bool clear(int fd, int lines) override { return record(fd, "clear " + names(lines)); }
    bool raise(int fd, int lines) override { return record(fd, "raise " + names(lines)); }
    bool hangUpOnClose(int fd) override { return record(fd, "hupcl"); }
    std::vector<std::string> take() {
        std::lock_guard lock(m_mutex);
        return std::exchange(m_calls, {});
    }
    int lastFd() const {
        std::lock_guard lock(m_mutex);
        return m_fd;
    }

private:
    static std::string names(int lines) {
        return std::string((lines & TIOCM_DTR) != 0 ? "D" : "") + ((lines & TIOCM_RTS) != 0 ? "R" : "");
    }
    bool record(int fd, std::string call) {
        std::lock_guard lock(m_mutex);
        m_fd = fd;
        m_calls.push_back(std::move(call));
        return true;
    }
    mutable std::mutex m_mutex;
    std::vector<std::string> m_calls;
    int m_fd = -1;
};

using Calls = std::vector<std::string>;

TEST(QtSerialPort, OpeningClearsTheRaisedLinesFirstAndSetsHangUpOnClose) {
    Pty pty;
    RecordingTtyLines lines;
    QtSerialPort port([&](int) { return pty.name(); }, lines);
    port.setPortNumber(1);
    ASSERT_TRUE(port.setSettings("1200,E,7,2"));
    port.setDtr(false);
    port.setRts(false);
    EXPECT_EQ(lines.take(), Calls{}); // a closed port only remembers
    ASSERT_TRUE(port.open());
    EXPECT_EQ(lines.take(), (Calls{"clear DR", "hupcl"}));
    // The line settings were in place when open() returned, before the lines were touched (a
    // pseudo-terminal keeps 8 bits without parity whatever it is told).
    const termios tio = pty.settings();
    EXPECT_EQ(cfgetospeed(&tio), B1200);
    EXPECT_NE(tio.c_cflag & CSTOPB, 0u);

    // The keyer's line changes go straight to the device.
    EXPECT_TRUE(port.setRts(true));
    EXPECT_TRUE(port.setRts(false));
    EXPECT_TRUE(port.setDtr(true));
    EXPECT_EQ(lines.take(), (Calls{"raise R", "clear R", "raise D"}));
    const int fd = lines.lastFd();
    // Closing drops both lines on the device before it goes.
    port.close();
    EXPECT_EQ(lines.take(), Calls{"clear DR"});
    EXPECT_EQ(lines.lastFd(), fd);
    port.close();
    EXPECT_EQ(lines.take(), Calls{});

    // A line asked for before the open is raised after the others were cleared.
    port.setDtr(true);
    port.setRts(false);
    lines.take();
    ASSERT_TRUE(port.open());
    EXPECT_EQ(lines.take(), (Calls{"clear R", "hupcl", "raise D"}));
    port.close();
    lines.take();

    // RTS/CTS handshaking: RTS belongs to the driver.
    port.setDtr(false);
    port.setHandshaking(Handshaking::RtsCts);
    lines.take();
    ASSERT_TRUE(port.open());
    EXPECT_EQ(lines.take(), (Calls{"clear D", "hupcl"}));
}

TEST(QtSerialPort, TheKernelDropsTheLinesWhenTheDescriptorCloses) {
    Pty pty;
    ASSERT_EQ(pty.settings().c_cflag & HUPCL, 0u); // a pseudo-terminal starts without it
    QtSerialPort port([&](int) { return pty.name(); });
    port.setPortNumber(1);
    ASSERT_TRUE(port.open());
    EXPECT_NE(pty.settings().c_cflag & HUPCL, 0u);
}

TEST(QtSerialPort, ADeviceThatGoesAwayIsClosedAndReportedOnce) {
    Pty pty;
    QtSerialPort port([&](int) { return pty.name(); });
    port.setPortNumber(1);
    int reports = 0;
    port.setArrivalHandler([&] { ++reports; });
    ASSERT_TRUE(port.open());
    pty.send("x");
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (reports == 0 && std::chrono::steady_clock::now() < giveUp) {
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(reports, 1); // the byte arrived
    EXPECT_EQ(port.readAll(), "x");

    pty.hangUp();
    while (port.isOpen() && std::chrono::steady_clock::now() < giveUp) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(port.failure().empty());
    const int afterFailure = reports;
    EXPECT_GE(afterFailure, 2);
    // Closed: the failure does not come round again on every turn of the event loop.
    for (int i = 0; i < 50; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
    }
    EXPECT_EQ(reports, afterFailure);
    EXPECT_FALSE(port.write("y"));
}

TEST(QtSerialPort, AStableNameIsFollowedAndAnUnpluggedDeviceIsNamedInTheFailure) {
    Pty pty;
    ASSERT_FALSE(pty.name().empty());
    const std::string link = std::filesystem::temp_directory_path() /
                             ("corvane-by-id-" + std::to_string(::getpid()) + "-usb-FTDI-if00-port0");
    std::filesystem::remove(link);
    std::filesystem::create_symlink(pty.name(), link);
    QtSerialPort port([&](int) { return link; });
    port.setPortNumber(4);
    std::string error;
    ASSERT_TRUE(port.open(&error)) << error;
    port.close();
    std::filesystem::remove(link); // unplugged: the stable name goes with the device
    EXPECT_FALSE(port.open(&error));
    EXPECT_EQ(error, "Serial port 4 is set to " + link +
                         ", which is not plugged in. Plug it in, or choose another device for port 4 in Setup > "
                         "Serial Ports.");
    EXPECT_FALSE(port.isOpen());
}

} // namespace
} // namespace corvane

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
