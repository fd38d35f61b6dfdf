#include "cw/CwSendController.h"

#include <gtest/gtest.h>

namespace corvane::cw {
namespace {

struct FakeHost : CwHost {
    std::string call;
    int logged = 0;
    int cleared = 0;
    int voiceStops = 0;
    std::vector<std::string> messages;
    std::vector<Rgb> backgrounds;
    std::function<void()> onLog;

    std::string callText() const override { return call; }
    void logContact() override {
        ++logged;
        if (onLog) {
            onLog();
        }
    }
    void clearEntry() override { ++cleared; }
    void showMessage(const std::string& text) override { messages.push_back(text); }
    void setMessageBackground(Rgb colour) override { backgrounds.push_back(colour); }
    void stopVoiceRepeat() override { ++voiceStops; }
};

struct FakeKeyer : CharacterKeyer {
    std::string sent;
    std::string failure;
    KeyTiming timing;
    void setTiming(const KeyTiming& t) override { timing = t; }
    void transmit(char c) override { sent.push_back(c); }
    std::string lineFailure() const override { return failure; }
};

struct FakeTimer : RepeatTimer {
    int startedMs = -1;
    int starts = 0;
    bool running = false;
    void start(int ms) override {
        startedMs = ms;
        ++starts;
        running = true;
    }
    void stop() override { running = false; }
};

struct FakeWinKeyer : WinKeyerLink {
    bool open = true;
    int busy = 0;
    std::string* buffer = nullptr; // the controller's send buffer, as the real link is given
    std::vector<std::string> texts;
    std::vector<std::string> speeds;
    std::vector<bool> keying;
    int clears = 0;
    int backspaces = 0;
    bool isOpen() const override { return open; }
    void transmit() override { texts.push_back(buffer != nullptr ? *buffer : std::string()); }
    void clearBuffer() override { ++clears; }
    void backspace() override { ++backspaces; }
    int status() override { return busy; }
    void speedChanged(const std::string& speed, bool keyingNow) override {
        speeds.push_back(speed);
        keying.push_back(keyingNow);
    }
};

struct CwSend : ::testing::Test {
    FakeHost host;
    FakeKeyer keyer;
    FakeTimer timer;
    CwSendController cw{host, keyer, timer};

    void SetUp() override {
        CwSettings s;
        s.keyingOption = KeyingOption::Rts;
        s.messages[0] = "CQ $";
        s.messages[1] = "$ TU";
        s.messages[2] = "TU !";
        cw.setSettings(s);
    }
    // Lets the keyer finish every character handed to it, the last unit of the last included.
    void finishAll() {
        while (cw.characterOnAir()) {
            cw.characterDone(CharacterOutcome::Sent);
        }
        cw.lineQuiet();
    }
};

TEST_F(CwSend, AFunctionKeySendsItsMessageOneCharacterAtATime) {
    host.call = "K1ABC";
    cw.fKey(2);
    EXPECT_TRUE(cw.sending());
    EXPECT_EQ(keyer.sent, "K");
    EXPECT_EQ(cw.buffer(), "1ABC TU");
    cw.characterDone(CharacterOutcome::Sent);
    EXPECT_EQ(keyer.sent, "K1");
    EXPECT_EQ(host.messages.back(), "1ABC TU"); // the text still waiting
    finishAll();
    EXPECT_EQ(keyer.sent, "K1ABC TU");
    EXPECT_FALSE(cw.sending());
    EXPECT_EQ(host.messages.back(), "");
    EXPECT_DOUBLE_EQ(keyer.timing.speedWpm, 13.0);
}

TEST_F(CwSend, TheBangLogsTheContactWhenSendingReachesIt) {
    host.call = "K1ABC";
    cw.fKey(3);
    cw.characterDone(CharacterOutcome::Sent); // T
    cw.characterDone(CharacterOutcome::Sent); // U
    EXPECT_EQ(host.logged, 0);
    cw.characterDone(CharacterOutcome::Sent); // space, then '!' logs without keying
    EXPECT_EQ(host.logged, 1);
    EXPECT_EQ(keyer.sent, "TU ");
    EXPECT_FALSE(cw.sending());

    host.call.clear();
    keyer.sent.clear();
    cw.fKey(3);
    finishAll();
    EXPECT_EQ(keyer.sent, "TU ");
    EXPECT_EQ(host.logged, 1);
}

TEST_F(CwSend, AFunctionKeyDuringSendingReplacesTheRestAfterTheCharacterOnTheAir) {
    host.call = "W1AW";
    cw.fKey(1);
    EXPECT_EQ(keyer.sent, "C");
    cw.fKey(2);
    EXPECT_EQ(keyer.sent, "C"); // the C is still on the air
    finishAll();
    EXPECT_EQ(keyer.sent, "CW1AW TU");
}

TEST_F(CwSend, EscStopsAfterTheCurrentCharacterAndClearsTheEntryWhenIdle) {
    cw.fKey(3);
    EXPECT_TRUE(cw.keyPress(kEscape));
    EXPECT_EQ(host.cleared, 0);
    finishAll();
    EXPECT_EQ(keyer.sent, "T");
    EXPECT_FALSE(cw.sending());
    EXPECT_TRUE(cw.keyPress(kEscape));
    EXPECT_EQ(host.cleared, 1);
}

TEST_F(CwSend, KeyboardModeSendsTypedCharactersAndBackspaceRemovesUnsentOnes) {
    EXPECT_FALSE(cw.keyPress('c')); // not in keyboard mode: the key goes on to the field
    EXPECT_TRUE(cw.keyDown(CwKey::F12));
    EXPECT_EQ(host.messages.back(), kKeyboardModeOn);
    EXPECT_EQ(host.backgrounds.back(), kKeyboardModeBackground);
    EXPECT_TRUE(cw.keyPress('c'));
    EXPECT_TRUE(cw.keyPress('q'));
    EXPECT_TRUE(cw.keyPress('x'));
    EXPECT_TRUE(cw.keyPress(kBackspace)); // X had not started
    EXPECT_EQ(keyer.sent, "C");
    finishAll();
    EXPECT_EQ(keyer.sent, "CQ");
    EXPECT_EQ(host.messages.back(), kKeyboardModeStillOn);
    EXPECT_TRUE(cw.keyPress(kBackspace)); // nothing left to remove, still consumed
    EXPECT_TRUE(cw.keyDown(CwKey::F12));
    EXPECT_EQ(host.messages.back(), "");
    EXPECT_EQ(host.backgrounds.back(), kMessageAreaBackground);
}

TEST_F(CwSend, F1RepeatsAfterThePauseUntilAnyKey) {
    host.call = "K1ABC";
    EXPECT_TRUE(cw.applyRepeatSeconds("2"));
    cw.fKey(1);
    EXPECT_TRUE(cw.repeating());
    finishAll();
    EXPECT_TRUE(timer.running);
    EXPECT_EQ(timer.startedMs, 2000);
    cw.repeatTimerFired();
    EXPECT_EQ(keyer.sent, "CQ K1ABCC");
    // F2 during the repeating F1 stops the loop and sends F2.
    EXPECT_TRUE(cw.keyDown(CwKey::F2));
    EXPECT_FALSE(cw.repeating());
    finishAll();
    EXPECT_EQ(keyer.sent, "CQ K1ABCCK1ABC TU");
    EXPECT_FALSE(timer.running);
    EXPECT_EQ(timer.starts, 1);
}

TEST_F(CwSend, TheRepeatPauseStartsWhenTheLastUnitHasEnded) {
    host.call = "K1ABC";
    ASSERT_TRUE(cw.applyRepeatSeconds("2"));
    cw.fKey(1);
    // The keyer reports each character during its last gap unit.
    while (cw.characterOnAir()) {
        cw.characterDone(CharacterOutcome::Sent);
    }
    EXPECT_FALSE(cw.sending());
    EXPECT_FALSE(timer.running); // the last gap unit is still on the air
    cw.lineQuiet();
    EXPECT_TRUE(timer.running);
    EXPECT_EQ(timer.startedMs, 2000);
    cw.lineQuiet(); // a second report changes nothing
    EXPECT_EQ(timer.starts, 1);

    // A key pressed before the line is quiet ends the calling loop: no pause follows.
    cw.repeatTimerFired();
    while (cw.characterOnAir()) {
        cw.characterDone(CharacterOutcome::Sent);
    }
    cw.keyDown(CwKey::Other);
    cw.lineQuiet();
    EXPECT_FALSE(timer.running);
    EXPECT_EQ(timer.starts, 1);

    // A message of nothing but "!" keys nothing: the pause starts at once.
    cw.settings().messages[0] = "!";
    cw.fKey(1);
    EXPECT_TRUE(timer.running);
    EXPECT_EQ(timer.starts, 2);
}

TEST_F(CwSend, RepeatFieldOutsideZeroToSixtyIsZero) {
    EXPECT_FALSE(cw.applyRepeatSeconds("60"));
    EXPECT_EQ(cw.settings().repeatSeconds, "0");
    EXPECT_EQ(cw.repeatIntervalMs(), 0);
    cw.fKey(1);
    EXPECT_FALSE(cw.repeating());
}

TEST_F(CwSend, ArrowsChangeTheSpeedAndTheKeyerFollows) {
    EXPECT_TRUE(cw.keyDown(CwKey::Up));
    EXPECT_EQ(host.messages.back(), "14 WPM");
    EXPECT_DOUBLE_EQ(keyer.timing.speedWpm, 14.0);
    EXPECT_TRUE(cw.keyDown(CwKey::Down));
    EXPECT_TRUE(cw.keyDown(CwKey::Down));
    EXPECT_EQ(host.messages.back(), "12 WPM");
    EXPECT_FALSE(cw.keyDown(CwKey::Other));
    EXPECT_EQ(host.voiceStops, 4);
}

TEST_F(CwSend, ASpeedOfZeroIsRefusedAndTheOperatorTold) {
    cw.settings().speedWpm = "1";
    cw.keyDown(CwKey::Down);
    cw.fKey(2);
    EXPECT_EQ(keyer.sent, "");
    EXPECT_FALSE(cw.sending());
    EXPECT_NE(std::find(host.messages.begin(), host.messages.end(), kNoSpeedMessage), host.messages.end());
    EXPECT_EQ(host.messages.back(), kNoSpeedMessage); // not replaced by the end-of-sending text

    // The speed dropping to nothing while a character is on the air ends the message.
    cw.settings().speedWpm = "20";
    host.call = "K1ABC";
    cw.fKey(2);
    cw.characterDone(CharacterOutcome::NoSpeed);
    EXPECT_EQ(keyer.sent, "K");
    EXPECT_FALSE(cw.sending());
    EXPECT_EQ(host.messages.back(), kNoSpeedMessage);

    // In keyboard mode as well; the next sending clears it as usual.
    cw.keyDown(CwKey::F12);
    cw.settings().speedWpm = "0";
    cw.keyPress('e');
    EXPECT_EQ(host.messages.back(), kNoSpeedMessage);
    cw.settings().speedWpm = "20";
    cw.keyPress('e');
    finishAll();
    EXPECT_EQ(host.messages.back(), kKeyboardModeStillOn);
}

TEST_F(CwSend, NoneKeysNothing) {
    cw.setKeyingOption(KeyingOption::None);
    cw.fKey(1);
    EXPECT_FALSE(cw.sending());
    EXPECT_FALSE(cw.keyDown(CwKey::F1));
    EXPECT_FALSE(cw.keyDown(CwKey::Up));
    EXPECT_EQ(cw.settings().speedWpm, "13");
    // Code practice text still moves on without keying.
    cw.replaceBuffer("AB");
    cw.loopThroughBuffer();
    EXPECT_EQ(keyer.sent, "");
    EXPECT_EQ(cw.buffer(), "");
    EXPECT_FALSE(cw.sending());
}

TEST_F(CwSend, CloseIsRefusedWhileACharacterIsOnTheAir) {
    cw.fKey(2);
    EXPECT_FALSE(cw.mayClose());
    EXPECT_EQ(cw.buffer(), "");
    finishAll();
    EXPECT_TRUE(cw.mayClose());
}

TEST_F(CwSend, ALineFailureEndsTheSendingAndTheLoopAndSaysWhy) {
    keyer.failure = "RTS on /dev/ttyUSB0: Inappropriate ioctl for device";
    ASSERT_TRUE(cw.applyRepeatSeconds("2"));
    cw.fKey(1);
    cw.characterDone(CharacterOutcome::LineFailed);
    finishAll();
    EXPECT_EQ(keyer.sent, "C") << "nothing after the failed character is handed over";
    EXPECT_FALSE(cw.sending());
    EXPECT_FALSE(cw.repeating());
    EXPECT_FALSE(timer.running);
    ASSERT_FALSE(host.messages.empty());
    EXPECT_EQ(host.messages.back(), "CW not sent: RTS on /dev/ttyUSB0: Inappropriate ioctl for device");

    // The next function key tries again.
    keyer.sent.clear();
    cw.fKey(3);
    finishAll();
    EXPECT_EQ(keyer.sent, "TU ");
}

TEST_F(CwSend, TheDisplaySwitchKeepsTheMessageAreaQuiet) {
    cw.settings().displayText = false;
    cw.fKey(2);
    finishAll();
    EXPECT_TRUE(host.messages.empty());
}

TEST(CwSendControllerWinKey, TheWholeBufferGoesToTheWinKeyerAndTheBangLogsFirst) {
    FakeHost host;
    FakeKeyer keyer;
    FakeTimer timer;
    FakeWinKeyer wk;
    CwSendController cw(host, keyer, timer, &wk);
    wk.buffer = &cw.sendBuffer();
    CwSettings s;
    s.keyingOption = KeyingOption::WinKey;
    s.messages[2] = "TU $ !";
    cw.setSettings(s);
    host.call = "K1ABC";
    cw.fKey(3);
    EXPECT_EQ(host.logged, 1);
    ASSERT_EQ(wk.texts.size(), 1u);
    EXPECT_EQ(wk.texts[0], "TU K1ABC !");
    EXPECT_EQ(cw.buffer(), "TU K1ABC !"); // the WinKeyer's loop takes it from here
    EXPECT_FALSE(cw.sending());
    EXPECT_EQ(keyer.sent, "");

    wk.busy = 1;
    EXPECT_TRUE(cw.keyPress(kEscape));
    EXPECT_EQ(wk.clears, 1);
    EXPECT_EQ(cw.buffer(), "");
    EXPECT_EQ(host.cleared, 0);

    cw.keyDown(CwKey::F12);
    EXPECT_TRUE(cw.keyPress(kBackspace));
    EXPECT_EQ(wk.backspaces, 1);
    EXPECT_TRUE(cw.keyPress('q'));
    EXPECT_EQ(cw.buffer(), "Q");
    EXPECT_EQ(wk.texts.back(), "Q");

    // Without a WinKeyer nothing is sent and nothing is said.
    const std::size_t messages = host.messages.size();
    CwSendController without(host, keyer, timer);
    without.setSettings(s);
    without.fKey(3);
    EXPECT_EQ(without.buffer(), "");
    EXPECT_EQ(host.messages.size(), messages);
}

TEST(CwSendControllerWinKey, TheCallingLoopPauseStartsWhenTheKeyerHasSentItAll) {
    FakeHost host;
    FakeKeyer keyer;
    FakeTimer timer;
    FakeWinKeyer wk;
    CwSendController cw(host, keyer, timer, &wk);
    wk.buffer = &cw.sendBuffer();
    CwSettings s;
    s.keyingOption = KeyingOption::WinKey;
    s.messages[0] = "CQ TEST";
    s.repeatSeconds = "2.5";
    cw.setSettings(s);
    int idles = 0;
    const Subscription idle = cw.addIdleListener([&] { ++idles; });
    cw.fKey(1);
    EXPECT_TRUE(cw.repeating());
    cw.winKeyerIdle(); // the keyer going quiet while the message is still being handed over
    EXPECT_EQ(timer.starts, 0);
    cw.sendBuffer().clear();
    cw.winKeyerHandedOver();
    EXPECT_EQ(idles, 1);        // the hand-over is the end of our send loop
    EXPECT_EQ(timer.starts, 0); // but the keyer has the whole message still to send
    cw.winKeyerIdle();
    EXPECT_EQ(timer.starts, 1);
    EXPECT_EQ(timer.startedMs, 2500);
    cw.winKeyerHandedOver(); // the window's own sending ends: no second start
    cw.winKeyerIdle();
    EXPECT_EQ(timer.starts, 1);
    EXPECT_EQ(idles, 1);

    // Any key stops the loop and clears the keyer.
    cw.keyDown(CwKey::Other);
    EXPECT_FALSE(cw.repeating());
    EXPECT_FALSE(timer.running);
    EXPECT_EQ(wk.clears, 1);
}

TEST(CwSendControllerWinKey, SpeedChangesReachTheWinKeyerOnlyWhenTheSpeedChanged) {
    FakeHost host;
    FakeKeyer keyer;
    FakeTimer timer;
    FakeWinKeyer wk;
    CwSendController cw(host, keyer, timer, &wk);
    CwSettings s;
    s.keyingOption = KeyingOption::WinKey;
    s.speedWpm = "20";
    cw.setSettings(s);
    EXPECT_EQ(wk.speeds, std::vector<std::string>{"20"});
    cw.keyDown(CwKey::Up);
    cw.keyDown(CwKey::Down);
    cw.keyDown(CwKey::Down);
    EXPECT_EQ(wk.speeds, (std::vector<std::string>{"20", "21", "20", "19"}));
    cw.settings().wordSpace = "2"; // a word-space change is no speed change
    cw.timingChanged();
    EXPECT_EQ(wk.speeds.size(), 4u);

    EXPECT_EQ(wk.keying, (std::vector<bool>{true, true, true, true}));

    // Another keying: the WinKeyer's speed field follows, the keyer is not told.
    cw.setKeyingOption(KeyingOption::Rts);
    cw.keyDown(CwKey::Up);
    EXPECT_EQ(wk.speeds.back(), "20");
    EXPECT_FALSE(wk.keying.back());
}

} // namespace
} // namespace corvane::cw
