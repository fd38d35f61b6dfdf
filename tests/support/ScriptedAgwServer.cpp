#include "support/ScriptedAgwServer.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

namespace corvane::test {

using spots::AgwFrame;

ScriptedAgwServer::ScriptedAgwServer(QObject* parent) : QObject(parent), m_server(new QTcpServer(this)) {
    connect(m_server, &QTcpServer::newConnection, this, &ScriptedAgwServer::onNewConnection);
}

ScriptedAgwServer::~ScriptedAgwServer() {
    qDeleteAll(m_decoders);
}

bool ScriptedAgwServer::listen() {
    return m_server->listen(QHostAddress::LocalHost, 0);
}

quint16 ScriptedAgwServer::port() const {
    return m_server->serverPort();
}

void ScriptedAgwServer::stop() {
    m_server->close();
    dropClients();
}

void ScriptedAgwServer::dropClients() {
    const QList<QTcpSocket*> clients = m_clients;
    m_clients.clear();
    for (QTcpSocket* socket : clients) {
        delete m_decoders.take(socket);
        socket->abort();
        socket->deleteLater();
    }
}

int ScriptedAgwServer::count(char kind) const {
    int n = 0;
    for (const AgwFrame& frame : m_frames) {
        n += frame.kind == kind ? 1 : 0;
    }
    return n;
}

void ScriptedAgwServer::sendRaw(const QByteArray& bytes) {
    for (QTcpSocket* socket : m_clients) {
        socket->write(bytes);
        socket->flush();
    }
}

void ScriptedAgwServer::sendFrame(const AgwFrame& frame) {
    sendRaw(QByteArray::fromStdString(spots::encodeAgwFrame(frame)));
}

QByteArray ScriptedAgwServer::monitoredText(const QString& from, const QString& to, const QByteArray& text) {
    return " 1:Fm " + from.toLatin1() + " To " + to.toLatin1() + " <UI pid=F0 Len=" + QByteArray::number(text.size()) +
           " >[13:22:01]\r" + text + "\r";
}

void ScriptedAgwServer::sendMonitored(const QString& from, const QString& to, const QByteArray& text) {
    AgwFrame frame;
    frame.kind = 'U';
    frame.pid = spots::kAgwPidText;
    frame.callFrom = from.toStdString();
    frame.callTo = to.toStdString();
    frame.data = monitoredText(from, to, text).toStdString();
    sendFrame(frame);
}

void ScriptedAgwServer::sendConnected(const QString& far) {
    sendFrame({0, 'C', 0, far.toStdString(), m_registeredCall.toStdString(),
               "*** CONNECTED With Station " + far.toStdString() + "\r"});
}

void ScriptedAgwServer::sendDisconnected(const QString& far) {
    sendFrame({0, 'd', 0, far.toStdString(), m_registeredCall.toStdString(),
               "*** DISCONNECTED From Station " + far.toStdString() + "\r"});
}

void ScriptedAgwServer::sendData(const QString& far, const QByteArray& text) {
    sendFrame({0, 'D', spots::kAgwPidText, far.toStdString(), m_registeredCall.toStdString(), text.toStdString()});
}

void ScriptedAgwServer::onNewConnection() {
    while (QTcpSocket* socket = m_server->nextPendingConnection()) {
        m_clients.append(socket);
        m_decoders.insert(socket, new spots::AgwDecoder);
        ++m_connections;
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            if (m_clients.removeAll(socket) > 0) {
                delete m_decoders.take(socket);
                socket->deleteLater();
            }
        });
        emit clientConnected();
    }
}

void ScriptedAgwServer::onReadyRead(QTcpSocket* socket) {
    spots::AgwDecoder* decoder = m_decoders.value(socket);
    if (decoder == nullptr) {
        return;
    }
    for (const AgwFrame& frame : decoder->feed(socket->readAll().toStdString())) {
        m_frames.push_back(frame);
        answer(frame);
        emit frameReceived(frame.kind);
    }
}

void ScriptedAgwServer::answer(const AgwFrame& frame) {
    switch (frame.kind) {
    case 'X':
        m_registeredCall = QString::fromStdString(frame.callFrom);
        sendFrame({frame.port, 'X', 0, frame.callFrom, "", std::string(1, m_acceptRegistration ? '\1' : '\0')});
        break;
    case 'C':
        if (m_answerConnects) {
            sendConnected(QString::fromStdString(frame.callTo));
        }
        break;
    case 'd':
        if (m_answerConnects) {
            sendDisconnected(QString::fromStdString(frame.callTo));
        }
        break;
    default:
        break;
    }
}

} // namespace corvane::test
