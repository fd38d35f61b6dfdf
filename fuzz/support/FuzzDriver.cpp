// Runs a libFuzzer target without libFuzzer, for `make test`: every input file named on the
// command line (or found in a named folder) once, then a fixed-seed series of inputs made
// from them by small random changes. The same seed gives the same inputs on every run, so a
// failure here is repeatable; the input that failed is written to fuzz-failure-<name>.
//
//   fuzz_<name> [--runs N] [--seed S] [--max-len BYTES] [--name NAME] PATH...

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

// A sanitizer's report ends the run with SIGABRT, so that the handler below saves the input
// (the sanitizers read these when they are linked in; environment options still win).
extern "C" const char* __asan_default_options() {
    return "abort_on_error=1";
}
extern "C" const char* __ubsan_default_options() {
    return "abort_on_error=1:print_stacktrace=1:halt_on_error=1";
}

namespace {

using Bytes = std::vector<std::uint8_t>;

std::string g_failurePath = "fuzz-failure";
const Bytes* g_current = nullptr;

void saveCurrentInput() {
    if (g_current == nullptr) {
        return;
    }
    std::ofstream out(g_failurePath, std::ios::binary);
    out.write(reinterpret_cast<const char*>(g_current->data()), static_cast<std::streamsize>(g_current->size()));
    std::fprintf(stderr, "fuzz driver: the failing input (%zu bytes) is in %s\n", g_current->size(),
                 g_failurePath.c_str());
}

// A failed check or a sanitizer's report aborts; a wild access ends in SIGSEGV.
void onFatalSignal(int signal) {
    saveCurrentInput();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void runOne(const Bytes& input) {
    g_current = &input;
    // A copy of exactly the input's size, so that a read past its end is seen by the sanitizer.
    std::unique_ptr<std::uint8_t[]> copy(new std::uint8_t[input.size() + 1]);
    std::copy(input.begin(), input.end(), copy.get());
    LLVMFuzzerTestOneInput(copy.get(), input.size());
    g_current = nullptr;
}

Bytes readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Pieces that matter to the text formats of the program: quotes, separators, line ends,
// numbers at the edges of their types, control bytes and 8-bit letters.
const std::vector<std::string>& tokens() {
    static const std::vector<std::string> list = {"\"",
                                                  ",",
                                                  "\r\n",
                                                  "\n",
                                                  "\r",
                                                  " ",
                                                  "\t",
                                                  "0",
                                                  "1",
                                                  "-1",
                                                  ".",
                                                  "e",
                                                  "1e308",
                                                  "-1e41",
                                                  "1e-320",
                                                  "#TRUE#",
                                                  "#FALSE#",
                                                  "&H",
                                                  "&H378",
                                                  "65535",
                                                  "32766",
                                                  "255",
                                                  "256",
                                                  "-0",
                                                  "999999",
                                                  "1,234",
                                                  "12000",
                                                  "2012/12/29",
                                                  "23:15:02",
                                                  "FN31",
                                                  "CW",
                                                  "None",
                                                  "$",
                                                  "*",
                                                  "!",
                                                  "--out",
                                                  "--help",
                                                  "=",
                                                  std::string(1, '\0'),
                                                  "\x1B",
                                                  "\x7F",
                                                  "\xFF",
                                                  "\xC5",
                                                  "\"\"",
                                                  "\"\",",
                                                  "\"\"\r\n",
                                                  "9223372036854775808"};
    return list;
}

Bytes mutate(const Bytes& base, const std::vector<Bytes>& pool, std::mt19937_64& random, std::size_t maxLength) {
    Bytes out = base;
    const auto below = [&random](std::size_t n) {
        return n == 0 ? std::size_t{0} : std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
    };
    const int changes = 1 + static_cast<int>(below(4));
    for (int c = 0; c < changes; ++c) {
        switch (below(8)) {
        case 0: // flip a bit
            if (!out.empty()) {
                out[below(out.size())] ^= static_cast<std::uint8_t>(1u << below(8));
            }
            break;
        case 1: // any byte
            if (!out.empty()) {
                out[below(out.size())] = static_cast<std::uint8_t>(below(256));
            }
            break;
        case 2: { // insert a token
            const std::string& token = tokens()[below(tokens().size())];
            out.insert(out.begin() + static_cast<std::ptrdiff_t>(below(out.size() + 1)), token.begin(), token.end());
            break;
        }
        case 3: { // replace a piece with a token
            if (out.empty()) {
                break;
            }
            const std::size_t at = below(out.size());
            const std::size_t length = std::min(out.size() - at, 1 + below(8));
            const std::string& token = tokens()[below(tokens().size())];
            out.erase(out.begin() + static_cast<std::ptrdiff_t>(at),
                      out.begin() + static_cast<std::ptrdiff_t>(at + length));
            out.insert(out.begin() + static_cast<std::ptrdiff_t>(at), token.begin(), token.end());
            break;
        }
        case 4: { // erase a piece
            if (out.empty()) {
                break;
            }
            const std::size_t at = below(out.size());
            const std::size_t length = std::min(out.size() - at, 1 + below(16));
            out.erase(out.begin() + static_cast<std::ptrdiff_t>(at),
                      out.begin() + static_cast<std::ptrdiff_t>(at + length));
            break;
        }
        case 5: { // repeat a piece
            if (out.empty()) {
                break;
            }
            const std::size_t at = below(out.size());
            const std::size_t length = std::min(out.size() - at, 1 + below(64));
            const Bytes piece(out.begin() + static_cast<std::ptrdiff_t>(at),
                              out.begin() + static_cast<std::ptrdiff_t>(at + length));
            out.insert(out.begin() + static_cast<std::ptrdiff_t>(below(out.size() + 1)), piece.begin(), piece.end());
            break;
        }
        case 6: { // splice with another input
            const Bytes& other = pool[below(pool.size())];
            const std::size_t keep = below(out.size() + 1);
            out.resize(keep);
            const std::size_t from = below(other.size() + 1);
            out.insert(out.end(), other.begin() + static_cast<std::ptrdiff_t>(from), other.end());
            break;
        }
        default: // cut short
            out.resize(below(out.size() + 1));
            break;
        }
    }
    if (out.size() > maxLength) {
        out.resize(maxLength);
    }
    return out;
}

} // namespace

int main(int argc, char** argv) {
    long runs = 2000;
    std::uint64_t seed = 1;
    std::size_t maxLength = 4096;
    std::string name = std::filesystem::path(argv[0]).filename().string();
    std::vector<std::filesystem::path> paths;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--runs" && hasValue) {
            runs = std::strtol(argv[++i], nullptr, 10);
        } else if (arg == "--seed" && hasValue) {
            seed = std::strtoull(argv[++i], nullptr, 10);
        } else if (arg == "--max-len" && hasValue) {
            maxLength = std::strtoull(argv[++i], nullptr, 10);
        } else if (arg == "--name" && hasValue) {
            name = argv[++i];
        } else if (arg.starts_with("--")) {
            std::cerr << "usage: " << argv[0] << " [--runs N] [--seed S] [--max-len BYTES] [--name NAME] PATH...\n";
            return 2;
        } else {
            paths.emplace_back(arg);
        }
    }
    g_failurePath = "fuzz-failure-" + name;
    std::signal(SIGABRT, onFatalSignal);
    std::signal(SIGSEGV, onFatalSignal);

    std::vector<Bytes> inputs;
    for (const auto& path : paths) {
        std::error_code error;
        if (std::filesystem::is_directory(path, error)) {
            std::vector<std::filesystem::path> files;
            for (const auto& entry : std::filesystem::directory_iterator(path)) {
                if (entry.is_regular_file()) {
                    files.push_back(entry.path());
                }
            }
            std::sort(files.begin(), files.end()); // the same order on every machine
            for (const auto& file : files) {
                inputs.push_back(readFile(file));
            }
        } else if (std::filesystem::is_regular_file(path, error)) {
            inputs.push_back(readFile(path));
        }
    }
    const std::size_t given = inputs.size();
    for (const Bytes& input : inputs) {
        runOne(input);
    }
    std::vector<Bytes> pool = inputs;
    pool.push_back({});
    std::mt19937_64 random(seed);
    for (long run = 0; run < runs; ++run) {
        const Bytes& base = pool[std::uniform_int_distribution<std::size_t>(0, pool.size() - 1)(random)];
        Bytes input = mutate(base, pool, random, maxLength);
        runOne(input);
        // Keep some of the changed inputs as bases, so changes build on each other.
        if (run % 8 == 0 && pool.size() < 512) {
            pool.push_back(std::move(input));
        }
    }
    std::cout << name << ": " << given << " given inputs and " << runs << " changed ones (seed " << seed
              << ") ran without a fault\n";
    return 0;
}
