#pragma once
// The keying line of each keying option, and the serial keying port (CWSetup).
//
//   None     keys nothing
//   RTS/DTR  the RTS or DTR line of the serial keying port (on = key down)
//   Printer  the parallel port's control register at base + 2: 3 for down, 2 for up
//   WinKey   keys nothing here; the WinKeyer times its own elements

#include "cw/CwSettings.h"
#include "cw/KeyLine.h"
#include "platform/PortBroker.h"
#include "platform/parallel/ParallelPort.h"
#include "platform/serial/SerialPort.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

namespace corvane::cw {

inline constexpr std::uint8_t kPrinterKeyDown = 3;
inline constexpr std::uint8_t kPrinterKeyUp = 2;
inline constexpr std::string_view kInvalidPortTitle = "Invalid port.";
inline constexpr std::string_view kInvalidPortText =
    "The port you have selected for CW keying is invalid.  Please select another or enter 0 for none.";

// The line of the selected keying option. The option and the printer address are set on the
// window thread and read by the keyer thread.
class KeyingLine final : public KeyLine {
public:
    KeyingLine(SerialPort& serial, ParallelOutput& parallel) : m_serial(serial), m_parallel(parallel) {}

    // A change of option first keys up the line it leaves when that is down (a character may
    // be on the air), so that no output is left keyed behind the keyer's back.
    void setOption(KeyingOption option);
    KeyingOption option() const { return m_option; }
    // The address field ("&H378", "888"); an address that cannot be used fails every key. The
    // port of the old address is keyed up first.
    void setPrinterAddress(std::string_view field);
    int printerBase() const { return m_printerBase; } // -1 when the field is not usable

    // Before keying, on the window thread: "Printer" finds and claims the parallel device of
    // the address (once; nothing when it is already open), so that the keyer thread only
    // writes. False when it cannot; the other options need nothing.
    bool prepare();

    bool keyDown() override { return set(true); }
    bool keyUp() override { return set(false); }
    // "RTS on /dev/ttyUSB0: Inappropriate ioctl for device" after a refused change.
    std::string failure() const override;

private:
    bool set(bool down);
    bool setLine(KeyingOption option, bool down); // with m_mutex held

    SerialPort& m_serial;
    ParallelOutput& m_parallel;
    mutable std::mutex m_mutex; // one line change at a time, and none while the option changes
    bool m_down = false;        // the line of the option was last put down
    std::atomic<KeyingOption> m_option{KeyingOption::None};
    std::atomic<int> m_printerBase{0x378};
    std::string m_failure; // guarded by m_mutex
};

enum class KeyingPortResult {
    Opened, // the port is open with both lines off
    Closed, // port 0: no serial keying port, no message
    Invalid // beep and the "Invalid port." box; the port stays closed
};

// CWSetup: (re)opens the serial keying port from the port field.
class KeyingPort {
public:
    // `release`: what closes the port when another owner displaces it (by default a plain
    // close; the keying owner stops its keyer and keys up first).
    KeyingPort(SerialPort& port, PortBroker& broker, std::function<void()> release = {});
    ~KeyingPort();

    KeyingPortResult setup(std::string_view portField, std::string* error = nullptr);
    SerialPort& port() { return m_port; }

private:
    SerialPort& m_port;
    PortBroker& m_broker;
};

} // namespace corvane::cw
