#pragma once
// What the windows are given instead of reaching for the desktop themselves: the dialog,
// clock and settings seams, the folders, and how to end the program at once.

#include "log/station/Folders.h"
#include "log/station/SharedPrefs.h"

#include <functional>
#include <string>

namespace corvane {

class Dialogs;
class Clock;
class SettingsStore;

struct AppContext {
    Dialogs& dialogs;
    Clock& clock;
    SettingsStore& settings;
    SharedPrefs& sharedPrefs;
    std::string workingDirectory;
    UserFolders folders;
    // Ends the program at once with the exit status (a damaged log file).
    std::function<void(int)> terminate;

    std::string workingFile(const std::string& name) const { return workingDirectory + "/" + name; }
};

} // namespace corvane
