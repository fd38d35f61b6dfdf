#pragma once
// One owner's serial port: the rig link, the CW keying line, the push-to-talk line or the
// TNC each hold their own. Port numbers start at 1 and map to device paths (see
// serial/SerialDevices.h). Data is 8-bit clean both ways.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace corvane {

enum class Handshaking { None, XonXoff, RtsCts, RtsCtsXonXoff };

class SerialPort {
public:
    virtual ~SerialPort() = default;

    virtual void setPortNumber(int port) = 0;
    virtual int portNumber() const = 0;
    // The device the port number stands for ("" when it stands for none).
    virtual std::string devicePath() const = 0;
    // "9600,N,8,1": baud, parity N/O/E (M/S), data bits 5..8, stop bits 1, 1.5 or 2. False
    // for a text that cannot be read; the previous settings stay.
    virtual bool setSettings(std::string_view settings) = 0;
    virtual std::string settings() const = 0;
    virtual void setHandshaking(Handshaking mode) = 0;

    // Lines: set at once on an open port, remembered and applied at the next open otherwise.
    // False when an open port refused the change.
    virtual bool setDtr(bool on) = 0;
    virtual bool setRts(bool on) = 0;
    virtual bool dtr() const = 0;
    virtual bool rts() const = 0;
    // Why the last refused line change was refused, as the system put it ("Inappropriate ioctl
    // for device"); "" when none was refused. May be read from another thread than the change.
    virtual std::string lineError() const { return {}; }

    // Opens the device of the port number; false with the reason in *error when the port is
    // missing, in use or the settings are invalid.
    virtual bool open(std::string* error = nullptr) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // Queues the bytes and returns at once; no terminator is added.
    virtual bool write(std::string_view bytes) = 0;
    // Everything received since the last call, zero bytes included; "" when nothing came.
    virtual std::string readAll() = 0;
    // Bytes queued and not yet sent.
    virtual std::int64_t outputPending() const = 0;
    // Waits up to timeoutMs for queued bytes to leave; true when none are left. For closing a
    // link cleanly at the end of the program, never while it runs.
    virtual bool flush(int timeoutMs) {
        (void)timeoutMs;
        return outputPending() == 0;
    }
    // Why the device failed while open or refused a write, as the system put it ("" when it
    // has not failed).
    virtual std::string failure() const { return {}; }

    // Called on the owner's thread when bytes have arrived, and when the device failed (it
    // went away, as an unplugged USB adapter does): the port is closed by then, so the owner
    // reads with readAll() and checks isOpen(). Ports that cannot report never call it.
    virtual void setArrivalHandler(std::function<void()> handler) { (void)handler; }
};

} // namespace corvane
