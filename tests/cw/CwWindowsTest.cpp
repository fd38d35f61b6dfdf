#include "core/DurableFile.h"
#include "cw/ui/CodePracticeWindow.h"
#include "cw/ui/CwController.h"
#include "cw/ui/CwSetupWindow.h"
#include "cw/ui/CwStringsWindow.h"
#include "platform/serial/SerialDevices.h"
#include "support/TestAppContext.h"
#include "support/HeldBoxes.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <gtest/gtest.h>
#include <pty.h>
#include <unistd.h>

namespace corvane::cw {
namespace {

struct Host : CwHost {
    std::string call;
    int logged = 0;
    int cleared = 0;
    std::vector<std::string> messages;
    std::vector<Rgb> backgrounds;
    std::string callText() const override { return call; }
    void logContact() override { ++logged; }
    void clearEntry() override { ++cleared; }
    void showMessage(const std::string& text) override { messages.push_back(text); }
    void setMessageBackground(Rgb colour) override { backgrounds.push_back(colour); }
};

class CwWindows : public ::testing::Test, protected test::TestAppContext {
protected:
    CwWindows() { controller = std::make_unique<CwController>(host, app, &mainWindow); }

    template <typename T = QWidget> T* setup(const char* name) const {
        return controller->setupWindow()->findChild<T*>(QString::fromLatin1(name));
    }
    static QKeyEvent key(int code, const QString& text = {}) {
        return QKeyEvent(QEvent::KeyPress, code, Qt::NoModifier, text);
    }
    // Runs the event loop until the send loop is idle (the keyer thread reports through it).
    void waitIdle() {
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (controller->sender().sending() && std::chrono::steady_clock::now() < giveUp) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        ASSERT_FALSE(controller->sender().sending());
    }
    void load(const CwSettings& s) { controller->loadSettings(parseCwSettings(formatCwSettings(s))); }
    CwSettings fast(KeyingOption option) const {
        CwSettings s;
        s.keyingOption = option;
        s.speedWpm = "400"; // 3 ms units: the test does not wait long
        s.messages[1] = "$ TU";
        s.messages[2] = "TU !";
        return s;
    }

    Host host;
    QWidget mainWindow;
    std::unique_ptr<CwController> controller;
};

TEST_F(CwWindows, SetupWindowCarriesTheNamedControlsAndTheLoadedSettings) {
    CwSetupWindow* w = controller->setupWindow();
    EXPECT_EQ(w->objectName(), "CWFrm");
    EXPECT_EQ(w->windowTitle(), "CW String Selections");
    for (const char* name :
         {"Text1", "Text9", "Text10", "Text11", "Text12", "Text13", "Text14", "txtSpace", "txtLoop", "txtCWLoop"}) {
        EXPECT_NE(setup<QLineEdit>(name), nullptr) << name;
    }
    for (const char* name :
         {"optTimer", "optLoop", "OptSleep", "optNone", "optRTS", "optDTR", "optPrinter", "optWinKey"}) {
        EXPECT_NE(setup<QRadioButton>(name), nullptr) << name;
    }
    EXPECT_EQ(setup<QPushButton>("cmdLoopFaster")->toolTip(), "Speed up CW");
    EXPECT_EQ(setup<QLineEdit>("txtLoop")->toolTip(), "Loops per 60 ms");
    EXPECT_TRUE(setup<QRadioButton>("optTimer")->isChecked());
    EXPECT_FALSE(setup<QLineEdit>("txtLoop")->isEnabled());

    CwSettings s = fast(KeyingOption::Dtr);
    s.messages[0] = "CQ TEST $";
    s.displayText = false;
    load(s);
    EXPECT_EQ(setup<QLineEdit>("Text1")->text(), "CQ TEST $");
    EXPECT_EQ(setup<QLineEdit>("Text9")->text(), "VVV DE ");
    EXPECT_TRUE(setup<QRadioButton>("optDTR")->isChecked());
    EXPECT_FALSE(setup<QCheckBox>("Check1")->isChecked());
    EXPECT_EQ(controller->keyingOption(), KeyingOption::Dtr);

    // A short file leaves "None" selected.
    std::string bytes = formatCwSettings(s);
    controller->loadSettings(parseCwSettings(bytes.substr(0, bytes.size() - 6)));
    EXPECT_TRUE(setup<QRadioButton>("optNone")->isChecked());
    EXPECT_EQ(controller->keyingOption(), KeyingOption::None);
}

TEST_F(CwWindows, FunctionKeysSendThroughTheKeyerThreadAndTheBangLogs) {
    load(fast(KeyingOption::Rts)); // port 0: timed, no line moves, no message
    host.call = "K1ABC";
    auto f3 = key(Qt::Key_F3);
    EXPECT_TRUE(controller->handleKeyDown(&f3));
    EXPECT_TRUE(controller->sender().sending());
    EXPECT_FALSE(controller->mayClose()); // a character is on the air; the rest is dropped
    waitIdle();
    EXPECT_EQ(host.logged, 0);
    EXPECT_TRUE(controller->mayClose());

    controller->sender().fKey(3);
    waitIdle();
    EXPECT_EQ(host.logged, 1);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(CwWindows, AnInvalidKeyingPortIsReportedOncePerSending) {
    CwSettings s = fast(KeyingOption::Rts);
    s.serialPort = "9";
    settings->set("SerialPortDevice9", dir.file("no-such-tty"));
    load(s);
    controller->sender().fKey(2);
    waitIdle();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "Invalid port.");
    EXPECT_EQ(dialogs.shown[0].text,
              "The port you have selected for CW keying is invalid.  Please select another or enter 0 for none.");
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_TRUE(controller->setupWindow()->isVisible());
    EXPECT_EQ(setup<QLineEdit>("txtSerialDevice")->text().toStdString(), dir.file("no-such-tty"));
}

// The box stays up a while (a real nested loop) and another function key's sending arrives
// through the event loop meanwhile: the box comes after the send loop went on, the port is
// closed when it opens, and no second box opens over it.
TEST_F(CwWindows, TheInvalidPortBoxOpensOutsideTheSendLoopAndOnlyOnce) {
    CwSettings s = fast(KeyingOption::Rts);
    s.serialPort = "9";
    settings->set("SerialPortDevice9", dir.file("no-such-tty"));
    load(s);
    bool portOpenAtBox = true;
    test::HeldBoxes held(dialogs, 300, [&](const test::ShownBox&) {
        portOpenAtBox = controller->keyingSerialPort().isOpen();
        QTimer::singleShot(0, controller.get(), [this] { controller->sender().fKey(3); });
    });
    controller->sender().fKey(2);
    EXPECT_EQ(held.opened, 0); // not from inside the send loop
    ASSERT_TRUE(QTest::qWaitFor([&] { return held.opened >= 1 && held.depth == 0; }, 5000));
    waitIdle();
    QCoreApplication::processEvents();
    EXPECT_EQ(held.deepest, 1);
    EXPECT_FALSE(portOpenAtBox);
    EXPECT_EQ(dialogs.beeps, held.opened);
    EXPECT_LE(held.opened, 2); // at most one per sending, each after the other
}

TEST_F(CwWindows, AKeyingDeviceThatIsNotPluggedInIsNamedOnTheMessageLine) {
    CwSettings s = fast(KeyingOption::Dtr);
    s.serialPort = "4";
    settings->set("SerialPortDevice4", dir.file("usb-adapter-if00"));
    load(s);
    controller->sender().fKey(2);
    waitIdle();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "Invalid port.");
    ASSERT_FALSE(host.messages.empty());
    EXPECT_NE(
        std::find(host.messages.begin(), host.messages.end(), absentDeviceMessage(4, dir.file("usb-adapter-if00"))),
        host.messages.end());
    EXPECT_NE(setup<QLineEdit>("txtSerialDevice")->toolTip().toStdString().find("not plugged in"), std::string::npos);
}

// A pseudo-terminal has no modem lines: every RTS change is refused, as by an adapter that
// cannot switch them or one unplugged mid-message. The sending and its calling loop stop, the
// message line says which line of which device failed and why, and the next key tries again.
TEST_F(CwWindows, AKeyLineTheDeviceRefusesStopsTheSendingAndSaysWhy) {
    int master = -1;
    int slave = -1;
    char name[128] = {};
    ASSERT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
    settings->set("SerialPortDevice1", name);
    CwSettings s = fast(KeyingOption::Rts);
    s.serialPort = "1";
    s.messages[0] = "CQ CQ CVN TEST";
    s.repeatSeconds = "2";
    load(s);
    const std::string expected = "CW not sent: RTS on " + std::string(name) + ": Inappropriate ioctl for device";
    for (int attempt = 0; attempt < 2; ++attempt) {
        host.messages.clear();
        controller->sender().fKey(1);
        waitIdle();
        ASSERT_FALSE(host.messages.empty());
        EXPECT_EQ(host.messages.back(), expected) << "attempt " << attempt;
        EXPECT_TRUE(controller->sender().buffer().empty());
        EXPECT_FALSE(controller->sender().repeating()) << "no calling loop on a dead line";
    }
    EXPECT_TRUE(dialogs.shown.empty()) << "the port itself opened: no Invalid port box";
    ::close(slave);
    ::close(master);
}

TEST_F(CwWindows, ArrowsKeyboardModeAndEsc) {
    CwSettings s = fast(KeyingOption::Printer);
    s.speedWpm = "13";
    load(s);
    auto up = key(Qt::Key_Up);
    EXPECT_TRUE(controller->handleKeyDown(&up));
    EXPECT_EQ(host.messages.back(), "14 WPM");
    EXPECT_EQ(setup<QLineEdit>("Text11")->text(), "14");

    auto f12 = key(Qt::Key_F12);
    EXPECT_TRUE(controller->handleKeyDown(&f12));
    EXPECT_EQ(host.backgrounds.back(), kKeyboardModeBackground);
    auto c = key(Qt::Key_C, QStringLiteral("c"));
    EXPECT_TRUE(controller->handleKeyPress(&c));
    EXPECT_TRUE(controller->sender().sending());
    auto esc = key(Qt::Key_Escape);
    EXPECT_TRUE(controller->handleKeyPress(&esc));
    waitIdle();
    EXPECT_EQ(host.cleared, 0);
    EXPECT_TRUE(controller->handleKeyPress(&esc));
    EXPECT_EQ(host.cleared, 1);
    auto ctrl = QKeyEvent(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier, QStringLiteral("\x03"));
    EXPECT_FALSE(controller->handleKeyDown(&ctrl));
}

TEST_F(CwWindows, F1RepeatsOnTheRepeatTimerUntilAnyKey) {
    CwSettings s = fast(KeyingOption::Rts);
    s.messages[0] = "E";
    s.repeatSeconds = "0.02";
    load(s);
    int loops = 0;
    const Subscription counting = controller->sender().addIdleListener([&] { ++loops; });
    controller->sender().fKey(1);
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (loops < 3 && std::chrono::steady_clock::now() < giveUp) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    EXPECT_GE(loops, 3);
    auto other = key(Qt::Key_A, QStringLiteral("a"));
    controller->handleKeyDown(&other);
    EXPECT_FALSE(controller->sender().repeating());
    waitIdle();
    const int stoppedAt = loops;
    for (int i = 0; i < 20; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    EXPECT_EQ(loops, stoppedAt);
}

TEST_F(CwWindows, DoneWritesCwTxtAndTheTimingOptions) {
    load(fast(KeyingOption::Rts));
    controller->showSetupWindow();
    setup<QLineEdit>("Text4")->setText(QString());
    setup<QLineEdit>("Text4")->setFocus();
    for (const QString& t : {QStringLiteral("q"), QStringLiteral("\""), QStringLiteral("r")}) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, t);
        QApplication::sendEvent(setup<QLineEdit>("Text4"), &press);
    }
    EXPECT_EQ(setup<QLineEdit>("Text4")->text(), "QR"); // capitals, the quote refused
    setup<QRadioButton>("OptSleep")->setChecked(true);
    setup<QPushButton>("cmdDone")->click();
    EXPECT_FALSE(controller->setupWindow()->isVisible());
    const auto bytes = readWholeFile(dir.file("cw.txt"));
    ASSERT_TRUE(bytes);
    const auto read = parseCwSettings(*bytes);
    EXPECT_TRUE(read.complete);
    EXPECT_EQ(read.settings.messages[3], "QR");
    EXPECT_EQ(read.keyingOption, KeyingOption::Rts);
    EXPECT_EQ(*bytes, formatCwSettings(controller->sender().settings()));
    EXPECT_EQ(settings->get("UserCWSelection"), "Sleep");
    EXPECT_EQ(settings->get("UserCWLoopOffset"), "0");
    EXPECT_TRUE(controller->stringsWindow()->isVisible()); // shown minimized
}

TEST_F(CwWindows, WordSpaceAndRepeatFields) {
    auto* space = setup<QLineEdit>("txtSpace");
    space->setText(QStringLiteral("-12"));
    EXPECT_EQ(space->text(), "-8");
    EXPECT_EQ(controller->sender().settings().wordSpace, "-8");
    setup<QPushButton>("cmdMore")->click();
    EXPECT_EQ(space->text(), "-7");
    space->setText(QStringLiteral("."));
    setup<QPushButton>("cmdLess")->click();
    EXPECT_EQ(space->text(), "0");
    setup<QPushButton>("cmdFaster")->click();
    EXPECT_EQ(setup<QLineEdit>("Text11")->text(), "14");
}

TEST_F(CwWindows, StringsWindowListsTheMessagesAndSendsOnClick) {
    CwSettings s = fast(KeyingOption::None);
    s.messages[0] = "CQ";
    load(s);
    CwStringsWindow* w = controller->stringsWindow();
    w->refresh();
    EXPECT_EQ(w->objectName(), "frmCWStrings");
    EXPECT_EQ(w->windowTitle(), "CW Strings");
    EXPECT_EQ(w->findChild<QLabel*>(QStringLiteral("lblString1"))->text(), "CQ");
    EXPECT_EQ(w->findChild<QLabel*>(QStringLiteral("lblString12"))->text(), "Keyboard");
    w->clickRow(1);
    EXPECT_FALSE(controller->sender().sending()); // "None": inert
    controller->selectKeyingOption(KeyingOption::Rts);
    w->clickRow(1);
    EXPECT_TRUE(controller->sender().sending());
    waitIdle();
}

TEST_F(CwWindows, CodePracticeGeneratesGroupsAndSendsThem) {
    load(fast(KeyingOption::None));
    CodePracticeWindow practice(*controller);
    EXPECT_EQ(practice.windowTitle(), "On the Air Code Practice");
    practice.findChild<QLineEdit*>(QStringLiteral("txtGroups"))->setText(QStringLiteral("abc"));
    practice.findChild<QRadioButton*>(QStringLiteral("optLettersOnly"))->setChecked(true);
    practice.generate();
    EXPECT_EQ(practice.findChild<QLineEdit*>(QStringLiteral("txtGroups"))->text(), "10");
    auto* toSend = practice.findChild<QPlainTextEdit*>(QStringLiteral("txtToSend"));
    EXPECT_EQ(toSend->toPlainText().size(), 60);

    toSend->setPlainText(QStringLiteral("AB"));
    practice.send();
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    auto* sent = practice.findChild<QPlainTextEdit*>(QStringLiteral("txtSent"));
    while (sent->toPlainText() != "AB" && std::chrono::steady_clock::now() < giveUp) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    EXPECT_EQ(sent->toPlainText(), "AB"); // with "None" the text moves on, nothing is keyed
}

// A window that listened to the send loop stops listening when it goes: the loop, which
// lives on, is then driven to its end and must not call into the window.
TEST_F(CwWindows, WindowsThatGoAreNoLongerToldWhenTheSendLoopEnds) {
    CwSettings s = fast(KeyingOption::Rts);
    s.messages[3] = "EE";
    load(s);
    const std::size_t before = controller->sender().idleListenerCount();

    // "Send Code Practice", then the window closed without sending: it is discarded.
    controller->showSetupWindow();
    setup<QPushButton>("cmdCodePractice")->click();
    auto* practice = controller->setupWindow()->findChild<CodePracticeWindow*>();
    ASSERT_NE(practice, nullptr);
    EXPECT_EQ(controller->sender().idleListenerCount(), before + 1);
    QPointer<CodePracticeWindow> gone(practice);
    practice->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(gone.isNull());
    EXPECT_EQ(controller->sender().idleListenerCount(), before);
    setup<QPushButton>("cmdDone")->click();
    auto f4 = key(Qt::Key_F4);
    EXPECT_TRUE(controller->handleKeyDown(&f4));
    waitIdle();

    // The setup window's "Sending!" listener goes with it as well.
    delete controller->setupWindow();
    EXPECT_EQ(controller->sender().idleListenerCount(), before - 1);
    controller->sender().fKey(4);
    waitIdle();
    EXPECT_TRUE(dialogs.shown.empty());
}

} // namespace
} // namespace corvane::cw
