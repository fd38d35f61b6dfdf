#pragma once
// The per-user folders of the program: <documents>/Varkel Software/Corvane for the
// user's data and backups, <documents>/Varkel Software/Shared for what other programs of
// the maker share. On Linux <documents> is the XDG documents folder, with the XDG data
// folder as the fallback when no documents folder can be had.

#include <functional>
#include <string>

namespace corvane {

// Reports a failure to the operator: title and text of a message box.
using FolderReport = std::function<void(const std::string& title, const std::string& text)>;

// Creates the last folder of the path when it does not exist. An empty path, or a
// failure when showErrors is set, is reported.
bool ensureFolder(const std::string& path, bool showErrors, const FolderReport& report);

struct FolderBases {
    std::string documents; // the user's documents folder (may not exist yet)
    std::string appData;   // the user's application-data folder
};

// Finds (and creates as needed) <base>/<company>/<program>; returns <base>/<company>.
std::string documentsFolderLookup(const FolderBases& bases, const std::string& company, const std::string& program,
                                  const FolderReport& report);

struct UserFolders {
    std::string userDataFolder; // .../Varkel Software/Corvane
    std::string sharedFolder;   // .../Varkel Software/Shared
    std::string backupFolder() const { return userDataFolder + "/BACKUP"; }
};

UserFolders locateUserFolders(const FolderBases& bases, const FolderReport& report);

} // namespace corvane
