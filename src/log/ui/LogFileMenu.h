#pragma once
// File > "Archive Current &Log" and File > "&Restore from Archive or Backup": copies of
// log.txt kept as .log files in the BACKUP folder, made and brought back with the
// operator's file dialogs and every message on the way.

#include "core/DateTime.h"
#include "core/UserFolders.h"

#include <string>
#include <string_view>

class QWidget;

namespace corvane {

class Dialogs;

inline constexpr const char* kArchiveMenuText = "Archive Current &Log";
inline constexpr const char* kRestoreMenuText = "&Restore from Archive or Backup";
inline constexpr const char* kLogFileDialogFilter = "Log Files (*.log)";

enum class ArchiveOutcome { Written, Cancelled, Failed };

// Archive: the information box, the save dialog in the BACKUP folder proposing
// <call stem><yyyy-mm-dd>.log (a name without extension gets ".log"), and a durable
// copy of log.txt there. A failure shows "Error Archiving Log"; a cancel shows nothing.
ArchiveOutcome archiveCurrentLog(QWidget* parent, Dialogs& dialogs, const UserFolders& folders,
                                 const std::string& logPath, std::string_view ownCall, const DateTime& local);

enum class RestoreOutcome { Restored, Declined, Cancelled, Refused, Failed };

// Restore: the information box; when the working log holds contacts, "Are your sure?"
// (No ends here); the open dialog in the BACKUP folder; then the chosen file replaces
// log.txt. The file is parsed first: one that is not a log is refused with a "File
// Error" box and the working log stays as it is. A working log with contacts is backed
// up before it is replaced. Restored means the caller must reload the log.
RestoreOutcome restoreFromArchive(QWidget* parent, Dialogs& dialogs, const UserFolders& folders,
                                  const std::string& logPath, const DateTime& local, int workingQsoCount);

} // namespace corvane
