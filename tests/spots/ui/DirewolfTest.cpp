// The AGW source against a real Dire Wolf: no sound card (audio read from stdin, nothing
// transmitted), its AGW port on a free loopback port. The window registers, lets the engine
// monitor, and then (1) the audio of a UI frame carrying a cluster spot, made with Dire
// Wolf's own gen_packets, must reach the store as a monitored frame; (2) ":C" asks the engine
// for a connected-mode link, which it tries (SABME frames, retried) and, with nobody on the
// air to answer, gives up with a disconnect frame the window shows.

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

// Dire Wolf on a free AGW port, reading audio from stdin; a connect is retried twice, one
// second apart, before it is given up.
class DirewolfEngine {
public:
    DirewolfEngine() : m_program(QStandardPaths::findExecutable(QStringLiteral("direwolf"))) {}
    ~DirewolfEngine() {
        m_engine.closeWriteChannel();
        m_engine.waitForFinished(5000);
        if (m_engine.state() != QProcess::NotRunning) {
            m_engine.kill();
            m_engine.waitForFinished(2000);
        }
    }
    bool installed() const { return !m_program.isEmpty(); }

    // Starts it and waits until it takes AGW clients; false (see log()) when it did not.
    bool start() {
        m_port = freePort();
        QFile conf(QString::fromStdString(m_work.file("direwolf.conf")));
        if (!conf.open(QIODevice::WriteOnly)) {
            return false;
        }
        conf.write(QStringLiteral("ADEVICE stdin null\nARATE 44100\nACHANNELS 1\nCHANNEL 0\nMYCALL N0CALL\n"
                                  "MODEM 1200\nAGWPORT %1\nKISSPORT 0\nFRACK 1\nRETRY 2\n")
                       .arg(m_port)
                       .toLatin1());
        conf.close();
        m_engine.setWorkingDirectory(QString::fromStdString(m_work.path().string()));
        m_engine.setProcessChannelMode(QProcess::MergedChannels);
        QObject::connect(&m_engine, &QProcess::readyRead, [this] { m_log += m_engine.readAll(); });
        m_engine.start(m_program, {QStringLiteral("-c"), QStringLiteral("direwolf.conf"), QStringLiteral("-t"),
                                   QStringLiteral("0"), QStringLiteral("-")});
        return m_engine.waitForStarted(10000) &&
               QTest::qWaitFor([&] { return m_log.contains("Ready to accept AGW client"); }, 15000);
    }
    // Points the logger at this engine and opens the AGW source; false when it did not register.
    bool openFrom(SpotsFixture& f) {
        f.main.settings->set("AgwEngineHost", "127.0.0.1");
        f.main.settings->set("AgwEnginePort", std::to_string(m_port));
        f.choose("AGW Packet Engine");
        f.control<QPushButton>("cmdOpen")->click();
        const bool registered = QTest::qWaitFor(
            [&] { return f.status().contains(QStringLiteral("** Successfully connected to AGW Packet Engine **")); },
            10000);
        QTest::qWait(300); // the monitor request is taken before anything else
        return registered;
    }
    void feed(const QByteArray& audio) { m_engine.write(audio); }
    const QByteArray& log() const { return m_log; }
    std::string file(const std::string& name) const { return m_work.file(name); }
    const std::filesystem::path& folder() const { return m_work.path(); }

private:
    TempDir m_work;
    QString m_program;
    QProcess m_engine;
    QByteArray m_log;
    quint16 m_port = 0;
};

} // namespace

TEST(Direwolf, MonitoredSpotFrameReachesTheStore) {
    DirewolfEngine engine;
    const QString genPackets = QStandardPaths::findExecutable(QStringLiteral("gen_packets"));
    if (!engine.installed() || genPackets.isEmpty()) {
        GTEST_SKIP() << "direwolf is not installed (Debian package direwolf; scripts/install-deps.sh)";
    }
    const std::string line = spots::testing::clusterLine("K1ABC", "1827.5", "W1AW", "CQ TEST", "2359");
    {
        QFile packet(QString::fromStdString(engine.file("packet.txt")));
        ASSERT_TRUE(packet.open(QIODevice::WriteOnly));
        packet.write(QByteArray::fromStdString("K1ABC>APRS:" + line + "\n"));
    }
    QProcess gen;
    gen.setWorkingDirectory(QString::fromStdString(engine.folder().string()));
    gen.start(genPackets, {QStringLiteral("-r"), QStringLiteral("44100"), QStringLiteral("-o"),
                           QStringLiteral("packet.wav"), QStringLiteral("packet.txt")});
    ASSERT_TRUE(gen.waitForFinished(20000));
    QFile wav(QString::fromStdString(engine.file("packet.wav")));
    ASSERT_TRUE(wav.open(QIODevice::ReadOnly));
    QByteArray audio = wav.readAll().mid(44); // raw samples after the WAV header
    audio.append(QByteArray(88200, '\0'));    // a second of silence behind the frame
    ASSERT_GT(audio.size(), 80000);

    ASSERT_TRUE(engine.start()) << engine.log().toStdString();
    SpotsFixture f;
    ASSERT_TRUE(f.start());
    ASSERT_TRUE(engine.openFrom(f)) << f.status().toStdString() << engine.log().toStdString();

    engine.feed(audio);
    const bool arrived = QTest::qWaitFor(
        [&] {
            f.service().tick();
            return f.feature().store().slot(49).call == "W1AW";
        },
        20000);
    ASSERT_TRUE(arrived) << engine.log().toStdString() << "\n" << f.status().toStdString();
    EXPECT_FLOAT_EQ(f.feature().store().slot(49).frequencyMHz, 1.8275f);
    // Shown in the status area without the monitor header line.
    EXPECT_TRUE(f.status().contains(QString::fromStdString(line)));
}

// Connected mode: ":C k1far" makes Dire Wolf call K1FAR (SABME, retried); nobody answers, so it
// reports the link down with a "d" frame from K1FAR. No partner was ever set, so the caption
// stays and ":D" has nothing to end.
TEST(Direwolf, AConnectNobodyAnswersIsTriedAndReportedDown) {
    DirewolfEngine engine;
    if (!engine.installed()) {
        GTEST_SKIP() << "direwolf is not installed (Debian package direwolf; scripts/install-deps.sh)";
    }
    ASSERT_TRUE(engine.start()) << engine.log().toStdString();
    SpotsFixture f;
    ASSERT_TRUE(f.start());
    ASSERT_TRUE(engine.openFrom(f)) << f.status().toStdString() << engine.log().toStdString();

    f.type(QStringLiteral(":C k1far"));
    const bool down = QTest::qWaitFor(
        [&] {
            f.service().tick();
            return f.status().contains(QStringLiteral("*** DISCONNECTED RETRYOUT With K1FAR"));
        },
        20000);
    ASSERT_TRUE(down) << engine.log().toStdString() << "\n" << f.status().toStdString();
    EXPECT_EQ(engine.log().count("W1XYZ>K1FAR:(SABM"), 2) << engine.log().toStdString();
    EXPECT_EQ(f.setup().windowTitle(), QStringLiteral(" DX Spotting Setup"));
    EXPECT_TRUE(f.service().agwPartner().empty());
    f.type(QStringLiteral(":D"));
    QTest::qWait(500);
    EXPECT_FALSE(engine.log().contains("Closing connection")) << engine.log().toStdString();
    EXPECT_TRUE(f.setup().isListening());
}
