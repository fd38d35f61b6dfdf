#include "platform/serial/QtSerialPort.h"

#include <QCoreApplication>
#include <chrono>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
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

} // namespace
} // namespace corvane

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
