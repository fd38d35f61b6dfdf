// Keying accuracy: "PARIS PARIS" through the recording line at 13, 25, 40 and 60 WPM with
// each timing method while another thread keeps a processor busy. A second thread plays the
// window thread: it hears each "character done" and hands over the next character. Every
// change of the line is compared with the method's own ideal schedule (unit k starts k units
// after the first), and the median, 99th percentile and largest error are printed.

#include "BenchUtil.h"
#include "cw/CwTiming.h"
#include "cw/Keyer.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

using namespace corvane::cw;

namespace {

struct Result {
    double medianMs;
    double p99Ms;
    double maxMs;
};

Result measure(TimingMethod method, double wpm, double loopOffset) {
    const std::string text = "PARIS PARIS";
    SteadyKeyerClock clock;
    RecordingKeyLine line;
    line.reserve(256);
    std::mutex mutex;
    std::condition_variable cv;
    std::deque<char> done;
    Keyer keyer(line, clock, [&](char c, CharacterOutcome) {
        std::lock_guard lock(mutex);
        done.push_back(c);
        cv.notify_all();
    });
    keyer.setTiming({method, wpm, loopOffset, 0});

    // The window thread's side of the hand-over.
    std::thread window([&] {
        for (const char c : text) {
            keyer.transmit(c);
            std::unique_lock lock(mutex);
            cv.wait(lock, [&] { return !done.empty(); });
            done.pop_front();
        }
    });
    window.join();

    const auto transitions = line.transitions();
    double unitMs = 1200.0 / wpm;
    if (method == TimingMethod::Timer) {
        unitMs = static_cast<double>(timerUnit(wpm)->count()) / 1000.0;
    } else if (method == TimingMethod::Sleep) {
        unitMs = static_cast<double>(sleepUnit(wpm)->count());
    }
    std::vector<double> errors;
    const auto start = transitions.front().at;
    for (std::size_t k = 0; k < transitions.size(); ++k) {
        if (k > 0 && transitions[k].down == transitions[k - 1].down) {
            continue; // the line was set again to the state it had: no change to measure
        }
        const double actual = std::chrono::duration<double, std::milli>(transitions[k].at - start).count();
        errors.push_back(std::abs(actual - static_cast<double>(k) * unitMs));
    }
    std::sort(errors.begin(), errors.end());
    const auto at = [&](double q) {
        return errors[std::min(errors.size() - 1, static_cast<std::size_t>(q * static_cast<double>(errors.size())))];
    };
    return {at(0.5), at(0.99), errors.back()};
}

} // namespace

int main() {
    std::atomic<bool> stop{false};
    std::thread busy([&] {
        volatile unsigned long spins = 0;
        while (!stop.load(std::memory_order_relaxed)) {
            spins = spins + 1;
        }
    });
    const double loopOffset = static_cast<double>(calibrateLoop());
    corvane::bench::report("keying_loop_offset_per_60ms", loopOffset, "steps");
    for (const TimingMethod method : {TimingMethod::Timer, TimingMethod::Sleep, TimingMethod::Loop}) {
        std::string name(timingMethodName(method));
        std::transform(name.begin(), name.end(), name.begin(),
                       [](char c) { return static_cast<char>(std::tolower(c)); });
        for (const double wpm : {13.0, 25.0, 40.0, 60.0}) {
            const Result r = measure(method, wpm, loopOffset);
            const std::string base = "keying_" + name + "_" + std::to_string(static_cast<int>(wpm)) + "wpm_";
            corvane::bench::report((base + "median").c_str(), r.medianMs, "ms");
            corvane::bench::report((base + "p99").c_str(), r.p99Ms, "ms");
            corvane::bench::report((base + "max").c_str(), r.maxMs, "ms");
        }
    }
    stop = true;
    busy.join();
    return 0;
}
