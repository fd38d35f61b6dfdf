#include "support/LoopbackCluster.h"

#include "support/SpotLines.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

namespace corvane::test {

namespace {

// Bytes the flood keeps waiting in a socket at most.
constexpr qint64 kFloodBacklog = 256 * 1024;

quint32 nextRandom(quint32& state) {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

} // namespace

LoopbackCluster::LoopbackCluster(QObject* parent)
    : QObject(parent), m_server(new QTcpServer(this)), m_greeting(defaultGreeting()) {
    connect(m_server, &QTcpServer::newConnection, this, &LoopbackCluster::onNewConnection);
}

LoopbackCluster::~LoopbackCluster() = default;

QByteArray LoopbackCluster::defaultGreeting() {
    // IAC DO NAWS, IAC WILL ECHO, as many nodes send before their greeting.
    return QByteArray("\xff\xfd\x1f\xff\xfb\x01", 6) + "Welcome to TESTNODE, a loopback DX cluster\r\n\r\nlogin: ";
}

bool LoopbackCluster::listen() {
    return m_server->listen(QHostAddress::LocalHost, 0);
}

quint16 LoopbackCluster::port() const {
    return m_server->serverPort();
}

void LoopbackCluster::stop() {
    m_server->close();
    dropClients();
}

void LoopbackCluster::dropClients() {
    const QList<QTcpSocket*> clients = m_clients;
    m_clients.clear();
    for (QTcpSocket* socket : clients) {
        socket->abort();
        socket->deleteLater();
    }
}

void LoopbackCluster::send(const QByteArray& bytes) {
    for (QTcpSocket* socket : m_clients) {
        socket->write(bytes);
        socket->flush();
    }
}

void LoopbackCluster::onNewConnection() {
    while (QTcpSocket* socket = m_server->nextPendingConnection()) {
        m_clients.append(socket);
        ++m_connections;
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QTcpSocket::bytesWritten, this, &LoopbackCluster::pumpFlood);
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_clients.removeAll(socket);
            socket->deleteLater();
        });
        socket->write(m_greeting);
        socket->flush();
        emit clientConnected();
    }
}

void LoopbackCluster::onReadyRead(QTcpSocket* socket) {
    const QByteArray bytes = socket->readAll();
    m_received += bytes;
    if (m_loginCall.isEmpty()) {
        m_lineSoFar += bytes;
        const int end = m_lineSoFar.indexOf('\n') >= 0 ? m_lineSoFar.indexOf('\n') : m_lineSoFar.indexOf('\r');
        if (end >= 0) {
            // Telnet answers (IAC ...) may come first; the call is the printable text.
            QByteArray call;
            for (char c : m_lineSoFar.left(end)) {
                if (c > ' ' && c < 127) {
                    call += c;
                }
            }
            m_loginCall = QString::fromLatin1(call).toUpper();
            socket->write("Hello " + m_loginCall.toLatin1() + ", this is TESTNODE\r\n" + m_loginCall.toLatin1() +
                          " de TESTNODE  9-Dec-2026 1322Z >\r\n");
            for (const QByteArray& chunk : m_afterLogin) {
                socket->write(chunk);
                socket->flush();
            }
            emit loggedIn(m_loginCall);
        }
    }
    emit dataReceived();
}

void LoopbackCluster::startFlood(qint64 bytes, quint32 seed) {
    m_floodTarget = bytes;
    m_floodWritten = 0;
    m_floodSpots = 0;
    m_floodState = seed;
    pumpFlood();
}

void LoopbackCluster::pumpFlood() {
    if (m_floodWritten >= m_floodTarget || m_floodTarget == 0) {
        return;
    }
    for (QTcpSocket* socket : m_clients) {
        while (socket->bytesToWrite() < kFloodBacklog && m_floodWritten < m_floodTarget) {
            QByteArray piece = floodPiece(m_floodState, m_floodSpots);
            piece.truncate(static_cast<qsizetype>(qMin<qint64>(piece.size(), m_floodTarget - m_floodWritten)));
            socket->write(piece);
            m_floodWritten += piece.size();
        }
    }
    if (m_floodWritten >= m_floodTarget) {
        m_floodTarget = 0;
        emit floodFinished();
    }
}

QByteArray LoopbackCluster::floodPiece(quint32& state, int& spotLines) {
    const quint32 kind = nextRandom(state) % 10;
    if (kind < 6) {
        // A burst of well-formed spots on all bands.
        QByteArray out;
        static const char* kBands[] = {"1825.5", "3525.0", "7025.5", "14025.0", "21025.0", "28025.0", "50125.0"};
        for (int i = 0; i < 20; ++i) {
            const quint32 r = nextRandom(state);
            const std::string line =
                spots::testing::clusterLine("K" + std::to_string(r % 10) + "ABC", kBands[r % 7],
                                            "W" + std::to_string(r % 10) + "X" + std::to_string(r % 997), "CQ");
            out += QByteArray::fromStdString(line) + "\r\n";
            ++spotLines;
        }
        return out;
    }
    if (kind < 8) {
        // Binary junk with NULs and invalid UTF-8, a few line ends.
        QByteArray out(4096, '\0');
        for (char& c : out) {
            c = static_cast<char>(nextRandom(state) & 0xFF);
        }
        return out;
    }
    if (kind < 9) {
        // A long run without a line end.
        return QByteArray(64 * 1024, 'Z');
    }
    // Stray Telnet commands and a conversation line.
    return QByteArray("\xff\xfd\x18\xff\xfa\x18\x01\xff\xf0\xff\xf1", 11) + "W1AW de K1ABC: nice signal\r\n";
}

} // namespace corvane::test
