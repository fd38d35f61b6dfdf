#include "voice/WaveFile.h"

#include <cstdio>
#include <memory>

namespace corvane {

namespace {

std::uint32_t le32(std::string_view s, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(s[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(s[at + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(s[at + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(s[at + 3])) << 24;
}

int le16(std::string_view s, std::size_t at) {
    return static_cast<int>(static_cast<unsigned char>(s[at])) | static_cast<int>(static_cast<unsigned char>(s[at + 1]))
                                                                     << 8;
}

bool formatUsable(const WaveInfo& w) {
    if (w.channels < 1 || w.channels > 8 || w.sampleRate < 1000 || w.sampleRate > 384000) {
        return false;
    }
    switch (w.formatTag) {
    case 1:
    case 0xFFFE:
        if (w.bitsPerSample != 8 && w.bitsPerSample != 16 && w.bitsPerSample != 24 && w.bitsPerSample != 32) {
            return false;
        }
        break;
    case 3:
        if (w.bitsPerSample != 32 && w.bitsPerSample != 64) {
            return false;
        }
        break;
    case 6:
    case 7:
        if (w.bitsPerSample != 8) {
            return false;
        }
        break;
    default:
        return false;
    }
    const int expectedAlign = w.channels * (w.bitsPerSample / 8);
    return w.blockAlign == expectedAlign && w.byteRate == w.sampleRate * static_cast<std::uint32_t>(expectedAlign);
}

} // namespace

std::optional<WaveInfo> parseWaveHeader(std::string_view head, std::uint64_t fileSize) {
    if (head.size() < 12 || head.substr(0, 4) != "RIFF" || head.substr(8, 4) != "WAVE") {
        return std::nullopt;
    }
    WaveInfo info;
    bool haveFormat = false;
    std::size_t at = 12;
    while (at + 8 <= head.size()) {
        const std::string_view id = head.substr(at, 4);
        const std::uint64_t size = le32(head, at + 4);
        const std::size_t body = at + 8;
        if (id == "fmt ") {
            if (size < 16 || body + 16 > head.size()) {
                return std::nullopt;
            }
            info.formatTag = le16(head, body);
            info.channels = le16(head, body + 2);
            info.sampleRate = le32(head, body + 4);
            info.byteRate = le32(head, body + 8);
            info.blockAlign = le16(head, body + 12);
            info.bitsPerSample = le16(head, body + 14);
            if (!formatUsable(info)) {
                return std::nullopt;
            }
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat || body > fileSize) {
                return std::nullopt;
            }
            info.dataOffset = body;
            const std::uint64_t present = fileSize - body;
            info.dataBytes = size < present ? size : present;
            // Whole frames only: a half frame at the end of a cut file is not played.
            info.dataBytes -= info.dataBytes % static_cast<std::uint64_t>(info.blockAlign);
            if (info.dataBytes == 0) {
                return std::nullopt;
            }
            info.durationMs = static_cast<std::int64_t>((info.dataBytes * 1000 + info.byteRate - 1) / info.byteRate);
            return info;
        }
        // Chunks are padded to an even size.
        const std::uint64_t next = body + size + (size & 1);
        if (next > head.size()) {
            return std::nullopt; // a chunk before the audio larger than any header we read
        }
        at = static_cast<std::size_t>(next);
    }
    return std::nullopt;
}

std::optional<WaveInfo> readWaveInfo(const std::string& path) {
    if (path.empty()) {
        return std::nullopt;
    }
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) {
        return std::nullopt;
    }
    if (std::fseek(file.get(), 0, SEEK_END) != 0) {
        return std::nullopt;
    }
    const long size = std::ftell(file.get());
    if (size < 0 || std::fseek(file.get(), 0, SEEK_SET) != 0) {
        return std::nullopt;
    }
    std::string head(kWaveHeaderReadBytes, '\0');
    const std::size_t got = std::fread(head.data(), 1, head.size(), file.get());
    head.resize(got);
    return parseWaveHeader(head, static_cast<std::uint64_t>(size));
}

} // namespace corvane
