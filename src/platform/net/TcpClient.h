#pragma once
// A TCP client for the spot sources: host and port, connect, close, send, a connected state,
// and notifications for bytes that arrived and for failures. Every call returns at once; the
// name lookup, the connect, reading and writing run in the event loop, so the window thread
// never waits on the network.
//
// Failures carry the number the operator's messages are keyed by (the socket error numbers
// of the Windows Sockets standard: 10061 refused, 10058 shut down by the far end, 11001 host
// not found ...), so one table of texts serves every platform.
//
// Memory stays bounded however fast the far end sends: the socket's read buffer is capped and
// each arrival hands over at most kMaxArrivalBytes; the rest follows in the next arrival.

#include <QByteArray>
#include <QObject>
#include <QString>

class QTcpSocket;

namespace corvane {

class TcpClient : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 kMaxArrivalBytes = 64 * 1024;

    explicit TcpClient(QObject* parent = nullptr);
    ~TcpClient() override;

    void setRemoteHost(const QString& host) { m_host = host; }
    void setRemotePort(int port) { m_port = port; }
    const QString& remoteHost() const { return m_host; }
    int remotePort() const { return m_port; }

    // Starts connecting to the remote host and port (closing any connection first).
    void connectToRemote();
    // Drops the connection at once, sending nothing more; no failure is reported.
    void close();
    bool isConnected() const;
    // Queues the bytes; false when not connected.
    bool send(const QByteArray& bytes);

signals:
    void connected();
    // Bytes received since the last arrival (at most kMaxArrivalBytes).
    void arrived(const QByteArray& bytes);
    // The connection failed or was dropped by the far end; the client is closed by then.
    void failed(int errorNumber, const QString& reason);

private:
    void readSome();
    void socketError();

    QTcpSocket* m_socket = nullptr;
    QString m_host;
    int m_port = 0;
    bool m_draining = false;
};

// The socket error number the operator's messages use for a Qt socket error.
int socketErrorNumber(int qtSocketError);

} // namespace corvane
