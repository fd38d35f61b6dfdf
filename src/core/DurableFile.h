#pragma once
// File operations that never leave a half-written file behind: an append that is on
// the disk before it returns, and a whole-file replacement through a synced temporary
// file renamed over the old one. Plain POSIX, no Qt.

#include <optional>
#include <string>
#include <string_view>

namespace corvane {

struct FileResult {
    bool ok = true;
    std::string error; // the system's description of the failure

    static FileResult failure(std::string text) { return FileResult{false, std::move(text)}; }
};

// Appends bytes to the file (created if absent), then flushes and syncs it. On a
// failure the file is cut back to its old length, so it never holds half a line.
FileResult appendDurably(const std::string& path, std::string_view bytes);

// Replaces the file with bytes: a temporary file in the same folder is written and
// synced, then renamed over the old file, and the folder is synced.
FileResult replaceAtomically(const std::string& path, std::string_view bytes);

// Reads a whole file; nullopt with the reason in *error when it cannot be read.
std::optional<std::string> readWholeFile(const std::string& path, std::string* error = nullptr);

// Copies a file durably (the copy is complete or absent).
FileResult copyFileAtomically(const std::string& from, const std::string& to);

bool fileExists(const std::string& path);

} // namespace corvane
