// The main window shell: features plugged in through one factory, the Ctrl key table, the
// port broker, and every way out of the program leaving the transmitter unkeyed.

#include "cw/ui/CwController.h"
#include "cw/ui/CwFeature.h"
#include "cw/ui/CwSetupWindow.h"
#include "cw/ui/CwStringsWindow.h"
#include "log/ui/EntryLine.h"
#include "platform/PortBroker.h"
#include "rig/ui/RigFeature.h"
#include "rig/ui/RigWindow.h"
#include "support/FakeSerialPort.h"
#include "voice/ui/VoiceFeature.h"
#include "support/MainWindowFixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QElapsedTimer>
#include <QMenu>
#include <QMenuBar>
#include <gtest/gtest.h>

using namespace corvane;
using namespace corvane::test;

namespace {

// Records what the shell asks of a feature, and claims Ctrl+Y, a key no subsystem uses.
struct RecordingFeature final : Feature {
    std::vector<std::string>* events;
    explicit RecordingFeature(std::vector<std::string>& log) : events(&log) {}
    std::vector<CtrlShortcut> ctrlShortcuts() override {
        return {{Qt::Key_Y, [this] { events->push_back("ctrl+Y"); }}};
    }
    bool keyPress(QKeyEvent* key) override {
        if (key->key() == Qt::Key_F5) {
            events->push_back("F5");
            return true;
        }
        return false;
    }
    bool load() override {
        events->push_back("load");
        return true;
    }
    void entryFieldEntered(EntryField field) override {
        events->push_back(field == EntryField::Call ? "enter call" : "enter grid");
    }
    void duplicateRefused() override { events->push_back("dupe"); }
    void contactLogged(const QsoRecord& record) override { events->push_back("logged " + record.call); }
    void shutdown() override { events->push_back("shutdown"); }
};

// Takes F6 with the key priority it declares, and says so.
struct KeyClaimer final : Feature {
    KeyClaimer(std::string name, KeyPriority priority, std::vector<std::string>& log)
        : name(std::move(name)), priority(priority), events(&log) {}
    KeyPriority keyPriority() const override { return priority; }
    bool keyPress(QKeyEvent* key) override {
        if (key->key() != Qt::Key_F6) {
            return false;
        }
        events->push_back(name);
        return true;
    }
    std::string name;
    KeyPriority priority;
    std::vector<std::string>* events;
};

// The object names of a menu's items as the operator sees them ("-" a line between groups).
std::vector<std::string> shownItems(const QList<QAction*>& actions) {
    std::vector<std::string> names;
    for (const QAction* action : actions) {
        if (action->isVisible()) {
            const QString name = action->menu() ? action->menu()->objectName() : action->objectName();
            names.push_back(action->isSeparator() ? "-" : name.toStdString());
        }
    }
    return names;
}

// A main window whose CW keyer keys a recording serial port in real time, slowly enough that
// a test can catch a character on the air.
class KeyingShell : public ::testing::Test {
protected:
    void SetUp() override {
        f.features = [this](FeatureContext& context) {
            std::vector<std::unique_ptr<Feature>> features;
            features.push_back(std::make_unique<cw::CwFeature>(context, cw::CwDevices{&port, nullptr, nullptr}));
            features.push_back(std::make_unique<RecordingFeature>(events));
            return features;
        };
        ASSERT_TRUE(f.start());
        cw = &f.window->feature<cw::CwFeature>()->controller();
        cw::CwSettings settings = cw->sender().settings();
        settings.serialPort = "1";
        settings.speedWpm = "5"; // a dash is 720 ms
        settings.messages[0] = "TTTTTTTT";
        cw->sender().setSettings(settings);
        cw->selectKeyingOption(cw::KeyingOption::Rts);
    }

    // Starts F1 and waits until the key line is down.
    bool keyingStarted() {
        QTest::keyClick(f.call(), Qt::Key_F1);
        QElapsedTimer waited;
        waited.start();
        while (!port.rts() && waited.elapsed() < 3000) {
            QTest::qWait(5);
        }
        return port.rts();
    }

    // The line is up, the port closed, and nothing keys any more.
    void expectUnkeyed() {
        EXPECT_FALSE(port.rts());
        EXPECT_FALSE(port.dtr());
        EXPECT_FALSE(port.isOpen());
        const std::size_t changes = port.lineChanges().size();
        QTest::qWait(300);
        EXPECT_EQ(port.lineChanges().size(), changes) << "the keyer went on after the way out";
    }

    // What the window's features use is declared first, so that it outlives the window's shutdown.
    FakeSerialPort port;
    std::vector<std::string> events;
    MainWindowFixture f;
    cw::CwController* cw = nullptr;
};

TEST_F(KeyingShell, FileExitWhileACharacterIsOnTheAirUnkeysBeforeTheProgramEnds) {
    ASSERT_TRUE(keyingStarted());
    f.window->findChild<QAction*>(QStringLiteral("mnuExit"))->trigger();
    expectUnkeyed();
    EXPECT_EQ(f.exitCodes, std::vector<int>{0});
    EXPECT_EQ(events.back(), "shutdown");
}

TEST_F(KeyingShell, AnExitSignalWhileKeyingUnkeysAndEndsWithStatusZero) {
    ASSERT_TRUE(keyingStarted());
    QElapsedTimer took;
    took.start();
    f.window->endProgram(0);
    EXPECT_LT(took.elapsed(), 1000); // the keyer lets go within the unit, not after the message
    expectUnkeyed();
    EXPECT_EQ(f.exitCodes, std::vector<int>{0});
}

TEST_F(KeyingShell, CloseIsRefusedWhileKeyingAndUnkeysWhenItGoesThrough) {
    ASSERT_TRUE(keyingStarted());
    EXPECT_FALSE(f.window->close()); // a character on the air
    EXPECT_TRUE(f.window->isVisible());
    EXPECT_TRUE(f.exitCodes.empty());
    // The refusal emptied the send buffer: the window closes once the character is done.
    QElapsedTimer waited;
    waited.start();
    while (!f.window->close() && waited.elapsed() < 3000) {
        QTest::qWait(20);
    }
    EXPECT_FALSE(f.window->isVisible());
    expectUnkeyed();
    EXPECT_EQ(events.back(), "shutdown");
    // The close ends the program itself, whatever other windows are still open.
    EXPECT_EQ(f.exitCodes, std::vector<int>{0});
}

TEST_F(KeyingShell, ADestroyedWindowLeavesNothingKeyed) {
    ASSERT_TRUE(keyingStarted());
    f.window.reset(); // what a failed start-up comes to
    expectUnkeyed();
}

TEST_F(KeyingShell, ADisplacedKeyingPortIsReleasedThroughTheKeyerAndKeysAgainAfterwards) {
    ASSERT_TRUE(keyingStarted());
    // The push-to-talk owner takes the same device: the keyer stops and keys up before the
    // port is closed under it.
    ASSERT_TRUE(cw->portBroker().acquire(PortOwner::PushToTalk, port.devicePath()));
    EXPECT_FALSE(port.rts());
    EXPECT_FALSE(port.isOpen());
    const auto changes = port.lineChanges();
    ASSERT_FALSE(changes.empty());
    EXPECT_FALSE(changes.back().on);
    EXPECT_TRUE(changes.back().whileOpen) << "the line must drop before the port closes";
    // The keyer is ready again: the next sending reopens the port and keys.
    cw->portBroker().released(PortOwner::PushToTalk);
    ASSERT_TRUE(keyingStarted());
}

TEST(MainShell, CtrlKeysGoThroughOneTableAndNeverEditTheFields) {
    std::vector<std::string> events; // outlives the window, whose shutdown the features hear
    MainWindowFixture f;
    f.features = [&events](FeatureContext& context) {
        std::vector<std::unique_ptr<Feature>> features = makeFeatures(context);
        features.push_back(std::make_unique<RecordingFeature>(events));
        return features;
    };
    ASSERT_TRUE(f.start());
    std::vector<QString> modals;
    f.app.runModal = [&modals](QDialog& window) { modals.push_back(window.objectName()); };
    QTest::keyClicks(f.call(), QStringLiteral("k1ab"));
    for (const Qt::Key key : {Qt::Key_A, Qt::Key_B, Qt::Key_D, Qt::Key_F, Qt::Key_G, Qt::Key_P, Qt::Key_V, Qt::Key_X,
                              Qt::Key_Z, Qt::Key_H, Qt::Key_Backspace, Qt::Key_R, Qt::Key_Y}) {
        QTest::keyClick(f.call(), key, Qt::ControlModifier);
    }
    EXPECT_EQ(f.call()->text(), QStringLiteral("K1AB"));
    EXPECT_EQ(events.back(), "ctrl+Y");
    // The rig's keys: the privileges window and the tune panel modal, the rig window modeless.
    EXPECT_EQ(modals, (std::vector<QString>{QStringLiteral("frmBandPlan"), QStringLiteral("frmRigTune")}));
    QWidget* rig = f.window->findChild<QWidget*>(QStringLiteral("RigControlfrm"));
    ASSERT_NE(rig, nullptr);
    EXPECT_TRUE(rig->isVisible());
    rig->hide();
    // Ctrl+S opens the CW setup window, from the main window and from the CW Strings window.
    auto& cw = f.window->feature<cw::CwFeature>()->controller();
    QTest::keyClick(f.call(), Qt::Key_W, Qt::ControlModifier);
    ASSERT_TRUE(cw.stringsWindow()->isVisible());
    QTest::keyClick(cw.stringsWindow(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(cw.setupWindow()->isVisible());
    cw.setupWindow()->hide();
    QTest::keyClick(cw.stringsWindow(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(events.back(), "ctrl+Y");
    // Other keys reach the features in order, before the fields.
    QTest::keyClick(f.call(), Qt::Key_F5);
    EXPECT_EQ(events.back(), "F5");
}

TEST(MainShell, TheDeclaredKeyPriorityDecidesWhoSeesAKeyFirstWhateverTheListOrder) {
    struct Case {
        std::vector<std::pair<std::string, KeyPriority>> listed;
        std::string takes;
    } cases[] = {
        {{{"others", KeyPriority::Others}, {"cw", KeyPriority::CwKeys}}, "cw"},
        {{{"cw", KeyPriority::CwKeys}, {"others", KeyPriority::Others}}, "cw"},
        {{{"cw", KeyPriority::CwKeys}, {"voice", KeyPriority::EndsVoiceLoop}}, "voice"},
        // The same priority: the list's order.
        {{{"second", KeyPriority::Others}, {"third", KeyPriority::Others}}, "second"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> events;
        MainWindowFixture f;
        f.features = [&c, &events](FeatureContext&) {
            std::vector<std::unique_ptr<Feature>> features;
            for (const auto& [name, priority] : c.listed) {
                features.push_back(std::make_unique<KeyClaimer>(name, priority, events));
            }
            return features;
        };
        ASSERT_TRUE(f.start());
        QTest::keyClick(f.call(), Qt::Key_F6);
        EXPECT_EQ(events, std::vector<std::string>{c.takes}) << c.listed.front().first;
    }
    // The program's own: any key ends the voice keyer's calling loop before the CW keys act on it.
    MainWindowFixture f;
    ASSERT_TRUE(f.start());
    EXPECT_LT(f.window->feature<VoiceFeature>()->keyPriority(), f.window->feature<cw::CwFeature>()->keyPriority());
}

TEST(MainShell, EveryFeaturesMenuItemLandsInItsPlace) {
    MainWindowFixture f;
    ASSERT_TRUE(f.start());
    using Names = std::vector<std::string>;
    EXPECT_EQ(shownItems(f.window->menuBar()->actions()),
              (Names{"mnuFile", "mnuOptions", "mnuSetupMenu", "mnuGraph", "mnuHelp"}));
    EXPECT_EQ(shownItems(f.child<QMenu>("mnuFile")->actions()),
              (Names{"mnuNew", "mnuArchive", "mnuRestore", "mnuLoadCallHistory", "-", "mnuCabrillo", "mnuAdif",
                     "mnuCopyList", "mnuReport", "-", "mnuExit"}));
    EXPECT_EQ(shownItems(f.child<QMenu>("mnuOptions")->actions()),
              (Names{"mnuPostContest", "mnuAppearance", "mnuTransmit", "mnuVoiceNav", "mnuRigInterface"}));
    EXPECT_EQ(shownItems(f.child<QMenu>("mnuAppearance")->actions()),
              (Names{"mnuFormSize", "mnuTaskbar", "mnuColors"}));
    EXPECT_EQ(shownItems(f.child<QMenu>("mnuTransmit")->actions()), (Names{"mnuCWSetup"}));
    EXPECT_EQ(shownItems(f.child<QMenu>("mnuSetupMenu")->actions()), (Names{"mnuSetup", "mnuSerialPorts"}));
}

// Voice navigation and rig control keep their items in cvnpref.txt. A window that writes the
// file writes them back as their features hold them, and as the file held them where the
// window has no such feature: nothing is lost by a save.
TEST(MainShell, TheItemsFeaturesKeepInThePreferencesFileSurviveEverySave) {
    const auto withItems = [](MainWindowFixture& f, const FeaturePreferences& items) {
        PreferencesReadResult read = parsePreferences(f.readFile("cvnpref.txt"));
        ASSERT_TRUE(read.ok);
        f.writeFile("cvnpref.txt", formatPreferences(read.prefs, items));
    };
    {
        MainWindowFixture f;
        withItems(f, FeaturePreferences{1, "Yaesu"});
        f.features = [](FeatureContext&) { return std::vector<std::unique_ptr<Feature>>{}; };
        ASSERT_TRUE(f.start());
        f.child<QAction>("mnuTaskbar")->trigger(); // saves the file
        const PreferencesReadResult saved = parsePreferences(f.readFile("cvnpref.txt"));
        ASSERT_TRUE(saved.ok);
        EXPECT_EQ(saved.prefs.taskbar, 1);
        EXPECT_EQ(saved.features.voiceNavLevel, 1);
        EXPECT_EQ(saved.features.selectedRig, "Yaesu");
    }
    MainWindowFixture f;
    withItems(f, FeaturePreferences{2, "None"});
    ASSERT_TRUE(f.start());
    EXPECT_EQ(f.window->feature<VoiceFeature>()->navigationLevel(), 2);
    f.window->feature<rig::RigFeature>()->window().selectModel(QStringLiteral("Icom"));
    f.child<QAction>("mnuTaskbar")->trigger();
    const PreferencesReadResult saved = parsePreferences(f.readFile("cvnpref.txt"));
    ASSERT_TRUE(saved.ok);
    EXPECT_EQ(saved.features.voiceNavLevel, 2);
    EXPECT_EQ(saved.features.selectedRig, "Icom");
}

TEST(MainShell, FeaturesHearTheEntryLineAndLoadAfterTheLog) {
    std::vector<std::string> events; // outlives the window, whose shutdown the features hear
    MainWindowFixture f;
    f.writeFile("log.txt", formatLogLine({"N1AAA", "100", "FN31", "", "FN20", "12/29/2012", "18:00", "1", "CW", ""}));
    f.features = [&events](FeatureContext&) {
        std::vector<std::unique_ptr<Feature>> features;
        features.push_back(std::make_unique<RecordingFeature>(events));
        return features;
    };
    ASSERT_TRUE(f.start());
    ASSERT_EQ(std::count(events.begin(), events.end(), "load"), 1);
    EXPECT_EQ(f.window->log().qsoCount(), 1) << "features load after the log";
    events.clear();
    QTest::keyClicks(f.call(), QStringLiteral("k9xx "));
    QTest::keyClicks(f.grid(), QStringLiteral("fn42"));
    QTest::keyClick(f.grid(), Qt::Key_Return);
    EXPECT_EQ(events, (std::vector<std::string>{"enter grid", "enter call", "logged K9XX"}));
    // A refused duplicate is heard, and the grid field is never entered.
    events.clear();
    QTest::keyClicks(f.call(), QStringLiteral("n1aaa "));
    EXPECT_EQ(events, (std::vector<std::string>{"dupe", "enter call"}));
}

} // namespace

// Every Done that writes a settings file: when the file cannot be written (a folder stands in
// its place), the operator is told which file and why, and the window stays open with what
// was typed into it.
TEST(MainShell, ADoneThatCannotWriteItsFileSaysSoAndKeepsTheWindow) {
    const auto ctrl = [](Qt::Key key) {
        return [key](MainWindowFixture& f) { QTest::keyClick(f.call(), key, Qt::ControlModifier); };
    };
    const auto click = [](const char* window, const char* button) {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->objectName() == QLatin1String(window) && top->isVisible()) {
                top->findChild<QAbstractButton*>(QString::fromLatin1(button))->click();
                return;
            }
        }
        ADD_FAILURE() << window << " is not open";
    };
    struct Case {
        const char* file;
        const char* window;
        std::function<void(MainWindowFixture&)> open;
    } cases[] = {
        {"cw.txt", "CWFrm", ctrl(Qt::Key_S)},
        {"wave2.txt", "PhoneFrm", ctrl(Qt::Key_P)},
        {"PackSpot.txt", "PacketSpotfrm", ctrl(Qt::Key_D)},
        {"RigCntrl.txt", "RigControlfrm", ctrl(Qt::Key_R)},
        {"WK.txt", "frmWinKey",
         [&](MainWindowFixture& f) {
             QTest::keyClick(f.call(), Qt::Key_S, Qt::ControlModifier);
             click("CWFrm", "optWinKey");
             click("CWFrm", "cmdConfigureWinkey");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        MainWindowFixture f;
        ASSERT_TRUE(f.start());
        c.open(f);
        // WK.txt lives in the per-user folder, the others in the working folder.
        const std::string path =
            std::string(c.file) == "WK.txt" ? f.folders.userDataFolder + "/" + c.file : f.file(c.file);
        std::filesystem::remove(path);
        std::filesystem::create_directories(path);
        const std::size_t boxesBefore = f.dialogs.shown.size();
        click(c.window, "cmdDone");
        ASSERT_GT(f.dialogs.shown.size(), boxesBefore);
        EXPECT_EQ(f.dialogs.shown.back().title, QStringLiteral("Unable to write file."));
        EXPECT_NE(f.dialogs.shown.back().text.indexOf(QString::fromLatin1(c.file)), -1);
        QWidget* window = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->objectName() == QLatin1String(c.window)) {
                window = top;
            }
        }
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(window->isVisible());
    }
}
