#include "log/score/Backup.h"

#include "core/DurableFile.h"
#include "core/TextCase.h"
#include "log/ContactLog.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace corvane {

namespace fs = std::filesystem;

namespace {

std::string backupStem(const DateTime& local) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d%02d%02d%02d%02d", local.year, local.month, local.day, local.hour,
                  local.minute);
    return buffer;
}

bool pathTaken(const fs::path& path) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

} // namespace

bool backupWanted(int qsoCount, int initialQsoCount) {
    return qsoCount > 0 && qsoCount != initialQsoCount;
}

bool newLogConfirmed(std::string_view answer) {
    return equalsIgnoringCase(answer, "YES");
}

std::string backupFileName(const DateTime& local) {
    return backupStem(local) + ".log";
}

std::string freeBackupPath(const std::string& folder, const DateTime& local) {
    const std::string stem = backupStem(local);
    fs::path path = fs::path(folder) / (stem + ".log");
    for (int n = 2; pathTaken(path); ++n) {
        path = fs::path(folder) / (stem + "-" + std::to_string(n) + ".log");
    }
    return path.string();
}

std::string archiveFileName(std::string_view callFileStem, const DateTime& local) {
    return std::string(callFileStem) + formatDateDash(local) + ".log";
}

std::string existingBackupFolder(const std::string& folder) {
    std::error_code ec;
    const fs::path wanted(folder);
    if (fs::is_directory(wanted, ec)) {
        return folder;
    }
    const fs::path parent = wanted.parent_path().empty() ? fs::path(".") : wanted.parent_path();
    const std::string name = wanted.filename().string();
    for (fs::directory_iterator it(parent, ec), end; !ec && it != end; it.increment(ec)) {
        if (it->is_directory(ec) && equalsIgnoringCase(it->path().filename().string(), name)) {
            return (wanted.parent_path() / it->path().filename()).string();
        }
    }
    return folder;
}

BackupResult backupLogNow(const std::string& logPath, const std::string& backupFolder, const DateTime& local) {
    BackupResult result;
    const std::string folder = existingBackupFolder(backupFolder);
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) {
        result.status = BackupResult::Status::Failed;
        result.error = ec.message();
        return result;
    }
    const std::string path = freeBackupPath(folder, local);
    const FileResult copied = copyFileAtomically(logPath, path);
    if (!copied.ok) {
        result.status = BackupResult::Status::Failed;
        result.error = copied.error;
        return result;
    }
    result.status = BackupResult::Status::Written;
    result.path = path;
    return result;
}

BackupResult backupLog(const std::string& logPath, const std::string& backupFolder, const DateTime& local, int qsoCount,
                       int initialQsoCount) {
    if (!backupWanted(qsoCount, initialQsoCount)) {
        return {};
    }
    return backupLogNow(logPath, backupFolder, local);
}

RestoreResult restoreLog(const std::string& chosenPath, const std::string& logPath, const std::string& backupFolder,
                         const DateTime& local, int workingQsoCount) {
    RestoreResult result;
    std::string error;
    const auto bytes = readWholeFile(chosenPath, &error);
    if (!bytes) {
        result.status = RestoreResult::Status::Unreadable;
        result.error = error;
        return result;
    }
    const LogParseResult parsed = parseLog(*bytes, ContactLog::kCapacity);
    if (!parsed.ok) {
        result.status = RestoreResult::Status::NotALog;
        result.error = parsed.problem;
        result.errorLine = parsed.errorLine;
        return result;
    }
    // A working log file that is gone has nothing left to keep.
    if (workingQsoCount > 0 && fileExists(logPath)) {
        const BackupResult backup = backupLogNow(logPath, backupFolder, local);
        if (backup.status != BackupResult::Status::Written) {
            result.status = RestoreResult::Status::BackupFailed;
            result.error = backup.error;
            return result;
        }
        result.backupPath = backup.path;
    }
    const FileResult written = replaceAtomically(logPath, *bytes);
    if (!written.ok) {
        result.status = RestoreResult::Status::WriteFailed;
        result.error = written.error;
        return result;
    }
    result.status = RestoreResult::Status::Restored;
    return result;
}

} // namespace corvane
