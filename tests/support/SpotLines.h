#pragma once
// Cluster announcement lines in the common layout, for the spotting tests and benchmarks.

#include <string>
#include <string_view>

namespace corvane::spots::testing {

// "DX de K1ABC:     1825.5  W1AW         comment...   2359Z" (75 characters, no line end):
// frequency ending at position 24, call in 27-39, comment in 40-69, time in 71-75.
inline std::string clusterLine(std::string_view spotter, std::string_view kHz, std::string_view call,
                               std::string_view comment = "CQ", std::string_view hhmm = "2359") {
    std::string line = "DX de " + std::string(spotter) + ":";
    if (line.size() + kHz.size() < 24) {
        line.append(24 - line.size() - kHz.size(), ' ');
    } else {
        line += ' ';
    }
    line += kHz;
    line += "  ";
    line += call;
    line.append(call.size() < 13 ? 13 - call.size() : 1, ' ');
    line += comment;
    line.append(comment.size() < 30 ? 30 - comment.size() : 1, ' ');
    line += " ";
    line += hhmm;
    line += "Z";
    return line;
}

} // namespace corvane::spots::testing
