#include "platform/net/TcpClient.h"

#include <QTcpSocket>
#include <QTimer>

namespace corvane {

int socketErrorNumber(int qtSocketError) {
    switch (static_cast<QAbstractSocket::SocketError>(qtSocketError)) {
    case QAbstractSocket::ConnectionRefusedError:
        return 10061;
    case QAbstractSocket::RemoteHostClosedError:
        return 10058;
    case QAbstractSocket::HostNotFoundError:
        return 11001;
    case QAbstractSocket::SocketAccessError:
        return 10013;
    case QAbstractSocket::SocketResourceError:
        return 10055;
    case QAbstractSocket::SocketTimeoutError:
        return 10060;
    case QAbstractSocket::NetworkError:
        return 10050;
    case QAbstractSocket::AddressInUseError:
        return 10048;
    case QAbstractSocket::SocketAddressNotAvailableError:
        return 10049;
    case QAbstractSocket::UnsupportedSocketOperationError:
        return 10043;
    case QAbstractSocket::TemporaryError:
        return 10035;
    case QAbstractSocket::OperationError:
        return 10057;
    default:
        return 10053;
    }
}

TcpClient::TcpClient(QObject* parent) : QObject(parent), m_socket(new QTcpSocket(this)) {
    m_socket->setReadBufferSize(kMaxArrivalBytes);
    connect(m_socket, &QTcpSocket::connected, this, &TcpClient::connected);
    connect(m_socket, &QTcpSocket::readyRead, this, &TcpClient::readSome);
    connect(m_socket, &QTcpSocket::errorOccurred, this, &TcpClient::socketError);
}

TcpClient::~TcpClient() {
    m_socket->disconnect(this);
    m_socket->abort();
}

void TcpClient::connectToRemote() {
    m_socket->abort();
    m_socket->connectToHost(m_host, static_cast<quint16>(m_port));
}

void TcpClient::close() {
    // What was queued last (a disconnect frame) still goes out if the system takes it now.
    if (m_socket->state() == QAbstractSocket::ConnectedState) {
        m_socket->flush();
    }
    m_socket->abort();
}

bool TcpClient::isConnected() const {
    return m_socket->state() == QAbstractSocket::ConnectedState;
}

bool TcpClient::send(const QByteArray& bytes) {
    if (!isConnected()) {
        return false;
    }
    return m_socket->write(bytes) == bytes.size();
}

// One bounded piece per turn of the event loop: a flood never holds the window thread for
// longer than it takes to handle kMaxArrivalBytes.
void TcpClient::readSome() {
    if (m_draining) {
        return;
    }
    const QByteArray bytes = m_socket->read(kMaxArrivalBytes);
    if (!bytes.isEmpty()) {
        emit arrived(bytes);
    }
    if (m_socket->bytesAvailable() > 0) {
        m_draining = true;
        QTimer::singleShot(0, this, [this] {
            m_draining = false;
            readSome();
        });
    }
}

void TcpClient::socketError() {
    const auto error = m_socket->error();
    const QString reason = m_socket->errorString();
    // What the far end sent before it closed is still handed over.
    while (m_socket->bytesAvailable() > 0) {
        const QByteArray bytes = m_socket->read(kMaxArrivalBytes);
        if (bytes.isEmpty()) {
            break;
        }
        emit arrived(bytes);
    }
    m_socket->abort();
    emit failed(socketErrorNumber(static_cast<int>(error)), reason);
}

} // namespace corvane
