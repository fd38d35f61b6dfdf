#include "cw/KeyLines.h"

#include "log/NumberText.h"

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

KeyingPort::KeyingPort(SerialPort& port, SerialSharing& sharing) : m_port(port), m_sharing(sharing) {
    m_sharing.join(SerialOwner::CwKeying, m_port);
}

KeyingPort::~KeyingPort() {
    m_sharing.leave(SerialOwner::CwKeying);
}

KeyingPortResult KeyingPort::setup(std::string_view portField, std::string* error) {
    if (m_port.isOpen()) {
        m_port.close();
    }
    const auto number = parseNumber(portField);
    if (!number || *number > 1e6) {
        if (error != nullptr) {
            *error = "The port field is not a number.";
        }
        return KeyingPortResult::Invalid;
    }
    const long long port = roundHalfEven(*number);
    if (port <= 0) {
        return KeyingPortResult::Closed;
    }
    m_sharing.beforeOpen(SerialOwner::CwKeying);
    m_port.setPortNumber(static_cast<int>(port));
    m_port.setDtr(false);
    m_port.setRts(false);
    if (!m_port.open(error)) {
        return KeyingPortResult::Invalid;
    }
    return KeyingPortResult::Opened;
}

} // namespace corvane::cw
