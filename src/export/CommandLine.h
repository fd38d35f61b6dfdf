#pragma once
// The headless commands: write the Cabrillo or ADIF file, print the score or check the log
// without opening a window. They work on log.txt and cvnpref.txt in the current folder.

#include "core/SettingsStore.h"

#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace corvane {

struct CommandLineEnvironment {
    // Opens the per-user settings store; a non-empty path names an INI file to use instead.
    std::function<std::unique_ptr<SettingsStore>(const std::string& iniPath)> openSettings;
    // The local date and time written in the ADIF header.
    std::function<std::string()> exportDateText;
};

enum class CommandLineExit : int { Done = 0, Failed = 1, Usage = 2 };

// True when the argument names one of the commands (or asks for help).
bool isCommandLineCommand(std::string_view argument);

std::string commandLineHelp();

// The local date and time now, "yyyy-mm-dd hh:mm:ss".
std::string localDateTimeText();

// Runs the command named by argv[1] and returns its exit status: 0 done, 1 a file missing,
// damaged or not written, 2 wrong usage. nullopt when argv[1] is not a command, so that the
// program opens its windows instead. A file is written complete or not at all.
std::optional<int> runCommandLine(int argc, char** argv, std::ostream& out, std::ostream& err,
                                  const CommandLineEnvironment& environment);

// The same with the user's settings store and the clock (built with the Qt platform code).
std::optional<int> runCommandLine(int argc, char** argv, std::ostream& out, std::ostream& err);

} // namespace corvane
