// Replies of the text radios that answer "FA...;" and "MD...;" or "IF...;".
#include "rig/RigFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    corvane::fuzz::fuzzModels(data, size, {"Kenwood", "Elecraft", "Kenwood 2", "Yaesu FTdx9000"});
    return 0;
}
