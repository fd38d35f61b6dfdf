#pragma once
// The headless commands: write the Cabrillo or ADIF file or the contest report, print the
// score or check the log without opening a window. They work on log.txt and cvnpref.txt in the current folder.

#include "core/DurableFile.h"
#include "core/SettingsStore.h"
#include "report/Scene.h"

#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

struct CommandLineEnvironment {
    // Opens the per-user settings store; a non-empty path names an INI file to use instead.
    std::function<std::unique_ptr<SettingsStore>(const std::string& iniPath)> openSettings;
    // The local date and time written in the ADIF header.
    std::function<std::string()> exportDateText;
    // corvane history: runs with the arguments after the command name and gives the exit status.
    std::function<int(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)> history;
    // The coastline file of the report's map, "" when none is installed. Left empty, it is
    // looked for beside the program (see report/Coastlines.h).
    std::function<std::string()> coastlineFile;
    // Draws a picture of the report into a PNG file, complete or not at all. Left empty,
    // report --png says that pictures cannot be drawn.
    std::function<FileResult(const Scene& picture, const std::string& path)> writePicture;
};

enum class CommandLineExit : int { Done = 0, Failed = 1, Usage = 2 };

// True when the argument names one of the commands (or asks for help).
bool isCommandLineCommand(std::string_view argument);

std::string commandLineHelp();

// True when the arguments ask for the windows with --desktop: the working folder is then the
// per-user contest folder instead of the current one.
bool desktopStart(int argc, char** argv);

// The local date and time now, "yyyy-mm-dd hh:mm:ss".
std::string localDateTimeText();

// Runs the command named by argv[1] and returns its exit status: 0 done, 1 a file missing,
// damaged or not written, 2 wrong usage. nullopt when the arguments ask for the windows: none
// at all, or only the window toolkit's own options (-platform NAME, -style NAME, -reverse
// ...). Any other argument -- an unknown command or option -- prints what is wrong and the
// usage to `err` and gives 2. A file is written complete or not at all.
std::optional<int> runCommandLine(int argc, char** argv, std::ostream& out, std::ostream& err,
                                  const CommandLineEnvironment& environment);

// The same with the user's settings store and the clock (built with the Qt platform code).
std::optional<int> runCommandLine(int argc, char** argv, std::ostream& out, std::ostream& err);

// For arguments that ask for the windows: the one line to print (and then end with status 1)
// when there is no display to show them on; nullopt when there is one. A display is there
// when DISPLAY or WAYLAND_DISPLAY is set, or when the toolkit's platform (-platform or
// QT_QPA_PLATFORM) is one that needs none, such as offscreen; the X11 platform "xcb" needs
// DISPLAY (or -display). `environment` gives a variable's value, empty when it is not set.
std::optional<std::string> noDisplayMessage(int argc, char** argv,
                                            const std::function<std::string(const char* name)>& environment);

// The one line to print (and then end with status 1) when the display named (DISPLAY, or
// empty when none is named) is set but cannot be opened: no X server answers there.
std::string displayFailedMessage(const std::string& display);

} // namespace corvane
