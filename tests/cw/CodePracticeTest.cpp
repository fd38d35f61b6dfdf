#include "cw/CodePractice.h"

#include <deque>
#include <gtest/gtest.h>

namespace corvane::cw {
namespace {

struct QuietHost : CwHost {
    std::string callText() const override { return {}; }
    void logContact() override {}
    void clearEntry() override {}
    void showMessage(const std::string&) override {}
    void setMessageBackground(Rgb) override {}
};
struct ListKeyer : CharacterKeyer {
    std::string sent;
    void setTiming(const KeyTiming&) override {}
    void transmit(char c) override { sent.push_back(c); }
};
struct NoTimer : RepeatTimer {
    void start(int) override {}
    void stop() override {}
};
// A WinKeyer whose send loop hands the whole buffer over at once; the test ends the loop.
struct HandingWinKeyer : WinKeyerLink {
    std::string* buffer = nullptr;
    std::string handed;
    bool open = true;
    bool looping = false;
    int clears = 0;
    bool isOpen() const override { return open; }
    void transmit() override {
        handed += open ? *buffer : std::string();
        buffer->clear();
        looping = true;
    }
    void clearBuffer() override { ++clears; }
    void backspace() override {}
    int status() override { return 0; }
    void speedChanged(const std::string&, bool) override {}
};

TEST(CodePractice, GroupsComeFromThePoolEachFollowedByASpace) {
    std::mt19937 random(7);
    const std::string letters = generateGroups(10, 5, true, random);
    ASSERT_EQ(letters.size(), 60u);
    for (std::size_t i = 0; i < letters.size(); ++i) {
        if (i % 6 == 5) {
            EXPECT_EQ(letters[i], ' ');
        } else {
            EXPECT_TRUE(letters[i] >= 'A' && letters[i] <= 'Z') << letters[i];
        }
    }
    // "All" reaches every position of the pool, the last ones included.
    const std::string all = generateGroups(400, 5, false, random);
    for (const char c : kPracticePool) {
        EXPECT_NE(all.find(c), std::string::npos) << c;
    }
    EXPECT_EQ(normaliseGroupFields("abc", "x").groups, "10");
    EXPECT_EQ(normaliseGroupFields("abc", "x").characters, "5");
    EXPECT_EQ(normaliseGroupFields("3", "4").groups, "3");
}

struct PracticeRig : ::testing::Test {
    QuietHost host;
    ListKeyer keyer;
    NoTimer timer;
    HandingWinKeyer wk;
    CwSendController cw{host, keyer, timer, &wk};
    std::string toSend = "AB C";
    std::string sentText;
    std::deque<std::function<void()>> posted;
    bool finished = false;
    Subscription idle;
    PracticeSender sender{cw,
                          {[this] { return toSend; }, [this](char c) { sentText.push_back(c); }, [](std::size_t) {},
                           [this](std::function<void()> f) { posted.push_back(std::move(f)); },
                           [this] { finished = true; }}};

    void SetUp() override {
        CwSettings s;
        s.keyingOption = KeyingOption::Rts;
        cw.setSettings(s);
        wk.buffer = &cw.sendBuffer();
        idle = cw.addIdleListener([this] { sender.controllerIdle(); });
    }
    // Runs the event loop: the keyer finishes characters and posted steps run.
    void run() {
        while (cw.characterOnAir() || wk.looping || !posted.empty()) {
            if (cw.characterOnAir()) {
                cw.characterDone(CharacterOutcome::Sent);
            }
            if (wk.looping) {
                wk.looping = false;
                cw.winKeyerHandedOver();
            }
            while (!posted.empty()) {
                auto f = std::move(posted.front());
                posted.pop_front();
                f();
            }
        }
    }
};

TEST_F(PracticeRig, SendsTheTextOneCharacterAtATime) {
    sender.start();
    EXPECT_EQ(keyer.sent, "A");
    run();
    EXPECT_EQ(keyer.sent, "AB C");
    EXPECT_EQ(sentText, "AB C");
    EXPECT_TRUE(finished);
}

TEST_F(PracticeRig, EditsDuringSendingCountFromTheNextCharacter) {
    sender.start();
    toSend.clear(); // clearing "Text to Send" ends after the character in progress
    run();
    EXPECT_EQ(keyer.sent, "A");
    EXPECT_TRUE(finished);
}

TEST_F(PracticeRig, StopEndsAfterTheCharacterInProgress) {
    sender.start();
    sender.stop();
    EXPECT_FALSE(finished);
    run();
    EXPECT_EQ(keyer.sent, "A");
    EXPECT_TRUE(finished);
    EXPECT_FALSE(sender.running());

    // Send again while the stop still waits for its character: the new text starts then.
    finished = false;
    keyer.sent.clear();
    sender.start();
    sender.stop();
    toSend = "EE";
    sender.start();
    run();
    EXPECT_EQ(keyer.sent, "AEE");
    EXPECT_TRUE(finished);
}

TEST_F(PracticeRig, WithNoneTheTextMovesOnWithoutKeying) {
    cw.setKeyingOption(KeyingOption::None);
    sender.start();
    run();
    EXPECT_EQ(keyer.sent, "");
    EXPECT_EQ(sentText, "AB C");
    EXPECT_TRUE(finished);
}

TEST_F(PracticeRig, WithTheWinKeyerEveryCharacterGoesAndStopClearsTheKeyer) {
    cw.setKeyingOption(KeyingOption::WinKey);
    sender.start();
    run();
    EXPECT_EQ(wk.handed, "AB C"); // each hand-over moves the practice on
    EXPECT_EQ(sentText, "AB C");
    EXPECT_TRUE(finished);

    // Stop reaches the characters queued in the keyer, and Send works again afterwards.
    finished = false;
    sender.start();
    sender.stop();
    run();
    EXPECT_EQ(wk.clears, 1);
    EXPECT_TRUE(finished);
    sender.start();
    run();
    EXPECT_EQ(wk.handed, "AB CAAB C");

    // A keyer that cannot be opened drops the text: the practice ends at the first character.
    wk.open = false;
    sentText.clear();
    sender.start();
    run();
    EXPECT_EQ(sentText, "A");
    EXPECT_FALSE(sender.running());
}

} // namespace
} // namespace corvane::cw
