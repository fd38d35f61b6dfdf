#pragma once
// The first phase of start-up, before the main window exists: the working folder, the
// logo, the per-user folders and the shared document; then the main window loads.

class QApplication;

namespace corvane {

int runProgram(QApplication& app);

} // namespace corvane
