#include "platform/net/RigctldClient.h"

namespace corvane {

RigctldClient::RigctldClient(QObject* parent) : QObject(parent) {
    m_retryTimer.setSingleShot(true);
    m_retryTimer.setInterval(kReconnectIntervalMs);
    m_connectTimer.setSingleShot(true);
    connect(&m_retryTimer, &QTimer::timeout, this, &RigctldClient::startAttempt);
    connect(&m_connectTimer, &QTimer::timeout, this, &RigctldClient::onConnectTimeout);
    connect(&m_socket, &QTcpSocket::connected, this, &RigctldClient::onConnected);
    connect(&m_socket, &QTcpSocket::disconnected, this, &RigctldClient::onDisconnected);
    connect(&m_socket, &QTcpSocket::errorOccurred, this, &RigctldClient::onError);
    connect(&m_socket, &QTcpSocket::readyRead, this, &RigctldClient::dataArrived);
}

RigctldClient::~RigctldClient() {
    m_wanted = false;
    m_socket.disconnect(this);
    m_socket.abort();
}

void RigctldClient::connectTo(const QString& host, quint16 port) {
    disconnectFromHost();
    m_host = host;
    m_port = port;
    m_wanted = true;
    startAttempt();
}

void RigctldClient::disconnectFromHost() {
    m_wanted = false;
    m_retryTimer.stop();
    m_connectTimer.stop();
    const bool was = isConnected();
    m_socket.abort();
    m_wasConnected = false;
    if (was) {
        emit connectedChanged(false);
    }
    setStatus(QStringLiteral("Not connected"));
}

bool RigctldClient::isConnected() const {
    return m_socket.state() == QAbstractSocket::ConnectedState;
}

bool RigctldClient::write(std::string_view bytes) {
    if (!isConnected()) {
        return false;
    }
    return m_socket.write(bytes.data(), static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size());
}

std::string RigctldClient::readAll() {
    if (!isConnected()) {
        return {}; // a socket that is not open has nothing to read (and says so on stderr)
    }
    const QByteArray data = m_socket.readAll();
    return std::string(data.constData(), static_cast<std::size_t>(data.size()));
}

qint64 RigctldClient::outputPending() const {
    return m_socket.bytesToWrite();
}

void RigctldClient::setReconnectIntervalMs(int ms) {
    m_retryTimer.setInterval(ms);
}

QString RigctldClient::where() const {
    return QStringLiteral("rigctld at %1:%2").arg(m_host).arg(m_port);
}

void RigctldClient::startAttempt() {
    if (!m_wanted) {
        return;
    }
    m_socket.abort();
    setStatus(QStringLiteral("Connecting to %1 ...").arg(where()));
    m_connectTimer.start(m_connectTimeoutMs);
    m_socket.connectToHost(m_host, m_port);
}

void RigctldClient::onConnected() {
    m_connectTimer.stop();
    m_wasConnected = true;
    setStatus(QStringLiteral("Connected to %1").arg(where()));
    emit connectedChanged(true);
}

void RigctldClient::onDisconnected() {
    if (!m_wanted || !m_wasConnected) {
        return; // a connection that never came up did not close: the error or the time limit says why
    }
    scheduleRetry(QStringLiteral("the daemon closed the connection"));
}

void RigctldClient::onError(QAbstractSocket::SocketError error) {
    if (!m_wanted || error == QAbstractSocket::RemoteHostClosedError) {
        return; // a closed connection is reported by onDisconnected
    }
    scheduleRetry(m_socket.errorString());
}

void RigctldClient::onConnectTimeout() {
    if (!m_wanted || isConnected()) {
        return;
    }
    // Nothing came back at all (a host that drops the packets, or one that is switched off).
    scheduleRetry({}, QString::number(m_connectTimeoutMs / 1000.0));
}

void RigctldClient::scheduleRetry(const QString& why, const QString& timedOutAfterSeconds) {
    m_connectTimer.stop();
    if (m_retryTimer.isActive()) {
        return; // already reported; one retry is pending
    }
    const bool lost = m_wasConnected;
    m_wasConnected = false;
    m_socket.abort();
    const QString seconds = QString::number(m_retryTimer.interval() / 1000.0);
    if (lost) {
        setStatus(QStringLiteral("Lost %1 (%2); trying again every %3 s").arg(where(), why, seconds));
        emit connectedChanged(false);
    } else if (!timedOutAfterSeconds.isEmpty()) {
        setStatus(QStringLiteral("Could not connect to %1 within %2 s: no answer came. Is the host on and rigctld "
                                 "running there? Trying again every %3 s")
                      .arg(where(), timedOutAfterSeconds, seconds));
    } else {
        setStatus(
            QStringLiteral("Cannot reach %1 (%2); is it running? Trying again every %3 s").arg(where(), why, seconds));
    }
    m_retryTimer.start();
}

void RigctldClient::setStatus(const QString& status) {
    if (status == m_status) {
        return;
    }
    m_status = status;
    emit statusChanged(m_status);
}

} // namespace corvane
