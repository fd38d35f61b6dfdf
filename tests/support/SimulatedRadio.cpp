#include "support/SimulatedRadio.h"

#include <cmath>
#include <cstdio>
#include <termios.h>

namespace corvane::test {

namespace {

constexpr std::uint8_t kPreamble = 0xFE;
constexpr std::uint8_t kEndOfMessage = 0xFD;
constexpr std::uint8_t kOk = 0xFB;
constexpr std::uint8_t kController = 0xE0;

std::string digits(long long value, int width) {
    char text[32];
    std::snprintf(text, sizeof text, "%0*lld", width, value < 0 ? 0 : value);
    return text;
}

std::uint8_t bcd(long long twoDigits) {
    return static_cast<std::uint8_t>(((twoDigits / 10) % 10) << 4 | (twoDigits % 10));
}

long long fromBcd(std::uint8_t byte) {
    return (byte >> 4) * 10 + (byte & 0x0F);
}

} // namespace

SimulatedRadio::SimulatedRadio(Family family, std::uint8_t civAddress) : m_family(family), m_address(civAddress) {
    start();
}

SimulatedRadio::~SimulatedRadio() {
    stop();
}

void SimulatedRadio::setBehaviour(Behaviour behaviour) {
    std::lock_guard lock(m_mutex);
    m_behaviour = behaviour;
    wake();
}

void SimulatedRadio::setSplitGapMs(int gapMs) {
    std::lock_guard lock(m_mutex);
    m_splitGapMs = gapMs;
}

void SimulatedRadio::setFrequencyHz(long long hz) {
    std::lock_guard lock(m_mutex);
    m_frequencyHz = hz;
}

void SimulatedRadio::setModeCode(int code) {
    std::lock_guard lock(m_mutex);
    m_mode = code;
}

long long SimulatedRadio::frequencyHz() const {
    std::lock_guard lock(m_mutex);
    return m_frequencyHz;
}

int SimulatedRadio::modeCode() const {
    std::lock_guard lock(m_mutex);
    return m_mode;
}

long long SimulatedRadio::vfoBHz() const {
    std::lock_guard lock(m_mutex);
    return m_vfoBHz;
}

bool SimulatedRadio::rtsCtsHandshake() const {
    std::lock_guard lock(m_mutex);
    termios line{};
    return programSide() >= 0 && ::tcgetattr(programSide(), &line) == 0 && (line.c_cflag & CRTSCTS) != 0;
}

std::vector<SimulatedRadio::Command> SimulatedRadio::commands() const {
    std::lock_guard lock(m_mutex);
    return m_commands;
}

std::string SimulatedRadio::received() const {
    std::lock_guard lock(m_mutex);
    return m_received;
}

void SimulatedRadio::forget() {
    std::lock_guard lock(m_mutex);
    m_commands.clear();
    m_received.clear();
}

bool SimulatedRadio::waitUntil(const std::function<bool(const SimulatedRadio&)>& done,
                               std::chrono::milliseconds timeout) const {
    const auto end = Clock::now() + timeout;
    while (Clock::now() < end) {
        if (done(*this)) {
            return true;
        }
        std::unique_lock lock(m_mutex);
        m_changed.wait_for(lock, std::chrono::milliseconds(5));
    }
    return done(*this);
}

// Called with the lock held; a split reply lets go of it during the gap.
void SimulatedRadio::reply(const std::string& bytes) {
    if (m_behaviour != Behaviour::Radio || bytes.empty()) {
        return;
    }
    if (m_splitGapMs <= 0 || bytes.size() < 2) {
        writeToProgram(bytes);
        return;
    }
    const auto half = bytes.size() / 2;
    writeToProgram(bytes.substr(0, half));
    const int gap = m_splitGapMs;
    m_mutex.unlock();
    std::this_thread::sleep_for(std::chrono::milliseconds(gap));
    m_mutex.lock();
    writeToProgram(bytes.substr(half));
}

void SimulatedRadio::fromProgram(const std::uint8_t* bytes, std::size_t count, Clock::time_point now) {
    for (std::size_t i = 0; i < count; ++i) {
        take(bytes[i], now);
    }
}

int SimulatedRadio::waitMs() const {
    return m_behaviour == Behaviour::Flood ? 1 : -1;
}

void SimulatedRadio::idle(Clock::time_point) {
    if (m_behaviour == Behaviour::Flood) {
        // About 256 kB a second of noise, never a frame end: a radio gone mad.
        std::string noise(256, '\0');
        for (auto& c : noise) {
            m_noise ^= m_noise << 13;
            m_noise ^= m_noise >> 17;
            m_noise ^= m_noise << 5;
            c = static_cast<char>(m_noise & 0x7F);
        }
        writeToProgram(noise);
    }
}

void SimulatedRadio::take(std::uint8_t byte, Clock::time_point now) {
    m_received.push_back(static_cast<char>(byte));
    m_pending.push_back(static_cast<char>(byte));
    bool complete = false;
    switch (m_family) {
    case Family::Kenwood:
    case Family::KenwoodShort:
        complete = byte == ';';
        break;
    case Family::CiV:
    case Family::CiV4:
        complete = byte == kEndOfMessage;
        break;
    case Family::Yaesu:
        complete = m_pending.size() == 5;
        break;
    case Family::Orion:
        complete = byte == '\r';
        break;
    }
    if (!complete) {
        return;
    }
    const std::string command = std::move(m_pending);
    m_pending.clear();
    m_commands.push_back({command, now});
    switch (m_family) {
    case Family::Kenwood:
    case Family::KenwoodShort:
        kenwood(command);
        break;
    case Family::CiV:
    case Family::CiV4:
        civ(command);
        break;
    case Family::Yaesu:
        yaesu(command);
        break;
    case Family::Orion:
        orion(command);
        break;
    }
}

void SimulatedRadio::kenwood(const std::string& text) {
    const bool shortForm = m_family == Family::KenwoodShort;
    const int width = shortForm ? 8 : 11;
    const std::string modePrefix = shortForm ? "MD0" : "MD";
    const std::string body = text.substr(0, text.size() - 1);
    if (body == "FA") {
        reply("FA" + digits(m_frequencyHz, width) + ";");
    } else if (body == "FB") {
        reply("FB" + digits(m_vfoBHz, width) + ";");
    } else if (body == modePrefix) {
        reply(modePrefix + std::to_string(m_mode) + ";");
    } else if (body == "IF") {
        // IF, frequency, step (4), RIT (6), RIT, XIT, bank (2), TX, then the mode and the VFO.
        std::string answer = "IF" + digits(m_frequencyHz, 11) + "    " + "+00000" + "00" + "00" + "0";
        answer += std::to_string(m_mode);
        answer += "0000 00 ;";
        reply(answer);
    } else if (body.size() > 2 && (body.starts_with("FA") || body.starts_with("FB"))) {
        const std::string number = body.substr(2);
        if (number.size() == static_cast<std::size_t>(width) &&
            number.find_first_not_of("0123456789") == std::string::npos) {
            (body[1] == 'A' ? m_frequencyHz : m_vfoBHz) = std::stoll(number);
        }
    } else if (body.size() == modePrefix.size() + 1 && body.starts_with(modePrefix)) {
        m_mode = body.back() - '0';
    }
}

void SimulatedRadio::civ(const std::string& frame) {
    const auto at = [&](std::size_t i) { return static_cast<std::uint8_t>(frame[i]); };
    if (frame.size() < 5 || at(0) != kPreamble || at(1) != kPreamble || at(2) != m_address) {
        return;
    }
    // The bus carries the question back to its sender first.
    reply(frame);
    const std::string head = {static_cast<char>(kPreamble), static_cast<char>(kPreamble),
                              static_cast<char>(kController), static_cast<char>(m_address)};
    const std::string end(1, static_cast<char>(kEndOfMessage));
    const int frequencyBytes = m_family == Family::CiV4 ? 4 : 5;
    switch (at(4)) {
    case 0x03: {
        std::string data;
        long long rest = m_family == Family::CiV4 ? m_frequencyHz / 10 * 10 : m_frequencyHz;
        for (int i = 0; i < frequencyBytes; ++i) {
            data.push_back(static_cast<char>(bcd(rest % 100)));
            rest /= 100;
        }
        reply(head + "\x03" + data + end);
        break;
    }
    case 0x04:
        reply(head + std::string(1, '\x04') + static_cast<char>(m_mode) + "\x01" + end);
        break;
    case 0x05: {
        long long hz = 0;
        long long scale = 1;
        for (std::size_t i = 5; i + 1 < frame.size(); ++i) {
            hz += fromBcd(at(i)) * scale;
            scale *= 100;
        }
        m_frequencyHz = hz;
        reply(head + static_cast<char>(kOk) + end);
        break;
    }
    case 0x06:
        if (frame.size() > 6) {
            m_mode = at(5);
        }
        reply(head + static_cast<char>(kOk) + end);
        break;
    default:
        break;
    }
}

void SimulatedRadio::yaesu(const std::string& frame) {
    const auto at = [&](std::size_t i) { return static_cast<std::uint8_t>(frame[i]); };
    switch (at(4)) {
    case 0x03: {
        std::string answer;
        long long tens = m_frequencyHz / 10;
        for (long long scale = 1000000; scale >= 1; scale /= 100) {
            answer.push_back(static_cast<char>(bcd(tens / scale % 100)));
        }
        answer.push_back(static_cast<char>(m_mode));
        reply(answer);
        break;
    }
    case 0x01:
        m_frequencyHz =
            (fromBcd(at(0)) * 1000000 + fromBcd(at(1)) * 10000 + fromBcd(at(2)) * 100 + fromBcd(at(3))) * 10;
        break;
    case 0x07:
        m_mode = at(0);
        break;
    default:
        break;
    }
}

void SimulatedRadio::orion(const std::string& line) {
    const std::string body = line.substr(0, line.size() - 1);
    if (body == "?AF") {
        reply("@AF" + std::to_string(m_frequencyHz) + "\r");
    } else if (body == "?RMM") {
        reply("@RMM" + std::to_string(m_mode) + "\r");
    } else if (body.starts_with("*AF")) {
        // Whole Hz only: anything else (a point, a sign) is not a frequency to this radio.
        const std::string number = body.substr(3);
        if (!number.empty() && number.size() <= 11 && number.find_first_not_of("0123456789") == std::string::npos) {
            m_frequencyHz = std::stoll(number);
        }
    }
}

} // namespace corvane::test
