#pragma once
// Lets a fuzz target build as a plain program as well: without libFuzzer, main() feeds the
// target a fixed-seed run of random inputs (short and long, some built from the target's
// own alphabet), so every `make test` exercises it. Build with CORVANE_LIBFUZZER defined and
// -fsanitize=fuzzer to fuzz for real.

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

#ifndef CORVANE_LIBFUZZER
namespace corvane::fuzz {
// Bytes the target finds interesting; random inputs are drawn half from these.
extern const std::string_view kAlphabet;
} // namespace corvane::fuzz

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::stoi(argv[1]) : 20000;
    std::mt19937 random(20240611u);
    std::string input;
    for (int run = 0; run < runs; ++run) {
        const std::size_t size = random() % (run % 10 == 0 ? 2048 : 64);
        input.clear();
        for (std::size_t i = 0; i < size; ++i) {
            const auto& alphabet = corvane::fuzz::kAlphabet;
            input.push_back(random() % 2 == 0 && !alphabet.empty() ? alphabet[random() % alphabet.size()]
                                                                   : static_cast<char>(random() & 0xFF));
        }
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
    }
    return 0;
}
#endif
