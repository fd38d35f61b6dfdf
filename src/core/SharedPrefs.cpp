#include "core/SharedPrefs.h"

#include <algorithm>

namespace corvane {

void SharedPrefs::load(const std::string& path) {
    m_path = path;
    auto bytes = readWholeFile(path);
    if (!bytes) {
        m_buffer = std::string(kHeader);
        return;
    }
    // The file was saved with a line end after the buffer; take it off again.
    m_buffer = bytes->size() >= 2 ? bytes->substr(0, bytes->size() - 2) : std::string();
}

FileResult SharedPrefs::set(std::string_view tagIn, std::string_view value, bool save) {
    std::string tag(tagIn);
    std::transform(tag.begin(), tag.end(), tag.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    const std::string open = "<" + tag + ">";
    const std::string close = "</" + tag + ">";
    const auto start = m_buffer.find(open);
    const auto end = start == std::string::npos ? std::string::npos : m_buffer.find(close, start + open.size());
    if (start != std::string::npos && end != std::string::npos) {
        m_buffer.replace(start + open.size(), end - start - open.size(), value);
    } else {
        m_buffer += "\r\n" + open;
        m_buffer += value;
        m_buffer += close;
    }
    if (save) {
        return this->save();
    }
    return {};
}

FileResult SharedPrefs::save() const {
    if (m_path.empty()) {
        return FileResult::failure("no path for the shared preferences document");
    }
    return replaceAtomically(m_path, m_buffer + "\r\n");
}

} // namespace corvane
