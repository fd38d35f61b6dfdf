// The command line with the user's own settings store, and the report's pictures drawn as PNG.

#include "core/Clock.h"
#include "export/CommandLine.h"
#include "export/ui/ExportActions.h"
#include "history/HistoryCommand.h"
#include "platform/QtSettingsStore.h"
#include "report/ui/ScenePainter.h"

#include <QGuiApplication>
#include <memory>

namespace corvane {

std::optional<int> runCommandLine(int argc, char** argv, std::ostream& out, std::ostream& err) {
    CommandLineEnvironment environment;
    environment.openSettings = [](const std::string& iniPath) {
        return iniPath.empty() ? makeUserSettingsStore() : makeFileSettingsStore(iniPath);
    };
    // The same date text as the window writes, in the desktop's short format.
    environment.exportDateText = [] { return exportDateText(SystemClock()).toLatin1().toStdString(); };
    environment.history = runHistoryCommand;
    // Text needs the toolkit's fonts: a window-less application, made for the first picture.
    int guiArgc = 3;
    char program[] = "corvane";
    char platformOption[] = "-platform";
    char platform[] = "offscreen";
    char* guiArgv[] = {program, platformOption, platform, nullptr};
    std::unique_ptr<QGuiApplication> gui;
    environment.writePicture = [&](const Scene& picture, const std::string& path) {
        if (QCoreApplication::instance() == nullptr) {
            gui = std::make_unique<QGuiApplication>(guiArgc, guiArgv);
        }
        return writeScenePng(picture, path);
    };
    return runCommandLine(argc, argv, out, err, environment);
}

} // namespace corvane
