#include "cw/winkey/WinKeyerController.h"

#include "support/FakeSerialPort.h"
#include "support/ManualTimer.h"

#include <gtest/gtest.h>

namespace corvane::cw {
namespace {

const std::string kGreeting("\x13\x13\x13\x00\x04\x55\x00\x02", 8);
// The settings as Open sends them by default: speed 18, weight 50, lead/tail 0 0, ratio 50,
// pins 6, mode 0.
const std::string kDefaultSettings("\x02\x12\x03\x32\x04\x00\x00\x17\x32\x09\x06\x0E\x00", 13);

struct Boxes : WinKeyerHost {
    std::vector<std::pair<std::string, std::string>> boxes;
    std::vector<std::string> messages;
    void reportFailure(const std::string& title, const std::string& text) override { boxes.emplace_back(title, text); }
    void showMessage(const std::string& text) override { messages.push_back(text); }
};

struct View : WinKeyerView {
    std::string status;
    std::string version;
    int fieldShows = 0;
    int doneFocus = 0;
    bool shown = true;
    void showStatus(const std::string& t) override { status = t; }
    void showVersion(const std::string& t) override { version = t; }
    void showFields() override { ++fieldShows; }
    bool isShown() const override { return shown; }
    void focusDone() override { ++doneFocus; }
};

struct WinKeyerControl : ::testing::Test {
    FakeSerialPort port;
    test::ManualTimeline time;
    test::ManualTimer linkTimer{time};
    test::ManualTimer sendTimer{time};
    WinKeyer keyer{port, linkTimer};
    std::string buffer;
    Boxes host;
    View view;
    WinKeyerController wk{keyer, sendTimer, buffer, host};
    int handedOver = 0;

    void SetUp() override {
        wk.setView(&view);
        wk.setHandedOver([this] { ++handedOver; });
        wk.load(std::nullopt, "18");
        wk.comPortLeft("1");
    }
    void reply(std::string bytes) {
        port.replies.push_back(std::move(bytes));
        keyer.dataArrived();
    }
    void answerOpen(std::uint8_t version = 23) {
        reply("\x55");
        reply(std::string(1, static_cast<char>(version)));
    }
    void openKeyer() {
        wk.openKeyer();
        answerOpen();
        ASSERT_TRUE(wk.isOpen());
        port.written.clear();
    }
};

TEST_F(WinKeyerControl, OpenShowsSuccessAndTheVersionAndSendsTheSettings) {
    wk.comPortLeft("4");
    EXPECT_EQ(view.status, "");
    wk.openKeyer();
    EXPECT_EQ(port.portNumber(), 4);
    answerOpen(31);
    EXPECT_EQ(view.status, "WK Success!");
    EXPECT_EQ(view.version, "Version # 31");
    EXPECT_EQ(wk.openVersion(), 31);
    EXPECT_EQ(port.written, kGreeting + "\x15" + kDefaultSettings);
    EXPECT_EQ(view.doneFocus, 1);
    EXPECT_TRUE(host.boxes.empty());

    // Open again: "WK Already Open", no box, nothing sent, the version stays.
    port.written.clear();
    wk.openKeyer();
    EXPECT_EQ(view.status, "WK Already Open");
    EXPECT_EQ(wk.openVersion(), 31);
    EXPECT_TRUE(port.written.empty());
    EXPECT_TRUE(host.boxes.empty());

    wk.closeKeyer();
    EXPECT_EQ(view.status, "Closed");
    EXPECT_EQ(view.version, "Version #");
    EXPECT_EQ(wk.openVersion(), 0);
    EXPECT_EQ(port.written, std::string("\x00\x03", 2));
    EXPECT_FALSE(port.isOpen());
}

TEST_F(WinKeyerControl, AKeyerThatNeverAnswersShowsTheBoxAndNoEchoResponse) {
    wk.comPortLeft("2");
    wk.openKeyer();
    time.advance(1000);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].first, "Unable to establish connection with Winkey.");
    EXPECT_EQ(host.boxes[0].second,
              "Unable to establish connection with WinKey on com port 2.  Please check to make sure that you have "
              "specified the correct port and that the Winkey device is properly connected.");
    EXPECT_EQ(view.status, "No Echo Response");
    EXPECT_EQ(wk.openVersion(), 0);
    // The settings "are sent" to the closed port: nothing goes out, nothing fails.
    EXPECT_EQ(port.written, kGreeting + std::string("\x00\x03", 2));
}

TEST_F(WinKeyerControl, AKeyerThatIsNotPluggedInIsNamedOnTheMessageLine) {
    wk.comPortLeft("3");
    port.failOpen = true;
    port.openError = "Serial port 3 is set to /dev/serial/by-id/usb-K1EL-if00, which is not plugged in.";
    wk.openKeyer();
    EXPECT_EQ(view.status, "Com Open Failed");
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].first, "Unable to establish connection with Winkey.");
    EXPECT_EQ(host.messages, std::vector<std::string>{port.openError});
    EXPECT_EQ(keyer.lastRefusal(), port.openError);
    // Opened at the next try: nothing is left of the failure.
    port.failOpen = false;
    host.messages.clear();
    openKeyer();
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(keyer.lastRefusal(), "");
}

TEST_F(WinKeyerControl, TransmitOpensFirstAndHandsOverOneCharacterEveryTenMs) {
    buffer = "CQ DE K1ABC";
    wk.transmit();
    EXPECT_TRUE(wk.transmitting());
    answerOpen();
    port.written.clear(); // greeting, status request and settings
    // The first character went out with the open.
    EXPECT_EQ(buffer, "Q DE K1ABC");
    time.advance(10);
    EXPECT_EQ(buffer, " DE K1ABC");
    reply(std::string("\xC5", 1)); // XOFF: hold
    time.advance(50);
    EXPECT_EQ(buffer, " DE K1ABC");
    reply(std::string("\xC4", 1));
    time.advance(10);
    EXPECT_EQ(buffer, "DE K1ABC");
    time.advance(80);
    EXPECT_EQ(buffer, "");
    EXPECT_EQ(handedOver, 0); // the loop sees the empty buffer on its next step
    time.advance(10);
    EXPECT_EQ(handedOver, 1);
    EXPECT_FALSE(wk.transmitting());
    EXPECT_EQ(port.written, "Q DE K1ABC");
}

TEST_F(WinKeyerControl, EscAndStopEndTheLoopAndTextAddedWhileItRunsIsTaken) {
    openKeyer();
    buffer = "TEST";
    wk.transmit();
    wk.transmit(); // nested: the running loop takes it
    buffer += "X";
    time.advance(10);
    EXPECT_EQ(port.written, "TE");
    buffer.clear(); // Esc
    time.advance(10);
    EXPECT_EQ(handedOver, 1);
    EXPECT_EQ(port.written, "TE");

    buffer = "ABC";
    wk.transmit();
    wk.stop();
    EXPECT_EQ(port.written, "TEA\x0A");
    EXPECT_EQ(buffer, "");
    time.advance(10);
    EXPECT_EQ(handedOver, 2);
}

TEST_F(WinKeyerControl, AKeyerLostMidMessageEmptiesTheBufferAndSaysSo) {
    openKeyer();
    buffer = "CQ CQ TEST";
    wk.transmit();
    time.advance(20);
    port.close(); // unplugged
    time.advance(10);
    EXPECT_EQ(buffer, "");
    EXPECT_EQ(view.status, "WK Connection Lost");
    EXPECT_EQ(view.version, "Version #");
    EXPECT_FALSE(wk.isOpen());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].rfind("WinKey connection lost", 0), 0u);
    time.advance(10);
    EXPECT_EQ(handedOver, 1);
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(WinKeyerControl, TextSentWhileTheOpenButtonsOpenRunsWaitsForIt) {
    wk.openKeyer(); // "Open"
    buffer = "TU";
    wk.transmit(); // a function key a moment later
    EXPECT_EQ(view.status, "");
    EXPECT_EQ(buffer, "TU");
    answerOpen();
    EXPECT_EQ(view.status, "WK Success!"); // not "WK Already Open"
    EXPECT_EQ(buffer, "U");
    EXPECT_EQ(port.written.back(), 'T');
    time.advance(20);
    EXPECT_EQ(handedOver, 1);

    // Closed before it answered: the waiting text is dropped, nothing hangs.
    wk.closeKeyer();
    wk.openKeyer();
    buffer = "CQ";
    wk.transmit();
    wk.closeKeyer();
    EXPECT_EQ(buffer, "");
    EXPECT_EQ(handedOver, 2);
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(WinKeyerControl, TransmitWithNoKeyerEmptiesTheBuffer) {
    buffer = "CQ";
    wk.transmit();
    time.advance(1000);
    EXPECT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(buffer, "");
    EXPECT_EQ(handedOver, 1);
    EXPECT_FALSE(wk.transmitting());
}

TEST_F(WinKeyerControl, WindowButtonsAndTypingFillTheBuffer) {
    openKeyer();
    wk.test("K1ABC");
    EXPECT_EQ(buffer, "VV TEST DE K1ABC");
    EXPECT_EQ(port.written, "V");
    wk.bufferTest(); // the loop is running: appended, no second loop
    EXPECT_EQ(buffer, std::string("VV TEST DE K1ABC") + bufferTestText());
    EXPECT_EQ(bufferTestText(), "ABCDEFGHIJKLMNOPQRSTUVWXYZ ABCDEFGHIJKLMNOPQRSTUVWXYZ ABCDEFGHIJKLMNOPQRSTUVWXYZ ");
    wk.stop();
    time.advance(10);

    port.written.clear();
    wk.typed('c');
    wk.typed('\r'); // 13 and below are not taken
    wk.typed('q');
    EXPECT_EQ(port.written, "C");
    EXPECT_EQ(buffer, "Q");
    wk.typed('\x1B'); // taken into the buffer, but never handed to the keyer as a command
    time.advance(50);
    EXPECT_EQ(port.written, "CQ");
}

TEST_F(WinKeyerControl, FieldChecksSendWhetherOrNotTheKeyerIsOpen) {
    wk.speedLeft("");
    EXPECT_EQ(wk.settings().speedWpm, "18");
    wk.ratioLeft("68");
    EXPECT_EQ(wk.settings().ratio, "68");
    EXPECT_TRUE(port.written.empty()); // closed: nothing goes out, nothing fails

    openKeyer();
    wk.speedLeft("30");
    wk.ratioLeft("32");
    wk.weightLeft("");
    wk.leadInLeft("4");
    wk.tailLeft("");
    EXPECT_EQ(wk.settings().tail, "0");
    wk.tailLeft("9");
    EXPECT_EQ(port.written, std::string("\x02\x1E\x17\x20\x04\x04\x00\x04\x04\x09", 10));
    EXPECT_EQ(wk.settings().weight, "50");

    // A mode or pin button resends everything while open.
    port.written.clear();
    wk.chooseKeyerMode(32);
    EXPECT_EQ(port.written, std::string("\x02\x1E\x03\x32\x04\x04\x09\x17\x20\x09\x06\x0E\x20", 13));
    wk.closeKeyer();
    port.written.clear();
    wk.choosePinConfig(8);
    EXPECT_EQ(wk.settings().pinConfig, 8);
    EXPECT_TRUE(port.written.empty());
}

TEST_F(WinKeyerControl, SpeedCouplingWhileOpenAndTheNextOpenSendsTheSpeedTheProgramShows) {
    wk.speedChanged("25", true);
    EXPECT_TRUE(port.written.empty());
    EXPECT_EQ(wk.settings().speedWpm, "25"); // the field follows while the keyer is closed
    openKeyer();
    wk.speedChanged("25", true);
    wk.speedChanged("4", true);
    wk.speedChanged("100", true);
    wk.speedChanged("99", true);
    EXPECT_EQ(port.written, std::string("\x02\x19\x02\x63", 4));
    port.written.clear();
    wk.speedChanged("21", false); // another option keys: the keyer is not told
    EXPECT_TRUE(port.written.empty());

    wk.closeKeyer();
    port.written.clear();
    wk.openKeyer();
    answerOpen();
    EXPECT_EQ(port.written.substr(kGreeting.size() + 1, 2), "\x02\x15"); // 21 WPM, as shown
}

TEST_F(WinKeyerControl, KeyerIdleIsTheIdleReportAfterBusyThatFollowsTheLastCharacter) {
    int idles = 0;
    wk.setKeyerIdle([&] { ++idles; });
    openKeyer();
    buffer = "EE";
    wk.transmit();
    reply("\xC4"); // busy with the first E
    reply("\xC0"); // done with it before the second is handed over: not the end yet
    time.advance(kSendStepMs);
    time.advance(kSendStepMs);
    EXPECT_EQ(handedOver, 1);
    EXPECT_EQ(port.written, "EE");
    reply("\xC0"); // from before the last E reached the keyer
    EXPECT_EQ(idles, 0);
    reply("\xC4");
    reply("\xC4");
    EXPECT_EQ(idles, 0);
    reply("\xC0");
    EXPECT_EQ(idles, 1);
    reply("\xC4"); // the paddle, say: nothing of ours
    reply("\xC0");
    EXPECT_EQ(idles, 1);

    // Nothing the keyer could send: idle as soon as it is handed over.
    buffer = std::string(1, '\x01');
    wk.transmit();
    time.advance(kSendStepMs);
    EXPECT_EQ(handedOver, 2);
    EXPECT_EQ(idles, 2);
}

TEST_F(WinKeyerControl, LoadTakesTheFileThenTheCwSpeed) {
    const std::string file = "3\r\n\"30\"\r\n\"45\"\r\n\"2\"\r\n\"3\"\r\n\"40\"\r\n4\r\n16\r\n";
    wk.load(file, "22");
    EXPECT_EQ(wk.settings().speedWpm, "22");
    EXPECT_EQ(wk.settings().weight, "45");
    EXPECT_EQ(wk.settings().pinConfig, 4);
    EXPECT_EQ(wk.settings().keyerMode, 16);
    EXPECT_EQ(wk.comPortField(), "3");
    EXPECT_EQ(wk.fileBytes(), "3\r\n\"22\"\r\n\"45\"\r\n\"2\"\r\n\"3\"\r\n\"40\"\r\n4\r\n16\r\n");

    wk.load(std::nullopt, "13");
    EXPECT_EQ(wk.settings().pinConfig, 6);
    EXPECT_EQ(wk.comPortField(), "0");
}

} // namespace
} // namespace corvane::cw
