#include "spots/StatusText.h"

#include "core/TextCase.h"

namespace corvane::spots {

namespace {

std::string upperCopy(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = upper(c);
    }
    return out;
}

} // namespace

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
    const std::string window = upperCopy(std::string_view(m_text).substr(start));
    return window.find(upperCopy(line)) != std::string::npos;
}

StatusText::Update StatusText::takeUpdate() {
    Update update;
    update.replaced = m_replaced;
    update.appended.swap(m_appended);
    m_replaced = false;
    return update;
}

} // namespace corvane::spots
