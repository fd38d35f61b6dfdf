#include "log/WorkingFolderLock.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvane {

namespace {

std::string readHolder(int fd) {
    char buffer[512];
    ssize_t n = 0;
    do {
        n = ::pread(fd, buffer, sizeof buffer, 0);
    } while (n < 0 && errno == EINTR);
    if (n <= 0) {
        return {};
    }
    std::string text(buffer, static_cast<std::size_t>(n));
    // One line of printable text; anything else in the file is not ours to show.
    const auto end = text.find_first_of("\r\n");
    if (end != std::string::npos) {
        text.resize(end);
    }
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            c = '?';
        }
    }
    return text;
}

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

} // namespace

WorkingFolderLock::WorkingFolderLock(const std::string& folder, const std::string& description)
    : m_folder(folder), m_path(folder + "/" + kWorkingFolderLockName) {
    // A copy that releases its lock removes the file; one that opened it just before then
    // would lock a file no longer in the folder, so it checks and tries again.
    for (int attempt = 0; attempt < 8; ++attempt) {
        const int fd = ::open(m_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644);
        if (fd < 0) {
            m_error = m_path + ": " + std::strerror(errno);
            return;
        }
        struct stat opened {};
        if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
            m_error = m_path + ": not a regular file";
            ::close(fd);
            return;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int code = errno;
            if (code == EWOULDBLOCK) {
                m_status = Status::Busy;
                m_holder = readHolder(fd);
            } else {
                m_error = m_path + ": " + std::strerror(code);
            }
            ::close(fd);
            return;
        }
        struct stat named {};
        if (::stat(m_path.c_str(), &named) != 0 || !sameFile(named, opened)) {
            ::close(fd);
            continue;
        }
        const std::string line = description + "\n";
        if (::ftruncate(fd, 0) == 0) {
            [[maybe_unused]] const ssize_t n = ::pwrite(fd, line.data(), line.size(), 0);
        }
        m_fd = fd;
        m_status = Status::Held;
        return;
    }
    m_error = m_path + ": the lock file keeps being replaced";
}

WorkingFolderLock::~WorkingFolderLock() {
    release();
}

void WorkingFolderLock::release() {
    if (m_fd < 0) {
        return;
    }
    // Removed while still locked, so no other copy can lock this file and then see it vanish.
    ::unlink(m_path.c_str());
    ::close(m_fd);
    m_fd = -1;
    m_status = Status::Released;
}

std::string describeThisProcess() {
    char host[256] = {};
    if (::gethostname(host, sizeof host - 1) != 0) {
        host[0] = '\0';
    }
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char started[32];
    std::strftime(started, sizeof started, "%Y-%m-%d %H:%M:%S", &local);
    std::string text = "process " + std::to_string(::getpid());
    if (host[0] != '\0') {
        text += " on " + std::string(host);
    }
    return text + ", started " + started;
}

std::string folderInUseMessage(const WorkingFolderLock& lock) {
    std::string text = "The contest log in " + lock.folder() + " is already open in another copy of this program";
    if (!lock.holderDescription().empty()) {
        text += " (" + lock.holderDescription() + ")";
    }
    return text + ". Only one copy can work in a folder at a time, or the two would overwrite each other's contacts: "
                  "use the copy that is open, or close it and start again.";
}

} // namespace corvane
