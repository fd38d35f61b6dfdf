#include "log/WorkingFolder.h"

#include "core/DurableFile.h"

namespace corvane {

const std::vector<std::string>& workingFolderFiles() {
    static const std::vector<std::string> files = {"log.txt", "cvnpref.txt", "wave2.txt", "cw.txt", "readCVN.txt"};
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
    return {SeedResult::Seeded, {}};
}

} // namespace corvane
