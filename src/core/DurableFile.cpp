#include "core/DurableFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvane {

namespace {

std::string systemError(int code) {
    return std::strerror(code);
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

} // namespace

FileResult appendDurably(const std::string& path, std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) {
        return FileResult::failure(systemError(errno));
    }
    struct stat before {};
    const bool haveSize = ::fstat(fd, &before) == 0;
    FileResult result = writeAll(fd, bytes);
    if (result.ok && ::fsync(fd) != 0) {
        result = FileResult::failure(systemError(errno));
    }
    if (!result.ok && haveSize) {
        // Take back whatever part of the line reached the file.
        if (::ftruncate(fd, before.st_size) == 0) {
            ::fsync(fd);
        }
    }
    if (::close(fd) != 0 && result.ok) {
        result = FileResult::failure(systemError(errno));
    }
    return result;
}

FileResult replaceAtomically(const std::string& path, std::string_view bytes) {
    const std::string temp = path + ".tmp-" + std::to_string(::getpid());
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        return FileResult::failure(systemError(errno));
    }
    FileResult result = writeAll(fd, bytes);
    if (result.ok && ::fsync(fd) != 0) {
        result = FileResult::failure(systemError(errno));
    }
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
    return result;
}

std::optional<std::string> readWholeFile(const std::string& path, std::string* error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (error) {
            *error = systemError(errno);
        }
        return std::nullopt;
    }
    std::string out;
    char buffer[65536];
    while (true) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            if (error) {
                *error = systemError(errno);
            }
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0) {
            break;
        }
        out.append(buffer, static_cast<std::size_t>(n));
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
