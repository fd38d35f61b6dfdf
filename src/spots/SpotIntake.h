#pragma once
// Received text to status lines and spot hand-offs, for the three spot sources.
//
// TNC: characters arrive in arbitrary pieces; they wait in the pending text (which starts
// as one line feed) until a line ends; each complete line is checked against the last 800
// characters of the status area (a repeat is dropped), shown, and taken as a spot when it
// begins with "DX". With the DX-only box ticked, other lines are not shown.
//
// Telnet: each arrival is shown as it came (a login prompt has no line end) unless the
// DX-only box is ticked; spots are taken from complete lines, assembled across arrivals,
// so every spot line of an arrival counts, and one split over two arrivals is not read
// half (a CR or a LF ends a line). No duplicate test.
//
// AGW: each frame's text (agwFrameReceived) with the duplicate test; monitored frames lose
// their header line.
//
// Pending text without a line end is capped: beyond kMaxPendingChars it is dropped and a
// status line says so. Control characters other than tab, CR and LF are left out.

#include "spots/StatusText.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::spots {

inline constexpr std::size_t kMaxPendingChars = 16384;

// A spot found in received text, for the recent-spot store.
struct SpotHandOff {
    std::string frequencyText; // positions 16-24, trimmed
    std::string call;          // positions 27-39, trimmed
    std::string record;        // the spot record (SpotText.h spotRecord)
};

// The status line that says pending text was dropped.
std::string droppedTextNotice(std::size_t characters);

class SpotIntake {
public:
    explicit SpotIntake(StatusText& status) : m_status(status) {}

    // The DX-only box.
    void setDxOnly(bool dxOnly) { m_dxOnly = dxOnly; }
    bool dxOnly() const { return m_dxOnly; }

    // Pending TNC text back to one line feed, and no partial Telnet line (a new link).
    void reset();

    // Characters read from the TNC; the lines they complete are handled at once.
    std::vector<SpotHandOff> tncReceived(std::string_view bytes);
    const std::string& tncPending() const { return m_pending; }

    // One Telnet arrival, after the Telnet option bytes were taken out (TelnetFilter).
    std::vector<SpotHandOff> telnetReceived(std::string_view text);

    // One AGW frame: its sender, kind letter and text, and the current partner (empty when
    // not connected). At most one spot.
    std::vector<SpotHandOff> agwFrameReceived(std::string_view sender, char kind, std::string_view text,
                                              std::string_view partner);

private:
    void handleTncLine(std::string_view line, std::vector<SpotHandOff>& spots);
    void appendShown(std::string_view text);

    StatusText& m_status;
    bool m_dxOnly = false;
    std::string m_pending = "\n";
    std::string m_telnetLine;      // the Telnet line being received, while it may be a spot
    bool m_telnetSkipping = false; // inside a Telnet line that is not one
};

} // namespace corvane::spots
