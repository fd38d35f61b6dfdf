// CI-V frames: echoes, answers, collisions and broken frames.
#include "rig/RigFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    corvane::fuzz::fuzzModels(data, size, {"Icom", "Icom 735", "Ten Tec Omni VI"});
    return 0;
}
