#pragma once
// The first phase of start-up, before the main window exists: the working folder, the
// logo, the per-user folders and the shared document; then the main window loads.

class QApplication;

namespace corvane {

// `desktop`: started from the desktop's menu, in the per-user contest folder
// (<documents>/Varkel Software/Corvane/Contest, made when missing) instead of the current folder.
int runProgram(QApplication& app, bool desktop = false);

} // namespace corvane
