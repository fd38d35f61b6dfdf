// Yaesu binary replies: BCD frequency with a mode byte and the status blocks.
#include "rig/RigFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    corvane::fuzz::fuzzModels(
        data, size, {"Yaesu", "Yaesu 757 GX II", "Yaesu 890", "Yaesu 920", "Yaesu 990", "Yaesu 1000 D", "Yaesu 1000"});
    return 0;
}
