// WK.txt as the operator's disk may hold it, fuzzed: reading never fails loudly, and what is
// read writes back to a file that reads the same.

#include "cw/winkey/WinKeyerSettings.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace corvane::cw;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const WinKeyerFileRead read = parseWinKeyerSettings(bytes);
    if (read.itemsRead < 0 || read.itemsRead > 8) {
        std::abort();
    }
    const std::string written = formatWinKeyerSettings(read.settings);
    const WinKeyerFileRead again = parseWinKeyerSettings(written);
    if (again.itemsRead != 8 || formatWinKeyerSettings(again.settings) != written) {
        std::abort();
    }
    for (const auto& check : {checkSpeedField(bytes), checkWeightField(bytes), checkRatioField(bytes)}) {
        if (check.send && *check.send > 99) {
            std::abort();
        }
    }
    checkLeadTailFields(bytes, bytes, size % 2 == 0);
    checkComPortField(bytes);
    coupledSpeed(bytes);
    return 0;
}
