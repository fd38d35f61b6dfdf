#pragma once
// The log as the program keeps it: the ContactLog in memory and log.txt on disk, changed
// together so that memory always mirrors the file.
//
// The store remembers the fingerprint of the file its memory mirrors (taken when it was
// loaded, and again after each of its own appends and rewrites). It writes nothing over a
// file that has changed since -- another copy of the program or an editor wrote it -- nor
// over a file it could not load, because its memory would then replace contacts it never
// saw.

#include "core/DurableFile.h"
#include "log/ContactLog.h"
#include "log/LogFile.h"

#include <optional>
#include <string>

namespace corvane {

class LogStore {
public:
    explicit LogStore(std::string path) : m_path(std::move(path)) {}

    const std::string& path() const { return m_path; }
    const ContactLog& log() const { return m_log; }

    // Reads the file into memory. On a fault memory is left empty and the result says
    // which line is wrong; a missing file, or one that is not a regular file (a named pipe,
    // a folder, a device), is a fault too.
    LogParseResult load();

    // True after a load that succeeded, until a load fails.
    bool loaded() const { return m_loaded; }

    enum class AppendStatus {
        Logged,
        Full,        // the log holds its capacity
        WriteFailed, // the disk refused the line (error says why); nothing of it stayed
        Refused,     // the store will not write (error says why): the file changed on disk
                     // since it was loaded, the log was not loaded, or the record holds a
                     // character a log line cannot carry
    };
    struct AppendResult {
        AppendStatus status = AppendStatus::Logged;
        std::string error;
    };
    // Appends the record durably to the file and then adds it to memory; if the file cannot
    // take it, memory stays as it was. A file whose last line lacks its
    // line end gets one first. A file that has vanished since it was loaded is written
    // again whole from memory, with the new record.
    AppendResult append(const QsoRecord& record);

    // Writes the records over the file atomically; memory takes them only on success.
    // Refused (with the reason as the error) when the file changed on disk since it was
    // loaded or when it could not be loaded.
    FileResult rewrite(std::vector<QsoRecord> records);

    // Erases the log: the file is replaced by an empty one. Refused as rewrite is.
    FileResult clear();

    // Why the store would refuse to write now; empty when it may write. Lets a window refuse
    // an edit, New or Restore before it asks the operator anything.
    std::string writeRefusal() const;

    // The file on disk is no longer the one memory mirrors (written by someone else, replaced
    // or removed). False when nothing was loaded or written yet.
    bool changedOnDisk() const;

    // The number of records seen by the first load of the run that found any.
    int initialQsoCount() const { return m_initialQsoCount; }

private:
    std::string fileName() const;
    // The refusal for a file found with fingerprint `now` (nullopt: absent); empty when it may be written.
    std::string refusalFor(const std::optional<FileFingerprint>& now) const;
    AppendResult appendByRewrite(const QsoRecord& record);

    std::string m_path;
    ContactLog m_log;
    int m_initialQsoCount = 0;
    bool m_loaded = false;
    std::string m_loadProblem;                // why the last load failed; empty after a good one
    std::optional<FileFingerprint> m_written; // the file as memory mirrors it
};

} // namespace corvane
