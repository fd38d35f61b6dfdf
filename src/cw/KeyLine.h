#pragma once
// The line that keys the transmitter, as the keyer thread sees it, and two lines for tests
// and measurements.

#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace corvane::cw {

// keyDown closes the key, keyUp opens it; each returns false when the line could not be
// switched. Both are called on the keyer thread while a character is on the air.
class KeyLine {
public:
    virtual ~KeyLine() = default;
    virtual bool keyDown() = 0;
    virtual bool keyUp() = 0;
    // After a change returned false: which line of which device failed and why.
    virtual std::string failure() const { return {}; }
};

// Keys nothing and never fails.
class NullKeyLine final : public KeyLine {
public:
    bool keyDown() override { return true; }
    bool keyUp() override { return true; }
};

} // namespace corvane::cw
