#pragma once
// A wave player for tests: plays nothing, remembers every operation, and ends a playback
// when the test says so (finish()), or after `playMs` of real time when that is set, or
// never (stuck = true: an output that reports "playing" for ever).

#include "voice/WavePlayer.h"

#include <chrono>
#include <set>
#include <string>
#include <vector>

namespace corvane::test {

class RecordingWavePlayer final : public WavePlayer {
public:
    using Clock = std::chrono::steady_clock;

    // The files open() accepts (full paths); every other file fails to open.
    std::set<std::string> playable;
    bool acceptAll = false;
    std::int64_t fileDurationMs = 1000;
    std::int64_t playMs = -1; // -1: until finish()
    bool stuck = false;

    std::vector<std::string> events; // "close", "open <path>", "play <path>", "open failed <path>"

    void close() override {
        events.push_back("close");
        m_playing = false;
        m_open = false;
    }
    void setFileName(const std::string& path) override { m_name = path; }
    std::string fileName() const override { return m_name; }
    bool open() override {
        if (!acceptAll && !playable.contains(m_name)) {
            events.push_back("open failed " + m_name);
            return false;
        }
        events.push_back("open " + m_name);
        m_open = true;
        return true;
    }
    bool play() override {
        if (!m_open) {
            return false;
        }
        events.push_back("play " + m_name);
        played.push_back(m_name);
        m_playing = true;
        m_started = Clock::now();
        return true;
    }
    bool isPlaying() override {
        ++queries;
        if (m_playing && !stuck && playMs >= 0 && Clock::now() - m_started >= std::chrono::milliseconds(playMs)) {
            m_playing = false;
            endedAt = m_started + std::chrono::milliseconds(playMs); // when the audio ran out
        }
        return m_playing;
    }
    std::int64_t durationMs() const override { return m_open ? fileDurationMs : 0; }

    // The playback reaches its end.
    void finish() {
        m_playing = false;
        endedAt = Clock::now();
    }
    bool playing() const { return m_playing; }

    std::vector<std::string> played; // the paths played, in order
    int queries = 0;
    Clock::time_point endedAt{};

private:
    std::string m_name;
    bool m_open = false;
    bool m_playing = false;
    Clock::time_point m_started{};
};

} // namespace corvane::test
