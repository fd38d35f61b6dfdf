#pragma once
// A DX cluster node on the loopback interface, for tests and benchmarks of the Telnet spot
// source. It listens on 127.0.0.1 (a free port), greets each client like a real node (Telnet
// option requests, a greeting, a login prompt without a line end), takes the first line the
// client sends as its call, answers, and then sends what the test queued. It can also flood
// a client with megabytes of mixed spot lines and junk (NUL and other binary bytes, invalid
// UTF-8, stray Telnet commands, long runs without a line end), paced by the socket so its
// own memory stays small.

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

class QTcpServer;
class QTcpSocket;

namespace corvane::test {

class LoopbackCluster : public QObject {
    Q_OBJECT
public:
    explicit LoopbackCluster(QObject* parent = nullptr);
    ~LoopbackCluster() override;

    bool listen();
    quint16 port() const;
    // Stops listening and drops every client (a node that went away).
    void stop();
    void dropClients();

    // Sent to each client as it connects. The default asks for Telnet options, greets and
    // prompts "login: ".
    void setGreeting(const QByteArray& greeting) { m_greeting = greeting; }
    static QByteArray defaultGreeting();
    // Chunks sent, each as its own write, once the client sent its call.
    void queueAfterLogin(const QByteArray& chunk) { m_afterLogin.append(chunk); }
    // Sent at once to every client.
    void send(const QByteArray& bytes);

    // Sends `bytes` of mixed spots and junk to every client; floodFinished when all is written.
    void startFlood(qint64 bytes, quint32 seed = 1);
    qint64 floodWritten() const { return m_floodWritten; }
    int floodSpotLines() const { return m_floodSpots; }

    QByteArray received() const { return m_received; }
    QString loginCall() const { return m_loginCall; }
    int connections() const { return m_connections; }

    // The next piece of the flood mixture (deterministic for a seed).
    static QByteArray floodPiece(quint32& state, int& spotLines);

signals:
    void clientConnected();
    void loggedIn(const QString& call);
    void dataReceived();
    void floodFinished();

private:
    void onNewConnection();
    void onReadyRead(QTcpSocket* socket);
    void pumpFlood();

    QTcpServer* m_server;
    QList<QTcpSocket*> m_clients;
    QByteArray m_greeting;
    QList<QByteArray> m_afterLogin;
    QByteArray m_received;
    QByteArray m_lineSoFar;
    QString m_loginCall;
    int m_connections = 0;
    qint64 m_floodTarget = 0;
    qint64 m_floodWritten = 0;
    int m_floodSpots = 0;
    quint32 m_floodState = 1;
};

} // namespace corvane::test
