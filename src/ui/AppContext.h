#pragma once
// What the windows are given instead of reaching for the desktop themselves: the dialog,
// clock and settings seams, the folders, and how to end the program at once.

#include "core/SharedPrefs.h"
#include "core/UserFolders.h"

#include <functional>
#include <string>

class QDialog;

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
    // Ends the program with the exit status (File > Exit, a damaged log file). The main
    // window has shut every feature down before it calls this.
    std::function<void(int)> terminate;
    // Runs a modal window of the program's own; exec() when empty (see ui/ModalWindows.h).
    std::function<void(QDialog&)> runModal = {};

    std::string workingFile(const std::string& name) const { return workingDirectory + "/" + name; }
};

} // namespace corvane
