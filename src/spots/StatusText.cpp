#include "spots/StatusText.h"

#include "core/TextCase.h"

namespace corvane::spots {

void StatusText::appendOnNewLine(std::string_view text) {
    if (!m_text.empty() && m_text.back() != '\n' && !text.starts_with("\r\n")) {
        append("\r\n");
    }
    append(text);
}

void StatusText::append(std::string_view text) {
    if (text.empty()) {
        return;
    }
    m_text += text;
    if (!m_replaced) {
        m_appended += text;
        // A window that has not caught up takes the whole text instead of a long tail.
        if (m_appended.size() > kStatusTrimAbove) {
            m_replaced = true;
            m_appended.clear();
        }
    }
}

void StatusText::replace(std::string_view text) {
    m_text.assign(text);
    m_replaced = true;
    m_appended.clear();
}

bool StatusText::trim() {
    if (m_text.size() <= kStatusTrimAbove) {
        return false;
    }
    m_text.erase(0, m_text.size() - kStatusKeep);
    m_replaced = true;
    m_appended.clear();
    return true;
}

bool StatusText::isRecent(std::string_view line) const {
    if (line.empty()) {
        return true;
    }
    // The search starts 800 characters before the end (counting the end as one past the
    // last character), so a match may begin in the last 801 positions.
    const std::size_t start = m_text.size() > kDuplicateWindow + 1 ? m_text.size() - kDuplicateWindow - 1 : 0;
    if (m_text.size() < line.size()) {
        return false;
    }
    // Candidates are found by the first character in either case, then compared whole.
    const std::string_view text(m_text);
    const std::string_view rest = line.substr(1);
    const char big = upper(line[0]);
    const char small = (big >= 'A' && big <= 'Z') ? static_cast<char>(big - 'A' + 'a') : big;
    const std::size_t last = text.size() - line.size();
    std::size_t nextBig = text.find(big, start);
    std::size_t nextSmall = small == big ? std::string_view::npos : text.find(small, start);
    for (;;) {
        const std::size_t at = nextBig < nextSmall ? nextBig : nextSmall;
        if (at == std::string_view::npos || at > last) {
            return false;
        }
        if (equalsIgnoringCase(text.substr(at + 1, rest.size()), rest)) {
            return true;
        }
        if (at == nextBig) {
            nextBig = text.find(big, at + 1);
        } else {
            nextSmall = text.find(small, at + 1);
        }
    }
}

StatusText::Update StatusText::takeUpdate() {
    Update update;
    update.replaced = m_replaced;
    update.appended.swap(m_appended);
    m_replaced = false;
    return update;
}

} // namespace corvane::spots
