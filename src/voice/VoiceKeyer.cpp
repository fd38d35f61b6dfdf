#include "voice/VoiceKeyer.h"

#include "core/NumberText.h"
#include "platform/parallel/ParallelPort.h"
#include "voice/WaveFile.h"

namespace corvane {

namespace {

std::string trimmed(const std::string& s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// The port field as a whole number; 0 for no port, nothing for a text that is no number.
std::optional<long long> portNumber(const std::string& field) {
    const auto n = parseNumber(field);
    if (!n || *n > 1e6 || *n < -1e6) {
        return std::nullopt;
    }
    return roundHalfEven(*n);
}

} // namespace

VoiceKeyer::VoiceKeyer(const VoiceKeyerDevices& devices, std::function<void(const std::string&)> invalidPort,
                       std::function<void(const std::string&)> lineFailed)
    : m_dev(devices), m_invalidPort(std::move(invalidPort)), m_lineFailed(std::move(lineFailed)) {
    m_dev.broker.join(PortOwner::PushToTalk, [this] {
        // Another owner takes the device: a keyed line goes down with the port.
        m_keyedSerial = false;
        m_dev.serial.close();
    });
}

VoiceKeyer::~VoiceKeyer() {
    shutdown();
    m_dev.broker.leave(PortOwner::PushToTalk);
}

int VoiceKeyer::parallelAddress() const {
    const auto base = cw::parseParallelAddress(m_settings.parallelAddress);
    return base ? *base + 2 : -1;
}

PttPortResult VoiceKeyer::openPttPort() {
    const auto port = portNumber(m_settings.pttPort);
    if (!port || *port <= 0) {
        return PttPortResult::Closed;
    }
    // The WinKeyer and the CW keying port let go of the device first; they may be the same.
    closePort();
    m_dev.serial.setPortNumber(static_cast<int>(*port));
    std::string error;
    if (!m_dev.broker.acquire(PortOwner::PushToTalk, m_dev.serial.devicePath(), &error)) {
        if (m_invalidPort) {
            m_invalidPort(error);
        }
        return PttPortResult::Invalid;
    }
    m_dev.serial.setDtr(false);
    m_dev.serial.setRts(false);
    if (!m_dev.serial.open(&error)) {
        m_dev.broker.released(PortOwner::PushToTalk);
        if (m_invalidPort) {
            m_invalidPort(error);
        }
        return PttPortResult::Invalid;
    }
    return PttPortResult::Opened;
}

void VoiceKeyer::closePort() {
    if (m_dev.serial.isOpen()) {
        if (m_keyedSerial) {
            (m_keyedDtr ? m_dev.serial.setDtr(false) : m_dev.serial.setRts(false));
            m_keyedSerial = false;
        }
        m_dev.serial.close();
    }
    m_dev.broker.released(PortOwner::PushToTalk);
}

void VoiceKeyer::playMessage(int key) {
    if (key < 1 || key > 9) {
        return;
    }
    // A recording still playing is cut off; PTT stays keyed for the next one.
    m_dev.player.close();
    if (key == 1 && m_repeatMs > 0) {
        m_repeat = true;
    }
    const std::string path = m_settings.recordingPaths[static_cast<std::size_t>(key - 1)];
    m_dev.player.setFileName(path);
    if (trimmed(m_dev.player.fileName()).empty()) {
        // Nothing to play; a recording just cut off is released by the running end poll.
        return;
    }
    std::string failure;
    if (!keyPtt(&failure)) {
        // Playing without push-to-talk would send nothing and say nothing: stop here.
        m_dev.endPoll.stop();
        m_polling = false;
        releasePtt();
        stopRepeat();
        if (m_lineFailed) {
            m_lineFailed(failure);
        }
        return;
    }
    if (!m_dev.player.open() || !m_dev.player.play()) {
        // The file cannot be played after PTT went on: the transmitter is not left keyed.
        m_dev.player.close();
        m_dev.endPoll.stop();
        m_polling = false;
        releasePtt();
        return;
    }
    m_polling = true;
    m_polledMs = 0;
    m_limitMs = m_dev.player.durationMs() + kPlaybackMarginMs;
    m_dev.endPoll.start(kEndOfPlayPollMs, [this] { poll(); });
}

bool VoiceKeyer::keyPtt(std::string* failure) {
    const auto port = portNumber(m_settings.pttPort);
    const PttLine line = m_settings.pttLine.value_or(PttLine::Rts);
    bool keyed = true;
    if (port && *port > 0) {
        if (!m_dev.serial.isOpen()) {
            openPttPort();
        }
        if (m_dev.serial.isOpen()) {
            const bool dtr = line == PttLine::Dtr;
            if (m_keyedSerial && m_keyedDtr != dtr) {
                (m_keyedDtr ? m_dev.serial.setDtr(false) : m_dev.serial.setRts(false));
            }
            if (dtr ? m_dev.serial.setDtr(true) : m_dev.serial.setRts(true)) {
                m_keyedSerial = true;
                m_keyedDtr = dtr;
                m_keyed = true;
            } else {
                // Made as safe as the device allows: the line is asked to go off again.
                (dtr ? m_dev.serial.setDtr(false) : m_dev.serial.setRts(false));
                const std::string why = m_dev.serial.lineError();
                *failure = std::string(dtr ? "DTR" : "RTS") + " on " + m_dev.serial.devicePath() + ": " +
                           (why.empty() ? "the device refused the change" : why);
                keyed = false;
            }
        }
    }
    if (line == PttLine::Parallel) {
        const int address = parallelAddress();
        const bool wasOpen = address >= 0 && m_dev.parallel.isOpenFor(address);
        if (address >= 0 && (wasOpen || m_dev.parallel.open(address)) &&
            m_dev.parallel.write(address, kPttParallelOn)) {
            m_keyedAddress = address;
            m_openedParallel = m_openedParallel || !wasOpen;
            m_keyed = true;
        } else if (address >= 0) { // an address field that names no port keys nothing, as before
            const std::string why = m_dev.parallel.lastError();
            *failure = "Parallel push-to-talk at " + m_settings.parallelAddress + ": " +
                       (why.empty() ? "the port could not be written" : why);
            keyed = false;
        }
    }
    return keyed;
}

void VoiceKeyer::releasePtt() {
    if (m_keyedSerial) {
        if (m_dev.serial.isOpen()) {
            (m_keyedDtr ? m_dev.serial.setDtr(false) : m_dev.serial.setRts(false));
        }
        m_keyedSerial = false;
    }
    if (m_keyedAddress >= 0) {
        if (!m_dev.parallel.write(m_keyedAddress, kPttParallelOff) && m_dev.parallel.open(m_keyedAddress)) {
            // The CW keyer let go of the device meanwhile: the register keeps its last value, so
            // PTT is taken off all the same.
            m_dev.parallel.write(m_keyedAddress, kPttParallelOff);
            m_openedParallel = true;
        }
        // A claim this keyer made is held only while PTT is keyed; one the CW keyer holds on
        // the same device stays its own.
        if (m_openedParallel) {
            m_dev.parallel.close();
            m_openedParallel = false;
        }
        m_keyedAddress = -1;
    }
    m_keyed = false;
}

void VoiceKeyer::poll() {
    m_polledMs += kEndOfPlayPollMs;
    // However the player reports, PTT is not held longer than the recording lasts plus a margin.
    if (m_dev.player.isPlaying() && m_polledMs < m_limitMs) {
        m_dev.endPoll.start(kEndOfPlayPollMs, [this] { poll(); });
        return;
    }
    m_polling = false;
    releasePtt();
    if (m_repeat) {
        m_dev.repeat.start(static_cast<int>(m_repeatMs), [this] { playMessage(1); });
    }
}

void VoiceKeyer::stopRepeat() {
    m_repeat = false;
    m_dev.repeat.stop();
}

void VoiceKeyer::stopPlayback() {
    m_repeat = false;
    m_dev.player.close();
    m_dev.endPoll.stop();
    m_dev.repeat.stop();
    m_polling = false;
    releasePtt();
}

void VoiceKeyer::shutdown() {
    stopRepeat();
    stopPlayback();
    closePort();
}

} // namespace corvane
