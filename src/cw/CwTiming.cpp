#include "cw/CwTiming.h"

#include "core/NumberText.h"

#include <algorithm>
#include <cmath>

namespace corvane::cw {

std::string_view timingMethodName(TimingMethod method) {
    switch (method) {
    case TimingMethod::Timer:
        return "Timer";
    case TimingMethod::Loop:
        return "Loop";
    case TimingMethod::Sleep:
        return "Sleep";
    }
    return "Timer";
}

TimingMethod parseTimingMethod(std::string_view name) {
    if (name == "Loop") {
        return TimingMethod::Loop;
    }
    if (name == "Sleep") {
        return TimingMethod::Sleep;
    }
    return TimingMethod::Timer;
}

std::optional<double> parseSpeedWpm(std::string_view text) {
    const auto value = parseNumber(text);
    if (!value || !unitLengthMs(*value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> unitLengthMs(double speedWpm) {
    if (!std::isfinite(speedWpm) || !(speedWpm > 0.0)) {
        return std::nullopt;
    }
    const double unit = 1200.0 / speedWpm;
    if (!std::isfinite(unit)) {
        return std::nullopt;
    }
    return unit;
}

std::optional<std::chrono::microseconds> timerUnit(double speedWpm) {
    const auto unit = unitLengthMs(speedWpm);
    if (!unit) {
        return std::nullopt;
    }
    return std::chrono::microseconds(std::llround(*unit * 1000.0));
}

std::optional<std::chrono::milliseconds> sleepUnit(double speedWpm) {
    const auto unit = unitLengthMs(speedWpm);
    if (!unit) {
        return std::nullopt;
    }
    return std::chrono::milliseconds(roundHalfEven(*unit));
}

std::optional<double> loopCount(double loopOffset, double speedWpm) {
    if (!unitLengthMs(speedWpm) || !std::isfinite(loopOffset)) {
        return std::nullopt;
    }
    return loopOffset / speedWpm * 20.0;
}

bool countLoop(double target, const std::stop_token& stop) {
    volatile double counter = 0.0;
    while (counter < target) {
        const double stretchEnd = std::min(target, counter + kCountStretch);
        while (counter < stretchEnd) {
            counter = counter + 1.0;
        }
        if (stop.stop_requested()) {
            return counter >= target;
        }
    }
    return true;
}

long long loopOffsetFromElapsed(double elapsedMs) {
    if (!(elapsedMs > 0.0)) {
        return static_cast<long long>(kCalibrationCount);
    }
    return roundHalfEven(kCalibrationCount / elapsedMs * 60.0);
}

long long calibrateLoop(const std::function<double()>& nowMs) {
    const double start = nowMs();
    countLoop(kCalibrationCount);
    return loopOffsetFromElapsed(nowMs() - start);
}

long long calibrateLoop() {
    return calibrateLoop([] {
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
    });
}

std::optional<long long> loopFaster(std::string_view field) {
    const auto value = parseNumber(field);
    if (!value) {
        return std::nullopt;
    }
    return roundHalfEven(*value * 0.9);
}

std::optional<long long> loopSlower(std::string_view field) {
    const auto value = parseNumber(field);
    if (!value) {
        return std::nullopt;
    }
    return roundHalfEven(*value * 1.111111111111);
}

} // namespace corvane::cw
