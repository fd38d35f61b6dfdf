#include "platform/audio/QtWavePlayer.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QFile>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QUrl>

namespace corvane {

QtWavePlayer::QtWavePlayer(std::function<bool()> soundOutput, QObject* parent)
    : QObject(parent), m_soundOutput(soundOutput ? std::move(soundOutput) : &QtWavePlayer::systemHasSoundOutput) {}

QtWavePlayer::~QtWavePlayer() {
    close();
}

bool QtWavePlayer::systemHasSoundOutput() {
    return !QMediaDevices::audioOutputs().isEmpty();
}

void QtWavePlayer::ensurePlayer() {
    if (m_player != nullptr) {
        return;
    }
    m_player = new QMediaPlayer(this);
    m_output = new QAudioOutput(this);
    m_player->setAudioOutput(m_output);
    connect(m_player, &QMediaPlayer::playbackStateChanged, this, [this](QMediaPlayer::PlaybackState state) {
        if (state == QMediaPlayer::StoppedState) {
            ended();
        }
    });
    connect(m_player, &QMediaPlayer::mediaStatusChanged, this, [this](QMediaPlayer::MediaStatus status) {
        if (status == QMediaPlayer::EndOfMedia || status == QMediaPlayer::InvalidMedia) {
            ended();
        }
    });
    connect(m_player, &QMediaPlayer::errorOccurred, this, [this] { ended(); });
}

void QtWavePlayer::ended() {
    if (m_started) {
        m_ended = true;
    }
}

void QtWavePlayer::close() {
    // The flags first: the player's own stop notice is no end of a new playback.
    m_started = false;
    m_ended = false;
    m_info.reset();
    if (m_player != nullptr) {
        m_player->stop();
        m_player->setSource(QUrl());
    }
}

bool QtWavePlayer::open() {
    close();
    auto info = readWaveInfo(m_fileName);
    if (!info || !m_soundOutput()) {
        return false;
    }
    m_info = info;
    return true;
}

bool QtWavePlayer::play() {
    if (!m_info) {
        return false;
    }
    ensurePlayer();
    m_output->setDevice(QMediaDevices::defaultAudioOutput());
    m_started = true;
    m_ended = false;
    m_since.start();
    m_player->setSource(QUrl::fromLocalFile(QFile::decodeName(QByteArray::fromStdString(m_fileName))));
    m_player->play();
    return true;
}

bool QtWavePlayer::isPlaying() {
    if (!m_started || m_ended || !m_info) {
        return false;
    }
    if (m_since.elapsed() >= playbackLimitMs(*m_info)) {
        m_ended = true; // the output never said so: the audio is over by now
        m_player->stop();
        return false;
    }
    return true;
}

} // namespace corvane
