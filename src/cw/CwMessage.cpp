#include "cw/CwMessage.h"

namespace corvane::cw {

std::string sentReport(std::string_view report) {
    if (report.empty() || report == "599") {
        return "5NN";
    }
    return std::string(report);
}

std::string replaceEach(std::string_view text, char marker, std::string_view with) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (c == marker) {
            out.append(with);
        } else {
            out.push_back(c);
        }
    }
    return out;
}

std::string substituteMessage(std::string_view message, std::string_view call, std::string_view report) {
    const auto first = call.find_first_not_of(" \t");
    const auto last = call.find_last_not_of(" \t");
    const std::string_view trimmed =
        first == std::string_view::npos ? std::string_view{} : call.substr(first, last - first + 1);
    std::string text = replaceEach(message, '$', trimmed);
    text = replaceEach(text, '#', "");
    return replaceEach(text, '*', sentReport(report));
}

} // namespace corvane::cw
