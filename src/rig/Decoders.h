#pragma once
// Reply decoders, one per radio family. Each is a pure function over the bytes one read phase
// has received so far (feed more bytes by calling again on the longer text, or use
// ReplyDecoder), and never throws, hangs or allocates beyond the reply it is given.
// A value the reply does not carry stays unset in the result, so the link keeps its last one.

#include "rig/RigTypes.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

namespace corvane::rig {

// What one read phase keeps of a radio's bytes: the first kMaxReplyBytes; the rest is counted
// and dropped, so a radio that never stops talking cannot grow memory.
inline constexpr std::size_t kMaxReplyBytes = 1024;

class ReplyBuffer {
public:
    void append(std::string_view bytes);
    void clear();
    std::string_view bytes() const { return m_bytes; }
    bool empty() const { return m_bytes.empty(); }
    std::size_t droppedBytes() const { return m_dropped; }

private:
    std::string m_bytes;
    std::size_t m_dropped = 0;
};

// Incremental decoding of one read phase: feed bytes as they arrive, read the result so far.
class ReplyDecoder {
public:
    using Decode = DecodeResult (*)(const RigCommands&, const PollState&, std::string_view);
    ReplyDecoder(Decode decode, RigCommands commands, PollState state)
        : m_decode(decode), m_commands(std::move(commands)), m_state(std::move(state)) {}

    DecodeResult feed(std::string_view bytes);
    const ReplyBuffer& buffer() const { return m_buffer; }

private:
    Decode m_decode;
    RigCommands m_commands;
    PollState m_state;
    ReplyBuffer m_buffer;
};

// "FA;"/"MD;" radios: frequency after the first two characters of the frequency command, mode
// after "MD" (3 or 7 is CW).
DecodeResult decodeKenwood(const RigCommands& commands, const PollState& state, std::string_view reply);
// "IF;" radios: frequency, mode and the VFO digit from one IF reply.
DecodeResult decodeKenwood2(const RigCommands& commands, const PollState& state, std::string_view reply);
// CI-V: frequency when state.modeTurn is 1 (a frequency question went out), mode when 0.
DecodeResult decodeIcom(const RigCommands& commands, const PollState& state, std::string_view reply);
// As decodeIcom, but the radio sends four frequency bytes (the number is divided by 100).
DecodeResult decodeIcom735(const RigCommands& commands, const PollState& state, std::string_view reply);
DecodeResult decodeYaesu(const RigCommands& commands, const PollState& state, std::string_view reply);
DecodeResult decodeYaesu757(const RigCommands& commands, const PollState& state, std::string_view reply);
DecodeResult decodeYaesu890(const RigCommands& commands, const PollState& state, std::string_view reply);
DecodeResult decodeYaesu920(const RigCommands& commands, const PollState& state, std::string_view reply);
DecodeResult decodeYaesu990(const RigCommands& commands, const PollState& state, std::string_view reply);
DecodeResult decodeYaesu1000(const RigCommands& commands, const PollState& state, std::string_view reply);
DecodeResult decodeFtdx9000(const RigCommands& commands, const PollState& state, std::string_view reply);
DecodeResult decodeTenTecFrontPanel(const RigCommands& commands, const PollState& state, std::string_view reply);
DecodeResult decodeOrion(const RigCommands& commands, const PollState& state, std::string_view reply);
// "None", "Other": nothing is decoded (NoDecoder); the reply is only shown.
DecodeResult decodeNothing(const RigCommands& commands, const PollState& state, std::string_view reply);

// The CI-V frame scan over a reply for command byte 03 (frequency) or 04 (mode). The echo of
// the question (a frame without data) changes nothing. Frequency digits: the data bytes of the
// first complete answer frame, least significant byte first.
struct CivScan {
    bool complete = false; // an answer frame with data ended with FD
    bool begun = false;    // an answer frame has begun but not ended
    std::string digits;    // hex digits of the data, most significant first
};
CivScan scanCiv(std::string_view reply, unsigned char command);

} // namespace corvane::rig
