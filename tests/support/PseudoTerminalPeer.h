#pragma once
// A device on the far side of a pseudo-terminal, for tests and benchmarks: the program opens
// devicePath() as its serial port, and a thread of this helper reads what the program writes and
// answers as the device would. The device can also vanish: the pseudo-terminal is closed under
// the program's port, as an unplugged USB adapter goes away.
//
// A device derives from this, answers in its hooks (called on the peer's thread with m_mutex
// held), calls start() at the end of its constructor and stop() first in its destructor, so
// that the thread is gone before the device's own members are.

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

namespace corvane::test {

class PseudoTerminalPeer {
public:
    using Clock = std::chrono::steady_clock;

    PseudoTerminalPeer(const PseudoTerminalPeer&) = delete;
    PseudoTerminalPeer& operator=(const PseudoTerminalPeer&) = delete;

    bool ready() const { return !m_devicePath.empty(); }
    const std::string& devicePath() const { return m_devicePath; }

    // The device goes away under the program's port; returns once it is gone.
    void vanish();

protected:
    PseudoTerminalPeer();
    virtual ~PseudoTerminalPeer();

    void start();
    void stop();
    // Makes the thread look at the device's state again (a behaviour changed).
    void wake();
    // Writes every byte to the program while the device is there; with m_mutex held.
    void writeToProgram(std::string_view bytes);
    bool present() const { return m_leader >= 0; }
    int programSide() const { return m_follower; } // the descriptor of the program's end

    // The bytes the program wrote, as they arrived.
    virtual void fromProgram(const std::uint8_t* bytes, std::size_t count, Clock::time_point now) = 0;
    // How long the thread may wait for bytes before idle() runs (-1: until something arrives).
    virtual int waitMs() const { return -1; }
    // After every wake-up: the time-driven part of the device.
    virtual void idle(Clock::time_point) {}
    // The device has just vanished.
    virtual void gone() {}

    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed; // notified after every turn of the thread

private:
    void run();

    std::string m_devicePath;
    int m_leader = -1;
    int m_follower = -1;
    int m_wake[2] = {-1, -1};
    std::thread m_thread;
    bool m_stop = false;
    bool m_vanished = false;
};

} // namespace corvane::test
