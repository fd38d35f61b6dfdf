// The AGW source against a real Dire Wolf: no sound card (audio read from stdin, nothing
// transmitted), its AGW port on a free loopback port. The test registers through the setup
// window, lets the window enable monitoring, then feeds Dire Wolf the audio of a UI frame
// carrying a cluster spot, made with Dire Wolf's own gen_packets; the spot must reach the
// store as a monitored frame.

#include "SpotsTestFixture.h"
#include "TempDir.h"
#include "spots/ui/AgwEngineClient.h"
#include "support/SpotLines.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>

using namespace corvane;
using namespace corvane::test;

namespace {

quint16 freePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

} // namespace

TEST(Direwolf, MonitoredSpotFrameReachesTheStore) {
    const QString direwolf = QStandardPaths::findExecutable(QStringLiteral("direwolf"));
    const QString genPackets = QStandardPaths::findExecutable(QStringLiteral("gen_packets"));
    if (direwolf.isEmpty() || genPackets.isEmpty()) {
        GTEST_SKIP() << "direwolf is not installed (Debian package direwolf; scripts/install-deps.sh)";
    }
    TempDir work;
    const std::string line = spots::testing::clusterLine("K1ABC", "1827.5", "W1AW", "CQ TEST", "2359");
    {
        QFile packet(QString::fromStdString(work.file("packet.txt")));
        ASSERT_TRUE(packet.open(QIODevice::WriteOnly));
        packet.write(QByteArray::fromStdString("K1ABC>APRS:" + line + "\n"));
    }
    QProcess gen;
    gen.setWorkingDirectory(QString::fromStdString(work.path().string()));
    gen.start(genPackets, {QStringLiteral("-r"), QStringLiteral("44100"), QStringLiteral("-o"),
                           QStringLiteral("packet.wav"), QStringLiteral("packet.txt")});
    ASSERT_TRUE(gen.waitForFinished(20000));
    QFile wav(QString::fromStdString(work.file("packet.wav")));
    ASSERT_TRUE(wav.open(QIODevice::ReadOnly));
    QByteArray audio = wav.readAll().mid(44); // raw samples after the WAV header
    audio.append(QByteArray(88200, '\0'));    // a second of silence behind the frame
    ASSERT_GT(audio.size(), 80000);

    const quint16 port = freePort();
    {
        QFile conf(QString::fromStdString(work.file("direwolf.conf")));
        ASSERT_TRUE(conf.open(QIODevice::WriteOnly));
        conf.write(QStringLiteral("ADEVICE stdin null\nARATE 44100\nACHANNELS 1\nCHANNEL 0\nMYCALL N0CALL\n"
                                  "MODEM 1200\nAGWPORT %1\nKISSPORT 0\n")
                       .arg(port)
                       .toLatin1());
    }
    QProcess engine;
    engine.setWorkingDirectory(QString::fromStdString(work.path().string()));
    engine.setProcessChannelMode(QProcess::MergedChannels);
    engine.start(direwolf, {QStringLiteral("-c"), QStringLiteral("direwolf.conf"), QStringLiteral("-t"),
                            QStringLiteral("0"), QStringLiteral("-")});
    ASSERT_TRUE(engine.waitForStarted(10000));
    QByteArray engineLog;
    QObject::connect(&engine, &QProcess::readyRead, [&] { engineLog += engine.readAll(); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return engineLog.contains("Ready to accept AGW client"); }, 15000))
        << engineLog.toStdString();

    SpotsFixture f;
    ASSERT_TRUE(f.start());
    f.main.settings->set("AgwEngineHost", "127.0.0.1");
    f.main.settings->set("AgwEnginePort", std::to_string(port));
    f.choose("AGW Packet Engine");
    f.control<QPushButton>("cmdOpen")->click();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return f.status().contains(QStringLiteral("** Successfully connected to AGW Packet Engine **")); },
        10000))
        << f.status().toStdString() << engineLog.toStdString();
    QTest::qWait(300); // the monitor request is taken before the audio

    engine.write(audio);
    const bool arrived = QTest::qWaitFor(
        [&] {
            f.setup().tick();
            return f.feature().store().slot(49).call == "W1AW";
        },
        20000);
    engine.closeWriteChannel();
    engine.waitForFinished(5000);
    if (engine.state() != QProcess::NotRunning) {
        engine.kill();
        engine.waitForFinished(2000);
    }
    ASSERT_TRUE(arrived) << engineLog.toStdString() << "\n" << f.status().toStdString();
    EXPECT_FLOAT_EQ(f.feature().store().slot(49).frequencyMHz, 1.8275f);
    // Shown in the status area without the monitor header line.
    EXPECT_TRUE(f.status().contains(QString::fromStdString(line)));
}
