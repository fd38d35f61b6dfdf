// The serial line settings text ("9600,N,8,1") that the settings files carry for each port.

#include "platform/serial/SerialSettings.h"
#include "support/FuzzCheck.h"

#include <cstdint>

using namespace corvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto read = parseSerialSettings(fuzz::textOf(data, size));
    if (!read) {
        return 0;
    }
    const auto again = parseSerialSettings(formatSerialSettings(*read));
    FUZZ_CHECK(again.has_value());
    FUZZ_CHECK(*again == *read);
    return 0;
}
