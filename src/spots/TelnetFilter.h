#pragma once
// Telnet option negotiation taken out of a cluster's byte stream. Every option the node
// asks for or offers is refused (DO x -> WONT x, WILL x -> DONT x), so the link stays a
// plain line-mode text stream; subnegotiations are skipped whole; IAC IAC is one 255
// byte. A command split across reads is completed by the next read. A subnegotiation that
// runs past kMaxSubnegotiation bytes without its end is abandoned, so that a garbled stream
// cannot hide all the text that follows it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace corvane::spots {

namespace telnet {
inline constexpr std::uint8_t kIac = 255;
inline constexpr std::uint8_t kDont = 254;
inline constexpr std::uint8_t kDo = 253;
inline constexpr std::uint8_t kWont = 252;
inline constexpr std::uint8_t kWill = 251;
inline constexpr std::uint8_t kSb = 250;
inline constexpr std::uint8_t kSe = 240;
} // namespace telnet

inline constexpr std::size_t kMaxSubnegotiation = 512;

class TelnetFilter {
public:
    struct Result {
        std::string text;  // the data bytes, for SpotIntake::telnetReceived
        std::string reply; // bytes to send back to the node (refusals), possibly empty
    };
    Result feed(std::string_view bytes);
    void reset() { m_state = State::Data; }

private:
    enum class State { Data, Iac, Option, Sub, SubIac };
    State m_state = State::Data;
    std::uint8_t m_verb = 0;
    std::size_t m_subBytes = 0;
};

} // namespace corvane::spots
