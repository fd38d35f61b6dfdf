// Wave file headers, as the player reads them before anything is played.

#include "support/FuzzCheck.h"
#include "voice/WaveFile.h"

#include <cstdint>

using namespace corvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view head = fuzz::textOf(data, size);
    // The same bytes as the start of a file that is as long as they are, and of a longer one.
    for (const std::uint64_t fileSize : {static_cast<std::uint64_t>(size), static_cast<std::uint64_t>(size) * 3 + 7}) {
        const auto info = parseWaveHeader(head, fileSize);
        if (!info) {
            continue;
        }
        FUZZ_CHECK(info->dataOffset <= fileSize);
        FUZZ_CHECK(info->dataBytes > 0 && info->dataBytes <= fileSize - info->dataOffset);
        FUZZ_CHECK(info->blockAlign > 0 && info->dataBytes % static_cast<std::uint64_t>(info->blockAlign) == 0);
        FUZZ_CHECK(info->byteRate > 0 && info->durationMs > 0);
        FUZZ_CHECK(playbackLimitMs(*info) > info->durationMs);
    }
    return 0;
}
