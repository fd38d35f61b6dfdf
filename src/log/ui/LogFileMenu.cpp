#include "log/ui/LogFileMenu.h"

#include "export/Cabrillo.h"
#include "log/score/Backup.h"
#include "platform/Dialogs.h"
#include "core/DurableFile.h"

#include <filesystem>

namespace corvane {

namespace {

QString fromLatin1(std::string_view s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

// The BACKUP folder as it is on disk, made when missing so the dialogs open there.
std::string backupFolderFor(const UserFolders& folders) {
    const std::string folder = existingBackupFolder(folders.backupFolder());
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    return folder;
}

} // namespace

ArchiveOutcome archiveCurrentLog(QWidget* parent, Dialogs& dialogs, const UserFolders& folders,
                                 const std::string& logPath, std::string_view ownCall, const DateTime& local) {
    dialogs.message(parent, fromLatin1(kArchiveInfoTitle), fromLatin1(kArchiveInfoText), MsgButtons::Ok,
                    MsgIcon::Information);
    const std::string folder = backupFolderFor(folders);
    const std::string proposed = folder + "/" + archiveFileName(callFileStem(ownCall), local);
    const auto chosen = dialogs.saveFile(parent, QStringLiteral("Save As"), fromLatin1(proposed),
                                         QString::fromLatin1(kLogFileDialogFilter));
    if (!chosen || chosen->isEmpty()) {
        return ArchiveOutcome::Cancelled;
    }
    std::filesystem::path target(chosen->toLocal8Bit().toStdString());
    if (!target.has_extension()) {
        target += ".log";
    }
    const FileResult copied = copyFileAtomically(logPath, target.string());
    if (!copied.ok) {
        dialogs.message(parent, fromLatin1(kArchiveErrorTitle), fromLatin1(copied.error), MsgButtons::Ok,
                        MsgIcon::Critical);
        return ArchiveOutcome::Failed;
    }
    return ArchiveOutcome::Written;
}

RestoreOutcome restoreFromArchive(QWidget* parent, Dialogs& dialogs, const UserFolders& folders,
                                  const std::string& logPath, const DateTime& local, int workingQsoCount) {
    dialogs.message(parent, fromLatin1(kRestoreInfoTitle), fromLatin1(kRestoreInfoText), MsgButtons::Ok,
                    MsgIcon::Information);
    if (workingQsoCount > 0) {
        const MsgAnswer answer =
            dialogs.message(parent, fromLatin1(kRestoreQuestionTitle), fromLatin1(kRestoreQuestionText),
                            MsgButtons::YesNo, MsgIcon::Question);
        if (answer == MsgAnswer::No) {
            return RestoreOutcome::Declined;
        }
    }
    const std::string folder = backupFolderFor(folders);
    const auto chosen = dialogs.openFile(parent, QStringLiteral("Open"), fromLatin1(folder + "/"),
                                         QString::fromLatin1(kLogFileDialogFilter));
    if (!chosen || chosen->isEmpty()) {
        return RestoreOutcome::Cancelled;
    }
    const std::string chosenPath = chosen->toLocal8Bit().toStdString();
    const RestoreResult result = restoreLog(chosenPath, logPath, folder, local, workingQsoCount);
    switch (result.status) {
    case RestoreResult::Status::Restored:
        return RestoreOutcome::Restored;
    case RestoreResult::Status::NotALog:
        dialogs.message(
            parent, QStringLiteral("File Error"),
            QStringLiteral("Error opening file.  %1 cannot be read as a log (line %2: %3).  In all likelihood, a "
                           "character such as a quote got into the data or one of the entries has an invalid "
                           "date/time format.  The file was not restored: your working log is unchanged.")
                .arg(*chosen)
                .arg(result.errorLine)
                .arg(fromLatin1(result.error)),
            MsgButtons::Ok, MsgIcon::Critical);
        return RestoreOutcome::Refused;
    case RestoreResult::Status::BackupFailed:
        dialogs.message(parent, fromLatin1(kRestoreErrorTitle),
                        QStringLiteral("The working log could not be backed up, so it was not replaced: ") +
                            fromLatin1(result.error),
                        MsgButtons::Ok, MsgIcon::Critical);
        return RestoreOutcome::Failed;
    case RestoreResult::Status::Unreadable:
    case RestoreResult::Status::WriteFailed:
        break;
    }
    dialogs.message(parent, fromLatin1(kRestoreErrorTitle), fromLatin1(result.error), MsgButtons::Ok,
                    MsgIcon::Critical);
    return RestoreOutcome::Failed;
}

} // namespace corvane
