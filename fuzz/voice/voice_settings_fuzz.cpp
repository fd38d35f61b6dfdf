// wave2.txt, the voice keyer's settings, and its repeat pause.

#include "support/FuzzCheck.h"
#include "voice/VoiceSettings.h"

#include <cstdint>

using namespace corvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto read = parseVoiceSettings(fuzz::textOf(data, size));
    if (!read) {
        return 0;
    }
    (void)read->repeatIntervalMs();
    const auto again = parseVoiceSettings(formatVoiceSettings(*read));
    FUZZ_CHECK(again.has_value());
    FUZZ_CHECK(again->pttPort == read->pttPort && again->pttLine == read->pttLine);
    FUZZ_CHECK(again->recordingPaths == read->recordingPaths);
    return 0;
}
