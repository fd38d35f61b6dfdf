// The voice windows in a running main window, with recording players and a recording serial
// port: the prompts of each navigation level in order, a waited-for prompt that leaves the
// window running, the voice keyer's push-to-talk around "Test", wave2.txt as "Done" writes
// it, and push-to-talk released when the window closes or the program ends.

#include "log/LogFile.h"
#include "log/station/Preferences.h"
#include "platform/serial/SerialDevices.h"
#include "platform/serial/SerialSettings.h"
#include "support/FakeSerialPort.h"
#include "support/MainWindowFixture.h"
#include "support/HeldBoxes.h"
#include "support/RecordingWavePlayer.h"
#include "ui/PortDeviceField.h"
#include "voice/ui/BlindWindow.h"
#include "voice/ui/PhoneWindow.h"
#include "voice/ui/VoiceFeature.h"

#include <QAction>
#include <QElapsedTimer>
#include <fstream>
#include <gtest/gtest.h>

using namespace corvane;
using namespace corvane::test;

namespace {

using Names = std::vector<std::string>;

class VoiceWindows : public ::testing::Test {
protected:
    void SetUp() override {
        f.writeFile("log.txt",
                    formatLogLine({"N1AAA", "100", "FN31", "", "FN20", "12/29/2012", "18:00", "1", "CW", ""}));
        prompts.acceptAll = true;
        keyerPlayer.acceptAll = true;
        f.features = [this](FeatureContext& context) {
            std::vector<std::unique_ptr<Feature>> features;
            features.push_back(
                std::make_unique<VoiceFeature>(context, VoiceDevices{&keyerPlayer, &prompts, &serial, nullptr}));
            return features;
        };
        ASSERT_TRUE(f.start());
        voice = f.window->feature<VoiceFeature>();
        ASSERT_NE(voice, nullptr);
    }

    // The prompt names played since the last clear.
    Names played() const {
        Names names;
        for (const auto& path : prompts.played) {
            const auto slash = path.rfind('/');
            names.push_back(path.substr(slash + 1, path.size() - slash - 5));
        }
        return names;
    }
    void setLevel(int level) {
        voice->readPreferences(FeaturePreferences{level, "None"});
        voice->showNavigationWindow(); // made now, with its own prompt
        voice->navigationWindow()->hide();
        prompts.finish();
        QTest::qWait(3 * kPromptPollMs);
        prompts.played.clear();
        QApplication::setActiveWindow(f.window.get());
        f.call()->setFocus();
        prompts.played.clear();
    }
    bool waitFor(const std::function<bool()>& done, int ms = 3000) {
        QElapsedTimer waited;
        waited.start();
        while (!done() && waited.elapsed() < ms) {
            QTest::qWait(5);
        }
        return done();
    }

    // The devices outlive the window that uses them.
    RecordingWavePlayer prompts;
    RecordingWavePlayer keyerPlayer;
    FakeSerialPort serial;
    MainWindowFixture f;
    VoiceFeature* voice = nullptr;
};

TEST_F(VoiceWindows, AllDataFieldsAnnouncesTheCallAndTheGridFieldsAsTheyAreEntered) {
    setLevel(2);
    QTest::keyClicks(f.call(), QStringLiteral("k9xx "));
    QTest::keyClicks(f.grid(), QStringLiteral("fn42"));
    QTest::keyClick(f.grid(), Qt::Key_Return); // logged: back to the call field
    EXPECT_EQ(played(), (Names{"Grid", "Call"}));
    EXPECT_EQ(prompts.played.front(), f.file("Grid.wav")) << "the prompts are the working folder's";
}

TEST_F(VoiceWindows, CallOnlyAnnouncesTheCallFieldAndWaitsForTheDuplicateWithoutStoppingTheWindow) {
    setLevel(1);
    QTest::keyClicks(f.call(), QStringLiteral("k9xx "));
    EXPECT_TRUE(played().empty()) << "the grid field is not announced";
    f.call()->setFocus();
    EXPECT_EQ(played(), Names{"Call"});

    prompts.played.clear();
    f.call()->clear();
    prompts.playMs = 300;
    QElapsedTimer took;
    took.start();
    QTest::keyClicks(f.call(), QStringLiteral("n1aaa "));
    EXPECT_LT(took.elapsed(), 250) << "the duplicate does not hold the window";
    EXPECT_EQ(played(), Names{"Dupe"}) << "the call prompt waits for the duplicate's end";
    EXPECT_TRUE(voice->prompts().holding());
    // The window goes on meanwhile: its timers run.
    bool ticked = false;
    QTimer::singleShot(10, [&] { ticked = true; });
    QTest::qWait(50);
    EXPECT_TRUE(ticked);
    ASSERT_TRUE(waitFor([&] { return played().size() == 2; }));
    EXPECT_EQ(played(), (Names{"Dupe", "Call"}));
    EXPECT_GE(took.elapsed(), 300);
}

TEST_F(VoiceWindows, OffIsSilentButADuplicateIsAnnouncedWithoutWaiting) {
    setLevel(0);
    QTest::keyClicks(f.call(), QStringLiteral("k9xx "));
    f.call()->setFocus();
    EXPECT_TRUE(played().empty());
    f.call()->clear();
    prompts.playMs = 5000;
    QTest::keyClicks(f.call(), QStringLiteral("n1aaa "));
    EXPECT_EQ(played(), Names{"Dupe"});
    EXPECT_FALSE(voice->prompts().holding());
}

TEST_F(VoiceWindows, ChoosingALevelAnnouncesItAndDoneKeepsItInThePreferences) {
    voice->showNavigationWindow();
    BlindWindow* window = voice->navigationWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Voice Navigation Settings"));
    prompts.played.clear();
    window->findChild<QRadioButton*>(QStringLiteral("optAllFields"))->click();
    EXPECT_EQ(played(), Names{"NavEn"});
    window->findChild<QPushButton*>(QStringLiteral("cmdDone"))->click();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(voice->navigationLevel(), 2);
    const auto saved = parsePreferences(f.readFile("cvnpref.txt"));
    ASSERT_TRUE(saved.ok);
    EXPECT_EQ(saved.features.voiceNavLevel, 2);

    prompts.played.clear();
    f.child<QAction>("mnuVoiceNav")->trigger();
    EXPECT_TRUE(window->isVisible());
    window->findChild<QRadioButton*>(QStringLiteral("optOff"))->click();
    EXPECT_EQ(played(), Names{"NavDis"});
}

class PhoneKeyer : public VoiceWindows {
protected:
    PhoneWindow* open() {
        QTest::keyClick(f.call(), Qt::Key_P, Qt::ControlModifier);
        PhoneWindow* window = voice->phoneWindow();
        EXPECT_NE(window, nullptr);
        return window;
    }
    template <typename T = QLineEdit> T* child(PhoneWindow* w, const char* name) {
        return w->findChild<T*>(QString::fromLatin1(name));
    }
};

TEST_F(PhoneKeyer, TestPlaysF1WithPushToTalkAndReleasesItAfterTheEnd) {
    PhoneWindow* window = open();
    ASSERT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Phone Wave Selections"));
    child(window, "Text1")->setText(QStringLiteral("/rec/cq one.wav"));
    child(window, "Text10")->setText(QStringLiteral("1"));
    child<QRadioButton>(window, "optDTR")->setChecked(true);
    keyerPlayer.playMs = 200;
    child<QPushButton>(window, "cmdTest")->click();
    EXPECT_TRUE(serial.dtr());
    EXPECT_EQ(keyerPlayer.played, Names{"/rec/cq one.wav"});
    ASSERT_TRUE(waitFor([&] { return !serial.dtr(); }));
    const auto released = std::chrono::steady_clock::now();
    EXPECT_LE(released - keyerPlayer.endedAt, std::chrono::milliseconds(kEndOfPlayPollMs + 30));
    EXPECT_FALSE(child<QPushButton>(window, "cmdStop")->isVisible()) << "no repeat with pause 0";
}

TEST_F(PhoneKeyer, DoneWritesWave2TxtAsItIsReadAtStart) {
    PhoneWindow* window = open();
    child(window, "Text1")->setText(QStringLiteral("/rec/cq.wav"));
    child(window, "Text3")->setText(QStringLiteral("  /rec/Grüße 73.wav "));
    child(window, "Text10")->setText(QStringLiteral("2"));
    child<QRadioButton>(window, "optParallel")->setChecked(true);
    child(window, "txtPHLoop")->setText(QStringLiteral("2.5"));
    child(window, "Text11")->setText(QStringLiteral("&H278"));
    child<QPushButton>(window, "cmdDone")->click();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(f.readFile("wave2.txt"),
              "\"/rec/cq.wav\"\r\n\"\"\r\n\"/rec/Gr\xC3\xBC\xC3\x9F"
              "e 73.wav\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"2\"\r\n2\r\n\"2."
              "5\"\r\n\"&H278\"\r\n");
    // A field is never given a double quote, which the file could not hold.
    QTest::keyClicks(child(window, "Text11"), QStringLiteral("\"a"));
    EXPECT_EQ(child(window, "Text11")->text(), QStringLiteral("&H278A"));
}

TEST_F(PhoneKeyer, TheLoopRepeatsUntilAKeyOnTheMainWindow) {
    PhoneWindow* window = open();
    child(window, "Text1")->setText(QStringLiteral("/rec/cq.wav"));
    child(window, "txtPHLoop")->setText(QStringLiteral("0.1"));
    child(window, "txtPHLoop")->setFocus();
    keyerPlayer.playMs = 50;
    child<QPushButton>(window, "cmdTest")->click();
    EXPECT_TRUE(voice->keyer().repeatOn());
    EXPECT_TRUE(child<QPushButton>(window, "cmdStop")->isVisible());
    ASSERT_TRUE(waitFor([&] { return keyerPlayer.played.size() >= 2; }));
    QApplication::setActiveWindow(f.window.get());
    QTest::keyClick(f.call(), Qt::Key_A);
    EXPECT_FALSE(voice->keyer().repeatOn());
    EXPECT_FALSE(child<QPushButton>(window, "cmdStop")->isVisible());
    const auto plays = keyerPlayer.played.size();
    QTest::qWait(400);
    EXPECT_LE(keyerPlayer.played.size(), plays + 0);

    // A pause of 60 s or more is refused: the field becomes 0 and nothing repeats.
    child(window, "txtPHLoop")->setFocus();
    child(window, "txtPHLoop")->setText(QStringLiteral("60"));
    child<QPushButton>(window, "cmdTest")->click();
    EXPECT_EQ(child(window, "txtPHLoop")->text(), QStringLiteral("0"));
    EXPECT_FALSE(voice->keyer().repeatOn());
}

TEST_F(PhoneKeyer, ClosingTheWindowDuringAPlaybackReleasesPushToTalk) {
    PhoneWindow* window = open();
    child(window, "Text1")->setText(QStringLiteral("/rec/long.wav"));
    child(window, "Text10")->setText(QStringLiteral("1"));
    child<QPushButton>(window, "cmdTest")->click();
    ASSERT_TRUE(serial.rts());
    window->close();
    EXPECT_FALSE(serial.rts());
    EXPECT_EQ(keyerPlayer.events.back(), "close");
}

TEST_F(PhoneKeyer, AnInvalidPortIsReportedAndTheProgramEndingReleasesPushToTalk) {
    PhoneWindow* window = open();
    child(window, "Text1")->setText(QStringLiteral("/rec/cq.wav"));
    child(window, "Text10")->setText(QStringLiteral("1"));
    serial.failOpen = true;
    child<QPushButton>(window, "cmdTest")->click();
    QCoreApplication::processEvents(); // the box follows once the keyer is done
    ASSERT_FALSE(f.dialogs.shown.empty());
    EXPECT_EQ(f.dialogs.shown.back().title, QStringLiteral("Invalid port."));
    EXPECT_EQ(
        f.dialogs.shown.back().text,
        QStringLiteral("The port you have selected for Phone keying is invalid.  Please select another or enter 0 "
                       "for none.\n\nThe port is in use.")); // the port's own reason follows
    EXPECT_EQ(keyerPlayer.played.size(), 1u) << "the recording plays without serial push-to-talk";

    serial.failOpen = false;
    child<QPushButton>(window, "cmdTest")->click();
    ASSERT_TRUE(serial.rts());
    f.window->endProgram(0);
    EXPECT_FALSE(serial.rts());
    EXPECT_FALSE(serial.isOpen());
    EXPECT_EQ(f.exitCodes, std::vector<int>{0});
}

// F1 in a calling loop on a port that cannot open: each box stays up a while (a real nested
// loop) as the repeat timer keeps firing. The box never opens inside F1 or the repeat timer,
// the recording is already playing when it opens, and no box opens over another.
TEST_F(PhoneKeyer, TheInvalidPortBoxOpensOutsideTheRepeatTimerAndNeverOverAnother) {
    PhoneWindow* window = open();
    child(window, "Text1")->setText(QStringLiteral("/rec/cq.wav"));
    child(window, "Text10")->setText(QStringLiteral("1"));
    child(window, "txtPHLoop")->setText(QStringLiteral("0.05"));
    keyerPlayer.playMs = 20;
    serial.failOpen = true;
    std::size_t playedAtFirstBox = 0;
    test::HeldBoxes held(f.dialogs, 300, [&](const test::ShownBox&) {
        if (held.opened == 1) {
            playedAtFirstBox = keyerPlayer.played.size();
        }
    });
    int insideKeyer = 0;
    child<QPushButton>(window, "cmdTest")->click();
    insideKeyer += held.opened;
    ASSERT_TRUE(voice->keyer().repeatOn());
    ASSERT_TRUE(waitFor([&] { return held.opened >= 1 && held.depth == 0 && keyerPlayer.played.size() >= 3; }));
    voice->keyer().stopRepeat();
    QTest::qWait(400);
    EXPECT_EQ(insideKeyer, 0);
    EXPECT_EQ(playedAtFirstBox, 1u);
    EXPECT_EQ(held.deepest, 1);
    // The repeats under a box are the same news: far fewer boxes than attempts to open the port.
    EXPECT_LT(held.opened, static_cast<int>(keyerPlayer.played.size()));
    EXPECT_EQ(f.dialogs.beeps, held.opened);
}

TEST_F(PhoneKeyer, ThePushToTalkPortShowsTheDeviceItStandsFor) {
    std::ofstream(f.file("ttyPtt")).put('x');
    f.settings->set(serialDeviceKey(4), f.file("ttyPtt"));
    f.settings->set(serialDeviceKey(6), f.file("no-such-adapter"));
    PhoneWindow* window = open();
    window->show();
    QLineEdit* port = child(window, "Text10");
    auto* device = child<PortDeviceField>(window, "txtPttDevice");
    ASSERT_NE(device, nullptr);
    EXPECT_TRUE(device->isReadOnly());
    // Just under the port number, clear of every other control, inside the window.
    EXPECT_EQ(device->geometry().left(), port->geometry().left());
    EXPECT_GT(device->geometry().top(), port->geometry().bottom());
    EXPECT_LT(device->geometry().top() - port->geometry().bottom(), port->height());
    EXPECT_TRUE(window->rect().contains(device->geometry()));
    for (QWidget* other : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (other != device && !other->isHidden()) {
            EXPECT_FALSE(other->geometry().intersects(device->geometry())) << other->objectName().toStdString();
        }
    }

    port->setText(QStringLiteral("4"));
    EXPECT_EQ(device->text().toStdString(), f.file("ttyPtt"));
    EXPECT_TRUE(device->devicePresent());
    port->setText(QStringLiteral("6"));
    EXPECT_EQ(device->text().toStdString(), f.file("no-such-adapter"));
    EXPECT_FALSE(device->devicePresent());
    EXPECT_EQ(device->toolTip().toStdString(), absentDeviceMessage(6, f.file("no-such-adapter")));
    port->setText(QStringLiteral("0"));
    EXPECT_TRUE(device->text().isEmpty()); // no port, no device
    window->hide();
}

} // namespace
