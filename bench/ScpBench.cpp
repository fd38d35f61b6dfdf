// Super check partial: reading a 50 000-call MASTER.SCP from disk, and the search of one keystroke in
// it (the known calls containing the typed text, those in a 1 000-contact log marked).

#include "BenchUtil.h"
#include "core/DurableFile.h"
#include "scp/MasterScp.h"

#include <filesystem>
#include <random>
#include <string>

using namespace corvane;

namespace {

std::string randomCall(std::mt19937& rng) {
    static const char* const prefixes[] = {"K", "W", "N", "AA", "KB", "VE", "DL", "G", "JA", "VK", "EA", "OH"};
    std::uniform_int_distribution<int> prefix(0, 11);
    std::uniform_int_distribution<int> digit(0, 9);
    std::uniform_int_distribution<int> letter(0, 25);
    std::uniform_int_distribution<int> suffix(1, 3);
    std::string call = prefixes[prefix(rng)];
    call += static_cast<char>('0' + digit(rng));
    for (int i = suffix(rng); i > 0; --i) {
        call += static_cast<char>('A' + letter(rng));
    }
    return call;
}

} // namespace

int main() {
    std::mt19937 rng(7);
    std::string file = "# generated list\r\n";
    std::vector<std::string> written;
    while (written.size() < 50000) {
        written.push_back(randomCall(rng));
        file += written.back() + "\r\n";
    }
    const std::string path = (std::filesystem::temp_directory_path() / "corvane-bench-MASTER.SCP").string();
    replaceAtomically(path, file);
    ScpReadResult read;
    // What the reader thread does: the file read, its calls sorted and the search text built.
    const double loadMs = bench::medianMs(15, [&] {
        read = parseMasterScp(readWholeFile(path).value_or(std::string()));
        const ScpIndex index(read.calls);
        if (index.size() == 0) {
            std::abort();
        }
    });
    bench::report("scp_load_50000", loadMs, "ms");
    std::filesystem::remove(path);

    const ScpIndex index(read.calls);
    std::vector<std::string> log;
    for (int i = 0; i < 1000; ++i) {
        log.push_back(written[static_cast<std::size_t>(i) * 37 % written.size()]);
    }
    std::vector<std::string_view> logged(log.begin(), log.end());
    // Every keystroke of typing 200 calls (half known, half not), from the second character.
    std::vector<std::string> typed;
    for (int i = 0; i < 200; ++i) {
        const std::string call =
            i % 2 == 0 ? written[static_cast<std::size_t>(i) * 241 % written.size()] : randomCall(rng) + "X";
        for (std::size_t n = 2; n <= call.size(); ++n) {
            typed.push_back(call.substr(0, n));
        }
    }
    std::size_t shown = 0;
    const double allMs = bench::medianMs(9, [&] {
        for (const std::string& t : typed) {
            const auto found = index.find(t, 120);
            shown += loggedAmong(found, t, logged).size();
        }
    });
    bench::report("scp_keystroke_50000", allMs * 1000.0 / static_cast<double>(typed.size()), "us");
    return shown == 0 ? 1 : 0;
}
