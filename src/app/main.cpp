#include "log/Startup.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Varkel's Corvane Contest Log"));
    return corvane::runProgram(app);
}
