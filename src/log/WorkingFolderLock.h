#pragma once
// One copy of the program per working folder. Two copies working on the same log.txt
// overwrite each other's contacts, so the first copy holds an exclusive lock on the lock
// file ".corvane.lock" in the folder for as long as it runs, and a second copy that fails
// to take it is told which copy holds it. Plain POSIX (flock), no Qt.
//
// The lock is tied to the open file, so it ends with the process however it ends (a
// crash or kill -9 included): a stale lock file never blocks the next start. The file is
// removed when the lock is released; a crash leaves it behind, which is harmless (it is
// not one of the files that make a working folder, and the next copy reuses it).

#include <string>

namespace corvane {

inline constexpr const char* kWorkingFolderLockName = ".corvane.lock";

class WorkingFolderLock {
public:
    enum class Status {
        Held,     // this copy holds the lock
        Busy,     // another copy holds it; holderDescription() says which
        Failed,   // the lock could not be tried (error() says why); nothing is known
        Released, // this copy held the lock and let it go
    };

    // Tries to take the lock of `folder` at once, never waiting.
    // `description` is stored in the lock file for a copy that finds the folder taken,
    // for example "process 4711 on shack-pc, started 2012-12-29 23:15:02".
    WorkingFolderLock(const std::string& folder, const std::string& description);
    ~WorkingFolderLock(); // releases the lock and removes the lock file
    WorkingFolderLock(const WorkingFolderLock&) = delete;
    WorkingFolderLock& operator=(const WorkingFolderLock&) = delete;

    Status status() const { return m_status; }
    bool held() const { return m_status == Status::Held; }
    const std::string& folder() const { return m_folder; }
    // When Busy: the description written by the copy that holds the lock (may be empty
    // when that copy has not written it yet).
    const std::string& holderDescription() const { return m_holder; }
    const std::string& error() const { return m_error; }

    // Releases the lock early (the destructor does it otherwise).
    void release();

private:
    std::string m_folder;
    std::string m_path;
    Status m_status = Status::Failed;
    std::string m_holder;
    std::string m_error;
    int m_fd = -1;
};

// "process 4711 on shack-pc, started 2012-12-29 23:15:02" for this process, now.
std::string describeThisProcess();

// The operator's message when the folder is taken, naming the folder and the holder.
std::string folderInUseMessage(const WorkingFolderLock& lock);

} // namespace corvane
