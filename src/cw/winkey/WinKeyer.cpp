#include "cw/winkey/WinKeyer.h"

namespace corvane::cw {

std::optional<std::string_view> winKeyerResultText(int result) {
    switch (static_cast<WinKeyerResult>(result)) {
    case WinKeyerResult::Success:
        return "WK Success!";
    case WinKeyerResult::NoEchoResponse:
        return "No Echo Response";
    case WinKeyerResult::EchoMismatch:
        return "Echo Mismatch";
    case WinKeyerResult::NoOpenResponse:
        return "No Open Response";
    case WinKeyerResult::ComOpenFailed:
        return "Com Open Failed";
    case WinKeyerResult::GetComStateFailed:
        return "Get Com ST Failed";
    case WinKeyerResult::SetComStateFailed:
        return "Set Com ST Failed";
    case WinKeyerResult::AlreadyOpen:
        return "WK Already Open";
    case WinKeyerResult::NotOpen:
        return "WK Not Open";
    default:
        return std::nullopt;
    }
}

WinKeyer::WinKeyer(SerialPort& port, OneShotTimer& timer) : m_port(port), m_timer(timer) {
    m_port.setArrivalHandler([this] { dataArrived(); });
}

WinKeyer::~WinKeyer() {
    m_openDone = nullptr;
    m_lost = nullptr;
    m_statusChanged = nullptr;
    close();
    m_port.setArrivalHandler(nullptr);
}

void WinKeyer::open(int portNumber, OpenDone done) {
    if (m_state != State::Closed) {
        if (done) {
            done(resultCode(WinKeyerResult::AlreadyOpen), m_version);
        }
        return;
    }
    const auto fail = [&](WinKeyerResult result) {
        if (done) {
            done(resultCode(result), 0);
        }
    };
    m_port.setPortNumber(portNumber);
    if (!m_port.setSettings(kWinKeyerLineSettings)) {
        fail(WinKeyerResult::SetComStateFailed);
        return;
    }
    std::string refusal;
    if (m_gate && !m_gate(m_port.devicePath(), &refusal)) {
        m_lastRefusal = refusal;
        fail(WinKeyerResult::ComOpenFailed);
        return;
    }
    m_lastRefusal.clear();
    m_port.setHandshaking(Handshaking::None);
    m_port.setDtr(true); // the keyer takes its power-up cue from DTR on some interfaces
    m_port.setRts(false);
    if (std::string error; !m_port.open(&error)) {
        m_lastRefusal = error;
        if (m_released) {
            m_released();
        }
        fail(WinKeyerResult::ComOpenFailed);
        return;
    }
    m_port.readAll(); // whatever a previous session left behind
    m_version = 0;
    m_status = {};
    m_speedPot.reset();
    m_echoed.clear();
    m_unconfirmedCharacters = false;
    m_statusRequested = false;
    m_decoder.cancelReplies();
    m_decoder.expectReplies(2);
    m_openDone = std::move(done);
    m_state = State::AwaitingEcho;
    // Three nulls complete any command a previous host left half-sent; the echo test and
    // host open follow at once, and their two replies come back in that order.
    const std::string greeting = nullCommand() + nullCommand() + nullCommand() + echoTestCommand() + hostOpenCommand();
    if (!m_port.write(greeting)) {
        finishOpen(resultCode(WinKeyerResult::ComOpenFailed));
        return;
    }
    m_timer.start(kReplyTimeoutMs, [this] { replyTimedOut(); });
}

void WinKeyer::replyArrived(std::uint8_t byte) {
    if (m_state == State::AwaitingEcho) {
        if (byte != kEchoTestByte) {
            finishOpen(resultCode(WinKeyerResult::EchoMismatch));
            return;
        }
        m_state = State::AwaitingVersion;
        m_timer.start(kReplyTimeoutMs, [this] { replyTimedOut(); });
        return;
    }
    if (m_state == State::AwaitingVersion) {
        if (byte == 0) {
            finishOpen(resultCode(WinKeyerResult::NoOpenResponse)); // a version is never 0
            return;
        }
        m_version = byte;
        m_state = State::Open;
        m_timer.stop();
        m_port.write(statusRequestCommand()); // the status before anything is sent
        auto done = std::move(m_openDone);
        m_openDone = nullptr;
        watch();
        if (done) {
            done(resultCode(WinKeyerResult::Success), m_version);
        }
    }
}

void WinKeyer::replyTimedOut() {
    if (m_state == State::AwaitingEcho) {
        finishOpen(resultCode(WinKeyerResult::NoEchoResponse));
    } else if (m_state == State::AwaitingVersion) {
        finishOpen(resultCode(WinKeyerResult::NoOpenResponse));
    }
}

void WinKeyer::finishOpen(int result) {
    // Only failures end here: the keyer may have taken host open, so it is told to close.
    shutPort(true);
    auto done = std::move(m_openDone);
    m_openDone = nullptr;
    if (done) {
        done(result, 0);
    }
}

void WinKeyer::shutPort(bool sayGoodbye) {
    m_timer.stop();
    if (sayGoodbye && m_port.isOpen()) {
        m_port.write(hostCloseCommand());
    }
    m_port.close();
    m_state = State::Closed;
    m_version = 0;
    m_status = {};
    m_decoder.cancelReplies();
    m_unconfirmedCharacters = false;
    m_statusRequested = false;
    if (m_released) {
        m_released();
    }
}

int WinKeyer::close() {
    if (m_state == State::Closed) {
        return resultCode(WinKeyerResult::NotOpen);
    }
    const bool wasOpening = isOpening();
    shutPort(true);
    if (wasOpening) {
        auto done = std::move(m_openDone);
        m_openDone = nullptr;
        if (done) {
            done(resultCode(WinKeyerResult::NotOpen), 0);
        }
    }
    return resultCode(WinKeyerResult::Success);
}

void WinKeyer::lose(const std::string& reason) {
    if (m_state != State::Open) {
        return;
    }
    shutPort(false);
    if (m_statusChanged) {
        m_statusChanged(status());
    }
    if (m_lost) {
        m_lost(reason);
    }
}

int WinKeyer::sendCommand(std::string_view bytes) {
    if (m_state != State::Open) {
        return resultCode(WinKeyerResult::NotOpen);
    }
    if (!m_port.isOpen() || !m_port.write(bytes)) {
        lose("The WinKeyer's port stopped working.");
        return resultCode(WinKeyerResult::NotOpen);
    }
    return resultCode(WinKeyerResult::Success);
}

int WinKeyer::sendCharacter(char character) {
    if (m_state != State::Open) {
        return resultCode(WinKeyerResult::NotOpen);
    }
    const auto byte = characterByte(character);
    if (!byte) {
        return resultCode(WinKeyerResult::NotACharacter);
    }
    const int result = sendCommand(std::string(1, static_cast<char>(*byte)));
    if (result == resultCode(WinKeyerResult::Success)) {
        m_unconfirmedCharacters = true;
        watch();
    }
    return result;
}

int WinKeyer::clearBuffer() {
    return sendCommand(clearBufferCommand());
}

int WinKeyer::backspace() {
    return sendCommand(backspaceCommand());
}

int WinKeyer::status() const {
    if (m_state != State::Open) {
        return resultCode(WinKeyerResult::NotOpen);
    }
    return sendStatusValue(m_status);
}

int WinKeyer::setSpeed(std::uint8_t wordsPerMinute) {
    return sendCommand(speedCommand(wordsPerMinute));
}

int WinKeyer::setWeight(std::uint8_t weight) {
    return sendCommand(weightCommand(weight));
}

int WinKeyer::setDitDahRatio(std::uint8_t ratio) {
    return sendCommand(ditDahRatioCommand(ratio));
}

int WinKeyer::setPttLeadTail(std::uint8_t leadIn10Ms, std::uint8_t tail10Ms) {
    return sendCommand(pttLeadTailCommand(leadIn10Ms, tail10Ms));
}

int WinKeyer::setPinConfig(std::uint8_t pins) {
    return sendCommand(pinConfigCommand(pins));
}

int WinKeyer::setMode(std::uint8_t mode) {
    return sendCommand(modeCommand(mode));
}

std::string WinKeyer::takeEchoed() {
    std::string out;
    out.swap(m_echoed);
    return out;
}

void WinKeyer::dataArrived() {
    if (m_state == State::Closed) {
        m_port.readAll(); // nothing is listening: drop it
        return;
    }
    if (!m_port.isOpen()) {
        if (isOpening()) {
            finishOpen(resultCode(WinKeyerResult::NoEchoResponse));
        } else {
            lose("The WinKeyer's port was lost.");
        }
        return;
    }
    const std::string bytes = m_port.readAll();
    if (bytes.empty()) {
        return;
    }
    const State before = m_state;
    for (const KeyerEvent& event : m_decoder.decode(bytes)) {
        if (m_state == State::Closed) {
            return; // a callback closed the link
        }
        handle(event);
    }
    if (m_state == State::Open && before == State::Open) {
        m_unconfirmedCharacters = false;
        m_statusRequested = false;
        watch();
    }
}

void WinKeyer::handle(const KeyerEvent& event) {
    switch (event.kind) {
    case KeyerEvent::Kind::Status:
        if (m_state == State::Open) {
            setStatus(decodeStatus(event.value));
        }
        break;
    case KeyerEvent::Kind::SpeedPot:
        m_speedPot = event.value;
        break;
    case KeyerEvent::Kind::Reply:
        replyArrived(event.value);
        break;
    case KeyerEvent::Kind::Echo:
        if (m_state == State::Open) {
            m_echoed.push_back(static_cast<char>(event.value));
        }
        break;
    }
}

void WinKeyer::setStatus(KeyerStatus status) {
    const int before = sendStatusValue(m_status);
    m_status = status;
    if (m_statusChanged && sendStatusValue(m_status) != before) {
        m_statusChanged(sendStatusValue(m_status));
    }
}

void WinKeyer::watch() {
    if (m_state != State::Open || m_statusRequested) {
        return;
    }
    const bool expectingWord = m_status.busy || m_status.xoff || m_status.wait || m_unconfirmedCharacters;
    if (expectingWord) {
        m_timer.start(kQuietKeyerMs, [this] { quietTooLong(); });
    } else {
        m_timer.stop();
    }
}

void WinKeyer::quietTooLong() {
    if (m_state != State::Open) {
        return;
    }
    if (sendCommand(statusRequestCommand()) != resultCode(WinKeyerResult::Success)) {
        return; // lost already
    }
    m_statusRequested = true;
    m_timer.start(kStatusReplyTimeoutMs, [this] { statusRequestUnanswered(); });
}

void WinKeyer::statusRequestUnanswered() {
    lose("The WinKeyer stopped answering.");
}

} // namespace corvane::cw
