#pragma once
// The spoken prompts of voice navigation: Call.wav, Grid.wav, Dupe.wav, NavEn.wav and
// NavDis.wav in the working folder, one at a time on one player. A new prompt cuts off the
// one playing, except a prompt that is waited for ("NavEn" before "Call" when "Call Only" is
// chosen, "Dupe" when navigation is on): the prompts asked for meanwhile wait until it has
// ended: the waited-for ones in turn, then the last other one asked for. The wait is bounded by the prompt's own length
// plus a margin and runs on a timer, so the window never stops.
//
//   level 0 Off              focus changes silent; a duplicate plays "Dupe", not waited for
//   level 1 Call Only        call field: "Call"; a duplicate: "Dupe", waited for
//   level 2 All Data Fields  call field: "Call", grid field: "Grid"; a duplicate as level 1

#include "core/OneShotTimer.h"
#include "voice/WavePlayer.h"

#include <cstdint>
#include <deque>
#include <string>

namespace corvane {

enum class NavLevel { Off = 0, CallOnly = 1, AllFields = 2 };
enum class NavField { Call, Grid };

inline constexpr int kPromptPollMs = 20;

class VoicePrompts {
public:
    VoicePrompts(WavePlayer& player, OneShotTimer& waitTimer, std::string workingDirectory);
    ~VoicePrompts();
    VoicePrompts(const VoicePrompts&) = delete;
    VoicePrompts& operator=(const VoicePrompts&) = delete;

    // Plays the prompt `name` (its file is <working folder>/<name>.wav). `waitForEnd`: the
    // prompts asked for after it wait until it has ended. A missing file is silent.
    void say(const std::string& name, bool waitForEnd = false);

    // A level chosen in the window (or selected when the window is made): its prompt.
    void levelSelected(NavLevel level);
    void fieldEntered(NavField field, NavLevel level);
    void duplicateRefused(NavLevel level);

    // True while a waited-for prompt holds the others back.
    bool holding() const { return m_holding; }
    // The window closes or the program ends: the player is closed and nothing waits.
    void stop();

private:
    void start(const std::string& name, bool waitForEnd);
    void poll();

    WavePlayer& m_player;
    OneShotTimer& m_timer;
    std::string m_folder;
    bool m_holding = false;
    std::int64_t m_waitedMs = 0;
    std::int64_t m_limitMs = 0;
    struct Pending {
        std::string name;
        bool waitForEnd = false;
    };
    std::deque<Pending> m_pending; // waited-for prompts, then at most one other at the end
};

} // namespace corvane
