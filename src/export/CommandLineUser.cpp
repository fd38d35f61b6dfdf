// The command line with the user's own settings store.

#include "export/CommandLine.h"

namespace corvane {

std::optional<int> runCommandLine(int argc, char** argv, std::ostream& out, std::ostream& err) {
    CommandLineEnvironment environment;
    environment.openSettings = [](const std::string& iniPath) {
        return iniPath.empty() ? makeUserSettingsStore() : makeFileSettingsStore(iniPath);
    };
    environment.exportDateText = localDateTimeText;
    return runCommandLine(argc, argv, out, err, environment);
}

} // namespace corvane
