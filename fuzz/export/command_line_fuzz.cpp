// The command line: the input is split at NUL bytes into arguments. It runs in an empty
// folder of its own, so every command finds no log.txt and writes nothing; what is fuzzed
// is the reading of the arguments and the choice between a command, the windows and the
// usage.

#include "export/CommandLine.h"
#include "support/FuzzCheck.h"

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

using namespace corvane;

namespace {

void enterEmptyFolder() {
    static bool entered = false;
    if (entered) {
        return;
    }
    char folder[] = "/tmp/corvane-fuzz-command-line-XXXXXX";
    FUZZ_CHECK(::mkdtemp(folder) != nullptr);
    FUZZ_CHECK(::chdir(folder) == 0);
    entered = true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    enterEmptyFolder();
    std::vector<std::string> args{"corvane"};
    std::string current;
    for (std::size_t i = 0; i < size && args.size() < 12; ++i) {
        if (data[i] == 0) {
            args.push_back(current);
            current.clear();
        } else {
            current.push_back(static_cast<char>(data[i]));
        }
    }
    if (!current.empty()) {
        args.push_back(current);
    }
    std::vector<char*> argv;
    for (auto& a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    const int argc = static_cast<int>(args.size());

    CommandLineEnvironment environment;
    environment.openSettings = [](const std::string&) { return std::unique_ptr<SettingsStore>(); };
    environment.exportDateText = [] { return std::string("2012-12-29 23:15:02"); };
    std::ostringstream out;
    std::ostringstream err;
    const auto status = runCommandLine(argc, argv.data(), out, err, environment);
    if (status) {
        FUZZ_CHECK(*status == 0 || *status == 1 || *status == 2);
        FUZZ_CHECK(*status == 0 || !err.str().empty());
    } else {
        FUZZ_CHECK(err.str().empty());
        const auto message = noDisplayMessage(argc, argv.data(), [](const char*) { return std::string(); });
        FUZZ_CHECK(!message || message->find('\n') == std::string::npos);
    }
    FUZZ_CHECK(::access("log.txt", F_OK) != 0);
    return 0;
}
