// Keying accuracy: "PARIS PARIS" through the recording line at 13, 25, 40 and 60 WPM with
// each timing method while another thread keeps a processor busy. A second thread plays the
// window thread: it hears each "character done" and hands over the next character. Every
// change of the line is compared with the method's own ideal schedule (unit k starts k units
// after the first), and the median, 99th percentile and largest error are printed. When the
// window thread hands a character over more than a unit late, the keyer starts a new schedule
// (the gap grows, no element is cut), which shows in these errors; the "_in_char" lines
// measure each character against its own start: the keyer's timing alone.

#include "BenchUtil.h"
#include "cw/CwTiming.h"
#include "cw/Keyer.h"
#include "support/InstantKeyerClock.h"
#include "support/RecordingKeyLine.h"

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

struct Spread {
    double median = 0;
    double p99 = 0;
    double max = 0;
};

Spread spread(std::vector<double> errors) {
    std::sort(errors.begin(), errors.end());
    const auto at = [&](double q) {
        return errors[std::min(errors.size() - 1, static_cast<std::size_t>(q * static_cast<double>(errors.size())))];
    };
    return {at(0.5), at(0.99), errors.back()};
}

struct Result {
    Spread whole;  // against the schedule of the whole text
    Spread inChar; // each character against its own start
};

// Sends the text once and adds every transition's error to the two lists.
void measure(TimingMethod method, double wpm, double loopOffset, std::vector<double>& errors,
             std::vector<double>& inChar) {
    const std::string text = "PARIS PARIS";
    SteadyKeyerClock clock;
    RecordingKeyLine line;
    line.reserve(256);
    std::mutex mutex;
    std::condition_variable cv;
    std::deque<char> done;
    std::vector<std::size_t> charStarts{0}; // index of each character's first line change
    charStarts.reserve(32);
    Keyer keyer(line, clock, [&](char c, CharacterOutcome) {
        const std::size_t end = line.size();
        std::lock_guard lock(mutex);
        charStarts.push_back(end);
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
    const auto start = transitions.front().at;
    std::size_t charIndex = 0;
    for (std::size_t k = 0; k < transitions.size(); ++k) {
        while (charIndex + 1 < charStarts.size() && charStarts[charIndex + 1] <= k) {
            ++charIndex;
        }
        if (k > 0 && transitions[k].down == transitions[k - 1].down) {
            continue; // the line was set again to the state it had: no change to measure
        }
        const double actual = std::chrono::duration<double, std::milli>(transitions[k].at - start).count();
        errors.push_back(std::abs(actual - static_cast<double>(k) * unitMs));
        const std::size_t first = charStarts[charIndex];
        const double own = std::chrono::duration<double, std::milli>(transitions[k].at - transitions[first].at).count();
        inChar.push_back(std::abs(own - static_cast<double>(k - first) * unitMs));
    }
}

// Five sendings pooled, so that the 99th percentile rests on some 200 transitions.
Result measureRepeated(TimingMethod method, double wpm, double loopOffset) {
    std::vector<double> errors;
    std::vector<double> inChar;
    for (int run = 0; run < 5; ++run) {
        measure(method, wpm, loopOffset, errors, inChar);
    }
    return {spread(errors), spread(inChar)};
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
            const Result r = measureRepeated(method, wpm, loopOffset);
            const std::string base = "keying_" + name + "_" + std::to_string(static_cast<int>(wpm)) + "wpm_";
            corvane::bench::report((base + "median").c_str(), r.whole.median, "ms");
            corvane::bench::report((base + "p99").c_str(), r.whole.p99, "ms");
            corvane::bench::report((base + "max").c_str(), r.whole.max, "ms");
            corvane::bench::report((base + "in_char_p99").c_str(), r.inChar.p99, "ms");
            corvane::bench::report((base + "in_char_max").c_str(), r.inChar.max, "ms");
        }
    }
    stop = true;
    busy.join();
    return 0;
}
