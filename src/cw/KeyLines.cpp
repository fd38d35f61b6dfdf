#include "cw/KeyLines.h"

#include "core/NumberText.h"

namespace corvane::cw {

void KeyingLine::setPrinterAddress(std::string_view field) {
    const auto base = parseParallelAddress(field);
    m_printerBase = base ? *base : -1;
}

bool KeyingLine::set(bool down) {
    switch (m_option.load()) {
    case KeyingOption::Rts:
        return m_serial.setRts(down);
    case KeyingOption::Dtr:
        return m_serial.setDtr(down);
    case KeyingOption::Printer: {
        const int base = m_printerBase;
        if (base < 0) {
            return false;
        }
        return m_parallel.write(base + 2, down ? kPrinterKeyDown : kPrinterKeyUp);
    }
    case KeyingOption::None:
    case KeyingOption::WinKey:
        return true;
    }
    return true;
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
