// MASTER.SCP, the list of known contest calls, and the search the call field makes in it.

#include "scp/MasterScp.h"
#include "support/FuzzCheck.h"

#include <algorithm>
#include <cstdint>

using namespace corvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::textOf(data, size);
    const ScpReadResult read = parseMasterScp(text);
    FUZZ_CHECK(std::is_sorted(read.calls.begin(), read.calls.end()));
    FUZZ_CHECK(std::adjacent_find(read.calls.begin(), read.calls.end()) == read.calls.end());
    const ScpIndex index(read.calls);
    // Typed texts taken from the input itself: every call found holds the typed text, the
    // line never overflows, and a known call is found by its own text.
    for (std::size_t at = 0; at + 2 <= text.size() && at < 64; at += 7) {
        const std::string_view typed = text.substr(at, std::min<std::size_t>(2 + at % 5, text.size() - at));
        std::size_t used = 0;
        for (const std::string& call : index.find(typed, 60)) {
            FUZZ_CHECK(call.find(typed) != std::string::npos);
            FUZZ_CHECK(std::binary_search(read.calls.begin(), read.calls.end(), call));
            used += call.size() + 1;
        }
        FUZZ_CHECK(used <= 60);
    }
    for (std::size_t i = 0; i < read.calls.size() && i < 8; ++i) {
        const auto found = index.find(read.calls[i], 60);
        FUZZ_CHECK(!found.empty() && found.front() == read.calls[i]);
    }
    return 0;
}
