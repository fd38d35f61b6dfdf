#pragma once
// The serial port service over QSerialPort. Used on the window thread; the line controls may
// also be called by the keyer thread while a character is on the air (the keyer's hand-over
// keeps the window thread off the port meanwhile) and go straight to the device.
//
// A device that fails while open (read, write or resource errors: it went away) is closed at
// once: QSerialPort would otherwise report the same error again on every turn of the event
// loop. The arrival handler hears of it.

#include "platform/serial/SerialPort.h"
#include "platform/serial/SerialSettings.h"

#include <QSerialPort>
#include <atomic>
#include <functional>
#include <mutex>

namespace corvane {

// The modem-line and termios calls the port makes on its open device, one each, so that a test
// can see their order. `lines` are TIOCM_DTR and TIOCM_RTS bits.
class TtyLines {
public:
    virtual ~TtyLines() = default;
    virtual bool clear(int fd, int lines) = 0; // TIOCMBIC
    virtual bool raise(int fd, int lines) = 0; // TIOCMBIS
    virtual bool hangUpOnClose(int fd) = 0;    // HUPCL in the termios
};
// The calls themselves.
TtyLines& systemTtyLines();

// Opening a port: Linux raises DTR and RTS inside open() whenever the line speed is not 0
// (the tty layer or the adapter's driver), before a descriptor exists to act on, and
// QSerialPort::open then applies the line settings (a few ioctls; on a USB adapter each may be
// a control transfer of about a millisecond). The first call on the new descriptor clears the
// lines that are to be off; the settings are handed to QSerialPort before the open so that
// nothing else comes between. That short raise inside open() cannot be avoided from user
// space. HUPCL is then set, so that the kernel drops both lines when the descriptor closes,
// also when the program is killed; close() clears them itself before closing.
class QtSerialPort final : public SerialPort {
public:
    // `deviceFor` maps a port number to a device path; by default /dev/ttyUSB(n-1).
    explicit QtSerialPort(std::function<std::string(int)> deviceFor = defaultSerialDevice,
                          TtyLines& lines = systemTtyLines());
    ~QtSerialPort() override;

    void setPortNumber(int port) override { m_portNumber = port; }
    int portNumber() const override { return m_portNumber; }
    std::string devicePath() const override { return m_deviceFor(m_portNumber); }
    bool setSettings(std::string_view settings) override;
    std::string settings() const override { return formatSerialSettings(m_settings); }
    void setHandshaking(Handshaking mode) override { m_handshaking = mode; }

    bool setDtr(bool on) override;
    bool setRts(bool on) override;
    bool dtr() const override { return m_dtr; }
    bool rts() const override { return m_rts; }
    std::string lineError() const override;

    bool open(std::string* error = nullptr) override;
    void close() override;
    bool isOpen() const override { return m_open; }

    bool write(std::string_view bytes) override;
    std::string readAll() override;
    std::int64_t outputPending() const override;
    void setArrivalHandler(std::function<void()> handler) override { m_arrived = std::move(handler); }
    std::string failure() const override { return m_failure; }
    bool flush(int timeoutMs) override;

private:
    bool setLine(int bit, bool on);
    void failed(QSerialPort::SerialPortError error);

    std::function<std::string(int)> m_deviceFor;
    TtyLines& m_lines;
    QSerialPort m_port;
    int m_portNumber = 0;
    SerialLineSettings m_settings;
    Handshaking m_handshaking = Handshaking::None;
    std::atomic<bool> m_dtr{false};
    std::atomic<bool> m_rts{false};
    std::atomic<bool> m_open{false};
    std::atomic<int> m_fd{-1};
    std::function<void()> m_arrived;
    std::string m_failure;
    mutable std::mutex m_lineErrorMutex; // the keyer thread writes it, the window thread reads it
    std::string m_lineError;
};

} // namespace corvane
