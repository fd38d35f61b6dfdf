#include "log/LogStore.h"

namespace corvane {

std::string LogStore::fileName() const {
    const auto slash = m_path.rfind('/');
    return slash == std::string::npos ? m_path : m_path.substr(slash + 1);
}

LogParseResult LogStore::load() {
    m_loaded = false;
    m_written.reset();
    std::string error;
    FileFingerprint fingerprint;
    auto bytes = readWholeFile(m_path, &error, &fingerprint);
    if (!bytes) {
        m_log.clear();
        LogParseResult result;
        result.problem = "the file cannot be read: " + error;
        m_loadProblem = result.problem;
        return result;
    }
    LogParseResult result = parseLog(*bytes, ContactLog::kCapacity);
    if (!result.ok) {
        m_log.clear();
        m_loadProblem = "line " + std::to_string(result.errorLine) + ": " + result.problem;
        return result;
    }
    m_log.assign(std::move(result.records));
    result.records.clear();
    m_loaded = true;
    m_loadProblem.clear();
    m_written = fingerprint;
    if (m_initialQsoCount == 0) {
        m_initialQsoCount = m_log.qsoCount();
    }
    return result;
}

std::string LogStore::refusalFor(const std::optional<FileFingerprint>& now) const {
    if (!m_loadProblem.empty()) {
        return fileName() + " could not be loaded (" + m_loadProblem +
               "), so nothing is written to it: the contacts in it are kept as they are. Fix the file and start "
               "the program again.";
    }
    if (!now) {
        return {}; // nothing on disk to lose
    }
    if (m_written) {
        if (*now == *m_written) {
            return {};
        }
        return fileName() + " was changed on disk by another program (or another copy of this one) after it was "
                            "loaded, so it was not written: writing it would lose those changes. Close the program "
                            "and start it again to load the log as it is now.";
    }
    if (now->sizeBytes == 0 && m_log.qsoCount() == 0) {
        return {}; // an empty file mirrors the empty memory
    }
    return fileName() + " has not been loaded, so nothing is written to it: the contacts in it are kept as they are.";
}

std::string LogStore::writeRefusal() const {
    std::string error;
    const auto now = fingerprintOf(m_path, &error);
    if (!now && !error.empty()) {
        return fileName() + " cannot be examined: " + error;
    }
    return refusalFor(now);
}

bool LogStore::changedOnDisk() const {
    if (!m_written) {
        return false;
    }
    const auto now = fingerprintOf(m_path);
    return !now || *now != *m_written;
}

LogStore::AppendResult LogStore::appendByRewrite(const QsoRecord& record) {
    std::vector<QsoRecord> records = m_log.records();
    records.push_back(record);
    const FileResult written = rewrite(std::move(records));
    if (!written.ok) {
        return {AppendStatus::WriteFailed, written.error};
    }
    return {};
}

LogStore::AppendResult LogStore::append(const QsoRecord& record) {
    if (!m_loadProblem.empty()) {
        return {AppendStatus::Refused, refusalFor(std::nullopt)};
    }
    if (std::string reason = unwritableReason(record); !reason.empty()) {
        return {AppendStatus::Refused, "the contact cannot be written to " + fileName() + ": " + reason};
    }
    if (m_log.isFull()) {
        return {AppendStatus::Full, {}};
    }
    if (m_written && !fingerprintOf(m_path)) {
        // The file vanished after it was loaded: memory holds the whole log, so write it all.
        return appendByRewrite(record);
    }
    AppendOptions options;
    options.create = !m_written;
    options.endLastLine = true;
    options.check = [this](const FileFingerprint& before) { return refusalFor(before); };
    AppendReport report;
    const FileResult written = appendDurably(m_path, formatLogLine(record), options, &report);
    if (!written.ok) {
        if (report.restored && m_written) {
            // The file holds what memory mirrors, though taking the line back may have changed
            // its time of writing: it is still ours, so the next contact may go in.
            m_written = report.after;
        }
        return {report.refused ? AppendStatus::Refused : AppendStatus::WriteFailed, written.error};
    }
    m_log.append(record);
    m_written = report.after;
    return {};
}

FileResult LogStore::rewrite(std::vector<QsoRecord> records) {
    for (const QsoRecord& record : records) {
        if (std::string reason = unwritableReason(record); !reason.empty()) {
            return FileResult::failure("the log cannot be written: in the contact " + record.call + " " + reason);
        }
    }
    if (std::string refusal = writeRefusal(); !refusal.empty()) {
        return FileResult::failure(std::move(refusal));
    }
    FileFingerprint fingerprint;
    const FileResult written = replaceAtomically(m_path, formatLog(records), &fingerprint);
    if (written.ok) {
        m_log.assign(std::move(records));
        m_written = fingerprint;
    }
    return written;
}

FileResult LogStore::clear() {
    return rewrite({});
}

} // namespace corvane
