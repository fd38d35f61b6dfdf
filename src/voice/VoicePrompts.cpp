#include "voice/VoicePrompts.h"

#include "voice/WaveFile.h"

namespace corvane {

VoicePrompts::VoicePrompts(WavePlayer& player, OneShotTimer& waitTimer, std::string workingDirectory)
    : m_player(player), m_timer(waitTimer), m_folder(std::move(workingDirectory)) {}

VoicePrompts::~VoicePrompts() {
    m_timer.stop();
}

void VoicePrompts::say(const std::string& name, bool waitForEnd) {
    if (m_holding) {
        // A prompt that is not waited for is cut off by the next one anyway: only the last
        // stays queued.
        while (!m_pending.empty() && !m_pending.back().waitForEnd) {
            m_pending.pop_back();
        }
        m_pending.push_back(Pending{name, waitForEnd});
        return;
    }
    start(name, waitForEnd);
}

void VoicePrompts::start(const std::string& name, bool waitForEnd) {
    m_player.close(); // a prompt still playing is cut off
    m_player.setFileName(m_folder + "/" + name + ".wav");
    if (!m_player.open() || !m_player.play()) {
        return; // no file, no sound: silent, and nothing waits
    }
    if (waitForEnd) {
        m_holding = true;
        m_waitedMs = 0;
        m_limitMs = m_player.durationMs() + kPlaybackMarginMs;
        m_timer.start(kPromptPollMs, [this] { poll(); });
    }
}

void VoicePrompts::poll() {
    m_waitedMs += kPromptPollMs;
    if (m_player.isPlaying() && m_waitedMs < m_limitMs) {
        m_timer.start(kPromptPollMs, [this] { poll(); });
        return;
    }
    m_holding = false;
    while (!m_pending.empty() && !m_holding) {
        const Pending next = m_pending.front();
        m_pending.pop_front();
        start(next.name, next.waitForEnd);
    }
}

void VoicePrompts::levelSelected(NavLevel level) {
    switch (level) {
    case NavLevel::Off:
        say("NavDis");
        break;
    case NavLevel::CallOnly:
        say("NavEn", true);
        say("Call");
        break;
    case NavLevel::AllFields:
        say("NavEn");
        break;
    }
}

void VoicePrompts::fieldEntered(NavField field, NavLevel level) {
    if (field == NavField::Call && level != NavLevel::Off) {
        say("Call");
    } else if (field == NavField::Grid && level == NavLevel::AllFields) {
        say("Grid");
    }
}

void VoicePrompts::duplicateRefused(NavLevel level) {
    say("Dupe", level != NavLevel::Off);
}

void VoicePrompts::stop() {
    m_timer.stop();
    m_holding = false;
    m_pending.clear();
    m_player.close();
}

} // namespace corvane
