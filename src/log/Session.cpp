#include "log/Session.h"

namespace corvane {

Session::Session(std::string workingDirectory)
    : m_workingDirectory(std::move(workingDirectory)), m_store(m_workingDirectory + "/log.txt") {}

LogParseResult Session::loadLog() {
    LogParseResult result = m_store.load();
    m_logLoaded = result.ok;
    return result;
}

std::string Session::takeRigFrequencyText() {
    std::string text = std::move(m_rigFrequencyText);
    m_rigFrequencyText.clear();
    return text;
}

} // namespace corvane
