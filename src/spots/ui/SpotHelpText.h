#pragma once
// The help paragraphs the DX spotting setup window shows in its status area when a source
// is chosen, and the texts of the AGW engine's failure message.

#include <string>

namespace corvane::spots {

// The paragraphs for the source ("None" or "" shows them all), separated by blank lines,
// CR LF line ends.
std::string sourceHelpText(const std::string& source);

// Where the engine the AGW source talks to comes from.
inline constexpr const char* kAgwDownloadAddress = "https://github.com/wb2osz/direwolf";

} // namespace corvane::spots
