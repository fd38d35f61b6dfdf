#pragma once
// The program's side of an AGW packet engine link over its TCP interface, offering the
// operations the setup window uses: start (register the station call and ask for monitored
// frames), put (a frame of kind 'c' connect, 'P', 'D' connected data or 'd' disconnect to a
// far station), get (one received frame per timer tick) and stop.
//
// The engine's TCP interface names a few things differently; the link translates:
//   put 'c' -> 'C' connect request;  put 'P' -> nothing (the connect request is complete);
//   put 'D' -> 'D' data (PID 0xF0);  put 'd' -> 'd' disconnect.
//   got 'C' (connection established) -> kind 'c', sender the far station;
//   got 'd' (disconnected)           -> kind 'd', sender the far station;
//   got 'D', 'I', 'U', 'S', 'T'      -> the same kind, sender the frame's "call from";
//   got 'X' -> registration result (not handed on); other kinds are not handed on.
// Received frames wait in a queue of at most kAgwMaxQueuedFrames; beyond it the oldest is
// dropped and counted. Data texts are cut to kAgwMaxText characters.

#include "spots/AgwFrame.h"

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

namespace corvane::spots {

inline constexpr std::size_t kAgwMaxQueuedFrames = 256;
inline constexpr std::size_t kAgwMaxText = 4000;

struct AgwReceived {
    std::string sender;
    char kind = 0;
    std::string text;
};

class AgwLink {
public:
    // The bytes to send once the TCP connection stands: register `ownCall`, monitor on.
    std::string start(std::string_view ownCall);
    // The bytes of one put; empty for 'P' and for kinds the link does not send.
    std::string put(char kind, std::string_view farCall, std::string_view data) const;
    // Bytes read from the engine. False once the stream cannot be followed (decoderError).
    bool received(std::string_view bytes);
    // The next received frame, or nothing.
    std::optional<AgwReceived> get();
    // Forget the queue and the decoder state (the link ended).
    void stop();

    // The engine's answer to the registration: nullopt until it came.
    std::optional<bool> registered() const { return m_registered; }
    const std::optional<std::string>& decoderError() const { return m_decoder.error(); }
    // Frames dropped because the queue was full, counted since the last call.
    std::size_t takeDroppedFrames();
    std::size_t queued() const { return m_queue.size(); }

private:
    std::string m_ownCall;
    AgwDecoder m_decoder;
    std::deque<AgwReceived> m_queue;
    std::optional<bool> m_registered;
    std::size_t m_dropped = 0;
};

} // namespace corvane::spots
