#pragma once
// Runs the program's own modal windows (station, colours, summary sheet ...). Tests set
// AppContext::runModal to answer a window the moment it opens instead of waiting for it.

class QDialog;

namespace corvane {

struct AppContext;

void runModal(const AppContext& context, QDialog& dialog);

} // namespace corvane
