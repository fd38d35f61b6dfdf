#include "spots/TelnetFilter.h"

namespace corvane::spots {

TelnetFilter::Result TelnetFilter::feed(std::string_view bytes) {
    Result result;
    result.text.reserve(bytes.size());
    for (char c : bytes) {
        const auto b = static_cast<std::uint8_t>(c);
        switch (m_state) {
        case State::Data:
            if (b == telnet::kIac) {
                m_state = State::Iac;
            } else {
                result.text += c;
            }
            break;
        case State::Iac:
            if (b == telnet::kIac) {
                result.text += c; // an escaped 255 data byte
                m_state = State::Data;
            } else if (b == telnet::kDo || b == telnet::kDont || b == telnet::kWill || b == telnet::kWont) {
                m_verb = b;
                m_state = State::Option;
            } else if (b == telnet::kSb) {
                m_state = State::Sub;
                m_subBytes = 0;
            } else {
                m_state = State::Data; // a two-byte command (NOP, GA, ...): nothing to show
            }
            break;
        case State::Option:
            // Refuse what is asked or offered; a refusal is acknowledged with silence.
            if (m_verb == telnet::kDo) {
                result.reply += {static_cast<char>(telnet::kIac), static_cast<char>(telnet::kWont), c};
            } else if (m_verb == telnet::kWill) {
                result.reply += {static_cast<char>(telnet::kIac), static_cast<char>(telnet::kDont), c};
            }
            m_state = State::Data;
            break;
        case State::Sub:
            if (b == telnet::kIac) {
                m_state = State::SubIac;
            } else if (++m_subBytes > kMaxSubnegotiation) {
                m_state = State::Data;
            }
            break;
        case State::SubIac:
            m_state = b == telnet::kSe ? State::Data : State::Sub;
            break;
        }
    }
    return result;
}

} // namespace corvane::spots
