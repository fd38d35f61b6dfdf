#pragma once
// SharedUserPreferences.xml: a small document of <TAG>value</TAG> lines kept current for
// other programs on the computer. It is written, never read back for values.

#include "core/DurableFile.h"

#include <string>
#include <string_view>

namespace corvane {

class SharedPrefs {
public:
    static constexpr std::string_view kHeader = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>";

    // Remembers the path and takes the file's text without its final line end, or the
    // header alone when there is no file.
    void load(const std::string& path);
    // Sets <TAG>value</TAG> (the tag upper-cased); saves the document when asked.
    FileResult set(std::string_view tag, std::string_view value, bool save);
    FileResult save() const;

    const std::string& buffer() const { return m_buffer; }
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
    std::string m_buffer{kHeader};
};

} // namespace corvane
