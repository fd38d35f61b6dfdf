#include "core/UserFolders.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace corvane {

namespace {

bool isFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Creates the folder and any missing parents, quietly.
bool ensureFolderPath(const std::string& path) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        ::mkdir(path.substr(0, slash).c_str(), 0755);
    }
    return ::mkdir(path.c_str(), 0755) == 0 || isFolder(path);
}

} // namespace

bool ensureFolder(const std::string& path, bool showErrors, const FolderReport& report) {
    if (path.empty()) {
        report("Unable to Create Directory", "Invalid Path");
        return false;
    }
    if (isFolder(path)) {
        return true;
    }
    if (::mkdir(path.c_str(), 0755) != 0 && !isFolder(path)) {
        if (showErrors) {
            report("Unable to create directory.", path + "  " + std::strerror(errno));
        }
        return false;
    }
    return true;
}

std::string documentsFolderLookup(const FolderBases& bases, const std::string& company, const std::string& program,
                                  const FolderReport& report) {
    const std::string c = "/" + company;
    const std::string p = "/" + program;
    if (!bases.documents.empty()) {
        if (!isFolder(bases.documents)) {
            ensureFolderPath(bases.documents);
        }
        if (isFolder(bases.documents)) {
            const bool made =
                ensureFolder(bases.documents + c, true, report) && ensureFolder(bases.documents + c + p, true, report);
            if (made) {
                return bases.documents + c;
            }
            report("User Access Directory Error", "The folder " + bases.documents + c + p +
                                                      " cannot be used; the application-data folder is used instead.");
        }
    }
    ensureFolderPath(bases.appData);
    ensureFolder(bases.appData + c, true, report);
    ensureFolder(bases.appData + c + p, true, report);
    return bases.appData + c;
}

UserFolders locateUserFolders(const FolderBases& bases, const FolderReport& report) {
    UserFolders folders;
    folders.userDataFolder = documentsFolderLookup(bases, "Varkel Software", "Corvane", report) + "/Corvane";
    folders.sharedFolder = documentsFolderLookup(bases, "Varkel Software", "Shared", report) + "/Shared";
    return folders;
}

} // namespace corvane
