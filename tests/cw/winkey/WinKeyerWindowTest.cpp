// The WinKeyer through the whole program side: the CW controller, the " WinKey Setup"
// window, the serial port service, and a simulated keyer on a pseudo-terminal.

#include "cw/winkey/ui/WinKeyerWindow.h"

#include "core/DurableFile.h"
#include "cw/ui/CodePracticeWindow.h"
#include "cw/ui/CwController.h"
#include "cw/ui/CwSetupWindow.h"
#include "cw/winkey/ui/WinKeyerService.h"
#include "platform/serial/SerialSettings.h"
#include "support/HeldBoxes.h"
#include "support/SimulatedWinKeyer.h"
#include "support/TestAppContext.h"

#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>

namespace corvane::cw {
namespace {

using Clock = std::chrono::steady_clock;
using Behaviour = test::SimulatedWinKeyer::Behaviour;

constexpr int kKeyerPort = 3;

struct Host : CwHost {
    std::string call;
    int logged = 0;
    std::vector<std::string> messages;
    std::string callText() const override { return call; }
    void logContact() override { ++logged; }
    void clearEntry() override {}
    void showMessage(const std::string& text) override { messages.push_back(text); }
    void setMessageBackground(Rgb) override {}
    std::string ownCall() const override { return "W1AW"; }
};

class WinKeyerWindows : public ::testing::Test, protected test::TestAppContext {
protected:
    WinKeyerWindows() {
        settings->set(serialDeviceKey(kKeyerPort), keyer.devicePath());
        controller = std::make_unique<CwController>(host, app, &mainWindow);
    }

    // "WinKey" chosen with the given messages, speed and keyer port.
    void chooseWinKey(const std::string& speedWpm = "60") {
        CwSettings s;
        s.keyingOption = KeyingOption::WinKey;
        s.speedWpm = speedWpm;
        s.messages[0] = "TEST";
        s.messages[1] = "$ TU";
        s.messages[2] = "CQ CQ CQ DE W1AW W1AW TEST";
        controller->loadSettings(parseCwSettings(formatCwSettings(s)));
        ASSERT_NE(window(), nullptr);
        field("txtComPort")->setText(QString::number(kKeyerPort));
        wk().comPortLeft(std::to_string(kKeyerPort));
    }
    WinKeyerWindow* window() const { return controller->winKeyer().window(); }
    WinKeyerController& wk() const { return controller->winKeyer().controller(); }
    QLineEdit* field(const char* name) const { return window()->findChild<QLineEdit*>(QString::fromLatin1(name)); }
    QPushButton* button(const char* name) const { return window()->findChild<QPushButton*>(QString::fromLatin1(name)); }
    QString status() const { return window()->findChild<QLabel*>(QStringLiteral("lblStatus"))->text(); }
    QString version() const { return window()->findChild<QLabel*>(QStringLiteral("lblVersion"))->text(); }
    void press(int code, const QString& text = {}) {
        QKeyEvent event(QEvent::KeyPress, code, Qt::NoModifier, text);
        if (!controller->handleKeyDown(&event)) {
            controller->handleKeyPress(&event);
        }
    }
    // Runs the event loop until `done` holds; false after `seconds`.
    static bool waitFor(const std::function<bool()>& done, int seconds = 10) {
        return QTest::qWaitFor(done, seconds * 1000);
    }
    // Opens the keyer and waits until the keyer has taken the settings (the mode comes last).
    void openKeyer() {
        button("cmdOpen")->click();
        ASSERT_TRUE(waitFor([&] { return wk().isOpen(); }));
        const std::string modeCommand = std::string(1, '\x0E') + static_cast<char>(wk().settings().keyerMode);
        ASSERT_TRUE(waitFor([&] {
            const std::string got = keyer.received();
            return got.size() >= 2 && got.compare(got.size() - 2, 2, modeCommand) == 0;
        }));
        keyer.forgetReceived();
    }

    test::SimulatedWinKeyer keyer;
    Host host;
    QWidget mainWindow;
    std::unique_ptr<CwController> controller;
};

TEST_F(WinKeyerWindows, ChoosingWinKeyLoadsTheWindowWithItsNamedControlsAndLeavesTheKeyerClosed) {
    EXPECT_EQ(controller->winKeyer().window(), nullptr);
    std::string wkTxt = "3\r\n\"30\"\r\n\"45\"\r\n\"2\"\r\n\"7\"\r\n\"40\"\r\n4\r\n48\r\n";
    ASSERT_TRUE(replaceAtomically(folders.userDataFolder + "/WK.txt", wkTxt).ok);
    chooseWinKey("22");
    WinKeyerWindow* w = window();
    EXPECT_EQ(w->objectName(), "frmWinKey");
    EXPECT_EQ(w->windowTitle(), " WinKey Setup");
    EXPECT_FALSE(w->isVisible());
    EXPECT_FALSE(keyer.hostOpen());
    EXPECT_EQ(keyer.received(), "");

    EXPECT_EQ(field("txtWPM")->text(), "22"); // the CW speed replaces the stored one
    EXPECT_EQ(field("txtWeight")->text(), "45");
    EXPECT_EQ(field("txtTail")->text(), "7");
    EXPECT_TRUE(w->findChild<QRadioButton*>(QStringLiteral("optP3KeyOut"))->isChecked());
    EXPECT_TRUE(w->findChild<QRadioButton*>(QStringLiteral("optBugKeyer"))->isChecked());
    EXPECT_EQ(status(), "Closed");
    EXPECT_EQ(version(), "Version #");
    EXPECT_EQ(w->findChild<QGroupBox*>(QStringLiteral("fraPinConfig"))->title(), "Pin 5 Configuration");
    EXPECT_EQ(w->findChild<QGroupBox*>(QStringLiteral("fraKeyerMode"))->title(), "Keyer Mode");
    QStringList texts;
    for (const QLabel* l : w->findChildren<QLabel*>()) {
        texts << l->text();
    }
    for (const char* text :
         {"Com Port:", "WPM:", "Weight:", "Lead In:", "Tail:", "Ratio:", "WinKey Status:", "WinKey Version:",
          "Ratio of dits to dahs (Range: 33 - 66).", "Up / down arrows from main form change speeds."}) {
        EXPECT_TRUE(texts.contains(QString::fromLatin1(text))) << text;
    }
    for (const char* name : {"cmdOpen", "cmdClose", "cmdTest", "cmdBufferTest", "cmdStop", "cmdDone"}) {
        EXPECT_NE(button(name), nullptr) << name;
    }
    EXPECT_EQ(button("cmdDone")->text(), "&Done");

    // "Configure Winkey" shows it, modal; "&Done" writes WK.txt and hides it.
    QPushButton* configure = controller->setupWindow()->findChild<QPushButton*>(QStringLiteral("cmdConfigureWinkey"));
    ASSERT_NE(configure, nullptr);
    configure->click();
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->windowModality(), Qt::ApplicationModal);
    w->findChild<QRadioButton*>(QStringLiteral("optTone"))->click();
    button("cmdDone")->click();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(readWholeFile(folders.userDataFolder + "/WK.txt"),
              "3\r\n\"22\"\r\n\"45\"\r\n\"2\"\r\n\"7\"\r\n\"40\"\r\n6\r\n48\r\n");
}

TEST_F(WinKeyerWindows, OpenSaysSuccessShowsTheVersionSendsTheSettingsAndDisplacesTheKeyingPort) {
    chooseWinKey();
    // The CW keying port sits on the same device and is open.
    controller->sender().settings().serialPort = std::to_string(kKeyerPort);
    controller->cwSetup();
    ASSERT_TRUE(controller->keyingSerialPort().isOpen());

    button("cmdOpen")->click();
    ASSERT_TRUE(waitFor([&] { return status() == "WK Success!"; }));
    EXPECT_EQ(version(), "Version # 23");
    EXPECT_EQ(wk().openVersion(), 23);
    EXPECT_FALSE(controller->keyingSerialPort().isOpen());
    EXPECT_TRUE(keyer.hostOpen());
    ASSERT_TRUE(waitFor([&] { return keyer.mode() == 0 && keyer.pinConfig() == 6 && !keyer.speeds().empty(); }));
    EXPECT_EQ(keyer.speeds().back(), 60);
    EXPECT_EQ(keyer.weight(), 50);
    EXPECT_EQ(keyer.ratio(), 50);
    EXPECT_TRUE(dialogs.shown.empty());

    // Push-to-talk on another device leaves the keyer alone; opened on the keyer's device it
    // closes the keyer.
    std::string refusal;
    EXPECT_TRUE(controller->portBroker().acquire(PortOwner::PushToTalk, "/dev/ttyS9", &refusal));
    EXPECT_TRUE(wk().isOpen());
    EXPECT_TRUE(controller->portBroker().acquire(PortOwner::PushToTalk, keyer.devicePath(), &refusal));
    EXPECT_EQ(status(), "Closed");
    EXPECT_EQ(version(), "Version #");
    EXPECT_FALSE(wk().isOpen());
    EXPECT_TRUE(waitFor([&] { return !keyer.hostOpen(); })); // host close went out
}

TEST_F(WinKeyerWindows, TestButtonSendsTheOwnCallAndTheKeyerReportsBusyThenIdle) {
    chooseWinKey("99");
    openKeyer();
    button("cmdTest")->click();
    ASSERT_TRUE(waitFor([&] { return wk().status() > 0; }));
    ASSERT_TRUE(waitFor([&] { return keyer.keyed() == "VVV TEST DE W1AW"; }, 20));
    EXPECT_TRUE(waitFor([&] { return wk().status() == 0; }));
    EXPECT_EQ(controller->sender().buffer(), "");
    const std::string statuses = keyer.statusesSent();
    ASSERT_FALSE(statuses.empty());
    EXPECT_EQ(statuses.front(), '\xC4');
    EXPECT_EQ(statuses.back(), '\xC0');
}

TEST_F(WinKeyerWindows, AFunctionKeyMessageGoesOutWithTheCallFilledIn) {
    chooseWinKey();
    host.call = "K1ABC";
    press(Qt::Key_F2);
    // The keyer is opened on the way: the message waits for it, then goes out.
    ASSERT_TRUE(waitFor([&] { return keyer.received().find("K1ABC TU") != std::string::npos; }));
    EXPECT_EQ(status(), "WK Success!");
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_TRUE(waitFor([&] { return keyer.keyed() == "K1ABC TU"; }, 20));
}

TEST_F(WinKeyerWindows, EscMidMessageClearsTheKeyerAndTheBuffer) {
    chooseWinKey("30");
    openKeyer();
    press(Qt::Key_F3); // a long message
    ASSERT_TRUE(waitFor([&] { return keyer.keyed().size() >= 2; }));
    press(Qt::Key_Escape, QStringLiteral("\x1b"));
    EXPECT_EQ(controller->sender().buffer(), "");
    ASSERT_TRUE(waitFor([&] { return keyer.clears() == 1 && !keyer.busy(); }));
    const std::string keyed = keyer.keyed();
    EXPECT_LT(keyed.size(), std::string("CQ CQ CQ DE W1AW W1AW TEST").size());
    QTest::qWait(300);
    EXPECT_EQ(keyer.keyed(), keyed); // nothing more after Esc
    EXPECT_EQ(wk().status(), 0);
}

TEST_F(WinKeyerWindows, KeyboardSendingWithBackspaceDropsTheKeyersLastCharacter) {
    chooseWinKey("15"); // slow: the keyer is still busy when backspace comes
    openKeyer();
    press(Qt::Key_F12);
    EXPECT_TRUE(controller->sender().keyboardMode());
    for (const char c : std::string("cqx")) {
        press(Qt::Key_A, QString(QChar(c)));
    }
    ASSERT_TRUE(waitFor([&] { return keyer.received().find("CQX") != std::string::npos; }));
    ASSERT_TRUE(waitFor([&] { return wk().status() > 0; }));
    press(Qt::Key_Backspace, QStringLiteral("\b"));
    ASSERT_TRUE(waitFor([&] { return keyer.backspaces() == 1; }));
    EXPECT_EQ(keyer.received().substr(keyer.received().find("CQX")), "CQX\x08");
    ASSERT_TRUE(waitFor([&] { return keyer.keyed() == "CQ"; }, 20));
    QTest::qWait(200);
    EXPECT_EQ(keyer.keyed(), "CQ"); // the X never went out
}

TEST_F(WinKeyerWindows, TheArrowsChangeTheKeyersSpeed) {
    chooseWinKey("25");
    openKeyer();
    press(Qt::Key_Up);
    press(Qt::Key_Up);
    press(Qt::Key_Down);
    ASSERT_TRUE(waitFor([&] { return keyer.speeds().size() >= 4; }));
    EXPECT_EQ(keyer.speeds(), (std::vector<int>{25, 26, 27, 26})); // the open's, then the arrows
    EXPECT_EQ(keyer.received(), std::string("\x02\x1A\x02\x1B\x02\x1A", 6));
    EXPECT_EQ(host.messages.back(), "26 WPM");
}

TEST_F(WinKeyerWindows, TheCallingLoopPauseCountsFromTheEndOfTheSendingOnTheAir) {
    chooseWinKey("30"); // "TEST" takes the keyer about a second, far longer than handing it over
    controller->sender().applyRepeatSeconds("0.5");
    openKeyer();
    press(Qt::Key_F1);
    ASSERT_TRUE(waitFor([&] { return keyer.keyed().size() >= 6; }, 20));
    EXPECT_EQ(keyer.keyed().substr(0, 6), "TESTTE"); // copies one after the other, never run together
    const auto times = keyer.keyedTimes();
    // The second copy starts on the air a full pause after the first one ended there: it was
    // not handed over while the keyer was still sending the first.
    EXPECT_GE(times[4].started - times[3].finished, std::chrono::milliseconds(450));
    press(Qt::Key_Shift); // any key ends the loop and clears the keyer
    EXPECT_FALSE(controller->sender().repeating());
    EXPECT_TRUE(waitFor([&] { return keyer.clears() == 1; }));
}

TEST_F(WinKeyerWindows, CodePracticeSendsEveryCharacterAndSendWorksAgainAfterStop) {
    chooseWinKey("60");
    openKeyer();
    CodePracticeWindow practice(*controller);
    auto* toSend = practice.findChild<QPlainTextEdit*>(QStringLiteral("txtToSend"));
    auto* sent = practice.findChild<QPlainTextEdit*>(QStringLiteral("txtSent"));
    toSend->setPlainText(QStringLiteral("UR 5NN"));
    practice.findChild<QPushButton*>(QStringLiteral("cmdSend"))->click();
    ASSERT_TRUE(waitFor([&] { return keyer.keyed() == "UR 5NN"; }, 20));
    EXPECT_EQ(sent->toPlainText(), "UR 5NN");

    // Stop mid-text clears what the keyer still holds; Send then starts again.
    keyer.forgetReceived();
    sent->clear();
    toSend->setPlainText(QStringLiteral("ABCDEFGHIJKLMNOPQRST"));
    practice.findChild<QPushButton*>(QStringLiteral("cmdSend"))->click();
    ASSERT_TRUE(waitFor([&] { return keyer.received().size() >= 3; }));
    practice.findChild<QPushButton*>(QStringLiteral("cmdStop"))->click();
    ASSERT_TRUE(waitFor([&] { return keyer.clears() == 1 && !keyer.busy(); }));
    const std::string keyed = keyer.keyed();
    EXPECT_LT(keyed.size(), std::string("UR 5NN").size() + 20);
    toSend->setPlainText(QStringLiteral("EE"));
    practice.findChild<QPushButton*>(QStringLiteral("cmdSend"))->click();
    EXPECT_TRUE(waitFor([&] { return keyer.keyed() == keyed + "EE"; }));
    EXPECT_TRUE(waitFor([&] { return sent->toPlainText().endsWith(QStringLiteral("EE")); }));
}

TEST_F(WinKeyerWindows, OpeningAgainGivesTheKeyerTheSpeedTheArrowsSet) {
    chooseWinKey("20");
    openKeyer();
    press(Qt::Key_Up);
    ASSERT_TRUE(waitFor([&] { return keyer.speeds().back() == 21; }));
    button("cmdClose")->click();
    ASSERT_TRUE(waitFor([&] { return !keyer.hostOpen(); }));
    press(Qt::Key_Up); // while closed: the field follows, the keyer hears it at the next open
    EXPECT_EQ(field("txtWPM")->text(), "22");
    openKeyer();
    EXPECT_EQ(keyer.speeds().back(), 22);
    EXPECT_EQ(host.messages.back(), "22 WPM");
}

TEST_F(WinKeyerWindows, TheServiceGoesOnSendingWhenItsWindowIsGone) {
    chooseWinKey("60");
    delete window();
    host.call = "K1ABC";
    press(Qt::Key_F2);
    EXPECT_TRUE(waitFor([&] { return keyer.keyed() == "K1ABC TU"; }, 20));
    controller->showWinKeyerWindow(); // made again when it is asked for
    ASSERT_NE(window(), nullptr);
    EXPECT_EQ(status(), "WK Success!");
}

TEST_F(WinKeyerWindows, AKeyerThatNeverAnswersGivesTheBoxAndNoEchoResponseWithoutAHang) {
    keyer.setBehaviour(Behaviour::Silent);
    chooseWinKey();
    int ticks = 0;
    QTimer heartbeat;
    QObject::connect(&heartbeat, &QTimer::timeout, [&] { ++ticks; });
    heartbeat.start(10);
    const auto pressed = Clock::now();
    button("cmdOpen")->click();
    EXPECT_EQ(status(), "Closed"); // the click returned at once
    ASSERT_TRUE(waitFor([&] { return status() == "No Echo Response"; }, 5));
    QCoreApplication::processEvents(); // the box follows the settled status
    const auto waitedMs = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - pressed).count();
    EXPECT_GE(waitedMs, 900);
    EXPECT_GT(ticks, 20); // the window thread kept running meanwhile
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "Unable to establish connection with Winkey.");
    EXPECT_EQ(dialogs.shown[0].text,
              "Unable to establish connection with WinKey on com port 3.  Please check to make sure that you have "
              "specified the correct port and that the Winkey device is properly connected.");
    EXPECT_FALSE(wk().isOpen());

    // A function key with no keyer: the same box, the buffer emptied, nothing stuck.
    press(Qt::Key_F2);
    ASSERT_TRUE(waitFor([&] { return dialogs.shown.size() == 2; }, 5));
    EXPECT_EQ(controller->sender().buffer(), "");
    EXPECT_FALSE(wk().transmitting());
}

TEST_F(WinKeyerWindows, AKeyerAnsweringGarbageIsAnEchoMismatch) {
    keyer.setBehaviour(Behaviour::Garbage);
    chooseWinKey();
    button("cmdOpen")->click();
    ASSERT_TRUE(waitFor([&] { return status() == "Echo Mismatch"; }, 5));
    QCoreApplication::processEvents();
    EXPECT_EQ(dialogs.shown.size(), 1u);
    EXPECT_FALSE(wk().isOpen());
}

// The box about a keyer that answers garbage stays up a while (a real nested loop): the open
// is settled before it opens (status shown, the waiting sending told), and the sending asked
// for meanwhile, which fails the same way, puts no box over it.
TEST_F(WinKeyerWindows, TheNoConnectionBoxOpensOnceTheOpenIsSettledAndNeverOverAnother) {
    keyer.setBehaviour(Behaviour::Garbage);
    chooseWinKey();
    bool thenRan = false;
    bool thenRanAtBox = false;
    std::string statusAtBox;
    test::HeldBoxes held(dialogs, 300, [&](const test::ShownBox&) {
        if (held.opened == 1) {
            thenRanAtBox = thenRan;
            statusAtBox = wk().statusText();
            wk().openKeyer(); // the operator's next try, while the box is up
        }
    });
    wk().openKeyer([&] { thenRan = true; });
    ASSERT_TRUE(waitFor([&] { return held.opened >= 1 && held.depth == 0; }, 5));
    QTest::qWait(1500); // the second try fails as well
    EXPECT_TRUE(thenRanAtBox);
    EXPECT_EQ(statusAtBox, "Echo Mismatch");
    EXPECT_EQ(held.deepest, 1);
    EXPECT_GE(held.opened, 1);
    EXPECT_FALSE(wk().isOpen());
}

TEST_F(WinKeyerWindows, AKeyerUnpluggedMidMessageIsReportedAndTheBufferEmptied) {
    chooseWinKey("20");
    openKeyer();
    press(Qt::Key_F3);
    ASSERT_TRUE(waitFor([&] { return keyer.keyed().size() >= 1; }));
    keyer.vanish();
    ASSERT_TRUE(waitFor([&] { return status() == "WK Connection Lost"; }, 5));
    EXPECT_EQ(version(), "Version #");
    EXPECT_EQ(controller->sender().buffer(), "");
    EXPECT_FALSE(wk().isOpen());
    ASSERT_FALSE(host.messages.empty());
    EXPECT_EQ(host.messages.back().rfind("WinKey connection lost", 0), 0u);
    EXPECT_TRUE(waitFor([&] { return !wk().transmitting(); }));
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(WinKeyerWindows, StopBufferTestAndTheTypingField) {
    chooseWinKey("40");
    openKeyer();
    button("cmdBufferTest")->click();
    ASSERT_TRUE(waitFor([&] { return keyer.received().size() >= 5; }));
    button("cmdStop")->click();
    EXPECT_EQ(controller->sender().buffer(), "");
    ASSERT_TRUE(waitFor([&] { return keyer.clears() == 1 && !keyer.busy(); }));

    keyer.forgetReceived();
    QLineEdit* typing = field("txtSend");
    typing->setFocus();
    QTest::keyClicks(typing, QStringLiteral("ab"));
    EXPECT_EQ(typing->text(), "AB"); // capitals, and they stay in the field
    ASSERT_TRUE(waitFor([&] { return keyer.received() == "AB"; }));
}

} // namespace
} // namespace corvane::cw
