// Ten-Tec replies (front panel binary, Orion text) and the Pegasus exchange file.
#include "rig/RigFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    corvane::fuzz::fuzzModels(data, size, {"Ten Tec Fnt Pnl", "Ten Tec Orion", "Ten Tec Pegasus", "Other"});
    return 0;
}
