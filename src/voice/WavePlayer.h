#pragma once
// A wave player as the voice keyer and the voice prompts use it. One playback is always
// close, set the file name, open, play; the mode query tells whether it still plays.

#include <cstdint>
#include <string>

namespace corvane {

class WavePlayer {
public:
    virtual ~WavePlayer() = default;
    // Stops any playback and lets the open file go; done when it returns. Harmless when
    // nothing is open.
    virtual void close() = 0;
    virtual void setFileName(const std::string& path) = 0;
    virtual std::string fileName() const = 0;
    // Opens the named file; false when it is missing, no playable wave file, or there is no
    // sound output to play it on.
    virtual bool open() = 0;
    // Starts playing from the beginning and returns at once; false when it cannot start.
    virtual bool play() = 0;
    // True while the playback runs. Never true longer than the open file's audio lasts plus
    // a margin, whatever the sound output reports.
    virtual bool isPlaying() = 0;
    // The length of the open file's audio; 0 when nothing is open.
    virtual std::int64_t durationMs() const = 0;
};

} // namespace corvane
