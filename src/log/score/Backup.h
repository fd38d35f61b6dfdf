#pragma once
// Copies of the working log: the timestamped backups taken when the log has changed,
// the proposed name of an archive, and restoring the working log from a copy.

#include "core/DateTime.h"
#include "log/LogFile.h"

#include <string>
#include <string_view>

namespace corvane {

inline constexpr std::string_view kArchiveInfoTitle = "Archive Information";
inline constexpr std::string_view kArchiveInfoText =
    "This function is used to create a permanent copy of your currently open log file.  To open your log file at a "
    "later date, click File > Restore from Archive or Backup.";
inline constexpr std::string_view kArchiveErrorTitle = "Error Archiving Log";
inline constexpr std::string_view kRestoreInfoTitle = "Opening Archived Data Information";
inline constexpr std::string_view kRestoreInfoText =
    "This action will open an archived log or backup file and creates a working file called log.txt.  If you make any "
    "changes to your archived data that you would like to permanently save, before you click File > New to start a "
    "new contest, be sure to click File > Archive to save your changes.";
inline constexpr std::string_view kRestoreQuestionTitle = "Are your sure?";
inline constexpr std::string_view kRestoreQuestionText =
    "Are you sure that you want to open an archived log?  This action will clear and replace existing QSO data.";
inline constexpr std::string_view kRestoreErrorTitle = "Error Restoring Log";
inline constexpr std::string_view kLogFileFilter = "Log Files (*.log) | *.log";
inline constexpr std::string_view kNewLogTitle = "WARNING - Your existing log file will be ERASED!";
inline constexpr std::string_view kNewLogPrompt =
    "Are you sure that you want to start a new log file?  This function will ERASE the existing log file!\r\n\r\n"
    "To verify that you want to start a new log file, please type: YES";

// A backup is taken only when the log holds contacts and its count differs from the
// count first loaded in this run.
bool backupWanted(int qsoCount, int initialQsoCount);

// New log: the typed answer, in upper case, must be "YES".
bool newLogConfirmed(std::string_view answer);

// "yyyymmddhhnn.log" of a local date and time.
std::string backupFileName(const DateTime& local);

// The path of a new backup in `folder`: "yyyymmddhhnn.log", or when that is taken
// "yyyymmddhhnn-2.log", "-3" and so on, so that no backup overwrites another.
std::string freeBackupPath(const std::string& folder, const DateTime& local);

// Archive's proposed file name: the call-file stem, the local date "yyyy-mm-dd", ".log".
std::string archiveFileName(std::string_view callFileStem, const DateTime& local);

// The backup folder as it is on disk: when `folder` does not exist but its parent holds
// a folder whose name differs only in letter case, that one; otherwise `folder`.
std::string existingBackupFolder(const std::string& folder);

struct BackupResult {
    enum class Status { NotNeeded, Written, Failed };
    Status status = Status::NotNeeded;
    std::string path;  // Written: the backup file
    std::string error; // Failed: the system's description
};

// Backup: when wanted, creates the folder if missing and copies the log into a new
// backup file. The program reports no failure to the operator; the result is for tests.
BackupResult backupLog(const std::string& logPath, const std::string& backupFolder, const DateTime& local, int qsoCount,
                       int initialQsoCount);

// The same copy without the "has the log changed" rule.
BackupResult backupLogNow(const std::string& logPath, const std::string& backupFolder, const DateTime& local);

struct RestoreResult {
    enum class Status { Restored, Unreadable, NotALog, BackupFailed, WriteFailed };
    Status status = Status::Restored;
    std::string error;      // the system's description, or what is wrong in the file
    int errorLine = 0;      // NotALog: the first faulty line
    std::string backupPath; // the backup taken of the working log, if any
};

// Restore: reads and parses the chosen file first; a file that cannot be read or does
// not parse as a log is refused and the working log stays. Otherwise a working log that
// holds contacts (workingQsoCount > 0, and the file is there) is backed up (if that fails, nothing is replaced),
// and then the chosen bytes replace the working log atomically. The caller then reloads.
RestoreResult restoreLog(const std::string& chosenPath, const std::string& logPath, const std::string& backupFolder,
                         const DateTime& local, int workingQsoCount);

} // namespace corvane
