#include "cw/CwSendController.h"

#include "core/NumberText.h"
#include "cw/CwMessage.h"
#include "cw/MorseTable.h"

#include <cctype>

namespace corvane::cw {

namespace {
char upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
} // namespace

CwSendController::CwSendController(CwHost& host, CharacterKeyer& keyer, RepeatTimer& repeatTimer,
                                   WinKeyerLink* winKeyer)
    : m_host(host), m_keyer(keyer), m_repeatTimer(repeatTimer), m_winKeyer(winKeyer) {}

void CwSendController::setSettings(const CwSettings& settings) {
    m_settings = settings;
    int interval = 0;
    m_repeatIntervalMs = cw::repeatIntervalMs(m_settings.repeatSeconds, interval) ? interval : 0;
    timingChanged();
}

void CwSendController::setTimingOptions(TimingMethod method, double loopOffset) {
    m_method = method;
    m_loopOffset = loopOffset;
    timingChanged();
}

bool CwSendController::applyRepeatSeconds(const std::string& field) {
    int interval = 0;
    if (cw::repeatIntervalMs(field, interval)) {
        m_settings.repeatSeconds = field;
        m_repeatIntervalMs = interval;
        return true;
    }
    m_settings.repeatSeconds.assign(1, '0'); // assign: a literal here trips a false -Wrestrict of GCC 12
    m_repeatIntervalMs = 0;
    return false;
}

KeyTiming CwSendController::keyTiming() const {
    KeyTiming timing;
    timing.method = m_method;
    timing.speedWpm = parseNumber(m_settings.speedWpm).value_or(0.0);
    timing.loopOffset = m_loopOffset;
    timing.wordSpaceAdjust = parseWordSpaceAdjust(m_settings.wordSpace);
    return timing;
}

void CwSendController::timingChanged() {
    m_keyer.setTiming(keyTiming());
    coupleSpeed();
}

void CwSendController::coupleSpeed() {
    if (m_settings.speedWpm == m_coupledSpeed) {
        return; // a word-space or timing change: the WinKeyer's speed stays
    }
    m_coupledSpeed = m_settings.speedWpm;
    if (m_winKeyer != nullptr) {
        // Also while another option keys: the WinKeyer's speed field follows the program's
        // speed, so that opening the keyer later gives it the speed the operator sees.
        m_winKeyer->speedChanged(m_settings.speedWpm, m_settings.keyingOption == KeyingOption::WinKey);
    }
}

std::string CwSendController::changeSpeed(int deltaWpm) {
    const double speed = parseNumber(m_settings.speedWpm).value_or(0.0) + deltaWpm;
    m_settings.speedWpm = formatDouble(speed);
    timingChanged();
    return m_settings.speedWpm;
}

void CwSendController::fKey(int key) {
    m_buffer.clear();
    if (m_settings.keyingOption == KeyingOption::None || key < 1 || key > kMessageCount) {
        return;
    }
    if (key == 1) {
        const double seconds = parseNumber(m_settings.repeatSeconds).value_or(0.0);
        if (seconds > 0.0) {
            m_repeat = true;
        }
    }
    const std::string& message = m_settings.messages[static_cast<std::size_t>(key - 1)];
    if (message.empty()) {
        return;
    }
    m_buffer = substituteMessage(message, m_host.callText());
    loopThroughBuffer();
}

void CwSendController::loopThroughBuffer() {
    if (m_settings.keyingOption == KeyingOption::WinKey) {
        sendToWinKeyer();
        return;
    }
    if (m_sending) {
        // Already running: the loop takes the new text after the character on the air.
        pump();
        return;
    }
    m_sending = true;
    m_sendingDropped = false;
    m_speedRefused = false;
    m_repeatAfterQuiet = false;
    pump();
}

void CwSendController::sendToWinKeyer() {
    if (m_winKeyer == nullptr) {
        m_buffer.clear();
        m_sendingDropped = true;
        m_idleListeners.notify();
        return;
    }
    if (!m_host.callText().empty() && m_buffer.find('!') != std::string::npos) {
        m_host.logContact();
    }
    m_winKeyerLoop = true;
    m_sendingDropped = false;
    m_winKeyer->transmit();
}

void CwSendController::winKeyerHandedOver() {
    if (!m_winKeyerLoop) {
        return; // the WinKeyer window's own sending: no calling loop waits on it
    }
    m_winKeyerLoop = false;
    m_sendingDropped = !winKeyerOpen();
    // The pause of a calling loop is counted from the end of the sending on the air, not
    // from the hand-over: the keyer still has the whole message queued.
    m_repeatAfterKeyerIdle = m_repeat && m_repeatIntervalMs > 0;
    m_idleListeners.notify();
}

void CwSendController::winKeyerIdle() {
    if (!m_repeatAfterKeyerIdle || m_winKeyerLoop) {
        return; // no calling loop waits, or the next message is being handed over already
    }
    m_repeatAfterKeyerIdle = false;
    startRepeatPause();
}

void CwSendController::replaceBuffer(std::string text) {
    m_buffer = std::move(text);
}

void CwSendController::appendToBuffer(char character) {
    m_buffer.push_back(character);
}

void CwSendController::stopSending() {
    m_buffer.clear();
    if (m_settings.keyingOption == KeyingOption::WinKey && winKeyerOpen()) {
        m_winKeyer->clearBuffer();
    }
}

bool CwSendController::removeLastFromBuffer() {
    if (m_buffer.empty()) {
        return false;
    }
    m_buffer.pop_back();
    return true;
}

void CwSendController::pump() {
    if (m_inPump || !m_sending) {
        return;
    }
    m_inPump = true;
    while (!m_onAir) {
        if (m_buffer.empty()) {
            finishLoop();
            break;
        }
        const char character = m_buffer.front();
        m_buffer.erase(0, 1);
        if (m_settings.keyingOption == KeyingOption::None) {
            afterCharacter(); // nothing is keyed, but the text still moves on
            continue;
        }
        if (character == '!') {
            if (!m_host.callText().empty()) {
                m_host.logContact();
            }
            afterCharacter();
            continue;
        }
        if (morseElements(character).empty() && character != ' ') {
            afterCharacter(); // no elements: takes no time
            continue;
        }
        if (!parseSpeedWpm(m_settings.speedWpm)) {
            refuseSpeed();
            continue;
        }
        m_onAir = true;
        m_lineBusy = true;
        m_keyer.setTiming(keyTiming());
        m_keyer.transmit(character);
    }
    m_inPump = false;
}

void CwSendController::characterDone(CharacterOutcome outcome) {
    if (!m_onAir) {
        return;
    }
    m_onAir = false;
    if (outcome == CharacterOutcome::NoSpeed) {
        refuseSpeed(); // its message is the last word of this sending
    } else if (outcome == CharacterOutcome::LineFailed) {
        stopOnLineFailure();
    } else {
        afterCharacter();
    }
    pump();
}

void CwSendController::lineQuiet() {
    m_lineBusy = false;
    if (m_repeatAfterQuiet) {
        m_repeatAfterQuiet = false;
        if (m_repeat && !m_sending) {
            startRepeatPause();
        }
    }
}

void CwSendController::startRepeatPause() {
    if (m_repeat && m_repeatIntervalMs > 0) {
        m_repeatTimer.start(m_repeatIntervalMs);
    }
}

void CwSendController::afterCharacter() {
    if (m_settings.displayText) {
        m_host.showMessage(m_buffer);
    }
}

void CwSendController::refuseSpeed() {
    m_buffer.clear();
    m_speedRefused = true;
    m_host.showMessage(std::string(kNoSpeedMessage));
}

void CwSendController::stopOnLineFailure() {
    // Nothing more of this sending goes out and no calling loop goes on keying a line that
    // cannot be keyed; the next function key tries again.
    m_buffer.clear();
    m_repeat = false;
    m_repeatAfterQuiet = false;
    m_repeatTimer.stop();
    m_speedRefused = true;
    std::string why = m_keyer.lineFailure();
    if (why.empty()) {
        why = "the key line could not be switched.";
    }
    m_host.showNews(std::string(kLineFailedPrefix) + why);
}

void CwSendController::finishLoop() {
    if (m_lineBusy) {
        m_repeatAfterQuiet = true; // the last gap unit is still on the air
    } else {
        startRepeatPause();
    }
    m_sending = false;
    if (m_settings.displayText && !m_speedRefused) {
        m_host.showMessage(m_keyboardMode ? std::string(kKeyboardModeStillOn) : std::string());
    }
    m_idleListeners.notify();
}

Subscription CwSendController::addIdleListener(std::function<void()> listener) {
    return m_idleListeners.add(std::move(listener));
}

void CwSendController::repeatTimerFired() {
    m_repeatTimer.stop();
    fKey(1);
}

bool CwSendController::keyDown(CwKey key) {
    if (m_repeat) {
        if (winKeyerOpen()) {
            m_winKeyer->clearBuffer();
        }
        m_buffer.clear();
        m_repeat = false;
        m_repeatAfterQuiet = false;
        m_repeatAfterKeyerIdle = false;
        m_repeatTimer.stop();
    }
    m_host.stopVoiceRepeat();
    if (m_settings.keyingOption == KeyingOption::None) {
        return false;
    }
    switch (key) {
    case CwKey::Up:
    case CwKey::Down:
        m_host.showMessage(changeSpeed(key == CwKey::Up ? 1 : -1) + " WPM");
        return true;
    case CwKey::F12:
        m_keyboardMode = !m_keyboardMode;
        if (m_keyboardMode) {
            m_host.showMessage(std::string(kKeyboardModeOn));
            m_host.setMessageBackground(kKeyboardModeBackground);
        } else {
            m_host.showMessage("");
            m_host.setMessageBackground(kMessageAreaBackground);
        }
        return true;
    case CwKey::Other:
        return false;
    default:
        fKey(static_cast<int>(key) - static_cast<int>(CwKey::F1) + 1);
        return true;
    }
}

bool CwSendController::keyPress(char character) {
    if (character == kEscape) {
        if (m_settings.keyingOption == KeyingOption::WinKey && winKeyerOpen() && m_winKeyer->status() > 0) {
            m_winKeyer->clearBuffer();
            m_buffer.clear();
            return true;
        }
        if (!m_sending) {
            m_host.clearEntry();
        } else {
            m_buffer.clear();
        }
        return true;
    }
    if (winKeyerOpen()) {
        m_lastWinKeyerStatus = m_winKeyer->status();
    }
    if (!m_keyboardMode) {
        return false;
    }
    if (character == kBackspace) {
        if (m_lastWinKeyerStatus > 0 && winKeyerOpen()) {
            m_winKeyer->backspace();
        } else if (m_sending && !m_buffer.empty()) {
            m_buffer.pop_back();
        }
        return true;
    }
    m_buffer.push_back(upper(character));
    if (!m_sending) {
        loopThroughBuffer();
    }
    return true;
}

bool CwSendController::mayClose() {
    m_buffer.clear();
    return !m_sending;
}

} // namespace corvane::cw
