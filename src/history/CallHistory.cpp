#include "history/CallHistory.h"

#include "core/CallText.h"
#include "core/TextCase.h"

#include <algorithm>

namespace corvane {

namespace {

constexpr std::size_t kLongestCall = 13;

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
        s.remove_suffix(1);
    }
    return s;
}

bool hasControlBytes(std::string_view line) {
    return std::any_of(line.begin(), line.end(), [](char raw) {
        const auto c = static_cast<unsigned char>(raw);
        return (c < 0x20 && c != '\t') || c == 0x7F;
    });
}

// The comma-separated fields of a line; a field may stand in double quotes (a comma inside
// belongs to it). False when a quote is out of place.
bool splitFields(std::string_view line, std::vector<std::string_view>& fields) {
    fields.clear();
    std::size_t at = 0;
    while (true) {
        while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) {
            ++at;
        }
        std::string_view field;
        if (at < line.size() && line[at] == '"') {
            const std::size_t close = line.find('"', at + 1);
            if (close == std::string_view::npos) {
                return false;
            }
            field = line.substr(at + 1, close - at - 1);
            at = close + 1;
            while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) {
                ++at;
            }
            if (at < line.size() && line[at] != ',') {
                return false;
            }
        } else {
            const std::size_t comma = std::min(line.find(',', at), line.size());
            field = trimmed(line.substr(at, comma - at));
            if (field.find('"') != std::string_view::npos) {
                return false;
            }
            at = comma;
        }
        fields.push_back(field);
        if (at >= line.size()) {
            return true;
        }
        ++at; // the comma
    }
}

struct Columns {
    std::size_t call = 0;
    std::size_t grid = 1;
};

} // namespace

std::optional<std::string> historyCall(std::string_view text) {
    std::string call;
    if (!readCallText(text, kLongestCall, call) || call.front() == '/' || call.back() == '/') {
        return std::nullopt;
    }
    return call;
}

std::optional<std::string> historyGrid(std::string_view text) {
    if (text.size() != 4 && text.size() != 6) {
        return std::nullopt;
    }
    const char field1 = upper(text[0]);
    const char field2 = upper(text[1]);
    if (field1 < 'A' || field1 > 'R' || field2 < 'A' || field2 > 'R' || text[2] < '0' || text[2] > '9' ||
        text[3] < '0' || text[3] > '9') {
        return std::nullopt;
    }
    if (text.size() == 6) {
        for (const char raw : text.substr(4)) {
            const char c = upper(raw);
            if (c < 'A' || c > 'X') {
                return std::nullopt;
            }
        }
    }
    return std::string{field1, field2, text[2], text[3]};
}

std::string_view baseCall(std::string_view call) {
    std::string_view best;
    while (true) {
        const std::size_t slash = call.find('/');
        const std::string_view part = call.substr(0, slash);
        if (part.size() > best.size()) {
            best = part;
        }
        if (slash == std::string_view::npos) {
            return best;
        }
        call.remove_prefix(slash + 1);
    }
}

HistoryReadResult parseCallHistory(std::string_view bytes) {
    HistoryReadResult out;
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3); // a byte order mark some editors write
    }
    Columns columns;
    std::vector<std::string_view> fields;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        const std::string_view raw = bytes.substr(0, end);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        if (raw.size() > kHistoryLongestLine) {
            ++out.skippedLines;
            continue;
        }
        const std::string_view line = trimmed(raw);
        if (line.empty() || line.front() == '#') {
            continue;
        }
        if (hasControlBytes(line) || !splitFields(line, fields)) {
            ++out.skippedLines;
            continue;
        }
        if (equalsIgnoringCase(fields.front(), "!!Order!!")) {
            std::optional<std::size_t> call;
            std::optional<std::size_t> grid;
            for (std::size_t i = 1; i < fields.size(); ++i) {
                if (!call && equalsIgnoringCase(fields[i], "Call")) {
                    call = i - 1;
                } else if (!grid && (equalsIgnoringCase(fields[i], "Loc1") || equalsIgnoringCase(fields[i], "Grid"))) {
                    grid = i - 1;
                }
            }
            if (!call || !grid) {
                out.entries.clear();
                out.problem = !call ? "its !!Order!! line names no Call column"
                                    : "its !!Order!! line names no grid column (Loc1 or Grid)";
                return out;
            }
            columns = {*call, *grid};
            continue;
        }
        const auto call = columns.call < fields.size() ? historyCall(fields[columns.call]) : std::nullopt;
        if (!call) {
            ++out.skippedLines;
            continue;
        }
        const std::string_view gridText = columns.grid < fields.size() ? fields[columns.grid] : std::string_view();
        if (gridText.empty()) {
            continue; // a station the history knows, without a grid: nothing for this contest
        }
        auto grid = historyGrid(gridText);
        if (!grid) {
            ++out.skippedLines;
            continue;
        }
        out.entries.push_back(HistoryEntry{std::move(*call), std::move(*grid), {}});
    }
    return out;
}

void CallHistory::add(const HistoryEntry& entry) {
    const auto it = m_byCall.find(std::string_view(entry.call));
    if (it == m_byCall.end()) {
        m_byCall.emplace(entry.call, entry);
    } else if (entry.stamp >= it->second.stamp) {
        it->second = entry;
    }
}

void CallHistory::add(const std::vector<HistoryEntry>& entries) {
    for (const HistoryEntry& entry : entries) {
        add(entry);
    }
}

void CallHistory::add(std::vector<HistoryEntry>&& entries) {
    m_byCall.reserve(m_byCall.size() + entries.size());
    for (HistoryEntry& entry : entries) {
        const auto it = m_byCall.find(std::string_view(entry.call));
        if (it == m_byCall.end()) {
            std::string key = entry.call;
            m_byCall.emplace(std::move(key), std::move(entry));
        } else if (entry.stamp >= it->second.stamp) {
            it->second = std::move(entry);
        }
    }
}

int CallHistory::addLog(const std::vector<QsoRecord>& records) {
    int taken = 0;
    for (const QsoRecord& record : records) {
        auto call = historyCall(trimmed(record.call));
        auto grid = historyGrid(trimmed(record.gridR));
        if (call && grid) {
            add(HistoryEntry{std::move(*call), std::move(*grid), record.qsoDate + " " + record.qsoTime});
            ++taken;
        }
    }
    return taken;
}

const HistoryEntry* CallHistory::exact(std::string_view upperCall) const {
    const auto it = m_byCall.find(upperCall);
    return it == m_byCall.end() ? nullptr : &it->second;
}

const HistoryEntry* CallHistory::find(std::string_view call) const {
    if (call.empty() || call.size() > kLongestCall) {
        return nullptr;
    }
    char buffer[kLongestCall];
    for (std::size_t i = 0; i < call.size(); ++i) {
        buffer[i] = upper(call[i]);
    }
    const std::string_view upperCall(buffer, call.size());
    if (const HistoryEntry* own = exact(upperCall)) {
        return own;
    }
    const std::string_view base = baseCall(upperCall);
    return base.size() < upperCall.size() ? exact(base) : nullptr;
}

std::vector<HistoryEntry> CallHistory::sorted() const {
    std::vector<HistoryEntry> out;
    out.reserve(m_byCall.size());
    for (const auto& [call, entry] : m_byCall) {
        out.push_back(entry);
    }
    std::sort(out.begin(), out.end(), [](const HistoryEntry& a, const HistoryEntry& b) { return a.call < b.call; });
    return out;
}

std::string formatCallHistory(const CallHistory& history) {
    std::string out = "# Call history written by Varkel's Corvane Contest Log\r\n!!Order!!,Call,Loc1\r\n";
    for (const HistoryEntry& entry : history.sorted()) {
        out += entry.call;
        out += ',';
        out += entry.grid;
        out += "\r\n";
    }
    return out;
}

} // namespace corvane
