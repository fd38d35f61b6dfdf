#include "spots/ui/AgwEngineClient.h"

#include "platform/net/TcpClient.h"

namespace corvane::spots {

AgwEngineClient::AgwEngineClient(QObject* parent) : QObject(parent), m_tcp(new TcpClient(this)) {
    m_startTimer.setSingleShot(true);
    m_startTimer.setInterval(kStartTimeoutMs);
    connect(&m_startTimer, &QTimer::timeout, this,
            [this] { failed(QStringLiteral("the engine did not answer the registration")); });
    connect(m_tcp, &TcpClient::connected, this, &AgwEngineClient::connectedToEngine);
    connect(m_tcp, &TcpClient::arrived, this, &AgwEngineClient::received);
    connect(m_tcp, &TcpClient::failed, this, [this](int, const QString& reason) { failed(reason); });
}

AgwEngineClient::~AgwEngineClient() = default;

void AgwEngineClient::setEndpoint(const QString& host, int port) {
    m_host = host;
    m_port = port;
}

void AgwEngineClient::start(const std::string& ownCall) {
    stop();
    m_call = ownCall;
    m_starting = true;
    m_tcp->setRemoteHost(m_host);
    m_tcp->setRemotePort(m_port);
    m_startTimer.start();
    m_tcp->connectToRemote();
}

void AgwEngineClient::connectedToEngine() {
    if (m_starting) {
        write(m_link.start(m_call));
    }
}

void AgwEngineClient::received(const QByteArray& bytes) {
    if (!m_starting && !m_running) {
        return;
    }
    if (!m_link.received(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())))) {
        failed(QString::fromLatin1(m_link.decoderError().value_or("unreadable data")));
        return;
    }
    if (m_starting && m_link.registered().has_value()) {
        m_startTimer.stop();
        m_starting = false;
        if (*m_link.registered()) {
            m_running = true;
            emit started();
        } else {
            m_tcp->close();
            m_link.stop();
            emit startFailed(QStringLiteral("the engine refused the call sign"));
        }
    }
}

void AgwEngineClient::failed(const QString& reason) {
    const bool wasStarting = m_starting;
    const bool wasRunning = m_running;
    m_startTimer.stop();
    m_starting = false;
    m_running = false;
    m_tcp->close();
    if (wasStarting) {
        emit startFailed(reason);
    } else if (wasRunning) {
        emit dropped(reason);
    }
}

void AgwEngineClient::write(const std::string& bytes) {
    if (!bytes.empty()) {
        m_tcp->send(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    }
}

void AgwEngineClient::put(const std::string& farCall, const std::string& data, char kind) {
    if (m_running) {
        write(m_link.put(kind, farCall, data));
    }
}

std::optional<AgwReceived> AgwEngineClient::get() {
    return m_link.get();
}

std::size_t AgwEngineClient::takeDropped() {
    return m_link.takeDroppedFrames();
}

void AgwEngineClient::stop() {
    m_startTimer.stop();
    m_starting = false;
    m_running = false;
    m_tcp->close();
    m_link.stop();
}

} // namespace corvane::spots
