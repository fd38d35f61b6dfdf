#pragma once
// A call sign as the lists of calls (MASTER.SCP, the call history) take it: 3 to `longest`
// characters of letters, digits and "/", with at least one letter and one digit, in capitals.

#include "core/TextCase.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace corvane {

inline bool readCallText(std::string_view text, std::size_t longest, std::string& call) {
    if (text.size() < 3 || text.size() > longest) {
        return false;
    }
    call.clear();
    bool letter = false;
    bool digit = false;
    for (const char raw : text) {
        const char c = upper(raw);
        if (c >= 'A' && c <= 'Z') {
            letter = true;
        } else if (c >= '0' && c <= '9') {
            digit = true;
        } else if (c != '/') {
            return false;
        }
        call.push_back(c);
    }
    return letter && digit;
}

} // namespace corvane
