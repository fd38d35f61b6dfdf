#include "export/ClipboardText.h"

namespace corvane {

namespace {

void appendRow(std::string& out, const std::vector<std::string>& cells) {
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) {
            out.push_back('\t');
        }
        out.append(cells[i]);
    }
    out.append("\r\n");
}

} // namespace

std::string buildListClipboardText(const std::vector<std::string>& headers,
                                   const std::vector<std::vector<std::string>>& rowsTopDown) {
    std::string out;
    appendRow(out, headers);
    for (auto row = rowsTopDown.rbegin(); row != rowsTopDown.rend(); ++row) {
        appendRow(out, *row);
    }
    return out;
}

} // namespace corvane
