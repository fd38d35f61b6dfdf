#pragma once
// The text of the setup window's status area, kept here so that the duplicate window and
// the trim rule work on the same characters the operator sees. The window mirrors it:
// after each batch of work it takes the update (appended text, or the whole text when it
// was replaced or trimmed) and puts the caret before the last character.

#include <cstddef>
#include <string>
#include <string_view>

namespace corvane::spots {

inline constexpr std::size_t kStatusTrimAbove = 10000; // more than this is trimmed ...
inline constexpr std::size_t kStatusKeep = 9000;       // ... to the last 9000 characters
inline constexpr std::size_t kDuplicateWindow = 800;   // last characters searched for repeats

class StatusText {
public:
    const std::string& text() const { return m_text; }
    std::size_t size() const { return m_text.size(); }

    void append(std::string_view text);
    // Appends a message of the program's own at the start of a line: after received text
    // that stopped mid-line, a line break goes first.
    void appendOnNewLine(std::string_view text);
    void replace(std::string_view text);
    // More than 10000 characters: keep the last 9000. True when it trimmed.
    bool trim();

    // Whether `line` occurs (ignoring letter case) starting in the last 800 characters.
    bool isRecent(std::string_view line) const;

    // What changed since the last take: either `appended` text to add to the widget, or
    // `replaced` set and `text()` is the whole new content.
    struct Update {
        bool replaced = false;
        std::string appended;
        bool empty() const { return !replaced && appended.empty(); }
    };
    Update takeUpdate();

private:
    std::string m_text;
    std::string m_appended;
    bool m_replaced = false;
};

} // namespace corvane::spots
