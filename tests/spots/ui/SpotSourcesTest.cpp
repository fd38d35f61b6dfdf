// The setup window's sources end to end: a DX cluster node and an AGW engine on the loopback
// interface, and a TNC on a fake serial port; the settings file; what the operator is told
// when a link cannot be made or is lost.

#include "SpotsTestFixture.h"
#include "platform/serial/SerialDevices.h"
#include "platform/serial/SerialSettings.h"
#include "spots/ui/AgwEngineClient.h"
#include "spots/ui/SpotLabel.h"
#include "support/LoopbackCluster.h"
#include "support/ScriptedAgwServer.h"
#include "support/SpotLines.h"
#include "ui/PortDeviceField.h"

#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <QTreeWidget>
#include <fstream>

using namespace corvane;
using namespace corvane::test;
using corvane::spots::testing::clusterLine;

namespace {

QByteArray line(const std::string& text) {
    return QByteArray::fromStdString(text + "\r\n");
}

bool hasBox(const ScriptedDialogs& dialogs, const QString& title) {
    for (const auto& box : dialogs.shown) {
        if (box.title == title) {
            return true;
        }
    }
    return false;
}

} // namespace

TEST(SpotSources, TelnetClusterLoginSpotsAndFloodReachTheStoreListAndBandMap) {
    SpotsFixture f;
    ASSERT_TRUE(f.start());
    LoopbackCluster cluster;
    ASSERT_TRUE(cluster.listen());
    cluster.queueAfterLogin(line(clusterLine("K1ABC", "1822.0", "K1ABC", "CQ TEST", "2359")) +
                            line(clusterLine("N2XX", "1825.5", "W1XYZ", "loud", "0001")) +
                            line(clusterLine("N2XX", "14025.0", "JA1ABC", "20m", "0002")));

    f.choose("Telnet");
    f.control<QLineEdit>("txtTelnetHost")->setText(QStringLiteral("127.0.0.1"));
    f.control<QLineEdit>("txtTelnetPort")->setText(QString::number(cluster.port()));
    f.control<QPushButton>("cmdOpen")->click();
    EXPECT_TRUE(f.status().startsWith(QStringLiteral("Attempting connection to: 127.0.0.1:")));
    EXPECT_TRUE(f.setup().isListening());
    // The flag says what the link does: connecting until the node answers, then listening.
    auto* flag = f.control<QLabel>("lblListening");
    EXPECT_EQ(flag->text(), QStringLiteral("Connecting"));
    ASSERT_TRUE(f.waitFor([&] { return f.status().contains(QStringLiteral("login:")); }));
    EXPECT_EQ(flag->text(), QStringLiteral("Listening"));
    // The node's option negotiation is answered, never shown.
    EXPECT_EQ(f.statusBytes().find('\xff'), std::string::npos);

    f.type(QStringLiteral("W1XYZ"));
    ASSERT_TRUE(f.waitFor([&] { return cluster.loginCall() == QStringLiteral("W1XYZ"); }));
    ASSERT_TRUE(f.waitFor([&] { return f.feature().store().slot(49).call == "JA1ABC"; }));
    EXPECT_EQ(f.feature().store().slot(48).call, "W1XYZ");
    EXPECT_EQ(f.feature().store().slot(47).call, "K1ABC");
    EXPECT_FLOAT_EQ(f.feature().store().slot(47).frequencyMHz, 1.822f);
    // The own call was spotted.
    EXPECT_TRUE(f.main.labelText("lblDialog").startsWith(QStringLiteral("You've been spotted!")));
    EXPECT_TRUE(f.main.labelText("lblDupe").startsWith(QStringLiteral("You've been spotted!  ")));

    // Done with the band map: the spot area opens at the bottom of the main window.
    f.control<QPushButton>("cmdDone")->click();
    EXPECT_FALSE(f.setup().isVisible());
    spots::SpotArea& area = f.feature().area();
    ASSERT_EQ(area.state(), spots::SpotArea::State::BandMap);
    EXPECT_TRUE(area.spotLabel(47)->isVisible());
    EXPECT_EQ(area.spotLabel(47)->text(), QStringLiteral("K1"));
    EXPECT_FALSE(area.spotLabel(49)->isVisible()); // 20 m is not on the 160 m map
    auto* list = f.main.window->findChild<QTreeWidget*>(QStringLiteral("txtDX"));
    ASSERT_EQ(list->topLevelItemCount(), 3);
    EXPECT_EQ(list->topLevelItem(0)->text(0), QStringLiteral("JA1ABC"));
    EXPECT_EQ(list->topLevelItem(2)->text(1), QStringLiteral("1.822"));

    // A flood of spots and junk: the status area stays bounded, the spots keep coming.
    const int before = list->topLevelItemCount();
    bool flooded = false;
    QObject::connect(&cluster, &LoopbackCluster::floodFinished, [&] { flooded = true; });
    cluster.startFlood(2 * 1024 * 1024, 7);
    ASSERT_TRUE(f.waitFor([&] { return flooded; }, 30000));
    QTest::qWait(200);
    EXPECT_LE(f.service().statusText().size(), spots::kStatusTrimAbove);
    EXPECT_GT(list->topLevelItemCount(), before);
    EXPECT_LE(list->topLevelItemCount(), spots::kSpotListMaxRows);
    EXPECT_TRUE(f.setup().isListening());

    // The node goes away in the middle of a line: the operator is told, on a line of its own,
    // and the window stays usable.
    cluster.send("\r\nDX de K1TT");
    ASSERT_TRUE(f.waitFor([&] { return f.status().endsWith(QStringLiteral("DX de K1TT")); }));
    cluster.dropClients();
    ASSERT_TRUE(f.waitFor([&] { return !f.setup().isListening(); }));
    EXPECT_TRUE(f.status().contains(QStringLiteral("DX de K1TT\nERROR: Socket has been shut down.")));
    EXPECT_TRUE(f.status().endsWith(QStringLiteral("** Port Closed **")));
    // The screen catches up with the text.
    EXPECT_TRUE(f.waitFor([&] { return f.statusOnScreen() == f.status(); }));
}

TEST(SpotSources, TelnetRefusedAndTextTypedTooEarlyAreReported) {
    SpotsFixture f;
    ASSERT_TRUE(f.start());
    LoopbackCluster gone;
    ASSERT_TRUE(gone.listen());
    const quint16 port = gone.port();
    gone.stop();

    f.choose("Telnet");
    f.control<QLineEdit>("txtTelnetHost")->setText(QStringLiteral("127.0.0.1"));
    f.control<QLineEdit>("txtTelnetPort")->setText(QString::number(port));
    f.control<QPushButton>("cmdOpen")->click();
    f.type(QStringLiteral("W1XYZ"));
    EXPECT_TRUE(f.status().contains(
        QStringLiteral("**  Connection not yet established.  Please wait a moment and try again.")));
    const int beeps = f.main.dialogs.beeps;
    ASSERT_TRUE(f.waitFor([&] { return !f.setup().isListening(); }));
    EXPECT_TRUE(f.status().contains(QStringLiteral("ERROR: Connection is forcefully rejected.")));
    EXPECT_GT(f.main.dialogs.beeps, beeps);
    EXPECT_FALSE(f.service().timerRunning());

    // A port that is not a number opens nothing and says so, at Open and at every Enter; the
    // window never claims to listen.
    f.control<QLineEdit>("txtTelnetPort")->setText(QStringLiteral("73x3"));
    for (int attempt = 0; attempt < 2; ++attempt) {
        const std::size_t boxes = f.main.dialogs.shown.size();
        if (attempt == 0) {
            f.control<QPushButton>("cmdOpen")->click();
        } else {
            f.type(QStringLiteral("W1XYZ"));
        }
        f.settle();
        ASSERT_EQ(f.main.dialogs.shown.size(), boxes + 1);
        EXPECT_EQ(f.main.dialogs.shown.back().title, QStringLiteral("Telnet Port"));
        EXPECT_TRUE(f.main.dialogs.shown.back().text.startsWith(
            QStringLiteral("The Telnet port \"73x3\" is not a port number.")));
        EXPECT_FALSE(f.setup().isListening());
        EXPECT_FALSE(f.service().timerRunning());
        EXPECT_TRUE(f.status().contains(QStringLiteral("** The Telnet port \"73x3\" is not a port number.")));
        EXPECT_FALSE(f.status().contains(QStringLiteral("Connection not yet established")));
    }
}

TEST(SpotSources, SettingsFileIsWrittenByDoneAndRestoredWithoutTheDxOnlyBox) {
    SpotsFixture f;
    ASSERT_TRUE(f.start());
    f.choose("Telnet");
    f.control<QLineEdit>("txtTelnetHost")->setText(QStringLiteral("127.0.0.1"));
    f.control<QLineEdit>("txtTelnetPort")->setText(QStringLiteral("23"));
    f.control<QRadioButton>("optList")->setChecked(true);
    f.control<QCheckBox>("chkDXOnly")->setChecked(true);
    f.control<QPushButton>("cmdDone")->click();
    EXPECT_EQ(f.main.readFile("PackSpot.txt"),
              "\"9600\"\r\n\"N\"\r\n\"8\"\r\n\"1\"\r\n1\r\n\"N\"\r\n\"Telnet\"\r\n0\r\n3\r\n"
              "1\r\n#TRUE#\r\n\"03\"\r\n\"23\"\r\n\"127.0.0.1\"\r\n");
    EXPECT_EQ(f.feature().area().state(), spots::SpotArea::State::List);

    // The close box ends the window; the next use creates it from the file.
    f.setup().close();
    QTest::qWait(10);
    ASSERT_EQ(f.feature().existingSetupWindow(), nullptr);
    EXPECT_EQ(f.setup().source(), QStringLiteral("Telnet"));
    EXPECT_TRUE(f.control<QRadioButton>("optList")->isChecked());
    EXPECT_EQ(f.control<QLineEdit>("txtTelnetPort")->text(), QStringLiteral("23"));
    EXPECT_FALSE(f.control<QCheckBox>("chkDXOnly")->isChecked());
    EXPECT_TRUE(f.setup().isListening()); // the stored source was reopened

    // None and Done close the area and give the other controls their height back.
    QWidget* call = f.main.call();
    f.choose("None");
    f.control<QPushButton>("cmdDone")->click();
    EXPECT_EQ(f.feature().area().state(), spots::SpotArea::State::Absent);
    const QRect restored = call->geometry();
    f.choose("Telnet");
    f.control<QPushButton>("cmdDone")->click();
    EXPECT_LT(call->geometry().top(), restored.top());
    f.choose("None");
    f.control<QPushButton>("cmdDone")->click();
    EXPECT_EQ(call->geometry(), restored);
}

TEST(SpotSources, TheTncPortShowsItsDeviceAndAnAbsentOneIsNamed) {
    SpotsFixture f;
    ASSERT_TRUE(f.start());
    std::ofstream(f.main.file("ttyTnc")).put('x');
    f.main.settings->set(serialDeviceKey(3), f.main.file("ttyTnc"));
    f.main.settings->set(serialDeviceKey(7), f.main.file("no-such-tnc"));
    f.choose("TNC");
    auto* device = f.control<PortDeviceField>("txtTncDevice");
    ASSERT_NE(device, nullptr);
    EXPECT_TRUE(device->isReadOnly());
    EXPECT_TRUE(f.setup().rect().contains(device->geometry()));
    for (QWidget* other : f.setup().findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (other != device && !other->isHidden()) {
            EXPECT_FALSE(other->geometry().intersects(device->geometry())) << other->objectName().toStdString();
        }
    }

    f.control<QRadioButton>("optPort2")->setChecked(true);
    EXPECT_EQ(device->port(), 3);
    EXPECT_EQ(device->text().toStdString(), f.main.file("ttyTnc"));
    EXPECT_TRUE(device->devicePresent());
    f.control<QRadioButton>("optPort6")->setChecked(true);
    EXPECT_EQ(device->text().toStdString(), f.main.file("no-such-tnc"));
    EXPECT_FALSE(device->devicePresent());

    // The port's refusal names the device on the status lines.
    ASSERT_NE(f.serial, nullptr);
    f.serial->failOpen = true;
    f.serial->openError = absentDeviceMessage(7, f.main.file("no-such-tnc"));
    f.control<QPushButton>("cmdOpen")->click();
    EXPECT_FALSE(f.serial->isOpen());
    EXPECT_TRUE(f.status().contains(QStringLiteral("** Unable to open TNC Serial Port **")));
    EXPECT_TRUE(f.status().contains(QString::fromStdString(f.serial->openError))) << f.status().toStdString();
}

TEST(SpotSources, TncDefaultsSplitLinesCommandModeAndFailures) {
    SpotsFixture f;
    ASSERT_TRUE(f.start());
    f.choose("TNC");
    EXPECT_TRUE(f.control<QRadioButton>("optBaud3")->isChecked());
    EXPECT_TRUE(f.control<QRadioButton>("optHandshaking2")->isChecked());
    EXPECT_EQ(f.control<QLineEdit>("txtCmdChar")->text(), QStringLiteral("03"));
    EXPECT_TRUE(f.status().startsWith(QStringLiteral("To use a Packet TNC")));
    EXPECT_FALSE(f.status().contains(QStringLiteral("If you have an Internet connection")));
    EXPECT_EQ(f.control<QLabel>("lblSend")->text(), QStringLiteral("Send text  (Ctrl C or Esc for TNC Command mode):"));

    f.control<QPushButton>("cmdOpen")->click();
    ASSERT_NE(f.serial, nullptr);
    ASSERT_TRUE(f.serial->isOpen());
    EXPECT_EQ(f.serial->settings(), "9600,N,8,1");
    EXPECT_EQ(f.serial->handshaking, Handshaking::RtsCts);
    EXPECT_TRUE(f.serial->rts());
    EXPECT_TRUE(f.status().contains(QStringLiteral("** TNC Serial Port Open **")));
    EXPECT_TRUE(f.service().timerRunning());

    // A line in two pieces, cut inside the frequency: one spot when the rest arrives.
    const std::string spot = clusterLine("K1ABC", "1825.5", "W1AW") + "\r\n";
    f.serial->replies.push_back(spot.substr(0, 20));
    f.service().tick();
    EXPECT_TRUE(f.feature().store().slot(49).call.empty());
    f.serial->replies.push_back(spot.substr(20));
    f.service().tick();
    EXPECT_EQ(f.feature().store().slot(49).call, "W1AW");
    EXPECT_EQ(f.service().labelUpdateTimeCounter(), 1.0f);

    // Esc: the command-mode character, exactly one, and the DX-only box cleared.
    f.control<QCheckBox>("chkDXOnly")->setChecked(true);
    f.serial->written.clear();
    QTest::keyClick(f.control<QLineEdit>("txtSent"), Qt::Key_Escape);
    EXPECT_EQ(f.serial->written, std::string(1, '\x03'));
    EXPECT_FALSE(f.control<QCheckBox>("chkDXOnly")->isChecked());
    f.type(QStringLiteral("SH/DX"));
    EXPECT_EQ(f.serial->written, "\x03SH/DX\r");

    // The device going away is reported and closes the link.
    f.serial->close();
    f.service().tick();
    EXPECT_TRUE(f.status().contains(QStringLiteral("** The TNC serial port was lost **")));
    EXPECT_FALSE(f.setup().isListening());
    f.control<QPushButton>("cmdOpen")->click();
    ASSERT_TRUE(f.serial->isOpen());

    // A serial option changed while open closes the link.
    f.control<QRadioButton>("optBaud5")->setChecked(true);
    EXPECT_FALSE(f.serial->isOpen());
    EXPECT_TRUE(f.status().endsWith(QStringLiteral("** Port Closed **")));

    // An open that fails: while its box is read, the window no longer says it listens.
    f.serial->failOpen = true;
    bool listeningDuringBox = true;
    f.main.dialogs.whileShown = [&](const ShownBox&) { listeningDuringBox = f.setup().isListening(); };
    f.control<QPushButton>("cmdOpen")->click();
    f.settle();
    f.main.dialogs.whileShown = nullptr;
    EXPECT_FALSE(listeningDuringBox);
    EXPECT_TRUE(hasBox(f.main.dialogs, QStringLiteral("Invalid Comm Settings.")));
    EXPECT_TRUE(f.status().contains(QStringLiteral("** Unable to open TNC Serial Port **")));
    EXPECT_TRUE(f.status().endsWith(QStringLiteral("** Port Closed **")));
    EXPECT_FALSE(f.setup().isListening());
    EXPECT_FALSE(f.service().timerRunning());
}

TEST(SpotSources, AgwEngineRegistersMonitorsConnectsAndDisconnects) {
    SpotsFixture f;
    ScriptedAgwServer engine;
    ASSERT_TRUE(engine.listen());
    ASSERT_TRUE(f.start());
    f.main.settings->set("AgwEnginePort", std::to_string(engine.port()));
    f.choose("AGW Packet Engine");
    EXPECT_EQ(f.control<QLabel>("lblSend")->text(),
              QStringLiteral("Send text (use : to send cmds such as :C Varkel or :D)"));
    f.control<QPushButton>("cmdOpen")->click();
    ASSERT_TRUE(f.waitFor(
        [&] { return f.status().contains(QStringLiteral("** Successfully connected to AGW Packet Engine **")); }));
    EXPECT_EQ(engine.registeredCall(), QStringLiteral("W1XYZ"));
    EXPECT_GE(engine.count('m'), 1);
    EXPECT_TRUE(f.service().timerRunning());

    // A monitored frame carrying a spot.
    engine.sendMonitored(QStringLiteral("K1ABC"), QStringLiteral("CQ"),
                         QByteArray::fromStdString(clusterLine("K1ABC", "1830.0", "VE3XYZ") + "\r"));
    ASSERT_TRUE(f.waitFor([&] {
        f.service().tick();
        return f.feature().store().slot(49).call == "VE3XYZ";
    }));

    // :C asks for a connection; the caption changes only when the engine reports it.
    QLineEdit* sent = f.control<QLineEdit>("txtSent");
    sent->clear();
    QTest::keyClick(sent, Qt::Key_Escape); // Esc types the colon
    EXPECT_EQ(sent->text(), QStringLiteral(":"));
    sent->insert(QStringLiteral("C w1aw"));
    QTest::keyClick(sent, Qt::Key_Return);
    ASSERT_TRUE(f.waitFor([&] { return engine.count('C') == 1; }));
    EXPECT_EQ(engine.frames().back().callTo, "W1AW");
    ASSERT_TRUE(f.waitFor([&] {
        f.service().tick();
        return f.setup().windowTitle() == QStringLiteral("DX Spotting Setup - Connected to W1AW");
    }));
    f.type(QStringLiteral("hello"));
    ASSERT_TRUE(f.waitFor([&] { return engine.count('D') == 1; }));
    EXPECT_EQ(engine.frames().back().data, "hello\r");
    // Long keyboard text leaves at the blank after its 70th character.
    sent->setText(QString(70, QLatin1Char('x')));
    EXPECT_EQ(engine.count('D'), 1);
    sent->setText(QString(70, QLatin1Char('x')) + QLatin1Char(' '));
    EXPECT_TRUE(sent->text().isEmpty());
    ASSERT_TRUE(f.waitFor([&] { return engine.count('D') == 2; }));
    EXPECT_EQ(engine.frames().back().data, std::string(70, 'x') + "\r");

    // A disconnect from another station changes nothing; the partner's ends the connection.
    engine.sendDisconnected(QStringLiteral("N0ONE"));
    QTest::qWait(50);
    f.service().tick();
    EXPECT_EQ(f.service().agwPartner(), "W1AW");
    const int beeps = f.main.dialogs.beeps;
    engine.sendDisconnected(QStringLiteral("W1AW"));
    ASSERT_TRUE(f.waitFor([&] {
        f.service().tick();
        return f.service().agwPartner().empty();
    }));
    EXPECT_EQ(f.main.dialogs.beeps, beeps + 2);
    EXPECT_EQ(f.setup().windowTitle(), QStringLiteral("DX Spotting Setup"));

    // A header claiming a huge length cannot be followed: the link is closed and said so.
    QByteArray header(36, '\0');
    header[4] = 'U';
    header[28] = header[29] = header[30] = header[31] = '\xff';
    engine.sendRaw(header);
    ASSERT_TRUE(f.waitFor([&] { return !f.setup().isListening(); }));
    EXPECT_TRUE(f.status().contains(QStringLiteral("** Port Closed **")));
}

TEST(SpotSources, AgwEngineMissingOrNoStationCall) {
    SpotsFixture f;
    ASSERT_TRUE(f.start());
    ScriptedAgwServer gone;
    ASSERT_TRUE(gone.listen());
    f.main.settings->set("AgwEnginePort", std::to_string(gone.port()));
    gone.stop();
    f.choose("AGW Packet Engine");
    f.control<QPushButton>("cmdOpen")->click();
    ASSERT_TRUE(f.waitFor(
        [&] { return hasBox(f.main.dialogs, QStringLiteral("Unable to connect to the AGW Packet Engine.")); }));
    EXPECT_FALSE(f.setup().isListening());
    EXPECT_FALSE(f.service().timerRunning());
    EXPECT_TRUE(f.status().contains(QStringLiteral("- Click Open from this program.")));

    f.main.window->session().prefs().ownCall = "  ";
    f.control<QPushButton>("cmdOpen")->click();
    f.settle();
    EXPECT_TRUE(hasBox(f.main.dialogs, QStringLiteral("Call Sign Required!")));
    EXPECT_FALSE(f.setup().isListening());
    EXPECT_FALSE(f.service().agwLink().starting());
}

TEST(SpotSources, ClosingTheWindowDisconnectsThePartnerAndEndsTheAgwLink) {
    SpotsFixture f;
    ScriptedAgwServer engine;
    ASSERT_TRUE(engine.listen());
    ASSERT_TRUE(f.start());
    f.openAgwEngine(engine.port());
    ASSERT_TRUE(f.waitFor([&] { return f.service().agwLink().running(); }));
    f.type(QStringLiteral(":C K1ABC"));
    ASSERT_TRUE(f.waitFor([&] {
        f.service().tick();
        return f.service().agwPartner() == "K1ABC";
    }));
    f.setup().close();
    ASSERT_TRUE(f.waitFor([&] { return engine.count('d') == 1; }));
    EXPECT_EQ(engine.frames().back().callTo, "K1ABC");
    EXPECT_EQ(f.feature().existingSetupWindow(), nullptr);
}

// The help text of a source opens at its start, also when it follows other text at once.
TEST(SpotSources, TheHelpTextOpensAtItsStart) {
    SpotsFixture f;
    ASSERT_TRUE(f.start());
    f.setup().show();
    for (const char* source : {"None", "TNC", "Telnet", "AGW Packet Engine"}) {
        SCOPED_TRACE(source);
        f.choose(source);
        QTest::qWait(2 * spots::SpotSetupWindow::kStatusRefreshMs);
        auto* area = f.control<QPlainTextEdit>("txtUnProcessed");
        EXPECT_EQ(area->toPlainText(), f.status());
        EXPECT_LE(area->textCursor().position(), 1);
        EXPECT_EQ(area->verticalScrollBar()->value(), 0);
    }
}

TEST(SpotSources, SpotLastPreparesAnAnnouncementOfTheLastContact) {
    SpotsFixture f;
    ASSERT_TRUE(f.start());
    f.main.call()->setText(QStringLiteral("K1ABC"));
    f.main.grid()->setText(QStringLiteral("FN31"));
    QTest::keyClick(f.main.grid(), Qt::Key_Return);
    ASSERT_EQ(f.main.window->log().qsoCount(), 1);
    f.control<QPushButton>("cmdSpotLast")->click();
    QLineEdit* sent = f.control<QLineEdit>("txtSent");
    EXPECT_EQ(sent->text(), QStringLiteral("DX Frequency in kHz K1ABC"));
    EXPECT_EQ(sent->selectedText(), QStringLiteral("Frequency in kHz"));
}
