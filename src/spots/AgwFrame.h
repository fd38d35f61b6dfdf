#pragma once
// Frames of the AGW packet engine's TCP interface (as Direwolf offers on port 8000).
//
// Every frame is a 36-byte header and its data:
//
//   offset  size  field
//        0     1  port (radio channel, 0 = first)
//        1     3  reserved, 0
//        4     1  kind (one ASCII letter: 'X' register, 'm' monitor, 'C' connect, 'D' data ...)
//        5     1  reserved, 0
//        6     1  PID (0xF0 for plain text, 0 when unused)
//        7     1  reserved, 0
//        8    10  call from (ASCII, NUL padded)
//       18    10  call to (ASCII, NUL padded)
//       28     4  data length, unsigned little-endian
//       32     4  reserved (user), 0
//
// The decoder takes a byte stream in any pieces. A header that claims more than
// kAgwMaxDataLength bytes (a huge or, read as signed, negative length) cannot be followed:
// the decoder stops with an error text and the link is closed.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::spots {

inline constexpr std::size_t kAgwHeaderSize = 36;
inline constexpr std::size_t kAgwCallField = 10;
inline constexpr std::uint32_t kAgwMaxDataLength = 65536;
inline constexpr std::uint8_t kAgwPidText = 0xF0;

struct AgwFrame {
    std::uint8_t port = 0;
    char kind = 0;
    std::uint8_t pid = 0;
    std::string callFrom; // at most 9 characters are sent; decoded up to the first NUL
    std::string callTo;
    std::string data;

    bool operator==(const AgwFrame&) const = default;
};

// The frame's bytes; calls longer than 9 characters are cut so a NUL always ends them.
std::string encodeAgwFrame(const AgwFrame& frame);

class AgwDecoder {
public:
    // Takes bytes; returns the frames they complete. After an error nothing more is taken.
    std::vector<AgwFrame> feed(std::string_view bytes);
    bool failed() const { return m_error.has_value(); }
    // "AGW Packet Engine sent a frame claiming 4294967295 data bytes; link closed." style text.
    const std::optional<std::string>& error() const { return m_error; }
    void reset();

private:
    std::string m_buffer;
    std::optional<std::string> m_error;
};

} // namespace corvane::spots
