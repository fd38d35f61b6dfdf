// The rigctld link against the real daemon (Hamlib's dummy radio, rigctld -m 1): polling,
// tuning read back with rigctl, the daemon stopped mid-poll and started again.
#include "platform/net/RigctldClient.h"

#include "rig/Decoders.h"
#include "rig/RigModels.h"
#include "rig/Rigctld.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTest>
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace corvane {
namespace {

using rig::DecodeResult;
using rig::DecodeStatus;

// A TCP port of this test's range nothing listens on.
quint16 freePort(quint16 after = 0) {
    for (quint16 port = 47100; port < 47200; ++port) {
        if (port <= after) {
            continue;
        }
        QTcpServer probe;
        if (probe.listen(QHostAddress::LocalHost, port)) {
            return port;
        }
    }
    return 0;
}

class RigctldDaemon {
public:
    explicit RigctldDaemon(quint16 port) : m_port(port) {}
    ~RigctldDaemon() { stop(); }
    bool start() {
        m_process.setProgram(QStringLiteral("rigctld"));
        m_process.setArguments({"-m", "1", "-T", "127.0.0.1", "-t", QString::number(m_port)});
        m_process.start();
        if (!m_process.waitForStarted(5000)) {
            return false;
        }
        // Listening once a connection is accepted.
        return QTest::qWaitFor(
            [&] {
                QTcpSocket socket;
                socket.connectToHost(QStringLiteral("127.0.0.1"), m_port);
                return socket.waitForConnected(200);
            },
            5000);
    }
    void stop() {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }

private:
    quint16 m_port;
    QProcess m_process;
};

// rigctl, the daemon's own client, asks for one value over the network.
QString rigctl(quint16 port, const QString& command) {
    QProcess process;
    process.start(QStringLiteral("rigctl"), {"-m", "2", "-r", QStringLiteral("127.0.0.1:%1").arg(port), command});
    process.waitForFinished(10000);
    return QString::fromLatin1(process.readAllStandardOutput()).trimmed();
}

// One poll as the link runs it: the question, then the replies until both values are in.
DecodeResult poll(RigctldClient& client) {
    const rig::RigModel* model = rig::findRigModel(rig::kRigctldModel);
    rig::PollState state;
    EXPECT_TRUE(client.write(model->question({}, state)));
    rig::ReplyBuffer buffer;
    DecodeResult result;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            buffer.append(client.readAll());
            result = model->decode({}, state, buffer.bytes());
            return result.frequencyMHz && result.mode;
        },
        5000))
        << std::string(buffer.bytes());
    return result;
}

// A host that drops every packet, made on this machine: a listening socket whose queue of
// waiting connections is full, so the kernel drops each new connection request unanswered.
class DroppingHost {
public:
    explicit DroppingHost(quint16 port) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(port);
        m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
        const int yes = 1;
        ::setsockopt(m_listener, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        const auto* where = reinterpret_cast<const sockaddr*>(&address);
        if (::bind(m_listener, where, sizeof address) != 0 || ::listen(m_listener, 0) != 0) {
            return;
        }
        for (int& filler : m_fillers) { // never accepted
            filler = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
            ::connect(filler, where, sizeof address);
        }
        m_ready = true;
    }
    ~DroppingHost() {
        for (int fd : m_fillers) {
            ::close(fd);
        }
        ::close(m_listener);
    }
    bool ready() const { return m_ready; }

private:
    int m_listener = -1;
    int m_fillers[3] = {-1, -1, -1};
    bool m_ready = false;
};

class RigctldClientTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (QStandardPaths::findExecutable(QStringLiteral("rigctld")).isEmpty()) {
            GTEST_SKIP() << "rigctld is not installed (Debian package libhamlib-utils)";
        }
        m_port = freePort();
        ASSERT_NE(m_port, 0);
    }
    quint16 m_port = 0;
};

TEST_F(RigctldClientTest, PollsTunesAndReadsBack) {
    RigctldDaemon daemon(m_port);
    ASSERT_TRUE(daemon.start());
    RigctldClient client;
    client.connectTo(QStringLiteral("127.0.0.1"), m_port);
    ASSERT_TRUE(QTest::qWaitFor([&] { return client.isConnected(); }, 5000)) << client.statusText().toStdString();
    EXPECT_EQ(client.statusText(), QStringLiteral("Connected to rigctld at 127.0.0.1:%1").arg(m_port));

    const auto first = poll(client);
    ASSERT_TRUE(first.frequencyMHz);
    EXPECT_GT(*first.frequencyMHz, 0.0F);

    const rig::RigModel* model = rig::findRigModel(rig::kRigctldModel);
    ASSERT_TRUE(client.write(model->frequency({}, {}, 1.8305F).command.bytes));
    ASSERT_TRUE(client.write(model->modeCommandFor({}, "CW").command.bytes));
    // Both commands are answered "RPRT 0".
    std::string replies;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            replies += client.readAll();
            return replies == "RPRT 0\nRPRT 0\n";
        },
        5000))
        << replies;

    EXPECT_EQ(rigctl(m_port, QStringLiteral("f")), QStringLiteral("1830500"));
    EXPECT_TRUE(rigctl(m_port, QStringLiteral("m")).startsWith(QStringLiteral("CW")));
    const auto after = poll(client);
    ASSERT_TRUE(after.frequencyMHz);
    EXPECT_FLOAT_EQ(*after.frequencyMHz, 1.8305F);
    EXPECT_EQ(after.mode, "CW");
}

TEST_F(RigctldClientTest, DaemonStoppedMidPollAndStartedAgain) {
    auto daemon = std::make_unique<RigctldDaemon>(m_port);
    ASSERT_TRUE(daemon->start());
    RigctldClient client;
    client.setReconnectIntervalMs(300);
    QStringList statuses;
    QObject::connect(&client, &RigctldClient::statusChanged, [&](const QString& s) { statuses << s; });
    client.connectTo(QStringLiteral("127.0.0.1"), m_port);
    ASSERT_TRUE(QTest::qWaitFor([&] { return client.isConnected(); }, 5000));

    ASSERT_TRUE(client.write("+f\n+m\n"));
    daemon->stop();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !client.isConnected(); }, 5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return client.statusText().startsWith(QStringLiteral("Cannot reach")); }, 5000))
        << client.statusText().toStdString();
    EXPECT_TRUE(statuses.filter(QStringLiteral("Lost rigctld at 127.0.0.1")).size() == 1)
        << statuses.join('|').toStdString();
    EXPECT_TRUE(client.statusText().contains(QStringLiteral("trying again every 0.3 s"), Qt::CaseInsensitive));
    EXPECT_FALSE(client.write("+f\n")); // nothing is queued while the daemon is away

    daemon = std::make_unique<RigctldDaemon>(m_port);
    ASSERT_TRUE(daemon->start());
    ASSERT_TRUE(QTest::qWaitFor([&] { return client.isConnected(); }, 10000)) << client.statusText().toStdString();
    const auto again = poll(client);
    EXPECT_TRUE(again.frequencyMHz);
    EXPECT_EQ(again.status, DecodeStatus::Decoded);
}

TEST_F(RigctldClientTest, AHostThatNeverAnswersIsReportedAsNotConnectingInTime) {
    DroppingHost host(m_port);
    ASSERT_TRUE(host.ready());
    RigctldClient client;
    client.setConnectTimeoutMs(300);
    client.setReconnectIntervalMs(200);
    QStringList statuses;
    QObject::connect(&client, &RigctldClient::statusChanged, [&](const QString& s) { statuses << s; });
    client.connectTo(QStringLiteral("127.0.0.1"), m_port);
    const QString timedOut = QStringLiteral("Could not connect to rigctld at 127.0.0.1:%1 within 0.3 s").arg(m_port);
    ASSERT_TRUE(QTest::qWaitFor([&] { return statuses.filter(timedOut).size() >= 2; }, 5000))
        << statuses.join('|').toStdString();
    EXPECT_FALSE(client.isConnected());
    // It never connected: nothing was lost and no daemon closed anything.
    EXPECT_TRUE(statuses.filter(QStringLiteral("Lost")).isEmpty()) << statuses.join('|').toStdString();
    EXPECT_TRUE(statuses.filter(QStringLiteral("closed")).isEmpty()) << statuses.join('|').toStdString();
    EXPECT_TRUE(client.readAll().empty());
}

TEST_F(RigctldClientTest, NoDaemonGivesAStatusLineAndKeepsTrying) {
    RigctldClient client;
    client.setReconnectIntervalMs(200);
    int attempts = 0;
    QObject::connect(&client, &RigctldClient::statusChanged, [&](const QString& s) {
        if (s.startsWith(QStringLiteral("Connecting"))) {
            ++attempts;
        }
    });
    client.connectTo(QStringLiteral("127.0.0.1"), m_port);
    EXPECT_FALSE(client.isConnected()); // connectTo returned without waiting
    ASSERT_TRUE(QTest::qWaitFor([&] { return attempts >= 3; }, 5000));
    EXPECT_FALSE(client.isConnected());
    client.disconnectFromHost();
    EXPECT_EQ(client.statusText(), QStringLiteral("Not connected"));
    const int stopped = attempts;
    QTest::qWait(600);
    EXPECT_EQ(attempts, stopped); // no more attempts after disconnecting
}

} // namespace
} // namespace corvane
