#include "scp/MasterScp.h"

#include "core/CallText.h"

#include <algorithm>
#include <cstring>

namespace corvane {

namespace {

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
        s.remove_suffix(1);
    }
    return s;
}

char upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// A call: letters, digits and "/", at least one letter and one digit, 3 to 13 characters.
bool readCall(std::string_view text, std::string& call) {
    return readCallText(text, kScpLongestCall, call);
}

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (upper(a[i]) != upper(b[i])) {
            return false;
        }
    }
    return true;
}

bool containsIgnoringCase(std::string_view text, std::string_view part) {
    if (part.size() > text.size()) {
        return false;
    }
    for (std::size_t at = 0; at + part.size() <= text.size(); ++at) {
        if (sameIgnoringCase(text.substr(at, part.size()), part)) {
            return true;
        }
    }
    return false;
}

} // namespace

ScpReadResult parseMasterScp(std::string_view bytes) {
    ScpReadResult out;
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3); // a byte order mark some editors write
    }
    std::string call;
    while (!bytes.empty()) {
        const auto end = bytes.find('\n');
        const std::string_view line = trimmed(bytes.substr(0, end));
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        if (line.empty() || line.front() == '#') {
            continue;
        }
        if (readCall(line, call)) {
            out.calls.push_back(call);
        } else {
            ++out.skippedLines;
        }
    }
    std::sort(out.calls.begin(), out.calls.end());
    out.calls.erase(std::unique(out.calls.begin(), out.calls.end()), out.calls.end());
    return out;
}

ScpIndex::ScpIndex(std::vector<std::string> calls) : m_calls(std::move(calls)) {
    std::size_t length = 1;
    for (const std::string& call : m_calls) {
        length += call.size() + 1;
    }
    m_text.reserve(length);
    m_text.push_back('\n');
    for (const std::string& call : m_calls) {
        m_text += call;
        m_text.push_back('\n');
    }
}

std::vector<std::string> ScpIndex::find(std::string_view typed, std::size_t maxChars) const {
    std::vector<std::string> found;
    if (typed.size() < 2 || typed.size() > kScpLongestCall || typed.find('\n') != std::string_view::npos) {
        return found;
    }
    std::size_t used = 0;
    const auto fits = [&](std::string_view call) {
        if (used + call.size() + 1 > maxChars) {
            return false;
        }
        used += call.size() + 1;
        found.emplace_back(call);
        return true;
    };
    // Those that begin with the typed text lie together in the sorted list.
    auto it = std::lower_bound(m_calls.begin(), m_calls.end(), typed,
                               [](const std::string& call, std::string_view t) { return call < t; });
    for (; it != m_calls.end() && std::string_view(*it).starts_with(typed); ++it) {
        if (!fits(*it)) {
            return found;
        }
    }
    // Then one scan of the whole text for the typed text anywhere else in a call.
    const char* const begin = m_text.data();
    const char* const end = begin + m_text.size();
    const char* at = begin;
    while (at < end) {
        const void* hit = ::memmem(at, static_cast<std::size_t>(end - at), typed.data(), typed.size());
        if (hit == nullptr) {
            break;
        }
        const char* match = static_cast<const char*>(hit);
        const char* lineStart = match;
        while (lineStart > begin && lineStart[-1] != '\n') {
            --lineStart;
        }
        const char* lineEnd = static_cast<const char*>(std::memchr(match, '\n', static_cast<std::size_t>(end - match)));
        if (lineEnd == nullptr) {
            break;
        }
        if (lineStart != match && !fits(std::string_view(lineStart, static_cast<std::size_t>(lineEnd - lineStart)))) {
            break;
        }
        at = lineEnd + 1;
    }
    return found;
}

std::vector<bool> loggedAmong(const std::vector<std::string>& found, std::string_view typed,
                              const std::vector<std::string_view>& loggedCalls) {
    std::vector<bool> logged(found.size(), false);
    for (const std::string_view call : loggedCalls) {
        // Only a logged call containing the typed text can be one of those found.
        if (!containsIgnoringCase(call, typed)) {
            continue;
        }
        for (std::size_t i = 0; i < found.size(); ++i) {
            if (!logged[i] && sameIgnoringCase(call, found[i])) {
                logged[i] = true;
            }
        }
    }
    return logged;
}

} // namespace corvane
