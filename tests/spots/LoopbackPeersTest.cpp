// The loopback cluster node and AGW engine that the window tests talk to, checked against
// the spotting logic over real sockets: what a Telnet or AGW link receives from them ends
// up as status text and spots, negotiation and junk included. And the real engine.

#include "spots/AgwLink.h"
#include "spots/RecentSpots.h"
#include "spots/SpotIntake.h"
#include "spots/StatusText.h"
#include "spots/TelnetFilter.h"
#include "support/LoopbackCluster.h"
#include "support/ScriptedAgwServer.h"
#include "support/SpotLines.h"

#include <QFile>
#include <QHostAddress>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace corvane;
using namespace corvane::spots;
using corvane::spots::testing::clusterLine;

namespace {

const DateTime kNow{2026, 12, 9, 13, 0, 0};

// A Telnet spot link as the setup window runs it, without the window.
struct TelnetClient {
    QTcpSocket socket;
    TelnetFilter filter;
    StatusText status;
    SpotIntake intake{status};
    RecentSpots store;
    int spots = 0;
    QByteArray replies;

    TelnetClient() {
        QObject::connect(&socket, &QTcpSocket::readyRead, [this] {
            const TelnetFilter::Result r = filter.feed(socket.readAll().toStdString());
            replies += QByteArray::fromStdString(r.reply);
            socket.write(QByteArray::fromStdString(r.reply));
            for (const SpotHandOff& h : intake.telnetReceived(r.text)) {
                spots += store.add(h.call, h.frequencyText, h.record, "W1AW", kNow).stored ? 1 : 0;
            }
        });
    }
};

} // namespace

TEST(LoopbackCluster, GreetsTakesTheCallAndSendsSpots) {
    test::LoopbackCluster node;
    ASSERT_TRUE(node.listen());
    const std::string spot = clusterLine("K1ABC", "1825.5", "W1AW") + "\r\n";
    node.queueAfterLogin(QByteArray::fromStdString(spot));
    node.queueAfterLogin(QByteArray::fromStdString(clusterLine("N1XY", "1830.0", "K2XX") + "\r\n"));

    TelnetClient client;
    client.socket.connectToHost(QStringLiteral("127.0.0.1"), node.port());
    ASSERT_TRUE(QTest::qWaitFor([&] { return client.status.text().ends_with("login: "); }, 5000));
    EXPECT_EQ(client.status.text().find('\xff'), std::string::npos);
    EXPECT_EQ(client.replies, QByteArray("\xff\xfc\x1f\xff\xfe\x01", 6)); // WONT NAWS, DONT ECHO

    client.socket.write("w1aw\r\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return client.spots == 2; }, 5000));
    EXPECT_EQ(node.loginCall(), QStringLiteral("W1AW"));
    EXPECT_NE(client.status.text().find("Hello W1AW"), std::string::npos);
    EXPECT_EQ(client.store.slot(48).call, "W1AW");
    EXPECT_EQ(client.store.slot(49).call, "K2XX");
}

TEST(LoopbackCluster, AFloodOfSpotsAndJunkStaysBounded) {
    test::LoopbackCluster node;
    ASSERT_TRUE(node.listen());
    TelnetClient client;
    client.socket.connectToHost(QStringLiteral("127.0.0.1"), node.port());
    ASSERT_TRUE(QTest::qWaitFor([&] { return node.connections() == 1; }, 5000));
    bool finished = false;
    QObject::connect(&node, &test::LoopbackCluster::floodFinished, [&] { finished = true; });
    node.startFlood(2 * 1024 * 1024);
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished && client.socket.bytesAvailable() == 0; }, 20000));
    QTest::qWait(50);
    EXPECT_LE(client.status.size(), kStatusTrimAbove);
    EXPECT_EQ(client.status.text().find('\0'), std::string::npos);
    // Junk may swallow a few spot lines (a stray subnegotiation), never most of them.
    EXPECT_GT(client.spots, node.floodSpotLines() / 2);
}

TEST(ScriptedAgwServer, RegistersConnectsAndCarriesMonitoredSpots) {
    test::ScriptedAgwServer engine;
    ASSERT_TRUE(engine.listen());
    QTcpSocket socket;
    AgwLink link;
    bool streamOk = true;
    QObject::connect(&socket, &QTcpSocket::readyRead,
                     [&] { streamOk = link.received(socket.readAll().toStdString()) && streamOk; });
    socket.connectToHost(QStringLiteral("127.0.0.1"), engine.port());
    ASSERT_TRUE(socket.waitForConnected(5000));
    socket.write(QByteArray::fromStdString(link.start("W1AW")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return link.registered().has_value(); }, 5000));
    EXPECT_EQ(link.registered(), true);
    EXPECT_EQ(engine.count('X'), 1);
    EXPECT_EQ(engine.count('m'), 1);
    EXPECT_EQ(engine.registeredCall(), QStringLiteral("W1AW"));

    socket.write(QByteArray::fromStdString(link.put('c', "K1ABC", "") + link.put('P', "K1ABC", "")));
    std::optional<AgwReceived> got;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (got = link.get()).has_value(); }, 5000));
    EXPECT_EQ(got->kind, 'c');
    EXPECT_EQ(got->sender, "K1ABC");
    EXPECT_EQ(engine.frames().back().callTo, "K1ABC");

    StatusText status;
    SpotIntake intake(status);
    engine.sendMonitored(QStringLiteral("N1XY-1"), QStringLiteral("DX"),
                         QByteArray::fromStdString(clusterLine("N1XY", "1840.0", "W9ZZ")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return (got = link.get()).has_value(); }, 5000));
    const auto spots = intake.agwFrameReceived(got->sender, got->kind, got->text, "");
    ASSERT_EQ(spots.size(), 1u);
    EXPECT_EQ(spots[0].call, "W9ZZ");

    // A header claiming a huge length: the link says it cannot follow.
    std::string bad = encodeAgwFrame({0, 'U', 0, "X", "Y", ""});
    bad.replace(28, 4, std::string(4, '\xff'));
    engine.sendRaw(QByteArray::fromStdString(bad));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !streamOk; }, 5000));
    EXPECT_TRUE(link.decoderError().has_value());
}

// The real engine: Direwolf with no sound card (audio from stdin, none out), fed a WAV of
// an AX.25 UI frame carrying a spot line that its own gen_packets made. The monitored
// frame reaches the link and gives the spot.
TEST(DirewolfEngine, AMonitoredUiFrameCarriesASpotToTheStore) {
    const QString direwolf = QStandardPaths::findExecutable(QStringLiteral("direwolf"));
    const QString genPackets = QStandardPaths::findExecutable(QStringLiteral("gen_packets"));
    if (direwolf.isEmpty() || genPackets.isEmpty()) {
        GTEST_SKIP() << "Direwolf is not installed (Debian package direwolf; scripts/install-deps.sh installs it)";
    }
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QTcpServer probe; // a free port for the engine's AGW interface
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    const quint16 port = probe.serverPort();
    probe.close();

    const std::string spot = clusterLine("K1ABC", "1825.5", "W9ZZ");
    QFile message(dir.filePath(QStringLiteral("spot.txt")));
    ASSERT_TRUE(message.open(QIODevice::WriteOnly));
    message.write("K1ABC-1>DX:" + QByteArray::fromStdString(spot) + "\n");
    message.close();
    QProcess gen;
    gen.setWorkingDirectory(dir.path());
    gen.start(genPackets, {QStringLiteral("-o"), QStringLiteral("spot.wav"), QStringLiteral("spot.txt")});
    ASSERT_TRUE(gen.waitForFinished(20000));
    QFile wav(dir.filePath(QStringLiteral("spot.wav")));
    ASSERT_TRUE(wav.open(QIODevice::ReadOnly));
    const QByteArray audio = wav.readAll();

    QFile config(dir.filePath(QStringLiteral("direwolf.conf")));
    ASSERT_TRUE(config.open(QIODevice::WriteOnly));
    config.write("ADEVICE stdin null\nARATE 44100\nCHANNEL 0\nMODEM 1200\nKISSPORT 0\nAGWPORT " +
                 QByteArray::number(port) + "\n");
    config.close();
    QProcess engine;
    engine.setWorkingDirectory(dir.path());
    engine.setProcessChannelMode(QProcess::MergedChannels);
    engine.start(direwolf, {QStringLiteral("-c"), config.fileName(), QStringLiteral("-t"), QStringLiteral("0"),
                            QStringLiteral("-")});
    ASSERT_TRUE(engine.waitForStarted(10000));

    QTcpSocket socket;
    AgwLink link;
    QObject::connect(&socket, &QTcpSocket::readyRead, [&] { link.received(socket.readAll().toStdString()); });
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            if (socket.state() == QAbstractSocket::UnconnectedState) {
                socket.connectToHost(QStringLiteral("127.0.0.1"), port);
            }
            return socket.state() == QAbstractSocket::ConnectedState;
        },
        10000))
        << engine.readAll().toStdString();
    socket.write(QByteArray::fromStdString(link.start("W1AW")));
    // The engine reads a new client's frames only after a poll of up to a second.
    ASSERT_TRUE(QTest::qWaitFor([&] { return link.registered().has_value(); }, 10000));
    EXPECT_EQ(link.registered(), true);
    QTest::qWait(300); // monitoring ('m') is taken right after the registration

    engine.write(audio + QByteArray(100000, '\0'));
    std::optional<AgwReceived> frame;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            frame = link.get();
            return frame.has_value() && frame->kind == 'U';
        },
        15000))
        << engine.readAll().toStdString();
    EXPECT_EQ(frame->sender, "K1ABC-1");

    StatusText status;
    SpotIntake intake(status);
    const auto spots = intake.agwFrameReceived(frame->sender, frame->kind, frame->text, "");
    ASSERT_EQ(spots.size(), 1u);
    RecentSpots store;
    const auto stored = store.add(spots[0].call, spots[0].frequencyText, spots[0].record, "W1AW", kNow);
    EXPECT_TRUE(stored.stored);
    EXPECT_EQ(store.slot(49).call, "W9ZZ");
    EXPECT_FLOAT_EQ(store.slot(49).frequencyMHz, 1.8255f);

    socket.abort();
    engine.kill();
    engine.waitForFinished(5000);
}
