#include "export/AdifRead.h"

#include "core/TextCase.h"

#include <cstddef>

namespace corvane {

namespace {

// More than any field this program reads can hold; a longer claim is a damaged length.
constexpr std::size_t kLongestValue = 4096;

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool onlyBlanks(std::string_view text) {
    for (const char c : text) {
        if (!isBlank(c)) {
            return false;
        }
    }
    return true;
}

std::string stampOf(std::string_view date, std::string_view time) {
    const auto digits = [](std::string_view s) {
        for (const char c : s) {
            if (c < '0' || c > '9') {
                return false;
            }
        }
        return true;
    };
    if (date.size() != 8 || !digits(date)) {
        return {};
    }
    std::string stamp = std::string(date.substr(0, 4)) + "/" + std::string(date.substr(4, 2)) + "/" +
                        std::string(date.substr(6, 2)) + " ";
    if ((time.size() == 4 || time.size() == 6) && digits(time)) {
        stamp += std::string(time.substr(0, 2)) + ":" + std::string(time.substr(2, 2)) + ":" +
                 (time.size() == 6 ? std::string(time.substr(4, 2)) : std::string("00"));
    } else {
        stamp += "00:00:00";
    }
    return stamp;
}

struct Record {
    std::string call;
    std::string grid;
    std::string date;
    std::string time;
    bool damaged = false;
    bool any = false;

    void clear() { *this = Record{}; }
};

} // namespace

AdifReadResult readAdifContacts(std::string_view bytes) {
    AdifReadResult out;
    std::size_t at = 0;
    // A file that does not begin with a field has a header, which ends with <EOH>.
    if (const std::size_t first = bytes.find_first_not_of(" \t\r\n");
        first != std::string_view::npos && bytes[first] != '<') {
        for (std::size_t open = bytes.find('<'); open != std::string_view::npos; open = bytes.find('<', open + 1)) {
            if (bytes.size() - open >= 5 && equalsIgnoringCase(bytes.substr(open, 5), "<EOH>")) {
                at = open + 5;
                break;
            }
        }
    }
    Record record;
    const auto finish = [&] {
        if (record.damaged || record.call.empty()) {
            if (record.any) {
                ++out.skippedRecords;
            }
        } else {
            out.contacts.push_back(AdifContact{record.call, record.grid, stampOf(record.date, record.time)});
        }
        record.clear();
    };
    while (true) {
        const std::size_t open = bytes.find('<', at);
        if (open == std::string_view::npos) {
            if (!onlyBlanks(bytes.substr(at))) {
                record.damaged = record.any = true;
            }
            break;
        }
        if (!onlyBlanks(bytes.substr(at, open - at))) {
            // Text between two fields: the length before it was wrong.
            record.damaged = record.any = true;
        }
        const std::size_t close = bytes.find('>', open);
        if (close == std::string_view::npos) {
            record.damaged = record.any = true;
            break;
        }
        const std::string_view tag = bytes.substr(open + 1, close - open - 1);
        at = close + 1;
        const std::size_t colon = tag.find(':');
        const std::string_view name = tag.substr(0, colon);
        if (colon == std::string_view::npos) {
            if (equalsIgnoringCase(name, "EOR")) {
                finish();
            } else if (equalsIgnoringCase(name, "EOH")) {
                record.clear(); // a second header: what came before it was header text
            } else {
                record.damaged = record.any = true;
            }
            continue;
        }
        record.any = true;
        std::string_view lengthText = tag.substr(colon + 1);
        lengthText = lengthText.substr(0, lengthText.find(':'));
        std::size_t length = 0;
        bool valid = !lengthText.empty() && lengthText.size() <= 5;
        for (const char c : lengthText) {
            valid = valid && c >= '0' && c <= '9';
            length = length * 10 + static_cast<std::size_t>(c - '0');
        }
        if (!valid || length > kLongestValue || length > bytes.size() - at) {
            // The rest of this record cannot be trusted: on to its end.
            record.damaged = true;
            bool found = false;
            for (std::size_t next = bytes.find('<', at); next != std::string_view::npos;
                 next = bytes.find('<', next + 1)) {
                if (bytes.size() - next >= 5 && equalsIgnoringCase(bytes.substr(next, 5), "<EOR>")) {
                    at = next;
                    found = true;
                    break;
                }
            }
            if (!found) {
                break;
            }
            continue;
        }
        const std::string_view value = bytes.substr(at, length);
        at += length;
        std::string text;
        for (const char c : value) {
            text.push_back(upper(c));
        }
        while (!text.empty() && isBlank(text.back())) {
            text.pop_back();
        }
        if (equalsIgnoringCase(name, "CALL")) {
            record.call = text;
        } else if (equalsIgnoringCase(name, "GRIDSQUARE")) {
            record.grid = text;
        } else if (equalsIgnoringCase(name, "QSO_DATE")) {
            record.date = text;
        } else if (equalsIgnoringCase(name, "TIME_ON")) {
            record.time = text;
        }
    }
    if (record.any) {
        record.damaged = true; // the file ends inside a record
        finish();
    }
    return out;
}

} // namespace corvane
