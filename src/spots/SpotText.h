#pragma once
// Cluster announcement lines and the texts taken from them.
//
// A spot line begins with "DX" (any case) and holds, counting positions from 1, the
// frequency in kHz in positions 16-24 and the DX call in positions 27-39:
//
//     DX de K1ABC:     1825.5  W1AW         comment padded to 30 chars     2359Z
//
// Texts here are 8-bit: one byte is one character of the status area (Latin-1 on screen).

#include <optional>
#include <string>
#include <string_view>

namespace corvane::spots {

// Blanks, tabs, carriage returns and line feeds removed at both ends.
std::string_view trimBlanks(std::string_view text);

// The text with every carriage return and every line feed replaced by a CR LF pair.
std::string expandLineEnds(std::string_view text);

// Incoming bytes the status area can hold: NUL and the other control characters except
// tab, CR and LF are left out; every other byte is kept.
std::string printableText(std::string_view bytes);

// Whether the text begins with "DX" in any letter case.
bool beginsWithDx(std::string_view text);

struct SpotFields {
    std::string frequencyText; // positions 16-24, trimmed (may be empty or not a number)
    std::string call;          // positions 27-39, trimmed (empty for a line shorter than 27)
};

// The frequency and call fields of a spot line (no check that it is one).
SpotFields spotFields(std::string_view line);

// The record of a spot: the line without its first three characters, trimmed, cut at the
// first carriage return.
std::string spotRecord(std::string_view line);

// The frequency text as kHz: a decimal number (core number parsing), finite and small
// enough for a single-precision MHz value; nullopt otherwise.
std::optional<double> spotFrequencyKHz(std::string_view frequencyText);

// The short band-map label of a call: W1AW gives W1, KH6/W1AW gives KH6, K1ABC/4 gives K4,
// W1AW/KH6 gives KH6, a call shorter than 3 characters gives the empty text.
std::string labelText(std::string_view call);

// One row of the spot list, the newest on top.
struct SpotListRow {
    std::string call;
    std::string frequency; // MHz as a plain decimal number: 1825.5 kHz shows as 1.8255
    std::string qth;       // empty
    std::string status;    // empty (hidden column)
    std::string comments;  // record 1-11 trimmed, two blanks, record 35-59 trimmed
    std::string prefix;    // record 62-66 trimmed
    std::string time;      // record 68-71 as they stand
    std::string from;      // record 73-76 trimmed
};
inline constexpr int kSpotListMaxRows = 200;

SpotListRow spotListRow(std::string_view call, float frequencyMHz, std::string_view record);

// The texts that flag a spot of the station's own call.
inline constexpr std::string_view kSpottedMessage = "You've been spotted! ";           // message line
inline constexpr std::string_view kSpottedDuplicatesPrefix = "You've been spotted!  "; // + record

} // namespace corvane::spots
