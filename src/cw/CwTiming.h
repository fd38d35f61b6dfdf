#pragma once
// How long one Morse unit lasts under each of the three timing methods.
//
//  "Timer": the unit is 1200 / WPM ms, kept to the microsecond; elements end at
//           absolute deadlines of the monotonic clock.
//  "Sleep": the unit is 1200 / WPM ms rounded to whole milliseconds (halves to even);
//           the keyer thread sleeps until each deadline.
//  "Loop":  a counting loop of LoopOffset / WPM * 20 steps per unit, where LoopOffset is
//           the number of steps that last 60 ms on this machine (see calibrateLoop).

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>

namespace corvane::cw {

enum class TimingMethod { Timer, Loop, Sleep };

// "Timer", "Loop" or "Sleep", as the settings store holds them.
std::string_view timingMethodName(TimingMethod method);
// The method of a stored name; "Timer" for an absent or unknown name.
TimingMethod parseTimingMethod(std::string_view name);

// The speed of the WPM field; nullopt when it is empty, not a number, or not above 0.
std::optional<double> parseSpeedWpm(std::string_view text);

// 1200 / WPM milliseconds; nullopt for a speed that is not a finite number above 0.
std::optional<double> unitLengthMs(double speedWpm);

// The unit of the "Timer" method, 1200 / WPM ms rounded to the nearest microsecond.
std::optional<std::chrono::microseconds> timerUnit(double speedWpm);
// The unit of the "Sleep" method, 1200 / WPM ms rounded to whole ms, halves to even.
std::optional<std::chrono::milliseconds> sleepUnit(double speedWpm);
// The number of counting steps of one "Loop" unit: LoopOffset / WPM * 20.
std::optional<double> loopCount(double loopOffset, double speedWpm);

// Counts a floating-point counter from 0 upward in steps of 1 until it is equal to or
// greater than target; the counter cannot be optimised away. Between stretches of
// kCountStretch steps it looks at `stop` and gives up (false) once a stop was requested, so a
// long unit can be cut short. The calibration counts the same way, so both keep the same pace.
inline constexpr double kCountStretch = 65536.0;
bool countLoop(double target, const std::stop_token& stop = {});

// Loop calibration: counts to 5,000,000 and measures how long it took, then gives the
// steps per 60 ms: 5,000,000 / elapsed ms * 60, rounded half to even. When the count took
// 0 ms there is nothing to divide by and the result is 5,000,000. `elapsedMs` is the
// clock used to measure (milliseconds of a monotonic clock).
inline constexpr double kCalibrationCount = 5'000'000.0;
long long loopOffsetFromElapsed(double elapsedMs);
long long calibrateLoop(const std::function<double()>& nowMs);
long long calibrateLoop(); // with the steady clock

// The "F" and "S" buttons of the "Loop Delay" field: value * 0.9 and value * 1.111111111111,
// rounded half to even; nullopt when the field is not a number.
std::optional<long long> loopFaster(std::string_view field);
std::optional<long long> loopSlower(std::string_view field);

} // namespace corvane::cw
