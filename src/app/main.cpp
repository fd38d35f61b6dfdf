#include "app/Startup.h"
#include "export/CommandLine.h"

#include <QApplication>
#include <iostream>

int main(int argc, char** argv) {
    // The headless commands need no display; anything else opens the windows.
    if (const auto status = corvane::runCommandLine(argc, argv, std::cout, std::cerr)) {
        return *status;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Varkel's Corvane Contest Log"));
    return corvane::runProgram(app);
}
