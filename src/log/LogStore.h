#pragma once
// The log as the program keeps it: the ContactLog in memory and log.txt on disk, changed
// together so that memory always mirrors the file.

#include "core/DurableFile.h"
#include "log/ContactLog.h"
#include "log/LogFile.h"

#include <string>

namespace corvane {

class LogStore {
public:
    explicit LogStore(std::string path) : m_path(std::move(path)) {}

    const std::string& path() const { return m_path; }
    const ContactLog& log() const { return m_log; }

    // Reads the file into memory. On a fault memory is left empty and the result says
    // which line is wrong; a missing file is a fault too.
    LogParseResult load();

    enum class AppendStatus { Logged, Full, WriteFailed };
    struct AppendResult {
        AppendStatus status = AppendStatus::Logged;
        std::string error;
    };
    // Adds the record to memory and appends it durably to the file; if the file cannot
    // take it the record is taken back out of memory.
    AppendResult append(const QsoRecord& record);

    // Writes the records over the file atomically; memory takes them only on success.
    FileResult rewrite(std::vector<QsoRecord> records);

    // Erases the log: the file is replaced by an empty one.
    FileResult clear();

    // The number of records seen by the first load of the run that found any.
    int initialQsoCount() const { return m_initialQsoCount; }

private:
    std::string m_path;
    ContactLog m_log;
    int m_initialQsoCount = 0;
};

} // namespace corvane
