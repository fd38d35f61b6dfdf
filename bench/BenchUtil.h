#pragma once
// Timing helpers for the benchmark programs: each prints "name: value unit" lines.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace corvane::bench {

// Runs fn `runs` times and returns the median duration in milliseconds.
template <typename Fn> double medianMs(int runs, Fn&& fn) {
    std::vector<double> times;
    times.reserve(static_cast<std::size_t>(runs));
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        fn();
        const auto end = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

inline void report(const char* name, double value, const char* unit) { std::printf("%s: %.4g %s\n", name, value, unit); }

} // namespace corvane::bench
