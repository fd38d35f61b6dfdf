#pragma once
// Code practice: random five-character groups and the "Send" loop, which hands the text to
// the send controller one character at a time and moves on when the controller is idle.

#include "cw/CwSendController.h"

#include <functional>
#include <random>
#include <string>
#include <string_view>

namespace corvane::cw {

// The pool in its order: A-Z (1-26), 0-9 (27-36), then . , ? / - (37-41).
inline constexpr std::string_view kPracticePool = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.,?/-";
inline constexpr int kLettersOnlyPoolSize = 26;

// The groups and characters fields: a field that is not a number becomes "10" and "5".
struct GroupFields {
    std::string groups = "10";
    std::string characters = "5";
};
GroupFields normaliseGroupFields(std::string_view groups, std::string_view characters);

// Groups of random pool characters, each group followed by one space.
std::string generateGroups(int groups, int characters, bool lettersOnly, std::mt19937& random);

// The "Send" loop.
class PracticeSender {
public:
    struct Hooks {
        std::function<std::string()> textToSend;         // the "Text to Send" field now
        std::function<void(char)> sent;                  // append to "Text Sent"
        std::function<void(std::size_t)> caret;          // caret of "Text to Send" at position i
        std::function<void(std::function<void()>)> post; // runs a step after pending events
        std::function<void()> finished;                  // the loop ended
    };

    PracticeSender(CwSendController& cw, Hooks hooks);

    void start();
    // "Stop": the loop ends after the character in progress.
    void stop();
    bool running() const { return m_running; }
    // From the controller's idle listener.
    void controllerIdle();

private:
    void step();
    void finish();

    CwSendController& m_cw;
    Hooks m_hooks;
    bool m_running = false;
    bool m_waiting = false; // a character was handed over and the controller is busy with it
    bool m_stopping = false;
    std::size_t m_position = 0;
};

} // namespace corvane::cw
