#pragma once
// An AGW packet engine on the loopback interface, for tests of the AGW spot source. It
// speaks the engine's TCP frames (spots/AgwFrame.h): it records every frame a client sends,
// answers a registration ('X') with success (or refusal), answers a connect request ('C')
// with a connected frame from the far station and a disconnect ('d') with a disconnected
// frame, when told to; and it sends whatever the test asks: monitored frames as an engine
// reports them, connected data, raw bytes (a broken header, a huge length).

#include "spots/AgwFrame.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <vector>

class QTcpServer;
class QTcpSocket;

namespace corvane::test {

class ScriptedAgwServer : public QObject {
    Q_OBJECT
public:
    explicit ScriptedAgwServer(QObject* parent = nullptr);
    ~ScriptedAgwServer() override;

    bool listen();
    quint16 port() const;
    void stop();
    void dropClients();
    int connections() const { return m_connections; }

    void setAcceptRegistration(bool accept) { m_acceptRegistration = accept; }
    void setAnswerConnects(bool answer) { m_answerConnects = answer; }

    // Frames received from clients, in order.
    const std::vector<spots::AgwFrame>& frames() const { return m_frames; }
    int count(char kind) const;
    // The station call the client registered ('X'), empty before.
    QString registeredCall() const { return m_registeredCall; }

    void sendFrame(const spots::AgwFrame& frame);
    void sendRaw(const QByteArray& bytes);
    // A monitored UI frame as an engine reports it: a header line, then the text.
    void sendMonitored(const QString& from, const QString& to, const QByteArray& text);
    static QByteArray monitoredText(const QString& from, const QString& to, const QByteArray& text);
    void sendConnected(const QString& far);
    void sendDisconnected(const QString& far);
    void sendData(const QString& far, const QByteArray& text);

signals:
    void clientConnected();
    void frameReceived(char kind);

private:
    void onNewConnection();
    void onReadyRead(QTcpSocket* socket);
    void answer(const spots::AgwFrame& frame);

    QTcpServer* m_server;
    QList<QTcpSocket*> m_clients;
    QHash<QTcpSocket*, spots::AgwDecoder*> m_decoders;
    std::vector<spots::AgwFrame> m_frames;
    QString m_registeredCall;
    bool m_acceptRegistration = true;
    bool m_answerConnects = true;
    int m_connections = 0;
};

} // namespace corvane::test
