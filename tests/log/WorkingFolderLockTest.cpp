#include "log/WorkingFolderLock.h"

#include "TempDir.h"
#include "log/WorkingFolder.h"
#include "core/DurableFile.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace corvane;

namespace {

std::vector<std::string> filesIn(const test::TempDir& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(WorkingFolderLock, ASecondCopyIsRefusedAndToldWhoHoldsTheFolder) {
    test::TempDir dir;
    const std::string folder = dir.path().string();
    {
        WorkingFolderLock first(folder, "process 4711 on shack-pc, started 2012-12-29 23:15:02");
        ASSERT_EQ(first.status(), WorkingFolderLock::Status::Held) << first.error();
        WorkingFolderLock second(folder, "process 4712");
        EXPECT_EQ(second.status(), WorkingFolderLock::Status::Busy);
        EXPECT_EQ(second.holderDescription(), "process 4711 on shack-pc, started 2012-12-29 23:15:02");
        EXPECT_EQ(folderInUseMessage(second),
                  "The contest log in " + folder +
                      " is already open in another copy of this program (process 4711 on shack-pc, started "
                      "2012-12-29 23:15:02). Only one copy can work in a folder at a time, or the two would "
                      "overwrite each other's contacts: use the copy that is open, or close it and start again.");
    }
    // Released: the next copy takes it, and nothing is left in the folder.
    EXPECT_TRUE(filesIn(dir).empty());
    WorkingFolderLock third(folder, describeThisProcess());
    EXPECT_TRUE(third.held());
    EXPECT_NE(describeThisProcess().find("process " + std::to_string(::getpid())), std::string::npos);
}

TEST(WorkingFolderLock, AKilledCopyLeavesNoLockBehind) {
    test::TempDir dir;
    const std::string folder = dir.path().string();
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        WorkingFolderLock lock(folder, "the killed copy");
        const char byte = lock.held() ? 'y' : 'n';
        [[maybe_unused]] const auto n = ::write(ready[1], &byte, 1);
        ::pause();
        ::_exit(0);
    }
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    ASSERT_EQ(byte, 'y');
    {
        WorkingFolderLock refused(folder, "me");
        EXPECT_EQ(refused.status(), WorkingFolderLock::Status::Busy);
        EXPECT_EQ(refused.holderDescription(), "the killed copy");
    }
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ::close(ready[0]);
    ::close(ready[1]);
    // The lock file stays, but it does not hold the folder, nor count as a working file.
    EXPECT_EQ(filesIn(dir), std::vector<std::string>{kWorkingFolderLockName});
    WorkingFolderLock next(folder, "me");
    EXPECT_TRUE(next.held());
    test::TempDir defaults;
    for (const auto& name : workingFolderFiles()) {
        ASSERT_TRUE(replaceAtomically(defaults.file(name), "default " + name).ok);
    }
    EXPECT_EQ(seedWorkingFolder(folder, defaults.path().string()).result, SeedResult::Seeded);
}

TEST(WorkingFolderLock, AFolderThatCannotHoldTheLockFileIsReported) {
    WorkingFolderLock lock("/nonexistent-folder-of-corvane", "me");
    EXPECT_EQ(lock.status(), WorkingFolderLock::Status::Failed);
    EXPECT_NE(lock.error().find("/nonexistent-folder-of-corvane/.corvane.lock: "), std::string::npos) << lock.error();
}

TEST(WorkingFolder, LeftoversOfInterruptedRewritesAreRemovedAndNothingElse) {
    test::TempDir dir;
    const std::vector<std::string> leftovers = {"cvnpref.txt.tmp-5479", "log.txt.tmp-1", "cw.txt.tmp-4294967295",
                                                "RigCntrl.txt.tmp-12"};
    const std::vector<std::string> kept = {
        "log.txt",          "cvnpref.txt",      "log.txt.tmp-",        "log.txt.tmp-12a", "log.txt.tmp-12345678901",
        "xlog.txt.tmp-12",  "notes.txt.tmp-12", "log.txt.bak-12",      "LOG.TXT.tmp-12",  "log.txt.tmp-12.txt",
        "W1XYZ.log.tmp-12", "readme.tmp-5479",  kWorkingFolderLockName};
    for (const auto& name : leftovers) {
        ASSERT_TRUE(replaceAtomically(dir.file(name), "half").ok);
    }
    for (const auto& name : kept) {
        ASSERT_TRUE(replaceAtomically(dir.file(name), "mine").ok);
    }
    // A folder or a link with a leftover's name is not a file this program wrote.
    std::filesystem::create_directory(dir.file("wave2.txt.tmp-7"));
    std::filesystem::create_symlink(dir.file("log.txt"), dir.file("WK.txt.tmp-8"));

    LeftoverReport report = removeWorkingFolderLeftovers(dir.path().string());
    std::sort(report.removed.begin(), report.removed.end());
    std::vector<std::string> expected = leftovers;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(report.removed, expected);
    EXPECT_TRUE(report.failed.empty());
    std::vector<std::string> left = kept;
    left.push_back("wave2.txt.tmp-7");
    left.push_back("WK.txt.tmp-8");
    std::sort(left.begin(), left.end());
    EXPECT_EQ(filesIn(dir), left);
    EXPECT_EQ(*readWholeFile(dir.file("log.txt")), "mine");
}

TEST(WorkingFolder, BackupLeftoversOfRunningCopiesAreSpared) {
    test::TempDir dir;
    const std::string dead = "201212292315.log.tmp-999999999"; // beyond any process id
    const std::string running = "201212292316.log.tmp-" + std::to_string(::getpid());
    for (const auto& name : {dead, running, std::string("201212292315.log"), std::string("W1XYZ2012-12-29.log.tmp-9"),
                             std::string("20121229231.log.tmp-9")}) {
        ASSERT_TRUE(replaceAtomically(dir.file(name), "x").ok);
    }
    const LeftoverReport report = removeBackupLeftovers(dir.path().string());
    EXPECT_EQ(report.removed, std::vector<std::string>{dead});
    EXPECT_EQ(filesIn(dir).size(), 4u);
}

TEST(DurableFile, TemporaryNamesHaveOneExactForm) {
    EXPECT_TRUE(isTemporaryNameOf("cvnpref.txt.tmp-5479", "cvnpref.txt"));
    EXPECT_FALSE(isTemporaryNameOf("cvnpref.txt.tmp-", "cvnpref.txt"));
    EXPECT_FALSE(isTemporaryNameOf("cvnpref.txt.tmp-5479", "pref.txt"));
    EXPECT_FALSE(isTemporaryNameOf("cvnpref.txt.tmp-54x9", "cvnpref.txt"));
    EXPECT_FALSE(isTemporaryNameOf("cvnpref.txt.tmp-5479", ""));
    const std::string temp = temporaryPathFor("/a/log.txt");
    EXPECT_TRUE(isTemporaryNameOf(temp.substr(3), "log.txt")) << temp;
}
