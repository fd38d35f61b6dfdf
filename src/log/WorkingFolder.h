#pragma once
// The working folder: the current directory at start, where the log and the settings
// files live. A folder that holds none of them is new, and is seeded once from the
// default files shipped with the program.

#include <string>
#include <vector>

namespace corvane {

// The files that make a working folder.
const std::vector<std::string>& workingFolderFiles();
// Files a new working folder also gets when the defaults have them (the voice prompts); the
// program runs without them.
const std::vector<std::string>& optionalWorkingFolderFiles();

enum class SeedResult { AlreadyPrepared, Seeded, Failed };

struct SeedOutcome {
    SeedResult result = SeedResult::AlreadyPrepared;
    std::string error;
};

// Copies the default files into a folder that has none of the working files yet; a
// folder with some of them is left alone (missing files there are reported by start-up).
SeedOutcome seedWorkingFolder(const std::string& folder, const std::string& defaultsFolder);

} // namespace corvane

namespace corvane {

// Every file the program replaces whole in a working folder. Each is written through a
// temporary file "<name>.tmp-<process id>" beside it, which a crash at the wrong moment
// leaves behind.
const std::vector<std::string>& workingFolderWrittenFiles();

struct LeftoverReport {
    std::vector<std::string> removed; // file names
    std::vector<std::string> failed;  // "name: reason"
};

// Removes from the working folder the temporary files of interrupted rewrites: regular
// files named exactly "<name>.tmp-<digits>" for a name of workingFolderWrittenFiles().
// Nothing else is touched. Call it only while holding the folder's WorkingFolderLock, so
// that no other copy can be in the middle of a rewrite there.
LeftoverReport removeWorkingFolderLeftovers(const std::string& folder);

// The same in the BACKUP folder for backup copies ("201212292315.log.tmp-5479"). That folder
// is shared by the copies running in other working folders, so a file whose process is
// still running is left alone.
LeftoverReport removeBackupLeftovers(const std::string& backupFolder);

} // namespace corvane
