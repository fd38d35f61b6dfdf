#include "app/Startup.h"
#include "export/CommandLine.h"

#include <QApplication>
#include <cstdlib>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    // The headless commands need no display; anything else opens the windows.
    if (const auto status = corvane::runCommandLine(argc, argv, std::cout, std::cerr)) {
        return *status;
    }
    // Without a display the toolkit would abort with a text about its plugins: say it plainly.
    const auto environment = [](const char* name) {
        const char* value = std::getenv(name);
        return std::string(value != nullptr ? value : "");
    };
    if (const auto message = corvane::noDisplayMessage(argc, argv, environment)) {
        std::cerr << *message << "\n";
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Varkel's Corvane Contest Log"));
    return corvane::runProgram(app, corvane::desktopStart(argc, argv));
}
