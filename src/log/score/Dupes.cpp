#include "log/score/Dupes.h"

#include "core/TextCase.h"

#include <array>

namespace corvane {

namespace {

// `upperPrefix` is already upper case.
bool startsWithIgnoringCase(std::string_view text, std::string_view upperPrefix) {
    if (text.size() < upperPrefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < upperPrefix.size(); ++i) {
        if (upper(text[i]) != upperPrefix[i]) {
            return false;
        }
    }
    return true;
}

bool listableKey(char key) {
    const int k = static_cast<unsigned char>(key);
    return k > 45 && k < 91; // "." to "Z"
}

bool digitOrSlash(char c) {
    return (c >= '0' && c <= '9') || c == '/';
}

} // namespace

std::optional<DupeHit> findDuplicate(const ContactLog& log, std::string_view call) {
    const auto& records = log.records();
    for (std::size_t i = 0; i < records.size(); ++i) {
        const QsoRecord& r = records[i];
        if (equalsIgnoringCase(r.call, call)) {
            const int index = static_cast<int>(i) + 1;
            return DupeHit{index, "Duplicate " + r.call + " " + r.qsoDate + " " + r.qsoTime + " ON " + r.points +
                                      "  Rec# " + std::to_string(index)};
        }
    }
    return std::nullopt;
}

std::string partialDupeList(const ContactLog& log, std::string_view typed) {
    // Up-case the typed text once; a call is at most 13 characters, longer text still works.
    std::string upperTyped(typed);
    for (char& c : upperTyped) {
        c = upper(c);
    }
    // The list can only reach a little over 100 characters, and every match adds at least
    // one, so the matches fit in a small fixed array: no allocation per record.
    std::array<const std::string*, kPartialListCutChars + 1> matches{};
    std::size_t matchCount = 0;
    std::size_t length = 0;
    for (const QsoRecord& r : log.records()) {
        if (startsWithIgnoringCase(r.call, upperTyped)) {
            matches[matchCount++] = &r.call;
            length += r.call.size() + 1;
            if (length > kPartialListCutChars) {
                break;
            }
        }
    }
    std::string list;
    list.reserve(length);
    for (std::size_t i = matchCount; i-- > 0;) {
        list += *matches[i];
        list += ' ';
    }
    return list;
}

PartialCheckResult partialCheck(const ContactLog& log, const PartialCheckInput& input) {
    PartialCheckResult result;
    const bool listable = listableKey(input.key);
    std::string typed(input.callBefore);
    typed.push_back(input.key);

    if (input.partialDupesOn && listable) {
        result.dupeList = partialDupeList(log, typed);
        result.dupeListTeal = !result.dupeList.empty();
    }
    if (input.callBefore.size() > 2 && !result.dupeList.empty()) {
        result.messageText = std::string(kPossibleDuplicateText);
    } else if (input.timeOnRunning) {
        result.messageText = " ";
    }
    if (typed.size() == 3 && listable) {
        if (digitOrSlash(typed[2]) || digitOrSlash(typed[1])) {
            result.messageText = " ";
        } else {
            result.beep = true;
            result.messageText = std::string(kNotNumericText);
        }
    }
    return result;
}

std::int64_t dupeHoldRemainingMs(std::int64_t dupeTimeMs, std::int64_t nowMs) {
    const std::int64_t remaining = dupeTimeMs + kDupeHoldMs - nowMs;
    return remaining > 0 ? remaining : 0;
}

} // namespace corvane
