#include "app/Startup.h"

#include "app/MainWindow.h"
#include "core/Clock.h"
#include "log/WorkingFolder.h"
#include "log/WorkingFolderLock.h"
#include "log/ui/LogoWindow.h"
#include "platform/Dialogs.h"
#include "platform/ExitSignals.h"
#include "platform/Folders.h"
#include "platform/QtSettingsStore.h"
#include "ui/AppContext.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdlib>
#include <filesystem>
#include <optional>

namespace corvane {

namespace {

// The default files of a new working folder: where the CORVANE_DATA_DIR environment variable
// points, else beside the program (a build), else in the installed share folder.
std::string defaultsFolder() {
    if (const char* dir = std::getenv("CORVANE_DATA_DIR"); dir && *dir) {
        return dir;
    }
    const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/data");
    const QString installed = QCoreApplication::applicationDirPath() + QStringLiteral("/../share/corvane/data");
    if (!QFileInfo::exists(beside) && QFileInfo::exists(installed)) {
        return QFileInfo(installed).canonicalFilePath().toStdString();
    }
    return beside.toStdString();
}

// The per-user contest folder becomes the working folder; false (with the reason) when it
// cannot be made or entered, and the current folder stays.
bool enterDesktopFolder(std::string* error) {
    const FolderReport quiet = [](const std::string&, const std::string&) {};
    const std::string folder = locateUserFolders(systemFolderBases(), quiet).userDataFolder + "/Contest";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec || !QDir::setCurrent(QString::fromStdString(folder))) {
        *error = folder + ": " + (ec ? ec.message() : std::string("cannot be entered"));
        return false;
    }
    return true;
}

} // namespace

int runProgram(QApplication& app, bool desktop) {
    QtDialogs dialogs;
    SystemClock clock;
    auto settings = makeUserSettingsStore();
    SharedPrefs sharedPrefs;

    if (std::string error; desktop && !enterDesktopFolder(&error)) {
        dialogs.message(nullptr, QStringLiteral("Contest Folder"),
                        QStringLiteral("The contest folder could not be made, so the current folder is used:\r\n%1")
                            .arg(QString::fromStdString(error)),
                        MsgButtons::Ok, MsgIcon::Warning);
    }

    const std::string workingDirectory = QDir::currentPath().toStdString();
    // One copy per working folder: a second copy would write over the first one's contacts.
    WorkingFolderLock lock(workingDirectory, describeThisProcess());
    if (lock.status() == WorkingFolderLock::Status::Busy) {
        dialogs.message(nullptr, QStringLiteral("Folder In Use"), QString::fromStdString(folderInUseMessage(lock)),
                        MsgButtons::Ok, MsgIcon::Critical);
        return 1;
    }
    if (lock.held()) {
        removeWorkingFolderLeftovers(workingDirectory); // temporary files of an interrupted rewrite
    }
    const SeedOutcome seeded = seedWorkingFolder(workingDirectory, defaultsFolder());

    if (!std::getenv("CORVANE_NO_LOGO")) {
        const FolderReport quiet = [](const std::string&, const std::string&) {};
        const UserFolders early = locateUserFolders(systemFolderBases(), quiet);
        LogoWindow logo(QString::fromStdString(early.sharedFolder + "/splash.jpg"));
        logo.exec();
    }

    const FolderReport report = [&dialogs](const std::string& title, const std::string& text) {
        dialogs.message(nullptr, QString::fromStdString(title), QString::fromStdString(text), MsgButtons::Ok,
                        MsgIcon::Warning);
    };
    const UserFolders folders = locateUserFolders(systemFolderBases(), report);
    sharedPrefs.load(folders.sharedFolder + "/SharedUserPreferences.xml");
    const FolderReport silent = [](const std::string&, const std::string&) {};
    ensureFolder(folders.backupFolder(), false, silent);
    removeBackupLeftovers(folders.backupFolder());

    // Every way out goes through here after the main window shut its features down: the
    // event loop ends (or, during start-up, never starts) and the window is destroyed
    // normally, so no thread or key line outlives it.
    std::optional<int> exitStatus;
    AppContext context{dialogs, clock, *settings, sharedPrefs, workingDirectory, folders, [&exitStatus](int code) {
                           if (!exitStatus) {
                               exitStatus = code;
                           }
                           QCoreApplication::exit(code);
                       }};
    MainWindow window(context);
    ExitSignals exitSignals([&window](int) { window.endProgram(0); });
    window.show();
    if (seeded.result == SeedResult::Seeded) {
        dialogs.message(&window, QStringLiteral("New Contest Folder"),
                        QStringLiteral("This folder held no contest log yet, so a new one was prepared here:\r\n\r\n%1"
                                       "\r\n\r\nThe log (log.txt), the settings and the help text live in this folder. "
                                       "Start the program from this folder to go on with this log.")
                            .arg(QString::fromStdString(workingDirectory)),
                        MsgButtons::Ok, MsgIcon::Information);
    } else if (seeded.result == SeedResult::Failed) {
        dialogs.message(&window, QStringLiteral("New Contest Folder"),
                        QStringLiteral("The default files could not be copied into %1:\r\n%2")
                            .arg(QString::fromStdString(workingDirectory), QString::fromStdString(seeded.error)),
                        MsgButtons::Ok, MsgIcon::Warning);
    }
    window.load();
    if (exitStatus) {
        window.shutdown();
        return *exitStatus;
    }
    const int status = app.exec();
    window.shutdown();
    return exitStatus.value_or(status);
}

} // namespace corvane
