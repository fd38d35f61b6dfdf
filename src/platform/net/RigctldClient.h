#pragma once
// The TCP link to Hamlib's rigctld. Connecting never blocks the window thread: the socket
// works from the event loop, a connection that does not come up in time is dropped, and a
// daemon that is not running or goes away is tried again every few seconds until
// disconnectFromHost(). statusText() says in one line what the link is doing.

#include <QAbstractSocket>
#include <QObject>
#include <QString>
#include <QTcpSocket>
#include <QTimer>
#include <string>
#include <string_view>

namespace corvane {

class RigctldClient final : public QObject {
    Q_OBJECT
public:
    static constexpr int kReconnectIntervalMs = 3000;
    static constexpr int kConnectTimeoutMs = 5000;

    explicit RigctldClient(QObject* parent = nullptr);
    ~RigctldClient() override;

    // Starts connecting (and keeps reconnecting) to the daemon; returns at once.
    void connectTo(const QString& host, quint16 port);
    // Closes the connection and stops reconnecting.
    void disconnectFromHost();

    bool isConnected() const;
    // Queues bytes; false (nothing queued) while not connected.
    bool write(std::string_view bytes);
    // Everything received since the last call; "" when nothing came.
    std::string readAll();
    // Bytes queued and not yet handed to the network.
    qint64 outputPending() const;
    QString statusText() const { return m_status; }

    // Tests shorten the waits.
    void setReconnectIntervalMs(int ms);
    void setConnectTimeoutMs(int ms) { m_connectTimeoutMs = ms; }

signals:
    void statusChanged(const QString& status);
    void connectedChanged(bool connected);
    void dataArrived();

private:
    void startAttempt();
    void onConnected();
    void onDisconnected();
    void onError(QAbstractSocket::SocketError error);
    void onConnectTimeout();
    // Drops the attempt and tries again later; the status says why (`why`, or no answer within
    // `timedOutAfterSeconds`), and says "Lost" only for a connection that had been up.
    void scheduleRetry(const QString& why, const QString& timedOutAfterSeconds = {});
    void setStatus(const QString& status);
    QString where() const;

    QTcpSocket m_socket;
    QTimer m_retryTimer;
    QTimer m_connectTimer;
    QString m_host;
    quint16 m_port = 0;
    bool m_wanted = false;
    bool m_wasConnected = false;
    int m_connectTimeoutMs = kConnectTimeoutMs;
    QString m_status = QStringLiteral("Not connected");
};

} // namespace corvane
