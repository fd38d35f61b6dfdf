#include "log/score/Backup.h"

#include "TempDir.h"
#include "core/DurableFile.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace corvane {
namespace {

namespace fs = std::filesystem;

const DateTime kLocal{2012, 12, 29, 23, 15, 42};
const std::string kLine =
    "\"K1ABC\",\"1,234\",\"FN31\",\"\",\"FM19\",\"2012/12/29\",\"23:15:02\",\"3\",\"CW\",\"\"\r\n";

void write(const std::string& path, const std::string& bytes) {
    ASSERT_TRUE(replaceAtomically(path, bytes).ok);
}

std::string read(const std::string& path) {
    return readWholeFile(path).value_or("<missing>");
}

TEST(Backup, TakenOnlyWhenTheLogChangedInThisRun) {
    EXPECT_FALSE(backupWanted(0, 0));
    EXPECT_FALSE(backupWanted(10, 10));
    EXPECT_TRUE(backupWanted(12, 10));
    EXPECT_TRUE(backupWanted(8, 10));
    EXPECT_TRUE(backupWanted(3, 0));
    EXPECT_FALSE(backupWanted(0, 10));
}

TEST(Backup, NamesFromTheLocalClock) {
    EXPECT_EQ(backupFileName(kLocal), "201212292315.log");
    EXPECT_EQ(archiveFileName("W1XYZ", kLocal), "W1XYZ2012-12-29.log");
    EXPECT_TRUE(newLogConfirmed("yes"));
    EXPECT_TRUE(newLogConfirmed("YeS"));
    EXPECT_FALSE(newLogConfirmed("YE"));
    EXPECT_FALSE(newLogConfirmed(" YES"));
}

TEST(Backup, CreatesTheFolderAndNeverOverwritesAnEarlierBackup) {
    test::TempDir dir;
    const std::string log = dir.file("log.txt");
    const std::string folder = dir.file("Corvane/BACKUP");
    write(log, kLine);

    EXPECT_EQ(backupLog(log, folder, kLocal, 10, 10).status, BackupResult::Status::NotNeeded);
    EXPECT_FALSE(fs::exists(folder));

    const BackupResult first = backupLog(log, folder, kLocal, 1, 0);
    ASSERT_EQ(first.status, BackupResult::Status::Written);
    EXPECT_EQ(first.path, folder + "/201212292315.log");
    EXPECT_EQ(read(first.path), kLine);

    write(log, kLine + kLine);
    const BackupResult second = backupLog(log, folder, kLocal, 2, 0);
    const BackupResult third = backupLog(log, folder, kLocal, 2, 0);
    EXPECT_EQ(second.path, folder + "/201212292315-2.log");
    EXPECT_EQ(third.path, folder + "/201212292315-3.log");
    EXPECT_EQ(read(first.path), kLine);
    EXPECT_EQ(read(second.path), kLine + kLine);
}

TEST(Backup, UsesAFolderWhoseNameDiffersOnlyInCase) {
    test::TempDir dir;
    const std::string log = dir.file("log.txt");
    write(log, kLine);
    fs::create_directory(dir.path() / "backup");
    const BackupResult r = backupLog(log, dir.file("BACKUP"), kLocal, 1, 0);
    ASSERT_EQ(r.status, BackupResult::Status::Written);
    EXPECT_TRUE(fs::exists(dir.path() / "backup" / "201212292315.log"));
    EXPECT_FALSE(fs::exists(dir.path() / "BACKUP"));
}

TEST(Backup, MissingLogFails) {
    test::TempDir dir;
    const BackupResult r = backupLog(dir.file("log.txt"), dir.file("BACKUP"), kLocal, 1, 0);
    EXPECT_EQ(r.status, BackupResult::Status::Failed);
    EXPECT_FALSE(r.error.empty());
}

TEST(Restore, ParsesTheChosenFileBeforeReplacingTheLog) {
    test::TempDir dir;
    const std::string log = dir.file("log.txt");
    const std::string folder = dir.file("BACKUP");
    write(log, kLine);
    const std::string broken = dir.file("broken.log");
    write(broken, "\"K1ABC\",\"1,234\",\"FN31\"\r\n");

    const RestoreResult refused = restoreLog(broken, log, folder, kLocal, 1);
    EXPECT_EQ(refused.status, RestoreResult::Status::NotALog);
    EXPECT_EQ(refused.errorLine, 1);
    EXPECT_EQ(read(log), kLine);
    EXPECT_FALSE(fs::exists(folder)); // nothing was backed up for a refused file

    EXPECT_EQ(restoreLog(dir.file("absent.log"), log, folder, kLocal, 1).status, RestoreResult::Status::Unreadable);
    EXPECT_EQ(read(log), kLine);
}

TEST(Restore, BacksUpAWorkingLogWithContactsThenReplacesIt) {
    test::TempDir dir;
    const std::string log = dir.file("log.txt");
    const std::string folder = dir.file("BACKUP");
    write(log, kLine);
    const std::string chosen = dir.file("fifty.log");
    std::string fifty;
    for (int i = 0; i < 50; ++i) {
        fifty += kLine;
    }
    write(chosen, fifty);

    const RestoreResult r = restoreLog(chosen, log, folder, kLocal, 1);
    ASSERT_EQ(r.status, RestoreResult::Status::Restored);
    EXPECT_EQ(read(log), fifty);
    EXPECT_EQ(r.backupPath, folder + "/201212292315.log");
    EXPECT_EQ(read(r.backupPath), kLine);

    // An empty working log is not backed up; an empty chosen file is a valid, empty log.
    write(log, "");
    const std::string empty = dir.file("empty.log");
    write(empty, "");
    const RestoreResult r2 = restoreLog(empty, log, folder, kLocal, 0);
    EXPECT_EQ(r2.status, RestoreResult::Status::Restored);
    EXPECT_EQ(r2.backupPath, "");

    // A working log file that has vanished does not stop the restore.
    fs::remove(log);
    const RestoreResult r3 = restoreLog(chosen, log, folder, kLocal, 50);
    EXPECT_EQ(r3.status, RestoreResult::Status::Restored);
    EXPECT_EQ(read(log), fifty);
}

TEST(Restore, RefusedWhenTheWorkingLogCannotBeBackedUp) {
    test::TempDir dir;
    const std::string log = dir.file("log.txt");
    write(log, kLine);
    const std::string chosen = dir.file("other.log");
    write(chosen, kLine + kLine);
    write(dir.file("BACKUP"), "a file where the folder should be");
    const RestoreResult r = restoreLog(chosen, log, dir.file("BACKUP"), kLocal, 1);
    EXPECT_EQ(r.status, RestoreResult::Status::BackupFailed);
    EXPECT_EQ(read(log), kLine);
}

} // namespace
} // namespace corvane
