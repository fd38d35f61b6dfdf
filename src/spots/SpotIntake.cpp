#include "spots/SpotIntake.h"

#include "core/TextCase.h"
#include "spots/SpotText.h"

namespace corvane::spots {

namespace {

SpotHandOff handOff(std::string_view line) {
    SpotFields fields = spotFields(line);
    return {std::move(fields.frequencyText), std::move(fields.call), spotRecord(line)};
}

// Blanks (only) removed at both ends.
std::string_view trimSpaces(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return text;
}

bool containsDxBlank(std::string_view text) {
    for (std::size_t i = 0; i + 3 <= text.size(); ++i) {
        if (upper(text[i]) == 'D' && upper(text[i + 1]) == 'X' && text[i + 2] == ' ') {
            return true;
        }
    }
    return false;
}

bool dxAtOneOrTwo(std::string_view text) {
    return beginsWithDx(text) || (text.size() >= 3 && beginsWithDx(text.substr(1)));
}

} // namespace

std::string droppedTextNotice(std::size_t characters) {
    return "\r\n** " + std::to_string(characters) +
           " characters received without a line end were dropped (and the rest of that line) **\r\n";
}

void SpotIntake::reset() {
    m_pending = "\n";
    m_telnetLine.clear();
    m_telnetSkipping = false;
}

void SpotIntake::appendShown(std::string_view text) {
    m_status.append(text);
    m_status.trim();
}

void SpotIntake::handleTncLine(std::string_view line, std::vector<SpotHandOff>& spots) {
    if (m_status.isRecent(line)) {
        return;
    }
    if (beginsWithDx(line)) {
        appendShown(line);
        spots.push_back(handOff(line));
    } else if (!m_dxOnly) {
        appendShown(line);
    }
}

std::vector<SpotHandOff> SpotIntake::tncReceived(std::string_view bytes) {
    std::vector<SpotHandOff> spots;
    const std::string text = printableText(bytes);
    if (text.empty()) {
        return spots;
    }
    m_pending += text;
    if (m_pending.size() <= 2) {
        return spots;
    }
    // The pending text is the line feed that ended the last line, then the line being received.
    std::size_t first = m_pending.find('\n');
    if (first == std::string::npos) {
        // Still inside a line that was cut off for being too long: wait for its end.
        m_pending.clear();
        return spots;
    }
    for (;;) {
        const std::size_t second = m_pending.find('\n', first + 1);
        if (second == std::string::npos) {
            break;
        }
        handleTncLine(std::string_view(m_pending).substr(first + 1, second - first), spots);
        first = second;
    }
    m_pending.erase(0, first);
    if (m_pending.size() > kMaxPendingChars) {
        appendShown(droppedTextNotice(m_pending.size() - 1));
        m_pending.clear();
    }
    return spots;
}

std::vector<SpotHandOff> SpotIntake::telnetReceived(std::string_view bytes) {
    std::vector<SpotHandOff> spots;
    const std::string text = printableText(bytes);
    if (text.empty()) {
        return spots;
    }
    if (!m_dxOnly) {
        appendShown(text);
    }
    // An arrival that opens with "DX" starts a new line, even after a prompt without a line end.
    if (beginsWithDx(text) && (m_telnetSkipping || !beginsWithDx(m_telnetLine))) {
        m_telnetSkipping = false;
        m_telnetLine.clear();
    }
    // Nodes end lines with CR LF, LF CR, LF or CR: either character ends a line here.
    std::string_view rest = text;
    while (!rest.empty()) {
        const std::size_t end = rest.find_first_of("\r\n");
        const std::string_view piece = rest.substr(0, end == std::string_view::npos ? rest.size() : end + 1);
        rest.remove_prefix(piece.size());
        const bool ends = piece.back() == '\n' || piece.back() == '\r';
        if (m_telnetSkipping) {
            m_telnetSkipping = !ends;
            continue;
        }
        m_telnetLine += piece;
        if (ends) {
            if (beginsWithDx(m_telnetLine)) {
                spots.push_back(handOff(m_telnetLine));
                if (m_dxOnly) {
                    m_telnetLine.back() = '\r';
                    appendShown(m_telnetLine + "\n");
                }
            }
            m_telnetLine.clear();
        } else if ((m_telnetLine.size() >= 2 && !beginsWithDx(m_telnetLine)) ||
                   m_telnetLine.size() > kMaxPendingChars) {
            // Not a spot line (or far too long for one): only its end matters.
            m_telnetLine.clear();
            m_telnetSkipping = true;
        }
    }
    return spots;
}

std::vector<SpotHandOff> SpotIntake::agwFrameReceived(std::string_view sender, char kind, std::string_view text,
                                                      std::string_view partner) {
    std::vector<SpotHandOff> spots;
    const std::string clean = printableText(text);
    const std::string monitor = std::string(1, kind) + std::string(printableText(sender)) + " " + expandLineEnds(clean);
    std::string working = expandLineEnds(clean);
    if (partner.empty()) {
        // Monitored frames open with a header line naming the stations and the frame type.
        const std::size_t lf = working.find('\n');
        if (lf != std::string::npos) {
            working.erase(0, lf + 1);
        }
        working = std::string(trimSpaces(working));
    }
    if (working == "\r\n") {
        working.clear();
    }
    if (working.size() > 4 && working.ends_with("\r\n\r\n")) {
        working.resize(working.size() - 2);
    }
    const bool repeated = m_status.isRecent(working);
    if (!repeated && dxAtOneOrTwo(working)) {
        m_status.append(working);
        spots.push_back(handOff(working));
        m_status.trim();
    }
    if (!partner.empty() && equalsIgnoringCase(sender, partner) && !m_dxOnly && !beginsWithDx(working)) {
        appendShown(working);
    }
    if (partner.empty() && !m_dxOnly && !containsDxBlank(monitor) && !beginsWithDx(working)) {
        appendShown(monitor);
    }
    return spots;
}

} // namespace corvane::spots
