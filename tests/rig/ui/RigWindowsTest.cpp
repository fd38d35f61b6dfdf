// The rig link through the program side: the rig feature, the " Rig Interface Setup" window,
// the tune panel and the command tester, the serial port service, and simulated radios of
// each family on pseudo-terminals.

#include "core/DurableFile.h"
#include "log/Session.h"
#include "log/ui/SessionFrequency.h"
#include "platform/PortBroker.h"
#include "platform/serial/SerialDevices.h"
#include "platform/serial/SerialSettings.h"
#include "rig/RigFrequency.h"
#include "rig/RigSettings.h"
#include "rig/ui/FrequencyTestWindow.h"
#include "rig/ui/RigFeature.h"
#include "rig/ui/RigLink.h"
#include "rig/ui/RigWindow.h"
#include "rig/ui/TuneWindow.h"
#include "support/HeldBoxes.h"
#include "support/SimulatedRadio.h"
#include "support/TestAppContext.h"
#include "ui/Feature.h"
#include "ui/PortDeviceField.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTextEdit>
#include <arpa/inet.h>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace corvane::rig {
namespace {

using Radio = test::SimulatedRadio;
using SteadyClock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr int kRigPort = 2;

struct Entry final : EntryHost {
    std::string callText() const override { return {}; }
    void setCallText(const std::string&) override {}
    void logContact() override {}
    void clearEntry() override {}
    void showMessage(const std::string&) override {}
    void setMessageBackground(Rgb) override {}
    void focusEntry() override {}
};

struct Keys final : KeyRouter {
    bool routeKey(QKeyEvent*) override { return false; }
};

struct NoScore final : LogView {
    std::string totalScoreText() const override { return {}; }
};

// A small band plan: 160 m keeps the radio's mode, 80 m phone is LSB.
constexpr std::string_view kBandPlan = "\"2025/01/01\"\r\n"
                                       "\"160\",\"O\",\"CW\",1.8,2.0\r\n"
                                       "\"160\",\"E\",\"CW\",1.8,2.0\r\n"
                                       "\"80\",\"O\",\"CW\",3.5,4.0\r\n"
                                       "\"80\",\"E\",\"CW\",3.5,3.6\r\n"
                                       "\"80\",\"E\",\"PH\",3.6,4.0\r\n";

class RigWindows : public ::testing::Test, protected test::TestAppContext {
protected:
    RigWindows()
        : session(dir.path().string()), frequency(session), context{app,  session,   entry, tuner,       broker,
                                                                    keys, frequency, score, &mainWindow, nullptr} {
        app.runModal = [](QDialog&) {};
        context.savePreferences = [this] {
            ++prefsSaved;
            return true;
        };
        EXPECT_TRUE(replaceAtomically(dir.file("BandPlan.txt"), kBandPlan).ok);
    }
    ~RigWindows() override { feature.reset(); }

    void makeFeature() { feature = std::make_unique<RigFeature>(context); }
    void useRadio(const Radio& radio, int port = kRigPort) {
        ASSERT_TRUE(radio.ready());
        settings->set(serialDeviceKey(port), radio.devicePath());
    }
    RigWindow& window() { return feature->window(); }
    RigLink& link() { return feature->link(); }
    template <typename T> T* child(const char* name) {
        T* found = window().findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QString text(const char* name) { return child<QLabel>(name)->text(); }
    QString status() { return child<QTextEdit>("txtStatus")->toPlainText(); }
    void click(const char* name) { child<QAbstractButton>(name)->click(); }
    // The model, the rig's port and the 100 ms poll rate, as the operator picks them.
    void choose(const char* model, int port = kRigPort) {
        if (!feature) {
            makeFeature();
        }
        window().show();
        window().selectModel(QString::fromLatin1(model));
        click(QStringLiteral("optPort%1").arg(port - 1).toLatin1().constData());
        click("optPoll0");
    }
    static bool waitFor(const std::function<bool()>& done, int ms = 5000) { return QTest::qWaitFor(done, ms); }
    // When the command that starts with `prefix` arrived, the first one after `from`.
    static std::optional<SteadyClock::time_point> arrival(const Radio& radio, const std::string& bytes,
                                                          std::size_t from = 0) {
        const auto commands = radio.commands();
        for (std::size_t i = from; i < commands.size(); ++i) {
            if (commands[i].bytes == bytes) {
                return commands[i].at;
            }
        }
        return std::nullopt;
    }
    // Runs the event loop (the link's timers) until the radio shows `done`.
    static bool until(const Radio& radio, const std::function<bool(const Radio&)>& done, int ms = 3000) {
        return waitFor([&] { return done(radio); }, ms);
    }
    static bool heard(const Radio& radio, const std::string& bytes) { return arrival(radio, bytes).has_value(); }

    Session session;
    Entry entry;
    Keys keys;
    TunerSlot tuner;
    PortBroker broker;
    QMainWindow mainWindow;
    SessionFrequency frequency;
    NoScore score;
    FeatureContext context;
    int prefsSaved = 0;
    std::unique_ptr<RigFeature> feature;
};

// ---------------------------------------------------------------- the window and its settings

TEST_F(RigWindows, ChoosingAModelWritesItsDefaultsIntoTheWindow) {
    makeFeature();
    window().show();
    EXPECT_EQ(window().windowTitle(), QStringLiteral(" Rig Interface Setup"));
    EXPECT_EQ(window().objectName(), QStringLiteral("RigControlfrm"));
    EXPECT_EQ(child<QListWidget>("List1")->count(), static_cast<int>(rigModels().size()));

    window().selectModel(QStringLiteral("Icom"));
    EXPECT_EQ(child<QLineEdit>("txtFreq")->text(), QStringLiteral("FE FE 64 E0 03 FD"));
    EXPECT_EQ(child<QLineEdit>("txtMode")->text(), QStringLiteral("FE FE 64 E0 04 FD"));
    EXPECT_TRUE(child<QCheckBox>("chkHex")->isChecked());
    EXPECT_FALSE(child<QCheckBox>("chkHex")->isEnabled());
    EXPECT_TRUE(child<QCheckBox>("chkFromHex")->isChecked());
    EXPECT_TRUE(child<QLabel>("lblIcomNote")->isVisible());
    EXPECT_TRUE(child<QRadioButton>("optBaud0")->isChecked()); // 1200
    EXPECT_EQ(feature->selectedRig(), "Icom");

    window().selectModel(QStringLiteral("Kenwood 2"));
    EXPECT_EQ(child<QLineEdit>("txtFreq")->text(), QStringLiteral("IF;"));
    EXPECT_TRUE(child<QLineEdit>("txtMode")->text().isEmpty());
    EXPECT_FALSE(child<QLabel>("lblIcomNote")->isVisible());
    EXPECT_FALSE(child<QCheckBox>("chkHex")->isChecked());
    EXPECT_TRUE(child<QRadioButton>("optStopBits1")->isChecked()); // 2 stop bits

    // The FTdx9000 changes the baud only among the line parameters.
    click("optParity2");
    window().selectModel(QStringLiteral("Yaesu FTdx9000"));
    EXPECT_TRUE(child<QRadioButton>("optBaud2")->isChecked()); // 4800
    EXPECT_TRUE(child<QRadioButton>("optParity2")->isChecked());
    EXPECT_TRUE(child<QRadioButton>("optStopBits1")->isChecked());
    EXPECT_EQ(child<QLineEdit>("txtMode")->text(), QStringLiteral("MD0;"));

    window().selectModel(QStringLiteral("Other"));
    EXPECT_TRUE(child<QCheckBox>("chkHex")->isEnabled());
    child<QCheckBox>("chkHex")->setChecked(true);
    EXPECT_TRUE(link().settings().convertToHex);
    EXPECT_TRUE(child<QCheckBox>("chkFromHex")->isChecked());
}

TEST_F(RigWindows, DoneWritesRigCntrlTxtByteForByteAndTheNextRunReadsItBack) {
    Radio radio(Radio::Family::Kenwood);
    useRadio(radio);
    choose("Kenwood");
    click("optPower1");
    click("optModeBy1");
    child<QCheckBox>("chkUseFreq")->setChecked(false);
    click("cmdDone");
    EXPECT_FALSE(window().isVisible());
    EXPECT_EQ(prefsSaved, 1);
    const auto bytes = readWholeFile(dir.file("RigCntrl.txt"));
    ASSERT_TRUE(bytes);
    RigLinkSettings expected;
    expected.baud = "4800";
    expected.parity = 'N';
    expected.dataBits = '8';
    expected.stopBits = '2';
    expected.frequencyCommand = "FA;";
    expected.modeCommand = "MD;";
    expected.port = kRigPort;
    expected.power = PowerLine::Rts;
    expected.pollRate = PollRate::Fast;
    expected.model = "Kenwood";
    expected.useFrequency = false;
    expected.modeSource = ModeSource::Frequency;
    EXPECT_EQ(*bytes, formatRigSettings(expected));
    EXPECT_NE(bytes->find("\"4800 \"\r\n"), std::string::npos); // the baud keeps its padding
    EXPECT_TRUE(link().polling());                              // Done tests a selected radio

    // The next run: the file fills the window again.
    feature.reset();
    makeFeature();
    window();
    EXPECT_EQ(link().settings(), expected);
    EXPECT_TRUE(child<QRadioButton>("optPower1")->isChecked());
    EXPECT_TRUE(child<QRadioButton>("optModeBy1")->isChecked());
    EXPECT_EQ(child<QListWidget>("List1")->currentItem()->text(), QStringLiteral("Kenwood"));
}

TEST_F(RigWindows, DoneWithNoneSavesWithoutOpeningAPort) {
    makeFeature();
    window().show();
    window().selectModel(QStringLiteral("None"));
    click("cmdDone");
    EXPECT_FALSE(link().polling());
    EXPECT_FALSE(link().port().isOpen());
    ASSERT_TRUE(readWholeFile(dir.file("RigCntrl.txt")));
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(RigWindows, AtStartASelectedRadioPollsWithoutShowingTheWindowAndHandsItsFrequencyOn) {
    Radio radio(Radio::Family::Kenwood);
    radio.setFrequencyHz(1830500);
    useRadio(radio);
    RigLinkSettings saved;
    saved.model = "Kenwood";
    saved.port = kRigPort;
    saved.frequencyCommand = "FA;";
    saved.modeCommand = "MD;";
    saved.pollRate = PollRate::Fast;
    ASSERT_TRUE(replaceAtomically(dir.file("RigCntrl.txt"), formatRigSettings(saved)).ok);
    makeFeature();
    feature->readPreferences(FeaturePreferences{0, "KENWOOD"}); // compared without regard to case
    EXPECT_TRUE(feature->load());
    EXPECT_TRUE(link().polling());
    EXPECT_FALSE(window().isVisible());
    ASSERT_TRUE(waitFor([&] { return !session.rigFrequencyText().empty(); }));
    EXPECT_EQ(session.rigFrequencyText(), rigFrequencyText(1.8305F));
    EXPECT_FLOAT_EQ(link().state().frequencyMHz, 1.8305F);
    EXPECT_EQ(link().state().mode, "CW");

    // Every way out closes the port.
    feature->shutdown();
    EXPECT_FALSE(link().port().isOpen());
    EXPECT_EQ(broker.deviceOf(PortOwner::Rig), "");
}

TEST_F(RigWindows, TheNextContactKeepsTheFrequencyWhileTheReadingIsFresh) {
    Radio radio(Radio::Family::Kenwood);
    useRadio(radio);
    choose("Kenwood");
    click("optPoll1"); // 500 ms
    click("cmdTest");
    ASSERT_TRUE(waitFor([&] { return !session.rigFrequencyText().empty(); }));
    radio.setBehaviour(Radio::Behaviour::Silent); // no reading comes after this one
    const std::string polled = session.rigFrequencyText();
    // A contact is logged: the entry line takes the text and empties it.
    feature->contactLogged(QsoRecord{});
    EXPECT_EQ(session.takeRigFrequencyText(), polled);
    QCoreApplication::processEvents();
    EXPECT_EQ(session.rigFrequencyText(), polled);

    // Once polling has ended, a contact leaves it empty.
    click("cmdEndTest");
    feature->contactLogged(QsoRecord{});
    session.takeRigFrequencyText();
    QCoreApplication::processEvents();
    EXPECT_TRUE(session.rigFrequencyText().empty());
}

TEST_F(RigWindows, NoRadioSelectedAtStartOpensNothing) {
    makeFeature();
    feature->readPreferences(FeaturePreferences{0, "None"});
    EXPECT_TRUE(feature->load());
    EXPECT_FALSE(link().polling());
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(RigWindows, MenuAndCtrlKeysAreThere) {
    MenuBarMenus menus(*mainWindow.menuBar());
    makeFeature();
    feature->addMenus(menus);
    QAction* rig = menus.menu(MenuPlace::Options).findChild<QAction*>(QStringLiteral("mnuRigInterface"));
    ASSERT_NE(rig, nullptr);
    EXPECT_EQ(rig->text(), QStringLiteral("Rig &Interface"));
    rig->trigger();
    EXPECT_TRUE(window().isVisible());
    std::vector<int> keys;
    for (const auto& shortcut : feature->ctrlShortcuts()) {
        keys.push_back(shortcut.key);
    }
    EXPECT_EQ(keys, (std::vector<int>{Qt::Key_R, Qt::Key_G, Qt::Key_F}));
}

// ---------------------------------------------------------------- Test against each family

TEST_F(RigWindows, KenwoodTestShowsFrequencyAndModeAndTheUnprocessedReply) {
    Radio radio(Radio::Family::Kenwood);
    radio.setFrequencyHz(1830500);
    useRadio(radio);
    choose("Kenwood");
    click("cmdTest");
    EXPECT_TRUE(child<QLabel>("lblPolling")->isVisible());
    EXPECT_TRUE(child<QPushButton>("cmdEndTest")->isEnabled());
    ASSERT_TRUE(waitFor([&] { return text("lblFreq") == QStringLiteral("1.83050"); }));
    EXPECT_EQ(text("lblMode"), QStringLiteral("CW"));
    EXPECT_EQ(child<QLineEdit>("txtUnprocessed")->text(), QStringLiteral("FA00001830500;MD3;"));
    EXPECT_EQ(session.rigFrequencyText(), rigFrequencyText(1.8305F));

    click("cmdEndTest");
    EXPECT_FALSE(link().polling());
    EXPECT_FALSE(link().port().isOpen());
    EXPECT_FALSE(child<QLabel>("lblPolling")->isVisible());
    EXPECT_TRUE(text("lblFreq").isEmpty());
}

TEST_F(RigWindows, IcomTestReadsThroughTheEchoOnTheBus) {
    Radio radio(Radio::Family::CiV);
    radio.setFrequencyHz(1830500);
    radio.setModeCode(3);
    useRadio(radio);
    choose("Icom");
    click("cmdTest");
    ASSERT_TRUE(waitFor([&] { return text("lblFreq") == QStringLiteral("1.83050") && text("lblMode") == "CW"; }));
    // The display shows the bytes as hex, since "Convert from Hex" follows "Convert to Hex".
    EXPECT_TRUE(child<QLineEdit>("txtUnprocessed")->text().startsWith(QStringLiteral("FE FE 64 E0 0")));
}

TEST_F(RigWindows, Icom735ReadsItsFourFrequencyBytes) {
    Radio radio(Radio::Family::CiV4);
    radio.setFrequencyHz(1830500);
    useRadio(radio);
    choose("Icom 735");
    click("cmdTest");
    ASSERT_TRUE(waitFor([&] { return text("lblFreq") == QStringLiteral("1.83050"); }));
}

TEST_F(RigWindows, YaesuIsSwitchedToCatAtOpenAndBackAtExit) {
    Radio radio(Radio::Family::Yaesu);
    radio.setFrequencyHz(1830500);
    radio.setModeCode(2);
    useRadio(radio);
    choose("Yaesu");
    click("cmdTest");
    ASSERT_TRUE(waitFor([&] { return text("lblFreq") == QStringLiteral("1.83050"); }));
    EXPECT_EQ(text("lblMode"), QStringLiteral("CW"));
    EXPECT_EQ(radio.commands().front().bytes, std::string(5, '\0'));
    feature->shutdown();
    ASSERT_TRUE(until(
        radio, [](const Radio& r) { return heard(r, std::string(4, '\0') + "\x80"); }, 2000));
}

TEST_F(RigWindows, OrionTestAndTuning) {
    Radio radio(Radio::Family::Orion);
    radio.setFrequencyHz(14025000);
    radio.setModeCode(2);
    useRadio(radio);
    choose("Ten Tec Orion");
    click("cmdTest");
    ASSERT_TRUE(waitFor([&] { return text("lblFreq") == QStringLiteral("14.02500"); }));
    EXPECT_EQ(text("lblMode"), QStringLiteral("CW"));
    EXPECT_TRUE(heard(radio, "X\r"));
    EXPECT_TRUE(link().changeFrequency(1.8305F));
    ASSERT_TRUE(until(
        radio, [](const Radio& r) { return heard(r, "*AF1830500\r"); }, 3000));
    EXPECT_EQ(radio.frequencyHz(), 1830500);
    ASSERT_TRUE(waitFor([&] { return text("lblFreq") == QStringLiteral("1.83050"); }));
}

TEST_F(RigWindows, PegasusExchangesFilesInTheFolderTheOperatorSets) {
    const std::string folder = dir.file("pegasus-exchange");
    std::filesystem::create_directories(folder);
    ASSERT_TRUE(replaceAtomically(folder + "/PEGASUS.OUT", "3.5505,\"CW\"\r\n").ok);
    makeFeature();
    window().show();
    window().selectModel(QStringLiteral("Ten Tec Pegasus"));
    click("optPoll0");
    child<QLineEdit>("txtPegasusFolder")->setText(QString::fromStdString(folder));
    click("cmdTest");
    EXPECT_EQ(feature->pegasusFolder(), folder);
    EXPECT_FALSE(link().port().isOpen()); // a file link: no port
    ASSERT_TRUE(waitFor([&] { return text("lblFreq") == QStringLiteral("3.55050"); }));
    EXPECT_EQ(text("lblMode"), QStringLiteral("CW"));
    EXPECT_TRUE(link().changeFrequency(1.8305F));
    ASSERT_TRUE(waitFor([&] { return readWholeFile(folder + "/PEGASUS.IN").has_value(); }));
    EXPECT_TRUE(readWholeFile(folder + "/PEGASUS.IN")->starts_with("1.8305\r\n"));
}

// ---------------------------------------------------------------- tuning

TEST_F(RigWindows, ABandButtonGoesOutAfterItsPauseAndTheNextPollShowsIt) {
    Radio radio(Radio::Family::Kenwood);
    useRadio(radio);
    choose("Kenwood");
    click("cmdTest");
    ASSERT_TRUE(waitFor([&] { return text("lblFreq") == QStringLiteral("1.83050"); }));

    TuneWindow panel(tuner, [this] { return link().settings().model; });
    const std::size_t before = radio.commands().size();
    const auto pressed = SteadyClock::now();
    panel.band(0); // "160": 1.9 MHz, and 160 m keeps the radio's mode
    EXPECT_TRUE(link().busy());
    EXPECT_EQ(panel.findChild<QLineEdit*>(QStringLiteral("txtFreq"))->text(), QStringLiteral("1.9"));
    ASSERT_TRUE(until(
        radio, [&](const Radio& r) { return arrival(r, "FA00001900000;", before).has_value(); }, 3000));
    EXPECT_GE(*arrival(radio, "FA00001900000;", before) - pressed, milliseconds(200));
    for (std::size_t i = before; i < radio.commands().size(); ++i) {
        EXPECT_FALSE(radio.commands()[i].bytes.starts_with("MD") && radio.commands()[i].bytes.size() == 4)
            << "no mode command on 160 m";
    }
    EXPECT_EQ(radio.frequencyHz(), 1900000);
    ASSERT_TRUE(waitFor([&] { return text("lblFreq") == QStringLiteral("1.90000"); }));
    EXPECT_TRUE(link().polling());
    EXPECT_EQ(session.rigFrequencyText(), rigFrequencyText(1.9F));
}

TEST_F(RigWindows, PhoneOnEightyMetresSendsLowerSidebandFirst) {
    Radio radio(Radio::Family::Kenwood);
    useRadio(radio);
    choose("Kenwood");
    click("cmdTest");
    ASSERT_TRUE(waitFor([&] { return link().state().frequencyMHz > 0; }));
    TuneWindow panel(tuner, [this] { return link().settings().model; });
    const std::size_t before = radio.commands().size();
    const auto pressed = SteadyClock::now();
    panel.band(1); // 3.75 MHz: the band plan's phone segment
    ASSERT_TRUE(until(
        radio, [&](const Radio& r) { return arrival(r, "FA00003750000;", before).has_value(); }, 3000));
    const auto mode = arrival(radio, "MD1;", before);
    ASSERT_TRUE(mode);
    EXPECT_GE(*mode - pressed, milliseconds(95));
    EXPECT_GE(*arrival(radio, "FA00003750000;", before) - *mode, milliseconds(200));
    EXPECT_EQ(radio.modeCode(), 1);
    ASSERT_TRUE(waitFor([&] { return text("lblFreq") == QStringLiteral("3.75000"); }));
    EXPECT_EQ(text("lblMode"), QStringLiteral("PH"));
}

TEST_F(RigWindows, IcomTuningSendsTheCivFrameAndAModeButtonItsCode) {
    Radio radio(Radio::Family::CiV);
    useRadio(radio);
    choose("Icom");
    click("cmdTest");
    ASSERT_TRUE(waitFor([&] { return link().state().frequencyMHz > 0; }));
    EXPECT_TRUE(link().changeFrequency(1.8305F));
    const std::string frame("\xFE\xFE\x64\xE0\x05\x00\x05\x83\x01\x00\xFD", 11);
    ASSERT_TRUE(until(
        radio, [&](const Radio& r) { return heard(r, frame); }, 3000));
    TuneWindow panel(tuner, [this] { return link().settings().model; });
    panel.mode("USB");
    ASSERT_TRUE(until(
        radio, [](const Radio& r) { return r.modeCode() == 1; }, 3000));
    ASSERT_TRUE(waitFor([&] { return link().polling(); }));
}

TEST_F(RigWindows, TuningCallsInARowEndOnTheLastFrequency) {
    Radio radio(Radio::Family::Kenwood);
    useRadio(radio);
    choose("Kenwood");
    click("cmdTest");
    ASSERT_TRUE(waitFor([&] { return link().state().frequencyMHz > 0; }));
    for (float f : {1.81F, 1.82F, 1.83F, 1.84F}) {
        link().changeFrequency(f);
    }
    ASSERT_TRUE(waitFor([&] { return !link().busy() && link().polling(); }));
    ASSERT_TRUE(waitFor([&] { return text("lblFreq") == QStringLiteral("1.84000"); }));
    EXPECT_EQ(radio.frequencyHz(), 1840000);
    int tuned = 0;
    for (const auto& command : radio.commands()) {
        tuned += command.bytes.starts_with("FA0") ? 1 : 0;
    }
    EXPECT_EQ(tuned, 2); // the first, and the last of the three that waited
}

TEST_F(RigWindows, TuningDoesNothingWhileNotPolling) {
    makeFeature();
    EXPECT_FALSE(tuner.changeFrequency(1.9F));
    EXPECT_FALSE(tuner.changeMode("CW"));
    EXPECT_FALSE(link().busy());
}

// ---------------------------------------------------------------- radios that misbehave

TEST_F(RigWindows, RepliesSplitAcrossReadsAreReadWhole) {
    Radio radio(Radio::Family::Kenwood);
    radio.setFrequencyHz(7025000);
    radio.setSplitGapMs(40);
    useRadio(radio);
    choose("Kenwood");
    std::vector<float> handed;
    QObject::connect(&link(), &RigLink::replyRead, [&] { handed.push_back(link().state().frequencyMHz); });
    click("cmdTest");
    ASSERT_TRUE(waitFor([&] { return handed.size() >= 6; }));
    for (float f : handed) {
        EXPECT_FLOAT_EQ(f, 7.025F); // never a frequency read from half a reply
    }
    // The mode answer may be cut right after its marker in every read phase; what the display
    // shows is then nothing or "CW", never another mode.
    EXPECT_TRUE(text("lblMode").isEmpty() || text("lblMode") == QStringLiteral("CW")) << text("lblMode").toStdString();
}

TEST_F(RigWindows, ASilentRadioLeavesNoResponseAndTuningStillFinishes) {
    Radio radio(Radio::Family::Kenwood);
    radio.setBehaviour(Radio::Behaviour::Silent);
    useRadio(radio);
    choose("Kenwood");
    int replies = 0;
    QObject::connect(&link(), &RigLink::replyRead, [&] { ++replies; });
    click("cmdTest");
    EXPECT_TRUE(link().polling());
    QTest::qWait(400);
    EXPECT_EQ(replies, 0);
    EXPECT_EQ(text("lblFreq"), QStringLiteral("No Response"));
    EXPECT_EQ(text("lblMode"), QStringLiteral("No Response"));
    EXPECT_TRUE(session.rigFrequencyText().empty());
    EXPECT_TRUE(link().changeFrequency(1.9F));
    ASSERT_TRUE(waitFor([&] { return !link().busy() && link().polling(); }));
    EXPECT_TRUE(until(radio, [](const Radio& r) { return heard(r, "FA00001900000;"); }));
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(RigWindows, ARadioThatFallsSilentLosesItsReadingAndGetsItBack) {
    Radio radio(Radio::Family::Kenwood);
    radio.setFrequencyHz(3750000);
    useRadio(radio);
    choose("Kenwood");
    click("cmdTest");
    ASSERT_TRUE(waitFor([&] { return text("lblFreq") == QStringLiteral("3.75000"); }));
    EXPECT_EQ(session.rigFrequencyText(), rigFrequencyText(3.75F));

    radio.setBehaviour(Radio::Behaviour::Silent);
    ASSERT_TRUE(waitFor([&] { return session.rigFrequencyText().empty(); }));
    EXPECT_TRUE(link().polling()); // it keeps asking
    EXPECT_EQ(text("lblFreq"), QStringLiteral("No Response"));
    EXPECT_EQ(text("lblMode"), QStringLiteral("No Response"));
    feature->contactLogged(QsoRecord{}); // nothing stale is handed over again either
    QCoreApplication::processEvents();
    EXPECT_TRUE(session.rigFrequencyText().empty());

    radio.setFrequencyHz(1830500);
    radio.setBehaviour(Radio::Behaviour::Radio);
    ASSERT_TRUE(waitFor([&] { return session.rigFrequencyText() == rigFrequencyText(1.8305F); }));
    EXPECT_EQ(text("lblFreq"), QStringLiteral("1.83050"));
}

TEST_F(RigWindows, EveryOpenSetsTheHandshakingOfItsModel) {
    Radio radio(Radio::Family::Orion);
    useRadio(radio);
    choose("Ten Tec Orion");
    click("cmdTest");
    ASSERT_TRUE(link().polling());
    EXPECT_TRUE(radio.rtsCtsHandshake());
    // The Kenwood's cable may carry no CTS: its questions must not wait for one.
    window().selectModel(QStringLiteral("Kenwood"));
    click("cmdTest");
    ASSERT_TRUE(link().polling());
    EXPECT_FALSE(radio.rtsCtsHandshake());
    EXPECT_TRUE(until(radio, [](const Radio& r) { return r.received().find("FA;MD;") != std::string::npos; }));
}

TEST_F(RigWindows, AFloodingRadioCostsBoundedMemoryAndTuningStillWorks) {
    Radio radio(Radio::Family::Kenwood);
    useRadio(radio);
    choose("Kenwood");
    click("cmdTest");
    ASSERT_TRUE(waitFor([&] { return link().state().frequencyMHz > 0; }));
    std::size_t largest = 0;
    QObject::connect(&link(), &RigLink::replyRead, [&] { largest = std::max(largest, link().lastReply().size()); });
    QTest::qWait(600);
    EXPECT_GT(largest, 0u);
    EXPECT_LE(largest, RigLink::kReplyCapBytes);
    EXPECT_TRUE(link().changeFrequency(1.9F));
    ASSERT_TRUE(waitFor([&] { return !link().busy() && link().polling(); }));
    EXPECT_TRUE(until(radio, [](const Radio& r) { return r.frequencyHz() == 1900000; }));
}

TEST_F(RigWindows, AnUnpluggedRadioStopsPollingWithAStatusAndTheProgramGoesOn) {
    Radio radio(Radio::Family::Kenwood);
    radio.setFrequencyHz(28475000);
    useRadio(radio);
    choose("Kenwood");
    click("cmdTest");
    ASSERT_TRUE(waitFor([&] { return !session.rigFrequencyText().empty(); }));
    radio.vanish();
    ASSERT_TRUE(waitFor([&] { return !link().polling(); }));
    // The last reading goes with the port: the next contact is logged without a frequency.
    EXPECT_TRUE(session.rigFrequencyText().empty());
    EXPECT_FALSE(link().haveReading());
    EXPECT_TRUE(text("lblFreq").isEmpty());
    EXPECT_TRUE(text("lblMode").isEmpty());
    feature->contactLogged(QsoRecord{});
    QCoreApplication::processEvents();
    EXPECT_TRUE(session.rigFrequencyText().empty());
    EXPECT_FALSE(link().port().isOpen());
    EXPECT_EQ(broker.deviceOf(PortOwner::Rig), ""); // the device is free for the next Test
    EXPECT_TRUE(status().startsWith(QStringLiteral("The rig port closed"))) << status().toStdString();
    EXPECT_FALSE(child<QLabel>("lblPolling")->isVisible());
    EXPECT_FALSE(tuner.changeFrequency(1.9F)); // nothing waits on a port that is gone
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(RigWindows, APortThatCannotOpenIsReportedAndNothingPolls) {
    settings->set(serialDeviceKey(kRigPort), dir.file("no-such-device"));
    choose("Kenwood");
    window().hide();
    click("cmdTest");
    EXPECT_FALSE(link().polling());
    QCoreApplication::processEvents(); // the box comes once the link is back in the event loop
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("Invalid Comm Settings."));
    EXPECT_TRUE(dialogs.shown[0].text.startsWith(QStringLiteral("The comm port that you selected for rig interface")));
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_TRUE(window().isVisible()); // shown when it was hidden
    EXPECT_FALSE(child<QPushButton>("cmdEndTest")->isEnabled());
    EXPECT_FALSE(child<QLabel>("lblPolling")->isVisible());
    EXPECT_FALSE(status().isEmpty());
}

TEST_F(RigWindows, ThePortShowsItsDeviceAndAnAbsentOneIsNamedWhenTestFails) {
    std::ofstream(dir.file("ttyRig")).put('x');
    settings->set(serialDeviceKey(3), dir.file("ttyRig"));
    settings->set(serialDeviceKey(kRigPort), dir.file("no-such-device"));
    makeFeature();
    auto* device = child<PortDeviceField>("txtRigDevice");
    ASSERT_NE(device, nullptr);
    auto* frame = child<QGroupBox>("fraPort");
    ASSERT_EQ(device->parentWidget(), frame); // beside the port options, inside their frame
    for (QRadioButton* option : frame->findChildren<QRadioButton*>()) {
        EXPECT_FALSE(option->geometry().intersects(device->geometry())) << option->objectName().toStdString();
    }
    EXPECT_TRUE(frame->rect().contains(device->geometry()));
    EXPECT_TRUE(device->isReadOnly());

    choose("Kenwood", 3);
    EXPECT_EQ(device->port(), 3);
    EXPECT_EQ(device->text().toStdString(), dir.file("ttyRig"));
    EXPECT_TRUE(device->devicePresent());

    // The field always shows the device of the port chosen, also when a screen reader's
    // toggle action chose it (no click then), and the link takes that port.
    settings->set(serialDeviceKey(1), dir.file("ttyOne"));
    QAccessibleInterface* comOne = QAccessible::queryAccessibleInterface(child<QRadioButton>("optPort0"));
    ASSERT_NE(comOne, nullptr);
    ASSERT_TRUE(comOne->actionInterface()->actionNames().contains(QAccessibleActionInterface::toggleAction()));
    comOne->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(child<QRadioButton>("optPort0")->isChecked());
    EXPECT_EQ(device->port(), 1);
    EXPECT_EQ(device->text().toStdString(), dir.file("ttyOne"));
    EXPECT_EQ(link().settings().port, 1);
    click(QStringLiteral("optPort%1").arg(kRigPort).toLatin1().constData());
    EXPECT_EQ(device->text().toStdString(), dir.file("ttyRig"));
    click(QStringLiteral("optPort%1").arg(kRigPort - 1).toLatin1().constData());
    EXPECT_EQ(device->text().toStdString(), dir.file("no-such-device"));
    EXPECT_FALSE(device->devicePresent());
    click("cmdTest");
    EXPECT_FALSE(link().polling());
    EXPECT_EQ(status().toStdString(), absentDeviceMessage(kRigPort, dir.file("no-such-device")));
}

// The box about a failed Test stays up a while (a real nested loop) as the radio keeps
// talking: polling has stopped and the port is free before it opens, and no tick runs under it.
TEST_F(RigWindows, AFailedTestStopsPollingBeforeItsBoxAndNothingPollsUnderIt) {
    Radio radio(Radio::Family::Kenwood);
    useRadio(radio);
    choose("Kenwood");
    click("cmdTest");
    ASSERT_TRUE(waitFor([&] { return link().haveReading(); }));

    int ticksUnderBox = 0;
    bool pollingAtBox = true;
    std::string deviceAtBox = "unset";
    test::HeldBoxes held(dialogs, 300, [&](const test::ShownBox&) {
        pollingAtBox = link().polling();
        deviceAtBox = broker.deviceOf(PortOwner::Rig);
    });
    QObject::connect(&link().pollTimer(), &QTimer::timeout, [&] { ticksUnderBox += held.depth; });
    settings->set(serialDeviceKey(kRigPort), dir.file("no-such-device"));
    click("cmdTest");
    ASSERT_TRUE(waitFor([&] { return held.opened == 1 && held.depth == 0; }));
    QTest::qWait(50);
    EXPECT_EQ(held.opened, 1);
    EXPECT_EQ(held.deepest, 1);
    EXPECT_FALSE(pollingAtBox);
    EXPECT_EQ(deviceAtBox, "");
    EXPECT_EQ(ticksUnderBox, 0);
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_FALSE(link().polling());
    EXPECT_FALSE(child<QLabel>("lblPolling")->isVisible());
}

TEST_F(RigWindows, ADeviceHeldByTheKeyingLineIsRefused) {
    Radio radio(Radio::Family::Kenwood);
    useRadio(radio);
    ASSERT_TRUE(broker.acquire(PortOwner::CwKeying, radio.devicePath()));
    choose("Kenwood");
    click("cmdTest");
    EXPECT_FALSE(link().polling());
    QCoreApplication::processEvents();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("Invalid Comm Settings."));
    EXPECT_TRUE(status().contains(QStringLiteral("CW"), Qt::CaseInsensitive)) << status().toStdString();
}

// ---------------------------------------------------------------- the tester and the tune panel

TEST_F(RigWindows, ChangeFrequencyNeedsPolling) {
    makeFeature();
    window().show();
    click("cmdChangeFreq");
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("You must be polling your rig to test this function."));
}

TEST_F(RigWindows, TheTesterSendsHexBytesAndFrequencies) {
    Radio radio(Radio::Family::CiV);
    useRadio(radio);
    choose("Icom");
    click("cmdTest");
    ASSERT_TRUE(waitFor([&] { return link().state().frequencyMHz > 0; }));
    FrequencyTestWindow tester(link());
    EXPECT_EQ(tester.windowTitle(), QStringLiteral("Test Change Frequency Function"));
    tester.findChild<QLineEdit*>(QStringLiteral("txtCommand"))->setText(QStringLiteral("FE FE 64 E0 06 03 FD"));
    tester.findChild<QCheckBox*>(QStringLiteral("chkHex"))->setChecked(true);
    radio.setModeCode(1);
    tester.sendCommand();
    ASSERT_TRUE(until(
        radio, [](const Radio& r) { return r.modeCode() == 3; }, 2000));
    EXPECT_EQ(tester.findChild<QLineEdit*>(QStringLiteral("txtFrequency"))->text(), QStringLiteral("28.475"));
    tester.sendFrequency();
    ASSERT_TRUE(until(
        radio, [](const Radio& r) { return r.frequencyHz() == 28475000; }, 3000));
}

// ---------------------------------------------------------------- Hamlib's rigctld

// A free port of this test's range (47200-47299).
quint16 freePort() {
    for (quint16 port = 47200; port < 47300; ++port) {
        QTcpServer probe;
        if (probe.listen(QHostAddress::LocalHost, port)) {
            return port;
        }
    }
    return 0;
}

// What Qt writes to stderr while it is alive.
class QtMessages {
public:
    QtMessages() : m_previous(qInstallMessageHandler(&QtMessages::take)) { s_lines = &m_lines; }
    ~QtMessages() {
        qInstallMessageHandler(m_previous);
        s_lines = nullptr;
    }
    QStringList matching(const QString& part) const { return m_lines.filter(part); }

private:
    static void take(QtMsgType, const QMessageLogContext&, const QString& text) {
        if (s_lines != nullptr) {
            s_lines->append(text);
        }
    }
    static inline QStringList* s_lines = nullptr;
    QtMessageHandler m_previous;
    QStringList m_lines;
};

// A TCP port of this machine held for the test and never listened on: connecting is refused,
// and no other test can start a daemon there meanwhile.
class RefusingPort {
public:
    RefusingPort() {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        m_fd = ::socket(AF_INET, SOCK_STREAM, 0);
        if (m_fd >= 0 && ::bind(m_fd, reinterpret_cast<sockaddr*>(&address), size) == 0 &&
            ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&address), &size) == 0) {
            m_port = ntohs(address.sin_port);
        }
    }
    ~RefusingPort() { ::close(m_fd); }
    quint16 port() const { return m_port; }

private:
    int m_fd = -1;
    quint16 m_port = 0;
};

TEST_F(RigWindows, WhileNoRigctldListensPollingLeavesTheSocketAlone) {
    const RefusingPort refusing;
    const quint16 port = refusing.port();
    ASSERT_NE(port, 0);
    QtMessages messages;
    choose("Hamlib (rigctld)"); // polls every 50 ms
    child<QLineEdit>("txtRigctldHost")->setText(QStringLiteral("127.0.0.1"));
    child<QLineEdit>("txtRigctldPort")->setText(QString::number(port));
    click("cmdTest");
    EXPECT_TRUE(link().polling());
    QTest::qWait(600);
    click("cmdDone");
    QTest::qWait(300);
    EXPECT_TRUE(messages.matching(QStringLiteral("not open")).isEmpty())
        << messages.matching(QStringLiteral("not open")).join('\n').toStdString();
    EXPECT_TRUE(status().startsWith(QStringLiteral("Cannot reach rigctld at 127.0.0.1:%1").arg(port)) ||
                status().startsWith(QStringLiteral("Connecting to rigctld at 127.0.0.1:%1").arg(port)))
        << status().toStdString();
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(RigWindows, ARigctldPortOutsideOneTo65535IsRefusedAndThePortInUseShown) {
    choose("Hamlib (rigctld)");
    auto* port = child<QLineEdit>("txtRigctldPort");
    ASSERT_EQ(port->text(), QStringLiteral("4532"));
    for (const char* typed : {"99999", "0", "65536", ""}) {
        dialogs.shown.clear();
        port->setText(QString::fromLatin1(typed));
        click("cmdTest");
        EXPECT_FALSE(link().polling()) << typed;
        ASSERT_EQ(dialogs.shown.size(), 1u) << typed;
        EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("Invalid rigctld Port"));
        EXPECT_TRUE(dialogs.shown[0].text.contains(QStringLiteral("\"%1\"").arg(QString::fromLatin1(typed))))
            << dialogs.shown[0].text.toStdString();
        EXPECT_TRUE(dialogs.shown[0].text.contains(QStringLiteral("4532")));
        EXPECT_EQ(port->text(), QStringLiteral("4532")) << typed; // what is used, not what was refused
    }
    // Done refuses it too: nothing is saved and the window stays to correct it.
    port->setText(QStringLiteral("99999"));
    click("cmdDone");
    EXPECT_TRUE(window().isVisible());
    EXPECT_FALSE(readWholeFile(dir.file("RigCntrl.txt")));
    port->setText(QStringLiteral(" 4533"));
    click("cmdDone");
    EXPECT_FALSE(window().isVisible());
    const auto saved = readWholeFile(dir.file("RigCntrl.txt"));
    ASSERT_TRUE(saved);
    EXPECT_EQ(parseRigSettings(*saved).settings.rigctldPort, 4533);
    EXPECT_EQ(port->text(), QStringLiteral("4533"));
}

TEST_F(RigWindows, TheNetworkModelPollsAndTunesHamlibsDummyRadioThroughRigctld) {
    if (QStandardPaths::findExecutable(QStringLiteral("rigctld")).isEmpty()) {
        GTEST_SKIP() << "rigctld is not installed (Debian package libhamlib-utils)";
    }
    const quint16 port = freePort();
    ASSERT_NE(port, 0);
    QtMessages messages;
    QProcess daemon;
    daemon.start(QStringLiteral("rigctld"), {"-m", "1", "-T", "127.0.0.1", "-t", QString::number(port)});
    ASSERT_TRUE(daemon.waitForStarted(5000));
    ASSERT_TRUE(waitFor([&] {
        QTcpSocket socket;
        socket.connectToHost(QStringLiteral("127.0.0.1"), port);
        return socket.waitForConnected(200);
    }));
    choose("Hamlib (rigctld)");
    child<QLineEdit>("txtRigctldHost")->setText(QStringLiteral("127.0.0.1"));
    child<QLineEdit>("txtRigctldPort")->setText(QString::number(port));
    click("cmdTest");
    EXPECT_TRUE(link().polling());
    ASSERT_TRUE(waitFor([&] { return link().state().frequencyMHz > 0; }));
    EXPECT_EQ(link().settings().rigctldPort, port);
    EXPECT_TRUE(link().changeFrequency(1.8305F));
    ASSERT_TRUE(waitFor([&] { return text("lblFreq") == QStringLiteral("1.83050"); }));
    EXPECT_EQ(session.rigFrequencyText(), rigFrequencyText(1.8305F));

    // The daemon dies while the window is closed: the reading goes with it, and the window
    // opened again shows no frequency of the past.
    window().hide();
    daemon.kill();
    daemon.waitForFinished(5000);
    ASSERT_TRUE(waitFor([&] { return session.rigFrequencyText().empty(); }));
    EXPECT_FALSE(link().haveReading());
    EXPECT_TRUE(link().polling()); // waiting for the daemon to come back
    window().show();
    EXPECT_EQ(text("lblFreq"), QStringLiteral("No Response"));
    EXPECT_EQ(text("lblMode"), QStringLiteral("No Response"));
    EXPECT_TRUE(status().contains(QStringLiteral("rigctld at 127.0.0.1:%1").arg(port))) << status().toStdString();
    QTest::qWait(300); // polling goes on meanwhile
    click("cmdEndTest");
    EXPECT_TRUE(messages.matching(QStringLiteral("not open")).isEmpty())
        << messages.matching(QStringLiteral("not open")).join('\n').toStdString();
}

struct RecordingTuner final : Tuner {
    std::vector<float> frequencies;
    std::vector<std::string> modes;
    bool changeFrequency(float f) override {
        frequencies.push_back(f);
        return true;
    }
    bool changeMode(const std::string& mode) override {
        modes.push_back(mode);
        return true;
    }
};

TEST(TunePanel, KeysStepsScanAndNone) {
    RecordingTuner tuner;
    std::string model = "Kenwood";
    TuneWindow panel(tuner, [&] { return model; });
    panel.show();
    auto* box = panel.findChild<QLineEdit*>(QStringLiteral("txtFreq"));
    auto* stepUp = panel.findChild<QPushButton*>(QStringLiteral("cmdStep0"));
    ASSERT_NE(box, nullptr);
    ASSERT_NE(stepUp, nullptr);
    EXPECT_FALSE(stepUp->isEnabled());
    box->setFocus();
    QTest::keyClicks(box, QStringLiteral("1a.8x"));
    EXPECT_EQ(box->text(), QStringLiteral("1.8"));
    EXPECT_TRUE(stepUp->isEnabled());
    QTest::keyClick(box, Qt::Key_Return);
    ASSERT_EQ(tuner.frequencies.size(), 1u);
    EXPECT_FLOAT_EQ(tuner.frequencies[0], 1.8F);
    QTest::keyClicks(box, QStringLiteral("/"));
    EXPECT_EQ(box->text(), QStringLiteral("1.8/"));
    EXPECT_FALSE(stepUp->isEnabled());

    box->setText(QStringLiteral("1.8"));
    panel.findChild<QCheckBox*>(QStringLiteral("chkScan"))->setChecked(true);
    panel.scanTick();
    EXPECT_EQ(box->text(), QStringLiteral("1.80001"));
    panel.findChild<QLineEdit*>(QStringLiteral("txtTo"))->setText(QStringLiteral("1.80001"));
    panel.scanTick();
    EXPECT_EQ(box->text(), QStringLiteral("1.8"));
    // A key in the panel stops the scan.
    QTest::keyClick(box, Qt::Key_Left);
    EXPECT_FALSE(panel.findChild<QCheckBox*>(QStringLiteral("chkScan"))->isChecked());

    panel.mode("RTTY");
    EXPECT_EQ(tuner.modes, std::vector<std::string>{"RTTY"});

    model = "None";
    const std::size_t sent = tuner.frequencies.size();
    panel.band(5);
    EXPECT_EQ(box->text(), QStringLiteral("14.175"));
    EXPECT_EQ(tuner.frequencies.size(), sent); // Go does nothing without a radio
}

} // namespace
} // namespace corvane::rig
