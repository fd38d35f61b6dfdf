#include "spots/AgwFrame.h"

namespace corvane::spots {

namespace {

void putCall(std::string& out, std::string_view call) {
    const std::string_view kept = call.substr(0, kAgwCallField - 1);
    out += kept;
    out.append(kAgwCallField - kept.size(), '\0');
}

std::string takeCall(std::string_view field) {
    const auto nul = field.find('\0');
    return std::string(field.substr(0, nul));
}

std::uint32_t readLength(std::string_view bytes) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | static_cast<std::uint8_t>(bytes[static_cast<std::size_t>(i)]);
    }
    return value;
}

void putLength(std::string& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

} // namespace

std::string encodeAgwFrame(const AgwFrame& frame) {
    std::string out;
    out.reserve(kAgwHeaderSize + frame.data.size());
    out += static_cast<char>(frame.port);
    out.append(3, '\0');
    out += frame.kind;
    out += '\0';
    out += static_cast<char>(frame.pid);
    out += '\0';
    putCall(out, frame.callFrom);
    putCall(out, frame.callTo);
    putLength(out, static_cast<std::uint32_t>(frame.data.size()));
    out.append(4, '\0');
    out += frame.data;
    return out;
}

std::vector<AgwFrame> AgwDecoder::feed(std::string_view bytes) {
    std::vector<AgwFrame> frames;
    if (m_error) {
        return frames;
    }
    m_buffer += bytes;
    std::size_t at = 0;
    while (m_buffer.size() - at >= kAgwHeaderSize) {
        const std::string_view header = std::string_view(m_buffer).substr(at, kAgwHeaderSize);
        const std::uint32_t length = readLength(header.substr(28, 4));
        if (length > kAgwMaxDataLength) {
            m_error = "The AGW Packet Engine sent a frame that claims " + std::to_string(length) +
                      " data bytes (at most " + std::to_string(kAgwMaxDataLength) +
                      " are accepted); the link cannot follow it and was closed.";
            m_buffer.clear();
            m_buffer.shrink_to_fit();
            return frames;
        }
        if (m_buffer.size() - at - kAgwHeaderSize < length) {
            break;
        }
        AgwFrame frame;
        frame.port = static_cast<std::uint8_t>(header[0]);
        frame.kind = header[4];
        frame.pid = static_cast<std::uint8_t>(header[6]);
        frame.callFrom = takeCall(header.substr(8, kAgwCallField));
        frame.callTo = takeCall(header.substr(18, kAgwCallField));
        frame.data = m_buffer.substr(at + kAgwHeaderSize, length);
        frames.push_back(std::move(frame));
        at += kAgwHeaderSize + length;
    }
    m_buffer.erase(0, at);
    return frames;
}

void AgwDecoder::reset() {
    m_buffer.clear();
    m_error.reset();
}

} // namespace corvane::spots
