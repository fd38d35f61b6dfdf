#include "rig/ui/RigctldPort.h"

namespace corvane::rig {

RigctldPort::RigctldPort() {
    QObject::connect(&m_client, &RigctldClient::dataArrived, &m_client, [this] {
        if (m_arrived) {
            m_arrived();
        }
    });
}

void RigctldPort::setAddress(std::string host, int port) {
    m_host = std::move(host);
    m_port = port;
}

bool RigctldPort::open(std::string* error) {
    if (m_host.empty() || m_port < 1 || m_port > 65535) {
        if (error != nullptr) {
            *error = "No rigctld host and port are set.";
        }
        return false;
    }
    m_client.connectTo(QString::fromStdString(m_host), static_cast<quint16>(m_port));
    m_open = true;
    return true;
}

void RigctldPort::close() {
    m_open = false;
    m_client.disconnectFromHost();
}

bool RigctldPort::write(std::string_view bytes) {
    // Not yet connected: the question is dropped, as a radio switched off would not hear it.
    return m_client.isConnected() ? m_client.write(bytes) : true;
}

} // namespace corvane::rig
