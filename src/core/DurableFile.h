#pragma once
// File operations that never leave a half-written file behind: an append that is on
// the disk before it returns, and a whole-file replacement through a synced temporary
// file renamed over the old one. Plain POSIX, no Qt.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace corvane {

struct FileResult {
    bool ok = true;
    std::string error; // the system's description of the failure

    static FileResult failure(std::string text) { return FileResult{false, std::move(text)}; }
};

// One state of a file on disk: which file it is, its length and when it was last written.
// Two equal fingerprints mean nobody wrote the file in between (to the clock's resolution).
struct FileFingerprint {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t sizeBytes = 0;
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0;

    bool operator==(const FileFingerprint&) const = default;
};

// The fingerprint of the file as it is now; nullopt when there is no such file, or when it
// cannot be examined (the reason then goes to *error, which stays empty for a missing file).
std::optional<FileFingerprint> fingerprintOf(const std::string& path, std::string* error = nullptr);

// Appends bytes to the file (created if absent), then flushes and syncs it. On a
// failure the file is cut back to its old length, so it never holds half a line.
// A named pipe, a folder or a socket is refused without waiting on it.
FileResult appendDurably(const std::string& path, std::string_view bytes);

struct AppendOptions {
    bool create = true; // create the file when it is absent (else that is a failure)
    // A file whose last byte is not a line end gets one before the bytes: CR LF, or just the
    // LF when it ends in a lone CR. So a line typed without its end is never glued to the next.
    bool endLastLine = false;
    // Looks at the file just opened, before anything is written to it: an empty text lets the
    // append go on; any other text refuses it, and that text is the result's error.
    std::function<std::string(const FileFingerprint& before)> check;
};

struct AppendReport {
    bool refused = false;      // the check refused: nothing was written
    bool lineEndAdded = false; // a line end went before the bytes
    // A failed append that left the file with exactly its old bytes (nothing reached it, or
    // what did was cut off again); `after` then holds the file as it is now.
    bool restored = false;
    FileFingerprint after; // the file as the append left it (after success, or when restored)
};

FileResult appendDurably(const std::string& path, std::string_view bytes, const AppendOptions& options,
                         AppendReport* report = nullptr);

// Replaces the file with bytes: a temporary file in the same folder is written and
// synced, then renamed over the old file, and the folder is synced. *written receives
// the fingerprint of the new file. A symbolic link stays: the file it leads to is replaced
// (its temporary file goes beside that file).
FileResult replaceAtomically(const std::string& path, std::string_view bytes, FileFingerprint* written = nullptr);

// The temporary file replaceAtomically writes beside `path` in this process:
// "<path>.tmp-<process id>". A crash between writing and renaming leaves it behind.
std::string temporaryPathFor(const std::string& path);

// Whether a file name has the form of such a temporary file of the file `baseName`
// ("cvnpref.txt.tmp-5479" for "cvnpref.txt"): the exact name, ".tmp-" and 1 to 10 digits.
bool isTemporaryNameOf(std::string_view fileName, std::string_view baseName);

// Reads a whole file; nullopt with the reason in *error when it cannot be read. Anything
// but a regular file (a named pipe, a folder, a device) is refused without waiting on it.
// *fingerprint receives the fingerprint of the file that was read.
std::optional<std::string> readWholeFile(const std::string& path, std::string* error = nullptr,
                                         FileFingerprint* fingerprint = nullptr);

// Copies a file durably (the copy is complete or absent).
FileResult copyFileAtomically(const std::string& from, const std::string& to);

bool fileExists(const std::string& path);

} // namespace corvane
