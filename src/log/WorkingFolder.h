#pragma once
// The working folder: the current directory at start, where the log and the settings
// files live. A folder that holds none of them is new, and is seeded once from the
// default files shipped with the program.

#include <string>
#include <vector>

namespace corvane {

// The files that make a working folder.
const std::vector<std::string>& workingFolderFiles();

enum class SeedResult { AlreadyPrepared, Seeded, Failed };

struct SeedOutcome {
    SeedResult result = SeedResult::AlreadyPrepared;
    std::string error;
};

// Copies the default files into a folder that has none of the working files yet; a
// folder with some of them is left alone (missing files there are reported by start-up).
SeedOutcome seedWorkingFolder(const std::string& folder, const std::string& defaultsFolder);

} // namespace corvane
