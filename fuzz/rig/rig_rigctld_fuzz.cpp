// What a rigctld daemon (or anything listening on its port) may send.
#include "rig/RigFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    corvane::fuzz::fuzzModels(data, size, {"Hamlib (rigctld)"});
    return 0;
}
