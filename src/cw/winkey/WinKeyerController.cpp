#include "cw/winkey/WinKeyerController.h"

#include <exception>

namespace corvane::cw {

std::string noConnectionText(int port) {
    return std::string(kNoConnectionText) + std::to_string(port) + std::string(kNoConnectionAdvice);
}

std::string bufferTestText() {
    std::string line;
    for (char c = 'A'; c <= 'Z'; ++c) {
        line.push_back(c);
    }
    line.push_back(' ');
    return line + line + line;
}

WinKeyerController::WinKeyerController(WinKeyer& keyer, OneShotTimer& sendTimer, std::string& cwBuffer,
                                       WinKeyerHost& host)
    : m_keyer(keyer), m_timer(sendTimer), m_buffer(cwBuffer), m_host(host) {
    m_keyer.setLostHandler([this](const std::string& reason) { lost(reason); });
    m_keyer.setStatusHandler([this](int status) { keyerStatusChanged(status); });
}

WinKeyerController::~WinKeyerController() {
    m_timer.stop();
    m_keyer.setLostHandler(nullptr);
    m_keyer.setStatusHandler(nullptr);
}

void WinKeyerController::load(const std::optional<std::string>& fileBytes, const std::string& cwSpeedWpm) {
    m_settings = WinKeyerSettings{};
    if (fileBytes) {
        m_settings = parseWinKeyerSettings(*fileBytes).settings;
    }
    m_settings.speedWpm = cwSpeedWpm;
    m_comPortField = std::to_string(m_settings.comPort);
    if (m_view != nullptr) {
        m_view->showFields();
    }
}

void WinKeyerController::setStatusText(std::string_view text) {
    m_statusText = std::string(text);
    if (m_view != nullptr) {
        m_view->showStatus(m_statusText);
    }
}

void WinKeyerController::setVersionText(std::string_view text) {
    m_versionText = std::string(text);
    if (m_view != nullptr) {
        m_view->showVersion(m_versionText);
    }
}

void WinKeyerController::openKeyer(std::function<void()> then) {
    if (m_keyer.isOpening() && then) {
        // An open is under way (the "Open" button): this one waits for its outcome instead
        // of failing with "WK Already Open" and dropping the text it was to send.
        m_afterOpen.push_back(std::move(then));
        return;
    }
    try {
        const int port = m_settings.comPort;
        m_keyer.open(port, [this, then = std::move(then)](int result, std::uint8_t version) {
            try {
                opened(result, version);
            } catch (const std::exception& failure) {
                m_host.reportFailure(std::string(kErrorTitle), failure.what());
            }
            runAfterOpen(then);
        });
    } catch (const std::exception& failure) {
        m_host.reportFailure(std::string(kErrorTitle), failure.what());
    }
}

void WinKeyerController::runAfterOpen(const std::function<void()>& then) {
    auto waiting = std::move(m_afterOpen);
    m_afterOpen.clear();
    if (then) {
        then();
    }
    for (const auto& next : waiting) {
        next();
    }
}

void WinKeyerController::opened(int result, std::uint8_t version) {
    const bool alreadyOpen = result == resultCode(WinKeyerResult::AlreadyOpen);
    // NotOpen from an open means Close ended it early: nothing failed that needs a box.
    const bool cancelled = result == resultCode(WinKeyerResult::NotOpen);
    const bool failed = !alreadyOpen && !cancelled && version == 0;
    if (failed && result == resultCode(WinKeyerResult::ComOpenFailed) && !m_keyer.lastRefusal().empty()) {
        // Which device is missing or held, on the message line under the box.
        m_host.showMessage(m_keyer.lastRefusal());
    }
    if (const auto text = winKeyerResultText(result); text && !cancelled) {
        setStatusText(*text);
    }
    if (!alreadyOpen && !cancelled) {
        sendSettings();
        if (version != 0 && m_keyer.isOpen()) {
            m_openVersion = version;
            setVersionText(std::string(kVersionPrefix) + std::to_string(version));
        }
        if (m_view != nullptr && m_view->isShown()) {
            m_view->focusDone();
        }
    }
    if (failed) {
        m_host.reportFailure(std::string(kNoConnectionTitle), noConnectionText(m_settings.comPort));
    }
}

void WinKeyerController::closeKeyer() {
    m_keyer.close();
    m_charactersOnKeyer = false;
    m_awaitingBusy = false;
    setStatusText(kStatusClosed);
    setVersionText(kVersionUnknown);
    m_openVersion = 0;
    if (m_view != nullptr && m_view->isShown()) {
        m_view->focusDone();
    }
}

void WinKeyerController::lost(const std::string& reason) {
    m_openVersion = 0;
    m_charactersOnKeyer = false;
    m_awaitingBusy = false;
    m_buffer.clear();
    setStatusText(kConnectionLostStatus);
    setVersionText(kVersionUnknown);
    m_host.showMessage(std::string(kConnectionLostMessage) + reason);
}

void WinKeyerController::byteFieldLeft(std::string& field, const FieldCheck& check,
                                       int (WinKeyer::*send)(std::uint8_t)) {
    field = check.text;
    if (check.send) {
        (m_keyer.*send)(*check.send);
    }
    showFields();
}

void WinKeyerController::leadTailLeft(const LeadTailCheck& check) {
    m_settings.leadIn = check.leadIn;
    m_settings.tail = check.tail;
    if (check.send) {
        m_keyer.setPttLeadTail(check.send->first, check.send->second);
    }
    showFields();
}

void WinKeyerController::showFields() {
    if (m_view != nullptr) {
        m_view->showFields();
    }
}

void WinKeyerController::speedLeft(const std::string& text) {
    byteFieldLeft(m_settings.speedWpm, checkSpeedField(text), &WinKeyer::setSpeed);
}

void WinKeyerController::weightLeft(const std::string& text) {
    byteFieldLeft(m_settings.weight, checkWeightField(text), &WinKeyer::setWeight);
}

void WinKeyerController::ratioLeft(const std::string& text) {
    byteFieldLeft(m_settings.ratio, checkRatioField(text), &WinKeyer::setDitDahRatio);
}

void WinKeyerController::leadInLeft(const std::string& text) {
    leadTailLeft(checkLeadTailFields(text, m_settings.tail, true));
}

void WinKeyerController::tailLeft(const std::string& text) {
    leadTailLeft(checkLeadTailFields(m_settings.leadIn, text, false));
}

void WinKeyerController::comPortLeft(const std::string& text) {
    const ComPortCheck check = checkComPortField(text);
    m_comPortField = check.text;
    m_settings.comPort = check.port;
    showFields();
}

void WinKeyerController::choosePinConfig(std::uint8_t pins) {
    m_settings.pinConfig = pins;
    if (m_openVersion != 0) {
        sendSettings();
    }
}

void WinKeyerController::chooseKeyerMode(std::uint8_t mode) {
    m_settings.keyerMode = mode;
    if (m_openVersion != 0) {
        sendSettings();
    }
}

void WinKeyerController::sendSettings() {
    speedLeft(m_settings.speedWpm);
    weightLeft(m_settings.weight);
    leadInLeft(m_settings.leadIn);
    ratioLeft(m_settings.ratio);
    m_keyer.setPinConfig(m_settings.pinConfig);
    m_keyer.setMode(m_settings.keyerMode);
}

void WinKeyerController::speedChanged(const std::string& speedWpm, bool keying) {
    // The field follows the program's speed, as loading the window sets it: the next Open
    // (which sends the field) gives the keyer the speed the operator sees.
    m_settings.speedWpm = speedWpm;
    showFields();
    if (!keying || m_openVersion == 0) {
        return;
    }
    if (const auto wpm = coupledSpeed(speedWpm)) {
        m_keyer.setSpeed(*wpm);
    }
}

void WinKeyerController::transmit() {
    if (m_transmitting) {
        return; // the loop that runs takes the new text
    }
    m_transmitting = true;
    if (m_openVersion == 0) {
        openKeyer([this] {
            if (m_openVersion == 0) {
                m_buffer.clear();
                finishTransmit();
                return;
            }
            step();
        });
        return;
    }
    step();
}

void WinKeyerController::step() {
    if (m_buffer.empty()) {
        finishTransmit();
        return;
    }
    if (m_keyer.status() >= kHoldStatus) {
        m_timer.start(kSendStepMs, [this] { step(); });
        return;
    }
    const char character = m_buffer.front();
    if (character != '\0' && m_keyer.sendCharacter(character) == resultCode(WinKeyerResult::Success)) {
        handedToKeyer(); // a failure skips the character
    }
    if (!m_buffer.empty()) { // a lost keyer empties the buffer on the way
        m_buffer.erase(0, 1);
    }
    m_timer.start(kSendStepMs, [this] { step(); });
}

void WinKeyerController::finishTransmit() {
    m_timer.stop();
    m_transmitting = false;
    if (m_handedOver) {
        m_handedOver();
    }
    if (!m_transmitting && !m_charactersOnKeyer && m_keyerIdle) {
        m_keyerIdle(); // nothing went to the keyer, or it has sent it all already
    }
}

void WinKeyerController::handedToKeyer() {
    // Handed over while the keyer is idle as far as it has said, the character counts as
    // sent only after the keyer has gone busy and idle again. Handed over while it is busy,
    // it is sent before the keyer's buffer runs empty, so the next idle report covers it.
    if (m_keyer.status() == 0) {
        m_awaitingBusy = true;
    }
    m_charactersOnKeyer = true;
}

void WinKeyerController::keyerStatusChanged(int status) {
    if (status > 0) {
        m_awaitingBusy = false;
        return;
    }
    if (status != 0 || m_awaitingBusy || !m_charactersOnKeyer) {
        return; // closed, or an idle report from before the characters reached the keyer
    }
    m_charactersOnKeyer = false;
    if (!m_transmitting && m_keyerIdle) {
        m_keyerIdle();
    }
}

void WinKeyerController::clearBuffer() {
    m_keyer.clearBuffer();
}

void WinKeyerController::backspace() {
    m_keyer.backspace();
}

int WinKeyerController::status() {
    return m_keyer.status();
}

void WinKeyerController::appendAndTransmit(std::string_view text) {
    const bool wasEmpty = m_buffer.empty();
    m_buffer.append(text);
    if (wasEmpty) {
        transmit();
    }
}

void WinKeyerController::test(const std::string& ownCall) {
    appendAndTransmit(std::string(kTestText) + ownCall);
    if (m_view != nullptr) {
        m_view->focusDone();
    }
}

void WinKeyerController::bufferTest() {
    appendAndTransmit(bufferTestText());
}

void WinKeyerController::stop() {
    m_keyer.clearBuffer();
    m_buffer.clear();
    if (m_view != nullptr) {
        m_view->focusDone();
    }
}

void WinKeyerController::typed(char character) {
    if (character >= 'a' && character <= 'z') {
        character = static_cast<char>(character - 'a' + 'A');
    }
    if (static_cast<unsigned char>(character) > 13) {
        appendAndTransmit(std::string_view(&character, 1));
    }
}

} // namespace corvane::cw
