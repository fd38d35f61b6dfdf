#pragma once
// The rigctld link seen as the rig's port, so that polling and tuning run the same steps over
// TCP as over a serial line. Opening starts connecting and returns at once; until the daemon
// answers, questions are not sent and the displays keep "No Response". The client tries again
// by itself when the daemon is not running or goes away.

#include "platform/net/RigctldClient.h"
#include "platform/serial/SerialPort.h"

namespace corvane::rig {

class RigctldPort final : public SerialPort {
public:
    RigctldPort();

    void setAddress(std::string host, int port);
    RigctldClient& client() { return m_client; }

    void setPortNumber(int) override {}
    int portNumber() const override { return 0; }
    std::string devicePath() const override { return m_host + ":" + std::to_string(m_port); }
    bool setSettings(std::string_view) override { return true; }
    std::string settings() const override { return {}; }
    void setHandshaking(Handshaking) override {}
    bool setDtr(bool) override { return true; }
    bool setRts(bool) override { return true; }
    bool dtr() const override { return false; }
    bool rts() const override { return false; }

    bool open(std::string* error = nullptr) override;
    void close() override;
    // Open while the link is wanted, connected or still connecting.
    bool isOpen() const override { return m_open; }
    // Whether the daemon is connected now.
    bool connected() const { return m_client.isConnected(); }

    bool write(std::string_view bytes) override;
    std::string readAll() override { return connected() ? m_client.readAll() : std::string(); }
    std::int64_t outputPending() const override { return m_client.outputPending(); }
    void setArrivalHandler(std::function<void()> handler) override { m_arrived = std::move(handler); }

private:
    RigctldClient m_client;
    std::string m_host;
    int m_port = 0;
    bool m_open = false;
    std::function<void()> m_arrived;
};

} // namespace corvane::rig
