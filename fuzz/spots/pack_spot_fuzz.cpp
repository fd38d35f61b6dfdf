// PackSpot.txt, fuzzed: whatever the file holds, reading it never fails badly, and settings
// that were read are written and read back to the same file bytes.

#include "spots/SpotSettings.h"
#include "support/FuzzCheck.h"

#include <cstddef>
#include <cstdint>

using namespace corvane;
using namespace corvane::spots;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto read = parseSpotSettings(fuzz::textOf(data, size));
    if (!read) {
        return 0;
    }
    const std::string bytes = formatSpotSettings(*read);
    const auto again = parseSpotSettings(bytes);
    FUZZ_CHECK(again.has_value());
    FUZZ_CHECK(formatSpotSettings(*again) == bytes);
    FUZZ_CHECK(again->port == read->port && again->handshaking == read->handshaking);
    (void)serialSettingsString(*read);
    (void)commandModeCharacter(read->commandChar);
    return 0;
}
