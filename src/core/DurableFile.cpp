#include "core/DurableFile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvane {

namespace {

std::string systemError(int code) {
    return std::strerror(code);
}

// What a file that is not a regular file is, for the operator.
std::string notRegularText(mode_t mode) {
    const char* kind = "a special file";
    if (S_ISFIFO(mode)) {
        kind = "a named pipe";
    } else if (S_ISDIR(mode)) {
        kind = "a folder";
    } else if (S_ISCHR(mode)) {
        kind = "a character device";
    } else if (S_ISBLK(mode)) {
        kind = "a block device";
    } else if (S_ISSOCK(mode)) {
        kind = "a socket";
    }
    return std::string("not a regular file (it is ") + kind + ")";
}

// An append may go to a regular file or to a character device (such as /dev/full or
// /dev/null); a pipe, a folder, a socket or a disk is refused.
bool appendable(mode_t mode) {
    return S_ISREG(mode) || S_ISCHR(mode);
}

FileFingerprint fingerprintFrom(const struct stat& st) {
    FileFingerprint f;
    f.device = static_cast<std::uint64_t>(st.st_dev);
    f.inode = static_cast<std::uint64_t>(st.st_ino);
    f.sizeBytes = static_cast<std::int64_t>(st.st_size);
    f.modifiedSeconds = static_cast<std::int64_t>(st.st_mtim.tv_sec);
    f.modifiedNanoseconds = static_cast<std::int64_t>(st.st_mtim.tv_nsec);
    return f;
}

FileResult writeAll(int fd, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return FileResult::failure(systemError(errno));
        }
        done += static_cast<std::size_t>(n);
    }
    return {};
}

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

void syncFolder(const std::string& path) {
    const int dfd = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
}

// Opens for appending without ever waiting on a pipe (O_NONBLOCK), read access too when the
// last byte is to be looked at.
int openForAppend(const std::string& path, bool create, bool readable) {
    const int flags = (readable ? O_RDWR : O_WRONLY) | O_APPEND | O_CLOEXEC | O_NONBLOCK | (create ? O_CREAT : 0);
    int fd = ::open(path.c_str(), flags, 0644);
    if (fd < 0 && readable && errno == EACCES) {
        fd = ::open(path.c_str(), (flags & ~O_RDWR) | O_WRONLY, 0644);
    }
    if (fd >= 0) {
        // Regular files ignore O_NONBLOCK; a device written to should block as usual.
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    }
    return fd;
}

// The line end a file needs before more lines go after it: none when it is empty or ends
// in LF; LF after a lone CR; CR LF otherwise. Empty too when the last byte cannot be read.
std::string_view missingLineEnd(int fd, off_t size) {
    if (size <= 0) {
        return {};
    }
    char last = 0;
    ssize_t n = 0;
    do {
        n = ::pread(fd, &last, 1, size - 1);
    } while (n < 0 && errno == EINTR);
    if (n != 1 || last == '\n') {
        return {};
    }
    return last == '\r' ? std::string_view("\n") : std::string_view("\r\n");
}

} // namespace

std::optional<FileFingerprint> fingerprintOf(const std::string& path, std::string* error) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        if (error) {
            *error = errno == ENOENT ? std::string() : systemError(errno);
        }
        return std::nullopt;
    }
    return fingerprintFrom(st);
}

FileResult appendDurably(const std::string& path, std::string_view bytes) {
    return appendDurably(path, bytes, AppendOptions{});
}

FileResult appendDurably(const std::string& path, std::string_view bytes, const AppendOptions& options,
                         AppendReport* report) {
    AppendReport local;
    AppendReport& out = report ? *report : local;
    out = AppendReport{};
    // Looked at before opening: opening a pipe for writing could wait for a reader.
    struct stat early {};
    if (::stat(path.c_str(), &early) == 0 && !appendable(early.st_mode)) {
        return FileResult::failure(notRegularText(early.st_mode));
    }
    const int fd = openForAppend(path, options.create, options.endLastLine);
    if (fd < 0) {
        return FileResult::failure(systemError(errno));
    }
    struct stat before {};
    if (::fstat(fd, &before) != 0) {
        const int code = errno;
        ::close(fd);
        return FileResult::failure(systemError(code));
    }
    if (!appendable(before.st_mode)) {
        ::close(fd);
        return FileResult::failure(notRegularText(before.st_mode));
    }
    if (options.check) {
        std::string refusal = options.check(fingerprintFrom(before));
        if (!refusal.empty()) {
            ::close(fd);
            out.refused = true;
            return FileResult::failure(std::move(refusal));
        }
    }
    const std::string_view lineEnd =
        options.endLastLine && S_ISREG(before.st_mode) ? missingLineEnd(fd, before.st_size) : std::string_view();
    FileResult result;
    if (!lineEnd.empty()) {
        // One write for the line end and the bytes, so that the two arrive together.
        std::string joined;
        joined.reserve(lineEnd.size() + bytes.size());
        joined.append(lineEnd).append(bytes);
        result = writeAll(fd, joined);
    } else {
        result = writeAll(fd, bytes);
    }
    if (result.ok && ::fsync(fd) != 0 && errno != EINVAL) {
        result = FileResult::failure(systemError(errno));
    }
    struct stat after {};
    if (!result.ok && S_ISREG(before.st_mode)) {
        // Take back whatever part of the line reached the file. A file that took nothing is
        // left alone: cutting it would change its time of writing for no reason.
        const bool grew = ::fstat(fd, &after) != 0 || after.st_size != before.st_size;
        if (!grew || (::ftruncate(fd, before.st_size) == 0 && ::fsync(fd) == 0)) {
            out.restored = ::fstat(fd, &after) == 0 && after.st_size == before.st_size;
            if (out.restored) {
                out.after = fingerprintFrom(after);
            }
        }
    }
    if (result.ok && ::fstat(fd, &after) == 0) {
        out.after = fingerprintFrom(after);
    }
    if (::close(fd) != 0 && result.ok) {
        result = FileResult::failure(systemError(errno));
    }
    out.lineEndAdded = result.ok && !lineEnd.empty();
    return result;
}

std::string temporaryPathFor(const std::string& path) {
    return path + ".tmp-" + std::to_string(::getpid());
}

bool isTemporaryNameOf(std::string_view fileName, std::string_view baseName) {
    constexpr std::string_view kMark = ".tmp-";
    if (baseName.empty() || fileName.size() <= baseName.size() + kMark.size() || !fileName.starts_with(baseName)) {
        return false;
    }
    fileName.remove_prefix(baseName.size());
    if (!fileName.starts_with(kMark)) {
        return false;
    }
    fileName.remove_prefix(kMark.size());
    if (fileName.size() > 10) {
        return false;
    }
    for (const char c : fileName) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

namespace {

// The file a whole-file write replaces: the path itself, or, for a symbolic link, the file it
// leads to (renaming over the link would put a plain file in its place and leave the target
// behind). Empty with *error set when the link leads nowhere.
std::string replacedFile(const std::string& path, std::string* error) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
        return path;
    }
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr) {
        *error = "it is a link whose target cannot be reached: " + systemError(errno);
        return {};
    }
    std::string target(resolved);
    std::free(resolved);
    return target;
}

} // namespace

FileResult replaceAtomically(const std::string& linkOrPath, std::string_view bytes, FileFingerprint* written) {
    std::string error;
    const std::string path = replacedFile(linkOrPath, &error);
    if (path.empty()) {
        return FileResult::failure(error);
    }
    const std::string temp = temporaryPathFor(path);
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0) {
        return FileResult::failure(systemError(errno));
    }
    FileResult result = writeAll(fd, bytes);
    if (result.ok && ::fsync(fd) != 0) {
        result = FileResult::failure(systemError(errno));
    }
    // The renamed file keeps its inode, length and time of writing.
    struct stat st {};
    const bool haveStat = result.ok && ::fstat(fd, &st) == 0;
    if (::close(fd) != 0 && result.ok) {
        result = FileResult::failure(systemError(errno));
    }
    if (result.ok && ::rename(temp.c_str(), path.c_str()) != 0) {
        result = FileResult::failure(systemError(errno));
    }
    if (!result.ok) {
        ::unlink(temp.c_str());
        return result;
    }
    syncFolder(path);
    if (written) {
        if (haveStat) {
            *written = fingerprintFrom(st);
        } else if (const auto now = fingerprintOf(path)) {
            *written = *now;
        }
    }
    return result;
}

std::optional<std::string> readWholeFile(const std::string& path, std::string* error, FileFingerprint* fingerprint) {
    const auto fail = [error](std::string text) -> std::optional<std::string> {
        if (error) {
            *error = std::move(text);
        }
        return std::nullopt;
    };
    // O_NONBLOCK: opening a named pipe must not wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        return fail(systemError(errno));
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int code = errno;
        ::close(fd);
        return fail(systemError(code));
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return fail(notRegularText(st.st_mode));
    }
    std::string out;
    if (st.st_size > 0) {
        out.reserve(static_cast<std::size_t>(st.st_size));
    }
    char buffer[65536];
    while (true) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int code = errno;
            ::close(fd);
            return fail(systemError(code));
        }
        if (n == 0) {
            break;
        }
        out.append(buffer, static_cast<std::size_t>(n));
    }
    if (fingerprint) {
        // The state before reading: a write during the read makes the file differ from it.
        *fingerprint = fingerprintFrom(st);
    }
    ::close(fd);
    return out;
}

FileResult copyFileAtomically(const std::string& from, const std::string& to) {
    std::string error;
    auto bytes = readWholeFile(from, &error);
    if (!bytes) {
        return FileResult::failure(error);
    }
    return replaceAtomically(to, *bytes);
}

bool fileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

} // namespace corvane
