#pragma once
// A single-shot timer of the owner's thread. The WinKeyer link, its send loop and the voice keyer wait with
// these instead of sleeping: the window thread keeps running while they wait.

#include <functional>

namespace corvane {

class OneShotTimer {
public:
    virtual ~OneShotTimer() = default;
    // (Re)starts the timer: `fired` runs once, intervalMs from now, unless the timer is stopped
    // or started again first.
    virtual void start(int intervalMs, std::function<void()> fired) = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
};

} // namespace corvane
