#include "log/LogStore.h"

namespace corvane {

LogParseResult LogStore::load() {
    std::string error;
    auto bytes = readWholeFile(m_path, &error);
    if (!bytes) {
        m_log.clear();
        LogParseResult result;
        result.problem = "the file cannot be read: " + error;
        return result;
    }
    LogParseResult result = parseLog(*bytes, ContactLog::kCapacity);
    if (!result.ok) {
        m_log.clear();
        return result;
    }
    m_log.assign(std::move(result.records));
    result.records.clear();
    if (m_initialQsoCount == 0) {
        m_initialQsoCount = m_log.qsoCount();
    }
    return result;
}

LogStore::AppendResult LogStore::append(const QsoRecord& record) {
    if (!m_log.append(record)) {
        return {AppendStatus::Full, {}};
    }
    const FileResult written = appendDurably(m_path, formatLogLine(record));
    if (!written.ok) {
        m_log.removeLast();
        return {AppendStatus::WriteFailed, written.error};
    }
    return {};
}

FileResult LogStore::rewrite(std::vector<QsoRecord> records) {
    const FileResult written = replaceAtomically(m_path, formatLog(records));
    if (written.ok) {
        m_log.assign(std::move(records));
    }
    return written;
}

FileResult LogStore::clear() {
    return rewrite({});
}

} // namespace corvane
