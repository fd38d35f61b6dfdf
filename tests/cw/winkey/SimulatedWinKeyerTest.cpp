// The simulated keyer that the window and bench tests rely on, checked over the raw device.

#include "support/SimulatedWinKeyer.h"

#include <chrono>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

namespace corvane::test {
namespace {

using namespace std::chrono_literals;

struct Host {
    int fd = -1;
    explicit Host(const std::string& path) { fd = ::open(path.c_str(), O_RDWR | O_NOCTTY); }
    ~Host() {
        if (fd >= 0) {
            ::close(fd);
        }
    }
    void send(std::string_view bytes) const {
        ASSERT_EQ(::write(fd, bytes.data(), bytes.size()), (ssize_t)bytes.size());
    }
    // Everything the keyer says until it has been quiet for `quietMs`.
    std::string listen(int quietMs = 100) const {
        std::string out;
        for (;;) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, quietMs) <= 0 || (p.revents & POLLIN) == 0) {
                return out;
            }
            char buf[64];
            const ssize_t n = ::read(fd, buf, sizeof buf);
            if (n <= 0) {
                return out;
            }
            out.append(buf, static_cast<std::size_t>(n));
        }
    }
};

TEST(SimulatedWinKeyer, AnswersOpenSendsAtItsSpeedAndReportsItsStatus) {
    SimulatedWinKeyer keyer(31);
    ASSERT_TRUE(keyer.ready());
    Host host(keyer.devicePath());
    ASSERT_GE(host.fd, 0);

    host.send(std::string("\x13\x00\x04\x55\x00\x02", 6));
    EXPECT_EQ(host.listen(), std::string("\x55\x1F", 2));
    EXPECT_TRUE(keyer.hostOpen());

    host.send(std::string("\x02\x3C", 2)); // 60 WPM: a unit of 20 ms
    host.send("EE");
    ASSERT_TRUE(keyer.waitUntil([](const SimulatedWinKeyer& k) { return k.keyed() == "EE"; }, 5s));
    EXPECT_EQ(host.listen(), std::string("\xC4\xC0", 2));
    EXPECT_EQ(keyer.speeds(), std::vector<int>{60});
    const auto times = keyer.keyedTimes();
    ASSERT_EQ(times.size(), 2u);
    EXPECT_GE(times[1].started, times[0].finished); // one after the other

    host.send("\x15"); // status request
    EXPECT_EQ(host.listen(), "\xC0");
}

TEST(SimulatedWinKeyer, RaisesXoffAndHonoursClearAndBackspace) {
    SimulatedWinKeyer keyer;
    Host host(keyer.devicePath());
    host.send(std::string("\x00\x02\x02\x05", 4)); // 5 WPM: slow enough to queue up
    EXPECT_EQ(host.listen(), std::string("\x17", 1));
    host.send("ABCDEFG");
    ASSERT_TRUE(keyer.waitUntil([](const SimulatedWinKeyer& k) { return k.queued() == "BCDEFG"; }, 2s));
    EXPECT_EQ(host.listen(), "\xC4\xC5"); // busy, then XOFF with more than four waiting
    host.send("\x08\x08");                // backspace twice: F and G go, XOFF goes
    ASSERT_TRUE(keyer.waitUntil([](const SimulatedWinKeyer& k) { return k.queued() == "BCDE"; }, 2s));
    EXPECT_EQ(host.listen(), "\xC4");
    host.send("\x0A"); // clear buffer: everything stops
    ASSERT_TRUE(keyer.waitUntil([](const SimulatedWinKeyer& k) { return !k.busy(); }, 2s));
    EXPECT_EQ(host.listen(), "\xC0");
    EXPECT_EQ(keyer.keyed(), "");
    EXPECT_EQ(keyer.clears(), 1);
    EXPECT_EQ(keyer.backspaces(), 2);
}

TEST(SimulatedWinKeyer, CanStaySilentAnswerGarbageOrVanish) {
    SimulatedWinKeyer silent;
    silent.setBehaviour(SimulatedWinKeyer::Behaviour::Silent);
    Host a(silent.devicePath());
    a.send(std::string("\x00\x04\x55\x00\x02", 5));
    EXPECT_EQ(a.listen(200), "");

    SimulatedWinKeyer garbage;
    garbage.setBehaviour(SimulatedWinKeyer::Behaviour::Garbage);
    Host b(garbage.devicePath());
    b.send(std::string("\x00\x04\x55", 3));
    const std::string answer = b.listen();
    ASSERT_EQ(answer.size(), 1u);
    EXPECT_NE(answer[0], '\x55');

    SimulatedWinKeyer gone;
    Host c(gone.devicePath());
    gone.vanish();
    pollfd p{c.fd, POLLIN, 0};
    ASSERT_EQ(::poll(&p, 1, 1000), 1);
    EXPECT_NE(p.revents & (POLLHUP | POLLERR), 0);
}

} // namespace
} // namespace corvane::test
