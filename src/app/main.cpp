#include "app/Startup.h"
#include "export/CommandLine.h"

#include <QApplication>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

namespace {

// While the toolkit connects to the display, its messages wait here: when the connection
// fails (a DISPLAY whose server is not running) the toolkit would print several lines about
// its plugins and abort; the operator gets one line and status 1 instead.
QtMessageHandler g_usualHandler = nullptr;
std::vector<std::pair<QtMsgType, QString>> g_heldMessages;

void whileConnecting(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg) {
        const char* display = std::getenv("DISPLAY");
        std::cerr << corvane::displayFailedMessage(display != nullptr ? display : "") << std::endl;
        std::_Exit(1);
    }
    g_heldMessages.emplace_back(type, message);
}

} // namespace

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
    g_usualHandler = qInstallMessageHandler(whileConnecting);
    QApplication app(argc, argv);
    qInstallMessageHandler(g_usualHandler);
    for (const auto& [type, message] : g_heldMessages) {
        // Connected after all: what the toolkit said meanwhile goes out as usual.
        qt_message_output(type, QMessageLogContext(), message);
    }
    g_heldMessages.clear();
    QApplication::setApplicationName(QStringLiteral("Varkel's Corvane Contest Log"));
    return corvane::runProgram(app, corvane::desktopStart(argc, argv));
}
