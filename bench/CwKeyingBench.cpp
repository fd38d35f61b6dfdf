// Keying accuracy: "PARIS PARIS" five times through the recording line at 13, 25, 40 and 60
// WPM with each timing method, while one busy thread per processor core runs beside it. A
// second thread per keyer plays the window thread: it hears each "character done" and hands
// over the next character.
//
// Figures per method and speed:
//  - median, p99, max: every change of the line against the method's ideal schedule for the
//    whole text (unit k starts k units after the first). A late change moves the rest of the
//    schedule (slip, never squeeze), so one slip shows in every later change of that sending.
//  - in_char_p99, in_char_max: each change against the start of its own character.
//  - shortest_ratio: the shortest element or gap divided by its nominal length (the last gap of
//    a sending has no end and is left out). Below 0.9 an element was squeezed.
//  - decoded_ok: 1 when a Morse decoder, knowing only the nominal unit, reads back exactly the
//    text sent in every sending, else 0.
//
// To keep the run short the three methods of one speed run at the same time (the Sleep keyer
// starts half a unit after the Timer keyer so that their deadlines do not meet). The "Loop"
// keyer counts on a processor the whole time, so "Timer" and "Sleep" run beside one more busy
// thread than the cores: a harder test than the busy threads alone.

#include "BenchUtil.h"
#include "cw/CwTiming.h"
#include "cw/Keyer.h"
#include "cw/MorseTable.h"
#include "support/RecordingKeyLine.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <deque>
#include <limits>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

using namespace corvane::cw;

namespace {

const std::string kText = "PARIS PARIS";
constexpr int kSendings = 5;
constexpr std::array kSpeedsWpm{13.0, 25.0, 40.0, 60.0};
constexpr std::array kMethods{TimingMethod::Timer, TimingMethod::Sleep, TimingMethod::Loop};

struct Spread {
    double median = 0;
    double p99 = 0;
    double max = 0;
};

Spread spread(std::vector<double> errors) {
    if (errors.empty()) {
        return {};
    }
    std::sort(errors.begin(), errors.end());
    const auto at = [&](double q) {
        return errors[std::min(errors.size() - 1, static_cast<std::size_t>(q * static_cast<double>(errors.size())))];
    };
    return {at(0.5), at(0.99), errors.back()};
}

// One element or gap: the line held in one state.
struct Run {
    bool down = false;
    std::size_t units = 0; // nominal length in units
    double ms = 0;         // measured length (infinite for the last gap)
};

// The decoder's reading of a character's elements ("1" dot, "111" dash, "0" between).
std::string decodeText(const std::vector<Run>& runs, double unitMs) {
    static const std::map<std::string, char> table = [] {
        std::map<std::string, char> t;
        for (const char c : std::string_view("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.,?/")) {
            std::string elements(morseElements(c));
            elements.erase(elements.find_last_not_of('0') + 1);
            t.emplace(elements, c);
        }
        return t;
    }();
    std::string text;
    std::string sign;
    const auto endSign = [&] {
        if (!sign.empty()) {
            const auto it = table.find(sign);
            text.push_back(it == table.end() ? '#' : it->second);
            sign.clear();
        }
    };
    for (const Run& run : runs) {
        const double units = run.ms / unitMs;
        if (run.down) {
            sign += units < 2.0 ? "1" : "111";
        } else if (units < 2.0) {
            sign += "0";
        } else {
            endSign();
            if (units >= 7.0) { // between the three units of a letter gap and the eleven of a word gap
                text.push_back(' ');
            }
        }
    }
    endSign();
    while (!text.empty() && text.back() == ' ') {
        text.pop_back();
    }
    return text;
}

struct Measured {
    std::vector<double> errors; // against the schedule of the whole text
    std::vector<double> inChar; // each character against its own start
    double shortestRatio = std::numeric_limits<double>::infinity();
    bool decodedOk = true;
};

double nominalUnitMs(TimingMethod method, double wpm) {
    if (method == TimingMethod::Timer) {
        return static_cast<double>(timerUnit(wpm)->count()) / 1000.0;
    }
    if (method == TimingMethod::Sleep) {
        return static_cast<double>(sleepUnit(wpm)->count());
    }
    return 1200.0 / wpm;
}

// Sends the text once and adds what it measured.
void measure(TimingMethod method, double wpm, double loopOffset, Measured& m) {
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
        for (const char c : kText) {
            keyer.transmit(c);
            std::unique_lock lock(mutex);
            cv.wait(lock, [&] { return !done.empty(); });
            done.pop_front();
        }
    });
    window.join();
    keyer.waitUntilIdle();

    const auto transitions = line.transitions();
    const double unitMs = nominalUnitMs(method, wpm);
    const auto msBetween = [](auto a, auto b) { return std::chrono::duration<double, std::milli>(b - a).count(); };
    const auto start = transitions.front().at;
    std::size_t charIndex = 0;
    std::vector<Run> runs;
    for (std::size_t k = 0; k < transitions.size(); ++k) {
        while (charIndex + 1 < charStarts.size() && charStarts[charIndex + 1] <= k) {
            ++charIndex;
        }
        if (k > 0 && transitions[k].down == transitions[k - 1].down) {
            ++runs.back().units; // the line was set again to the state it had: no change to measure
            continue;
        }
        if (!runs.empty()) {
            runs.back().ms = msBetween(transitions[k - runs.back().units].at, transitions[k].at);
        }
        runs.push_back({transitions[k].down, 1, std::numeric_limits<double>::infinity()});
        const double actual = msBetween(start, transitions[k].at);
        m.errors.push_back(std::abs(actual - static_cast<double>(k) * unitMs));
        const std::size_t first = charStarts[charIndex];
        const double own = msBetween(transitions[first].at, transitions[k].at);
        m.inChar.push_back(std::abs(own - static_cast<double>(k - first) * unitMs));
    }
    for (std::size_t i = 0; i + 1 < runs.size(); ++i) {
        m.shortestRatio = std::min(m.shortestRatio, runs[i].ms / (static_cast<double>(runs[i].units) * unitMs));
    }
    if (decodeText(runs, unitMs) != kText) {
        m.decodedOk = false;
    }
}

} // namespace

int main() {
    std::atomic<bool> stop{false};
    std::vector<std::thread> busy;
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    for (unsigned i = 0; i < cores; ++i) {
        busy.emplace_back([&] {
            volatile unsigned long spins = 0;
            while (!stop.load(std::memory_order_relaxed)) {
                spins = spins + 1;
            }
        });
    }
    const double loopOffset = static_cast<double>(calibrateLoop()); // under the same load
    corvane::bench::report("keying_loop_offset_per_60ms", loopOffset, "steps");

    std::map<std::pair<TimingMethod, double>, Measured> results;
    for (const double wpm : kSpeedsWpm) {
        std::vector<std::thread> keyers;
        for (const TimingMethod method : kMethods) {
            Measured& m = results[{method, wpm}];
            keyers.emplace_back([&m, method, wpm, loopOffset] {
                if (method == TimingMethod::Sleep) {
                    std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(600.0 / wpm));
                }
                for (int run = 0; run < kSendings; ++run) {
                    measure(method, wpm, loopOffset, m);
                }
            });
        }
        for (auto& k : keyers) {
            k.join();
        }
    }
    stop = true;
    for (auto& b : busy) {
        b.join();
    }

    for (const TimingMethod method : kMethods) {
        std::string name(timingMethodName(method));
        std::transform(name.begin(), name.end(), name.begin(),
                       [](char c) { return static_cast<char>(std::tolower(c)); });
        for (const double wpm : kSpeedsWpm) {
            const Measured& m = results[{method, wpm}];
            const Spread whole = spread(m.errors);
            const Spread inChar = spread(m.inChar);
            const std::string base = "keying_" + name + "_" + std::to_string(static_cast<int>(wpm)) + "wpm_";
            corvane::bench::report((base + "median").c_str(), whole.median, "ms");
            corvane::bench::report((base + "p99").c_str(), whole.p99, "ms");
            corvane::bench::report((base + "max").c_str(), whole.max, "ms");
            corvane::bench::report((base + "in_char_p99").c_str(), inChar.p99, "ms");
            corvane::bench::report((base + "in_char_max").c_str(), inChar.max, "ms");
            corvane::bench::report((base + "shortest_ratio").c_str(), m.shortestRatio, "ratio");
            corvane::bench::report((base + "decoded_ok").c_str(), m.decodedOk ? 1.0 : 0.0, "bool");
        }
    }
    return 0;
}
