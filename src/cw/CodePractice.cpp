#include "cw/CodePractice.h"

#include "core/NumberText.h"

namespace corvane::cw {

GroupFields normaliseGroupFields(std::string_view groups, std::string_view characters) {
    GroupFields out;
    if (isNumeric(groups)) {
        out.groups = std::string(groups);
    }
    if (isNumeric(characters)) {
        out.characters = std::string(characters);
    }
    return out;
}

std::string generateGroups(int groups, int characters, bool lettersOnly, std::mt19937& random) {
    const int poolSize = lettersOnly ? kLettersOnlyPoolSize : static_cast<int>(kPracticePool.size());
    std::uniform_int_distribution<int> pick(0, poolSize - 1);
    std::string out;
    for (int g = 0; g < groups; ++g) {
        for (int c = 0; c < characters; ++c) {
            out.push_back(kPracticePool[static_cast<std::size_t>(pick(random))]);
        }
        out.push_back(' ');
    }
    return out;
}

PracticeSender::PracticeSender(CwSendController& cw, Hooks hooks) : m_cw(cw), m_hooks(std::move(hooks)) {}

void PracticeSender::start() {
    if (m_running) {
        if (m_stopping) {
            // Send again while a stop waits for the character in progress: the new text starts
            // from its beginning once that character is done, instead of being ignored.
            m_stopping = false;
            m_position = 1;
        }
        return;
    }
    m_running = true;
    m_waiting = false;
    m_stopping = false;
    m_position = 1;
    step();
}

void PracticeSender::stop() {
    m_cw.stopSending();
    if (!m_running) {
        return;
    }
    if (m_waiting) {
        m_stopping = true; // ends when the character in progress is done
    } else {
        finish();
    }
}

void PracticeSender::controllerIdle() {
    if (!m_running || !m_waiting) {
        return;
    }
    m_waiting = false;
    if (m_stopping || m_cw.sendingDropped()) {
        finish(); // stopped, or the WinKeyer could not take the text: one message, not one a character
        return;
    }
    m_hooks.post([this] { step(); });
}

void PracticeSender::step() {
    if (!m_running) {
        return;
    }
    if (m_stopping) {
        finish();
        return;
    }
    const std::string text = m_hooks.textToSend();
    if (m_position > text.size()) {
        finish();
        return;
    }
    const char c = text[m_position - 1];
    m_cw.replaceBuffer(std::string(1, c));
    m_waiting = true;
    if (!m_cw.sending()) {
        m_cw.loopThroughBuffer(); // may end at once (nothing to key): the idle listener posts the next step
    }
    m_hooks.sent(c);
    m_hooks.caret(m_position);
    ++m_position;
}

void PracticeSender::finish() {
    m_running = false;
    m_waiting = false;
    m_stopping = false;
    if (m_hooks.finished) {
        m_hooks.finished();
    }
}

} // namespace corvane::cw
