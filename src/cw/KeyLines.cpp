#include "cw/KeyLines.h"

#include "core/NumberText.h"

#include <cstdio>

namespace corvane::cw {

namespace {
std::string printerAddressText(int base) {
    if (base < 0) {
        return "an unusable address";
    }
    char text[16];
    std::snprintf(text, sizeof text, "&H%X", static_cast<unsigned>(base));
    return text;
}
} // namespace

void KeyingLine::setPrinterAddress(std::string_view field) {
    const auto parsed = parseParallelAddress(field);
    const int base = parsed ? *parsed : -1;
    std::lock_guard lock(m_mutex);
    if (base != m_printerBase && m_down && m_option == KeyingOption::Printer) {
        setLine(KeyingOption::Printer, false); // the port being left is not left keyed
    }
    m_printerBase = base;
}

bool KeyingLine::prepare() {
    if (m_option.load() != KeyingOption::Printer) {
        return true;
    }
    const int base = m_printerBase;
    if (base < 0) {
        return false;
    }
    return m_parallel.isOpenFor(base + 2) || m_parallel.open(base + 2);
}

void KeyingLine::setOption(KeyingOption option) {
    std::lock_guard lock(m_mutex);
    if (option == m_option) {
        return;
    }
    if (m_down) {
        setLine(m_option, false); // a line that cannot be switched has nothing more to lose
    }
    m_down = false;
    m_option = option;
}

bool KeyingLine::set(bool down) {
    std::lock_guard lock(m_mutex);
    return setLine(m_option, down);
}

bool KeyingLine::setLine(KeyingOption option, bool down) {
    bool switched = true;
    switch (option) {
    case KeyingOption::Rts:
        switched = m_serial.setRts(down);
        break;
    case KeyingOption::Dtr:
        switched = m_serial.setDtr(down);
        break;
    case KeyingOption::Printer: {
        const int base = m_printerBase;
        switched = base >= 0 && m_parallel.write(base + 2, down ? kPrinterKeyDown : kPrinterKeyUp);
        break;
    }
    case KeyingOption::None:
    case KeyingOption::WinKey:
        break;
    }
    if (switched) {
        m_down = down;
        return true;
    }
    switch (option) {
    case KeyingOption::Rts:
    case KeyingOption::Dtr: {
        const std::string device = m_serial.devicePath();
        const std::string why = m_serial.lineError();
        m_failure = std::string(option == KeyingOption::Rts ? "RTS" : "DTR") + " on " +
                    (device.empty() ? "serial port " + std::to_string(m_serial.portNumber()) : device) + ": " +
                    (why.empty() ? "the device refused the change" : why);
        break;
    }
    default: {
        const std::string why = m_parallel.lastError();
        m_failure = "Printer port at " + printerAddressText(m_printerBase) + ": " +
                    (why.empty() ? "the register could not be written" : why);
        break;
    }
    }
    return false;
}

std::string KeyingLine::failure() const {
    std::lock_guard lock(m_mutex);
    return m_failure;
}

KeyingPort::KeyingPort(SerialPort& port, PortBroker& broker, std::function<void()> release)
    : m_port(port), m_broker(broker) {
    if (!release) {
        release = [this] { m_port.close(); };
    }
    m_broker.join(PortOwner::CwKeying, std::move(release));
}

KeyingPort::~KeyingPort() {
    m_broker.leave(PortOwner::CwKeying);
}

KeyingPortResult KeyingPort::setup(std::string_view portField, std::string* error) {
    if (m_port.isOpen()) {
        m_port.close();
    }
    m_broker.released(PortOwner::CwKeying);
    const auto number = parseNumber(portField);
    if (!number || *number > 1e6 || *number < -1e6) {
        if (error != nullptr) {
            *error = "The port field is not a number.";
        }
        return KeyingPortResult::Invalid;
    }
    const long long port = roundHalfEven(*number);
    if (port <= 0) {
        return KeyingPortResult::Closed;
    }
    m_port.setPortNumber(static_cast<int>(port));
    std::string refusal;
    if (!m_broker.acquire(PortOwner::CwKeying, m_port.devicePath(), &refusal)) {
        if (error != nullptr) {
            *error = refusal;
        }
        return KeyingPortResult::Invalid;
    }
    m_port.setDtr(false);
    m_port.setRts(false);
    if (!m_port.open(error)) {
        m_broker.released(PortOwner::CwKeying);
        return KeyingPortResult::Invalid;
    }
    return KeyingPortResult::Opened;
}

} // namespace corvane::cw
