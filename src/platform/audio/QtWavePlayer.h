#pragma once
// The wave player on Qt Multimedia. The file is checked by its header before Qt sees it
// (missing, empty, cut short, no wave file: open fails), and without a sound output open
// fails as well, quietly. Qt may accept a file and then report "playing" for ever when there
// is no device behind the output; the player then still reports the end once the file's own
// length plus a margin has passed, so that push-to-talk is released and no wait hangs.

#include "voice/WaveFile.h"
#include "voice/WavePlayer.h"

#include <QElapsedTimer>
#include <QObject>
#include <functional>
#include <memory>
#include <optional>

class QAudioOutput;
class QMediaPlayer;

namespace corvane {

class QtWavePlayer final : public QObject, public WavePlayer {
    Q_OBJECT
public:
    // `soundOutput`: whether the machine has a sound output (the system's list by default).
    explicit QtWavePlayer(std::function<bool()> soundOutput = {}, QObject* parent = nullptr);
    ~QtWavePlayer() override;

    void close() override;
    void setFileName(const std::string& path) override { m_fileName = path; }
    std::string fileName() const override { return m_fileName; }
    bool open() override;
    bool play() override;
    bool isPlaying() override;
    std::int64_t durationMs() const override { return m_info ? m_info->durationMs : 0; }

    // Whether the system lists a sound output.
    static bool systemHasSoundOutput();

private:
    void ensurePlayer();
    void ended();

    std::function<bool()> m_soundOutput;
    std::string m_fileName;
    std::optional<WaveInfo> m_info;
    QMediaPlayer* m_player = nullptr;
    QAudioOutput* m_output = nullptr;
    QElapsedTimer m_since;
    bool m_started = false;
    bool m_ended = false;
};

} // namespace corvane
