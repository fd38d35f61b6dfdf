#pragma once
// The contact list as tab-separated text for the clipboard.

#include <string>
#include <vector>

namespace corvane {

// The headers joined by TAB, then the listed rows from the bottom row of the list to the
// top one (oldest listed contact first), each joined by TAB; every line ends with CR LF.
// `rowsTopDown` holds the rows as the list shows them, top row first.
std::string buildListClipboardText(const std::vector<std::string>& headers,
                                   const std::vector<std::vector<std::string>>& rowsTopDown);

} // namespace corvane
