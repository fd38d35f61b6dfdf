#pragma once
// The call history: for each known call, the grid it was last heard from. It is read from
// the call history file contest loggers share (CallHistory.txt), from the operator's own logs
// and from ADIF files, and written back in the same text format.
//
// The file: "#" starts a comment line; a line "!!Order!!,Call,Loc1,..." names the columns of
// the lines after it ("Call", and "Loc1" or "Grid" for the grid; other columns are ignored);
// every other line is one station, its fields separated by commas and optionally in double
// quotes. Without an order line the columns are Call,Grid. A line that is not a station (no
// call, a damaged grid, binary bytes, longer than any station line) is skipped and counted.

#include "core/QsoRecord.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace corvane {

inline constexpr std::string_view kCallHistoryFileName = "CallHistory.txt";
// Longer lines are not station lines (and are not copied to be looked at).
inline constexpr std::size_t kHistoryLongestLine = 1024;
// Larger files are refused: a call history of every active station is a few megabytes.
inline constexpr std::int64_t kHistoryLargestFileBytes = 64LL * 1024 * 1024;

struct HistoryEntry {
    std::string call;  // upper case
    std::string grid;  // four characters, upper case ("FN42")
    std::string stamp; // "yyyy/mm/dd hh:mm:ss" of the contact it comes from; empty from a history file

    friend bool operator==(const HistoryEntry&, const HistoryEntry&) = default;
};

struct HistoryReadResult {
    std::vector<HistoryEntry> entries; // in file order
    int skippedLines = 0;              // damaged lines
    std::string problem;               // not empty: the whole file is refused, and why
};

HistoryReadResult parseCallHistory(std::string_view bytes);

// A call as the history keeps it (upper case, letters, digits and "/", 3 to 13 characters
// with a letter and a digit); nullopt for anything else.
std::optional<std::string> historyCall(std::string_view text);
// A grid as the history keeps it: its square ("FN42") from a four- or six-character
// locator; nullopt for anything else.
std::optional<std::string> historyGrid(std::string_view text);
// The call without a portable prefix or suffix: its longest part between "/" ("K1ABC" of
// "K1ABC/P", "VP2/K1ABC" and "K1ABC/4").
std::string_view baseCall(std::string_view call);

class CallHistory {
public:
    // Keeps the grid unless the call already has one from a newer contact: a later stamp
    // wins, and of two equal stamps the one added last.
    void add(const HistoryEntry& entry);
    void add(const std::vector<HistoryEntry>& entries);
    void add(std::vector<HistoryEntry>&& entries);
    // The calls and received grids of logged contacts (records whose call or grid is not
    // valid are passed over); the number taken.
    int addLog(const std::vector<QsoRecord>& records);

    // The entry of the call (any letter case): its own, or when there is none, that of its
    // base call (a portable station); null when neither is known.
    const HistoryEntry* find(std::string_view call) const;

    std::size_t size() const { return m_byCall.size(); }
    bool empty() const { return m_byCall.empty(); }
    // Every entry, ordered by call.
    std::vector<HistoryEntry> sorted() const;

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    const HistoryEntry* exact(std::string_view upperCall) const;

    std::unordered_map<std::string, HistoryEntry, Hash, std::equal_to<>> m_byCall;
};

// The history as a call history file: a comment line, "!!Order!!,Call,Loc1", then one
// station a line in call order, CR LF line ends.
std::string formatCallHistory(const CallHistory& history);

} // namespace corvane
