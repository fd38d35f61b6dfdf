// The command line with the user's own settings store.

#include "core/Clock.h"
#include "export/CommandLine.h"
#include "export/ui/ExportActions.h"
#include "history/HistoryCommand.h"
#include "platform/QtSettingsStore.h"

namespace corvane {

std::optional<int> runCommandLine(int argc, char** argv, std::ostream& out, std::ostream& err) {
    CommandLineEnvironment environment;
    environment.openSettings = [](const std::string& iniPath) {
        return iniPath.empty() ? makeUserSettingsStore() : makeFileSettingsStore(iniPath);
    };
    // The same date text as the window writes, in the desktop's short format.
    environment.exportDateText = [] { return exportDateText(SystemClock()).toLatin1().toStdString(); };
    environment.history = runHistoryCommand;
    return runCommandLine(argc, argv, out, err, environment);
}

} // namespace corvane
