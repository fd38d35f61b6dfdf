#include "platform/serial/SerialSharing.h"

namespace corvane {

std::vector<SerialOwner> SerialSharing::closedBy(SerialOwner opening) {
    switch (opening) {
    case SerialOwner::CwKeying:
        return {SerialOwner::PushToTalk};
    case SerialOwner::PushToTalk:
        return {SerialOwner::WinKeyer, SerialOwner::CwKeying};
    case SerialOwner::WinKeyer:
        return {SerialOwner::CwKeying, SerialOwner::PushToTalk};
    case SerialOwner::Rig:
    case SerialOwner::Tnc:
        return {};
    }
    return {};
}

void SerialSharing::beforeOpen(SerialOwner opening) {
    for (const SerialOwner other : closedBy(opening)) {
        if (SerialPort* p = port(other); p != nullptr && p->isOpen()) {
            p->close();
        }
    }
}

SerialPort* SerialSharing::port(SerialOwner owner) const {
    const auto it = m_ports.find(owner);
    return it == m_ports.end() ? nullptr : it->second;
}

} // namespace corvane
