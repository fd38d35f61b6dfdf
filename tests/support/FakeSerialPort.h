#pragma once
// A serial port for tests: remembers every line change and every byte written, and plays
// back scripted replies.

#include "platform/serial/SerialPort.h"
#include "platform/serial/SerialSettings.h"

#include <deque>
#include <mutex>
#include <vector>

namespace corvane {

class FakeSerialPort final : public SerialPort {
public:
    struct LineChange {
        char line; // 'D' for DTR, 'R' for RTS
        bool on;
        bool whileOpen;
    };

    bool failOpen = false;       // the next opens fail
    bool failLines = false;      // line changes on the open port fail
    int linesBeforeFailure = -1; // when >= 0: that many changes on the open port pass, then they fail
    std::string openError = "The port is in use.";
    bool failWrites = false; // writes on the open port are refused
    std::string failureText; // what failure() says

    void setPortNumber(int port) override { m_port = port; }
    int portNumber() const override { return m_port; }
    std::string devicePath() const override { return defaultSerialDevice(m_port); }
    bool setSettings(std::string_view settings) override {
        if (!parseSerialSettings(settings)) {
            return false;
        }
        m_settings = settings;
        return true;
    }
    std::string settings() const override { return m_settings; }
    void setHandshaking(Handshaking mode) override { handshaking = mode; }

    bool setDtr(bool on) override { return line('D', on, m_dtr); }
    bool setRts(bool on) override { return line('R', on, m_rts); }
    bool dtr() const override { return m_dtr; }
    bool rts() const override { return m_rts; }
    std::string lineError() const override {
        std::lock_guard lock(m_mutex);
        return m_refused ? "Inappropriate ioctl for device" : "";
    }

    bool open(std::string* error = nullptr) override {
        ++opens;
        if (failOpen || m_port < 1) {
            if (error != nullptr) {
                *error = openError;
            }
            return false;
        }
        m_open = true;
        return true;
    }
    void close() override {
        if (m_open) {
            ++closes;
        }
        m_open = false;
    }
    bool isOpen() const override { return m_open; }

    bool write(std::string_view bytes) override {
        if (!m_open || failWrites) {
            return false;
        }
        written.append(bytes);
        return true;
    }
    std::string readAll() override {
        if (replies.empty()) {
            return {};
        }
        std::string r = replies.front();
        replies.pop_front();
        return r;
    }
    std::int64_t outputPending() const override { return 0; }
    std::string failure() const override { return failureText; }

    std::vector<LineChange> lineChanges() const {
        std::lock_guard lock(m_mutex);
        return m_changes;
    }

    Handshaking handshaking = Handshaking::None;
    std::string written;
    std::deque<std::string> replies;
    int opens = 0;
    int closes = 0;

private:
    bool line(char which, bool on, bool& state) {
        std::lock_guard lock(m_mutex);
        if (m_open && linesBeforeFailure == 0) {
            failLines = true;
        } else if (m_open && linesBeforeFailure > 0) {
            --linesBeforeFailure;
        }
        if (m_open && failLines) {
            m_refused = true;
            return false;
        }
        state = on;
        m_changes.push_back({which, on, m_open});
        return true;
    }

    mutable std::mutex m_mutex;
    std::vector<LineChange> m_changes;
    int m_port = 0;
    std::string m_settings = "9600,N,8,1";
    bool m_dtr = false;
    bool m_rts = false;
    bool m_open = false;
    bool m_refused = false;
};

} // namespace corvane
