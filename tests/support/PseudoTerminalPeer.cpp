#include "support/PseudoTerminalPeer.h"

#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace corvane::test {

PseudoTerminalPeer::PseudoTerminalPeer() {
    termios raw{};
    ::cfmakeraw(&raw);
    char name[256] = {};
    if (::openpty(&m_leader, &m_follower, name, &raw, nullptr) != 0 || ::pipe(m_wake) != 0) {
        return;
    }
    m_devicePath = name;
}

PseudoTerminalPeer::~PseudoTerminalPeer() {
    stop();
    for (int fd : {m_leader, m_follower, m_wake[0], m_wake[1]}) {
        if (fd >= 0) {
            ::close(fd);
        }
    }
}

void PseudoTerminalPeer::start() {
    if (ready()) {
        m_thread = std::thread([this] { run(); });
    }
}

void PseudoTerminalPeer::stop() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    wake();
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void PseudoTerminalPeer::wake() {
    if (m_wake[1] >= 0) {
        const char c = 'x';
        [[maybe_unused]] auto n = ::write(m_wake[1], &c, 1);
    }
}

void PseudoTerminalPeer::vanish() {
    {
        std::lock_guard lock(m_mutex);
        m_vanished = true;
    }
    wake();
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_leader < 0; });
}

void PseudoTerminalPeer::writeToProgram(std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size() && m_leader >= 0) {
        const ssize_t n = ::write(m_leader, bytes.data() + done, bytes.size() - done);
        if (n <= 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
}

void PseudoTerminalPeer::run() {
    std::unique_lock lock(m_mutex);
    while (!m_stop) {
        if (m_vanished && m_leader >= 0) {
            ::close(m_leader);
            ::close(m_follower);
            m_leader = -1;
            m_follower = -1;
            gone();
            m_changed.notify_all();
        }
        pollfd fds[2] = {{m_wake[0], POLLIN, 0}, {m_leader, POLLIN, 0}}; // a closed device (-1) is not polled
        const int timeoutMs = waitMs();
        lock.unlock();
        const int ready = ::poll(fds, 2, timeoutMs);
        lock.lock();
        if (ready > 0 && (fds[0].revents & POLLIN) != 0) {
            char drain[16];
            [[maybe_unused]] auto n = ::read(m_wake[0], drain, sizeof drain);
        }
        if (ready > 0 && m_leader >= 0 && (fds[1].revents & POLLIN) != 0) {
            std::uint8_t bytes[256];
            const ssize_t n = ::read(m_leader, bytes, sizeof bytes);
            if (n > 0) {
                fromProgram(bytes, static_cast<std::size_t>(n), Clock::now());
            }
        }
        idle(Clock::now());
        m_changed.notify_all();
    }
}

} // namespace corvane::test
