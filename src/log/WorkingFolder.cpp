#include "log/WorkingFolder.h"

#include "core/DurableFile.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <limits>
#include <sys/stat.h>

namespace corvane {

const std::vector<std::string>& workingFolderFiles() {
    static const std::vector<std::string> files = {"log.txt", "cvnpref.txt", "wave2.txt",
                                                   "cw.txt",  "readCVN.txt", "BandPlan.txt"};
    return files;
}

const std::vector<std::string>& optionalWorkingFolderFiles() {
    static const std::vector<std::string> files = {"Call.wav", "Grid.wav", "Dupe.wav", "NavEn.wav", "NavDis.wav"};
    return files;
}

SeedOutcome seedWorkingFolder(const std::string& folder, const std::string& defaultsFolder) {
    for (const auto& name : workingFolderFiles()) {
        if (fileExists(folder + "/" + name)) {
            return {};
        }
    }
    for (const auto& name : workingFolderFiles()) {
        const FileResult copied = copyFileAtomically(defaultsFolder + "/" + name, folder + "/" + name);
        if (!copied.ok) {
            return {SeedResult::Failed, defaultsFolder + "/" + name + ": " + copied.error};
        }
    }
    for (const auto& name : optionalWorkingFolderFiles()) {
        if (fileExists(defaultsFolder + "/" + name)) {
            copyFileAtomically(defaultsFolder + "/" + name, folder + "/" + name); // quiet without them
        }
    }
    return {SeedResult::Seeded, {}};
}

} // namespace corvane

namespace corvane {

const std::vector<std::string>& workingFolderWrittenFiles() {
    static const std::vector<std::string> files = {"log.txt",      "cvnpref.txt",  "wave2.txt",
                                                   "cw.txt",       "readCVN.txt",  "WK.txt",
                                                   "RigCntrl.txt", "PackSpot.txt", "BandPlan.txt"};
    return files;
}

namespace {

// The process id at the end of a temporary file name.
long processIdOf(const std::string& name) {
    const auto dash = name.rfind('-');
    return dash == std::string::npos ? -1 : std::strtol(name.c_str() + dash + 1, nullptr, 10);
}

bool processRunning(long pid) {
    if (pid <= 0 || pid > std::numeric_limits<pid_t>::max()) {
        return false;
    }
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

bool isBackupTemporary(const std::string& name) {
    constexpr std::size_t kStampDigits = 12; // yyyymmddhhnn
    if (name.size() <= kStampDigits) {
        return false;
    }
    for (std::size_t i = 0; i < kStampDigits; ++i) {
        if (name[i] < '0' || name[i] > '9') {
            return false;
        }
    }
    return isTemporaryNameOf(name, name.substr(0, kStampDigits) + ".log");
}

template <typename Matches>
LeftoverReport removeMatching(const std::string& folder, Matches matches, bool spareRunningProcesses) {
    LeftoverReport report;
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return report;
    }
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(dir)) {
        std::string name = entry->d_name;
        if (matches(name)) {
            names.push_back(std::move(name));
        }
    }
    ::closedir(dir);
    for (const std::string& name : names) {
        const std::string path = folder + "/" + name;
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
            continue; // a link, a folder or anything else of that name is not ours
        }
        if (spareRunningProcesses && processRunning(processIdOf(name))) {
            continue;
        }
        if (::unlink(path.c_str()) == 0) {
            report.removed.push_back(name);
        } else {
            report.failed.push_back(name + ": " + std::strerror(errno));
        }
    }
    return report;
}

} // namespace

LeftoverReport removeWorkingFolderLeftovers(const std::string& folder) {
    const auto matches = [](const std::string& name) {
        const auto& files = workingFolderWrittenFiles();
        return std::any_of(files.begin(), files.end(),
                           [&name](const std::string& file) { return isTemporaryNameOf(name, file); });
    };
    return removeMatching(folder, matches, false);
}

LeftoverReport removeBackupLeftovers(const std::string& backupFolder) {
    return removeMatching(backupFolder, isBackupTemporary, true);
}

} // namespace corvane
