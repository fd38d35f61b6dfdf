// Voice navigation prompts: which prompt plays for which field at which level, which prompts
// are waited for, and that no wait outlasts its prompt.

#include "voice/VoicePrompts.h"

#include "support/ManualTimer.h"
#include "support/RecordingWavePlayer.h"
#include "voice/WaveFile.h"

#include <gtest/gtest.h>

using namespace corvane;
using namespace corvane::test;

namespace {

class VoicePromptsTest : public ::testing::Test {
protected:
    VoicePromptsTest() {
        for (const char* name : {"Call", "Grid", "Dupe", "NavEn", "NavDis"}) {
            player.playable.insert(std::string("/wd/") + name + ".wav");
        }
    }
    std::vector<std::string> played() const {
        std::vector<std::string> names;
        for (const auto& path : player.played) {
            names.push_back(path.substr(4, path.size() - 8));
        }
        return names;
    }

    RecordingWavePlayer player;
    ManualTimeline time;
    ManualTimer wait{time};
    VoicePrompts prompts{player, wait, "/wd"};
};

using Names = std::vector<std::string>;

TEST_F(VoicePromptsTest, AllDataFieldsAnnouncesCallThenGridEachCuttingTheOneBeforeOff) {
    prompts.fieldEntered(NavField::Call, NavLevel::AllFields);
    prompts.fieldEntered(NavField::Grid, NavLevel::AllFields);
    EXPECT_EQ(played(), (Names{"Call", "Grid"}));
    EXPECT_EQ(player.events, (Names{"close", "open /wd/Call.wav", "play /wd/Call.wav", "close", "open /wd/Grid.wav",
                                    "play /wd/Grid.wav"}));
    EXPECT_FALSE(prompts.holding());
}

TEST_F(VoicePromptsTest, CallOnlyAnnouncesTheCallFieldOnly) {
    prompts.fieldEntered(NavField::Grid, NavLevel::CallOnly);
    prompts.fieldEntered(NavField::Call, NavLevel::CallOnly);
    EXPECT_EQ(played(), Names{"Call"});
}

TEST_F(VoicePromptsTest, OffIsSilentOnFocusButADuplicateIsStillAnnouncedAndNotWaitedFor) {
    prompts.fieldEntered(NavField::Call, NavLevel::Off);
    prompts.fieldEntered(NavField::Grid, NavLevel::Off);
    EXPECT_TRUE(player.played.empty());
    prompts.duplicateRefused(NavLevel::Off);
    EXPECT_EQ(played(), Names{"Dupe"});
    EXPECT_FALSE(prompts.holding());
    EXPECT_FALSE(wait.isActive());
}

TEST_F(VoicePromptsTest, WithNavigationOnTheDuplicateIsHeardToItsEndBeforeTheCallPrompt) {
    player.fileDurationMs = 1400;
    prompts.duplicateRefused(NavLevel::CallOnly);
    prompts.fieldEntered(NavField::Call, NavLevel::CallOnly); // the call field takes the keyboard back
    EXPECT_EQ(played(), Names{"Dupe"});
    EXPECT_TRUE(prompts.holding());
    time.advance(1000);
    EXPECT_EQ(played(), Names{"Dupe"});
    player.finish();
    time.advance(kPromptPollMs);
    EXPECT_EQ(played(), (Names{"Dupe", "Call"}));
    EXPECT_FALSE(prompts.holding());
}

TEST_F(VoicePromptsTest, ChoosingCallOnlySaysNavigationOnThenCall) {
    prompts.levelSelected(NavLevel::CallOnly);
    EXPECT_EQ(played(), Names{"NavEn"});
    player.finish();
    time.advance(kPromptPollMs);
    EXPECT_EQ(played(), (Names{"NavEn", "Call"}));

    prompts.levelSelected(NavLevel::AllFields);
    prompts.levelSelected(NavLevel::Off);
    EXPECT_EQ(played(), (Names{"NavEn", "Call", "NavEn", "NavDis"})) << "neither is waited for";
}

TEST_F(VoicePromptsTest, OnlyTheLastPromptAskedForDuringAWaitPlaysAfterIt) {
    prompts.duplicateRefused(NavLevel::AllFields);
    prompts.fieldEntered(NavField::Call, NavLevel::AllFields);
    prompts.fieldEntered(NavField::Grid, NavLevel::AllFields);
    player.finish();
    time.advance(kPromptPollMs);
    EXPECT_EQ(played(), (Names{"Dupe", "Grid"}));
}

TEST_F(VoicePromptsTest, ADuplicateDuringAWaitIsStillHeardToItsEndBeforeTheCallPrompt) {
    prompts.levelSelected(NavLevel::CallOnly); // the window made at the first prompt
    prompts.duplicateRefused(NavLevel::CallOnly);
    prompts.fieldEntered(NavField::Call, NavLevel::CallOnly);
    player.finish();
    time.advance(kPromptPollMs);
    EXPECT_EQ(played(), (Names{"NavEn", "Dupe"}));
    time.advance(1000);
    EXPECT_EQ(played(), (Names{"NavEn", "Dupe"})) << "the duplicate is waited for in its turn";
    player.finish();
    time.advance(kPromptPollMs);
    EXPECT_EQ(played(), (Names{"NavEn", "Dupe", "Call"}));

    // A waited-for prompt that cannot play holds nothing back.
    player.playable.erase("/wd/Dupe.wav");
    prompts.levelSelected(NavLevel::CallOnly);
    prompts.duplicateRefused(NavLevel::CallOnly);
    prompts.fieldEntered(NavField::Grid, NavLevel::AllFields);
    player.finish();
    time.advance(kPromptPollMs);
    EXPECT_EQ(played(), (Names{"NavEn", "Dupe", "Call", "NavEn", "Grid"}));
}

TEST_F(VoicePromptsTest, WithoutTheFilesEveryLevelIsSilentAndNothingWaits) {
    player.playable.clear();
    prompts.levelSelected(NavLevel::CallOnly);
    prompts.duplicateRefused(NavLevel::AllFields);
    prompts.fieldEntered(NavField::Call, NavLevel::AllFields);
    EXPECT_TRUE(player.played.empty());
    EXPECT_FALSE(prompts.holding());
    EXPECT_FALSE(wait.isActive());
    // Every attempt still asked for its own file.
    EXPECT_EQ(player.events[1], "open failed /wd/NavEn.wav");
    EXPECT_EQ(player.events.back(), "open failed /wd/Call.wav");
}

TEST_F(VoicePromptsTest, AWaitEndsAfterThePromptsLengthAndMarginWhenThePlayerNeverStops) {
    player.stuck = true;
    player.fileDurationMs = 1500;
    prompts.duplicateRefused(NavLevel::CallOnly);
    prompts.fieldEntered(NavField::Call, NavLevel::CallOnly);
    time.advance(1500);
    EXPECT_TRUE(prompts.holding()) << "a normal prompt is waited for to its end";
    time.advance(kPlaybackMarginMs);
    EXPECT_FALSE(prompts.holding());
    EXPECT_EQ(played(), (Names{"Dupe", "Call"}));
}

TEST_F(VoicePromptsTest, StoppingDropsTheWaitAndWhatWaited) {
    prompts.levelSelected(NavLevel::CallOnly);
    prompts.stop();
    EXPECT_FALSE(prompts.holding());
    time.advance(10000);
    EXPECT_EQ(played(), Names{"NavEn"});
    EXPECT_EQ(player.events.back(), "close");
}

} // namespace
