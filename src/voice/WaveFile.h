#pragma once
// What the program needs to know of a wave file before it plays it: that it is a RIFF/WAVE
// file with a format the sound output can take, and how long its audio lasts. The length
// bounds every wait on a playback, so a player that never reports the end cannot keep
// push-to-talk keyed or a prompt waited for.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace corvane {

struct WaveInfo {
    int formatTag = 0; // 1 PCM, 3 float, 6 A-law, 7 mu-law, 0xFFFE extensible
    int channels = 0;
    std::uint32_t sampleRate = 0;
    int bitsPerSample = 0;
    std::uint32_t byteRate = 0;
    int blockAlign = 0;
    std::uint64_t dataOffset = 0;
    // The audio bytes that are really there: the data chunk's own size, cut to what the file
    // holds when it is truncated (or its header claims more than it has).
    std::uint64_t dataBytes = 0;
    std::int64_t durationMs = 0; // rounded up
};

// The bytes a header parse needs at most; the data chunk itself is never read.
inline constexpr std::size_t kWaveHeaderReadBytes = 64 * 1024;

// Reads the header from the first bytes of a file of `fileSize` bytes. Nothing when the bytes
// are no RIFF/WAVE file, its format is unknown or inconsistent, or it holds no audio.
std::optional<WaveInfo> parseWaveHeader(std::string_view head, std::uint64_t fileSize);

// Opens the file (any path the system takes: spaces, UTF-8 letters) and parses its header;
// nothing when it cannot be read or is no playable wave file.
std::optional<WaveInfo> readWaveInfo(const std::string& path);

// How long a playback of `info` may be reported as playing before its end is assumed: the
// audio's own length plus a margin for the sound output to start and drain.
inline constexpr std::int64_t kPlaybackMarginMs = 1500;
inline std::int64_t playbackLimitMs(const WaveInfo& info) {
    return info.durationMs + kPlaybackMarginMs;
}

} // namespace corvane
