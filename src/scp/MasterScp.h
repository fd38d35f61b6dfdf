#pragma once
// Super check partial: the public list of active contest calls (MASTER.SCP) and the search
// the entry line makes in it while a call is typed.
//
// The file holds one call a line; "#" starts a comment line; blank lines are ignored. A line
// that is not a call (blanks or other characters inside, no letter or no digit, longer than
// the call field) is skipped and counted, so one damaged line costs one call, not the file.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

inline constexpr std::string_view kMasterScpFileName = "MASTER.SCP";
// The longest call the call field takes.
inline constexpr std::size_t kScpLongestCall = 13;

struct ScpReadResult {
    std::vector<std::string> calls; // upper case, sorted, each once
    int skippedLines = 0;           // damaged lines
};

ScpReadResult parseMasterScp(std::string_view bytes);

// The calls of a MASTER.SCP, searched for any part of a call.
class ScpIndex {
public:
    ScpIndex() = default;
    // `calls`: as parseMasterScp gives them (upper case, sorted, each once).
    explicit ScpIndex(std::vector<std::string> calls);

    std::size_t size() const { return m_calls.size(); }
    bool empty() const { return m_calls.empty(); }

    // The known calls containing `typed` (upper case), as many as fit in `maxChars` characters
    // when written with one blank after each: first those that begin with it, then the others,
    // each group in alphabetical order. Nothing for fewer than two typed characters.
    std::vector<std::string> find(std::string_view typed, std::size_t maxChars) const;

private:
    std::vector<std::string> m_calls;
    std::string m_text; // "\nCALL\nCALL\n...": every call between two line ends, for one scan
};

// Which of `found` are already in the log, given the logged calls: true at the index of each.
// Letter case is ignored.
std::vector<bool> loggedAmong(const std::vector<std::string>& found, std::string_view typed,
                              const std::vector<std::string_view>& loggedCalls);

} // namespace corvane
