#include "support/SimulatedWinKeyer.h"

#include "cw/MorseTable.h"
#include "cw/winkey/WinKeyerProtocol.h"

#include <algorithm>

namespace corvane::test {

using cw::AdminCommand;
using cw::WinkeyCommand;

SimulatedWinKeyer::SimulatedWinKeyer(std::uint8_t version) : m_version(version) {
    start();
}

SimulatedWinKeyer::~SimulatedWinKeyer() {
    stop();
}

void SimulatedWinKeyer::setBehaviour(Behaviour behaviour) {
    std::lock_guard lock(m_mutex);
    m_behaviour = behaviour;
}

void SimulatedWinKeyer::setXoffAbove(int characters) {
    std::lock_guard lock(m_mutex);
    m_xoffAbove = characters;
}

void SimulatedWinKeyer::fromProgram(const std::uint8_t* bytes, std::size_t count, Clock::time_point now) {
    for (std::size_t i = 0; i < count; ++i) {
        take(bytes[i], now);
    }
}

int SimulatedWinKeyer::waitMs() const {
    if (!m_current) {
        return -1;
    }
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(m_currentEnds - Clock::now()).count();
    return static_cast<int>(std::max<long long>(0, left));
}

void SimulatedWinKeyer::idle(Clock::time_point now) {
    if (m_current && now >= m_currentEnds) {
        finishCurrent(now);
    }
}

void SimulatedWinKeyer::gone() {
    m_current.reset();
    m_buffer.clear();
}

int SimulatedWinKeyer::argumentsNeeded() const {
    const auto code = static_cast<WinkeyCommand>(m_pending[0]);
    std::size_t total = 1 + static_cast<std::size_t>(cw::argumentCount(code));
    if (code == WinkeyCommand::Admin && m_pending.size() >= 2) {
        total = 2 + static_cast<std::size_t>(cw::adminArgumentCount(static_cast<AdminCommand>(m_pending[1])));
    } else if (code == WinkeyCommand::BufferPointer && m_pending.size() >= 2) {
        total = 1 + static_cast<std::size_t>(cw::bufferPointerArgumentCount(m_pending[1]));
    }
    return static_cast<int>(total) - static_cast<int>(m_pending.size());
}

void SimulatedWinKeyer::take(std::uint8_t byte, Clock::time_point now) {
    m_received.push_back(static_cast<char>(byte));
    if (m_pending.empty() && byte >= cw::kFirstCharacterByte) {
        character(static_cast<char>(byte), now);
        return;
    }
    m_pending.push_back(byte);
    if (argumentsNeeded() <= 0) {
        const auto bytes = std::move(m_pending);
        m_pending.clear();
        command(bytes);
    }
}

void SimulatedWinKeyer::command(const std::vector<std::uint8_t>& bytes) {
    const auto arg = [&](std::size_t i) { return i < bytes.size() ? bytes[i] : 0; };
    switch (static_cast<WinkeyCommand>(bytes[0])) {
    case WinkeyCommand::Admin:
        admin(bytes);
        break;
    case WinkeyCommand::SetSpeed:
        if (arg(1) != 0) {
            m_speedWpm = arg(1);
        }
        m_speeds.push_back(arg(1));
        break;
    case WinkeyCommand::SetWeight:
        m_weight = arg(1);
        break;
    case WinkeyCommand::SetDitDahRatio:
        m_ratio = arg(1);
        break;
    case WinkeyCommand::SetPttLeadTail:
        m_leadTail = {arg(1), arg(2)};
        break;
    case WinkeyCommand::SetPinConfig:
        m_pinConfig = arg(1);
        break;
    case WinkeyCommand::SetMode:
        m_mode = arg(1);
        break;
    case WinkeyCommand::ClearBuffer:
        ++m_clears;
        stopSending();
        break;
    case WinkeyCommand::Backspace:
        ++m_backspaces;
        if (!m_buffer.empty()) {
            m_buffer.pop_back();
        }
        reportStatus();
        break;
    case WinkeyCommand::RequestStatus:
        if (m_hostOpen) {
            reportStatus(true);
        }
        break;
    case WinkeyCommand::GetSpeedPot:
        reply(0x80 | 10);
        break;
    default:
        break;
    }
}

void SimulatedWinKeyer::admin(const std::vector<std::uint8_t>& bytes) {
    if (bytes.size() < 2) {
        return;
    }
    switch (static_cast<AdminCommand>(bytes[1])) {
    case AdminCommand::Echo:
        if (m_behaviour == Behaviour::Garbage) {
            m_garbage = m_garbage * 1103515245u + 12345u;
            reply(static_cast<std::uint8_t>(0x56 + (m_garbage >> 16) % 0x20)); // never the byte sent
        } else {
            reply(bytes.size() > 2 ? bytes[2] : 0);
        }
        break;
    case AdminCommand::HostOpen:
        m_hostOpen = true;
        m_lastStatus = 0xC0;
        reply(m_version);
        break;
    case AdminCommand::HostClose:
        m_hostOpen = false;
        m_buffer.clear();
        m_current.reset();
        break;
    default:
        break;
    }
}

void SimulatedWinKeyer::character(char c, Clock::time_point now) {
    if (!m_firstCharacterAt) {
        m_firstCharacterAt = now;
    }
    if (!m_hostOpen) {
        return;
    }
    m_buffer.push_back(c);
    if (!m_current) {
        startNext(now);
    }
    reportStatus();
}

SimulatedWinKeyer::Clock::duration SimulatedWinKeyer::characterTime(char c) const {
    const std::size_t units = c == ' ' ? 4 : cw::morseElements(c).size();
    const auto unit = std::chrono::microseconds(1'200'000 / std::max(1, m_speedWpm));
    return unit * static_cast<long long>(units);
}

void SimulatedWinKeyer::startNext(Clock::time_point now) {
    if (m_buffer.empty()) {
        m_current.reset();
        reportStatus();
        return;
    }
    m_current = m_buffer.front();
    m_buffer.pop_front();
    m_currentStarted = now;
    m_currentEnds = now + characterTime(*m_current);
    reportStatus();
}

void SimulatedWinKeyer::finishCurrent(Clock::time_point now) {
    m_keyed.push_back({*m_current, m_currentStarted, now});
    m_current.reset();
    startNext(now);
}

void SimulatedWinKeyer::stopSending() {
    m_buffer.clear();
    m_current.reset();
    reportStatus();
}

std::uint8_t SimulatedWinKeyer::statusByte() const {
    std::uint8_t status = 0xC0;
    if (m_current || !m_buffer.empty()) {
        status |= 0x04;
    }
    if (static_cast<int>(m_buffer.size()) > m_xoffAbove) {
        status |= 0x01;
    }
    return status;
}

void SimulatedWinKeyer::reportStatus(bool force) {
    if (!m_hostOpen) {
        return;
    }
    const std::uint8_t status = statusByte();
    if (status == m_lastStatus && !force) {
        return;
    }
    m_lastStatus = status;
    m_statuses.push_back(static_cast<char>(status));
    reply(status);
}

void SimulatedWinKeyer::reply(std::uint8_t byte) {
    if (m_behaviour == Behaviour::Silent) {
        return;
    }
    writeToProgram(std::string_view(reinterpret_cast<const char*>(&byte), 1));
}

std::string SimulatedWinKeyer::received() const {
    std::lock_guard lock(m_mutex);
    return m_received;
}

std::optional<SimulatedWinKeyer::Clock::time_point> SimulatedWinKeyer::firstCharacterAt() const {
    std::lock_guard lock(m_mutex);
    return m_firstCharacterAt;
}

std::string SimulatedWinKeyer::keyed() const {
    std::lock_guard lock(m_mutex);
    std::string out;
    for (const Keyed& k : m_keyed) {
        out.push_back(k.character);
    }
    return out;
}

std::vector<SimulatedWinKeyer::Keyed> SimulatedWinKeyer::keyedTimes() const {
    std::lock_guard lock(m_mutex);
    return m_keyed;
}

std::string SimulatedWinKeyer::queued() const {
    std::lock_guard lock(m_mutex);
    return std::string(m_buffer.begin(), m_buffer.end());
}

std::vector<int> SimulatedWinKeyer::speeds() const {
    std::lock_guard lock(m_mutex);
    return m_speeds;
}

std::string SimulatedWinKeyer::statusesSent() const {
    std::lock_guard lock(m_mutex);
    return m_statuses;
}

bool SimulatedWinKeyer::hostOpen() const {
    std::lock_guard lock(m_mutex);
    return m_hostOpen;
}

bool SimulatedWinKeyer::busy() const {
    std::lock_guard lock(m_mutex);
    return m_current.has_value() || !m_buffer.empty();
}

int SimulatedWinKeyer::clears() const {
    std::lock_guard lock(m_mutex);
    return m_clears;
}

int SimulatedWinKeyer::backspaces() const {
    std::lock_guard lock(m_mutex);
    return m_backspaces;
}

int SimulatedWinKeyer::weight() const {
    std::lock_guard lock(m_mutex);
    return m_weight;
}

int SimulatedWinKeyer::ratio() const {
    std::lock_guard lock(m_mutex);
    return m_ratio;
}

int SimulatedWinKeyer::pinConfig() const {
    std::lock_guard lock(m_mutex);
    return m_pinConfig;
}

int SimulatedWinKeyer::mode() const {
    std::lock_guard lock(m_mutex);
    return m_mode;
}

std::pair<int, int> SimulatedWinKeyer::leadTail() const {
    std::lock_guard lock(m_mutex);
    return m_leadTail;
}

void SimulatedWinKeyer::forgetReceived() {
    std::lock_guard lock(m_mutex);
    m_received.clear();
    m_statuses.clear();
    m_firstCharacterAt.reset();
}

bool SimulatedWinKeyer::waitUntil(const std::function<bool(const SimulatedWinKeyer&)>& done,
                                  std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    while (!done(*this)) {
        if (Clock::now() >= deadline) {
            return false;
        }
        std::unique_lock lock(m_mutex);
        m_changed.wait_until(lock, std::min(deadline, Clock::now() + std::chrono::milliseconds(5)));
    }
    return true;
}

} // namespace corvane::test
