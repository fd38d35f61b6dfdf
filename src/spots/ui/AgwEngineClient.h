#pragma once
// The AGW packet engine reached over TCP (Dire Wolf on Linux, localhost port 8000 by
// default), offering the setup window start, put, get and stop. Starting is asynchronous:
// the TCP connect, the registration of the station call and the monitor request run in the
// event loop, and started() or startFailed() follows. Received frames wait in the link's
// bounded queue until the window's timer takes them.

#include "spots/AgwLink.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <optional>
#include <string>

namespace corvane {
class TcpClient;
}

namespace corvane::spots {

class AgwEngineClient : public QObject {
    Q_OBJECT
public:
    // How long the engine has to accept the connection and answer the registration.
    static constexpr int kStartTimeoutMs = 5000;

    explicit AgwEngineClient(QObject* parent = nullptr);
    ~AgwEngineClient() override;

    void setEndpoint(const QString& host, int port);
    const QString& host() const { return m_host; }
    int port() const { return m_port; }

    void start(const std::string& ownCall);
    bool running() const { return m_running; }
    bool starting() const { return m_starting; }
    // One frame of kind 'c', 'P', 'D' or 'd' to `farCall`; ignored while not running.
    void put(const std::string& farCall, const std::string& data, char kind);
    std::optional<AgwReceived> get();
    std::size_t takeDropped();
    void stop();

signals:
    void started();
    void startFailed(const QString& reason);
    // The engine closed the link or sent what cannot be followed; the link is stopped.
    void dropped(const QString& reason);

private:
    void connectedToEngine();
    void received(const QByteArray& bytes);
    void failed(const QString& reason);
    void write(const std::string& bytes);

    TcpClient* m_tcp = nullptr;
    AgwLink m_link;
    QTimer m_startTimer;
    QString m_host = QStringLiteral("localhost");
    int m_port = 8000;
    std::string m_call;
    bool m_starting = false;
    bool m_running = false;
};

} // namespace corvane::spots
