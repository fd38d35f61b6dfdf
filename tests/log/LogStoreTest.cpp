#include "log/LogStore.h"

#include "TempDir.h"
#include "support/Contacts.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace corvane;

namespace {

QsoRecord contact(const std::string& call, const std::string& points) {
    return test::Contact(call).ownGrid("FM19").points(points);
}

} // namespace

TEST(LogStore, AppendWritesTheLineAndTotalsFollowNumericPoints) {
    test::TempDir dir;
    const std::string path = dir.file("log.txt");
    ASSERT_TRUE(replaceAtomically(path, "").ok);
    LogStore store(path);
    ASSERT_TRUE(store.load().ok);
    EXPECT_EQ(store.append(contact("K1ABC", "3")).status, LogStore::AppendStatus::Logged);
    EXPECT_EQ(store.append(contact("K2ABC", "")).status, LogStore::AppendStatus::Logged);
    EXPECT_EQ(store.append(contact("K3ABC", "x")).status, LogStore::AppendStatus::Logged);
    EXPECT_EQ(store.log().totalPoints(), 3.0f);
    EXPECT_EQ(*readWholeFile(path), formatLog(store.log().records()));

    LogStore again(path);
    ASSERT_TRUE(again.load().ok);
    EXPECT_EQ(again.log().records(), store.log().records());
    EXPECT_EQ(again.initialQsoCount(), 3);
}

TEST(LogStore, FailedAppendTakesTheRecordBackOut) {
    test::TempDir dir;
    const std::string path = dir.file("log.txt");
    ASSERT_TRUE(replaceAtomically(path, formatLogLine(contact("K1ABC", "3"))).ok);
    LogStore store(path);
    ASSERT_TRUE(store.load().ok);
    // The file is gone and a folder stands in its place: even root cannot append.
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    const auto result = store.append(contact("K2ABC", "2"));
    EXPECT_EQ(result.status, LogStore::AppendStatus::WriteFailed);
    EXPECT_FALSE(result.error.empty());
    EXPECT_EQ(store.log().qsoCount(), 1);
    EXPECT_EQ(store.log().totalPoints(), 3.0f);
}

TEST(LogStore, FullDiskLeavesFileAndMemoryAsTheyWere) {
    if (!std::filesystem::exists("/dev/full")) {
        GTEST_SKIP();
    }
    LogStore store("/dev/full");
    const auto result = store.append(contact("K2ABC", "2"));
    EXPECT_EQ(result.status, LogStore::AppendStatus::WriteFailed);
    EXPECT_NE(result.error.find("space"), std::string::npos) << result.error;
    EXPECT_EQ(store.log().qsoCount(), 0);
}

TEST(LogStore, TheContactAfterTheCapacityIsRefusedAndNothingWritten) {
    test::TempDir dir;
    const std::string path = dir.file("log.txt");
    std::vector<QsoRecord> records(ContactLog::kCapacity, contact("K1ABC", "1"));
    ASSERT_TRUE(replaceAtomically(path, formatLog(records)).ok);
    LogStore store(path);
    ASSERT_TRUE(store.load().ok);
    const auto size = std::filesystem::file_size(path);
    EXPECT_EQ(store.append(contact("K2ABC", "2")).status, LogStore::AppendStatus::Full);
    EXPECT_EQ(std::filesystem::file_size(path), size);
    EXPECT_EQ(store.log().qsoCount(), ContactLog::kCapacity);
}

TEST(LogStore, RewriteReplacesWholeFileAndReloadGivesTheSameLog) {
    test::TempDir dir;
    const std::string path = dir.file("log.txt");
    LogStore store(path);
    ASSERT_TRUE(store.rewrite({contact("A1", "1"), contact("B2", "2"), contact("C3", "3")}).ok);
    std::vector<QsoRecord> edited = store.log().records();
    edited.erase(edited.begin());
    ASSERT_TRUE(store.rewrite(edited).ok);
    LogStore again(path);
    ASSERT_TRUE(again.load().ok);
    EXPECT_EQ(again.log().records(), edited);
    EXPECT_EQ(again.log().totalPoints(), 5.0f);
    // no temporary file is left behind
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(LogStore, MissingOrDamagedFileLoadsNothing) {
    test::TempDir dir;
    LogStore missing(dir.file("log.txt"));
    EXPECT_FALSE(missing.load().ok);
    ASSERT_TRUE(replaceAtomically(dir.file("bad.txt"), "\"A\",\"1\"\r\n").ok);
    LogStore bad(dir.file("bad.txt"));
    const auto result = bad.load();
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.errorLine, 1);
    EXPECT_EQ(bad.log().qsoCount(), 0);
    EXPECT_EQ(*readWholeFile(dir.file("bad.txt")), "\"A\",\"1\"\r\n");
}

namespace {

std::string lineOf(const std::string& call, const std::string& points) {
    return formatLogLine(contact(call, points));
}

// The line as the next start reads it, without its line end.
std::string withoutLineEnd(std::string line) {
    line.resize(line.size() - 2);
    return line;
}

} // namespace

TEST(LogStore, ALastLineWithoutItsLineEndGetsOneBeforeTheNextContact) {
    test::TempDir dir;
    const std::string path = dir.file("log.txt");
    // An editor dropped the final line end.
    const std::string edited = lineOf("K1ABC", "3") + withoutLineEnd(lineOf("K2ABC", "2"));
    ASSERT_TRUE(replaceAtomically(path, edited).ok);
    {
        LogStore store(path);
        ASSERT_TRUE(store.load().ok);
        ASSERT_EQ(store.log().qsoCount(), 2);
        ASSERT_EQ(store.append(contact("W2XX", "4")).status, LogStore::AppendStatus::Logged);
        ASSERT_EQ(store.append(contact("W3XX", "1")).status, LogStore::AppendStatus::Logged);
    }
    EXPECT_EQ(*readWholeFile(path), edited + "\r\n" + lineOf("W2XX", "4") + lineOf("W3XX", "1"));
    // The next start reads all four.
    LogStore restarted(path);
    ASSERT_TRUE(restarted.load().ok);
    ASSERT_EQ(restarted.log().qsoCount(), 4);
    EXPECT_EQ(restarted.log().record(3).call, "W2XX");
    EXPECT_EQ(restarted.log().totalPoints(), 10.0f);

    // A file cut after the CR of its last line end gets just the LF.
    const std::string cut = lineOf("K1ABC", "3").substr(0, lineOf("K1ABC", "3").size() - 1);
    ASSERT_TRUE(replaceAtomically(path, cut).ok);
    LogStore again(path);
    ASSERT_TRUE(again.load().ok);
    ASSERT_EQ(again.append(contact("W2XX", "4")).status, LogStore::AppendStatus::Logged);
    EXPECT_EQ(*readWholeFile(path), lineOf("K1ABC", "3") + lineOf("W2XX", "4"));
}

TEST(LogStore, ALogChangedOnDiskIsNeverOverwrittenFromMemory) {
    test::TempDir dir;
    const std::string path = dir.file("log.txt");
    ASSERT_TRUE(replaceAtomically(path, lineOf("N0AAA", "1")).ok);
    LogStore a(path);
    LogStore b(path);
    ASSERT_TRUE(a.load().ok);
    ASSERT_TRUE(b.load().ok);
    // Each copy's own appends keep it in step with the file...
    ASSERT_EQ(a.append(contact("N1AAA", "1")).status, LogStore::AppendStatus::Logged);
    EXPECT_FALSE(a.changedOnDisk());
    EXPECT_TRUE(b.changedOnDisk());
    // ...but the other copy's memory no longer mirrors it: no append, no rewrite, no erase.
    const auto appended = b.append(contact("N2BBB", "1"));
    EXPECT_EQ(appended.status, LogStore::AppendStatus::Refused);
    EXPECT_NE(appended.error.find("log.txt was changed on disk"), std::string::npos) << appended.error;
    EXPECT_EQ(b.log().qsoCount(), 1);
    const FileResult rewritten = b.rewrite({contact("N0AAA", "5")});
    EXPECT_FALSE(rewritten.ok);
    EXPECT_EQ(rewritten.error, appended.error);
    EXPECT_FALSE(b.clear().ok);
    EXPECT_EQ(b.writeRefusal(), appended.error);
    EXPECT_EQ(*readWholeFile(path), lineOf("N0AAA", "1") + lineOf("N1AAA", "1"));

    // The copy that wrote last goes on; the other one is in step again after a reload.
    ASSERT_TRUE(a.rewrite({contact("N1AAA", "1")}).ok);
    EXPECT_EQ(a.writeRefusal(), "");
    ASSERT_TRUE(b.load().ok);
    EXPECT_EQ(b.append(contact("N2BBB", "1")).status, LogStore::AppendStatus::Logged);
    EXPECT_EQ(*readWholeFile(path), lineOf("N1AAA", "1") + lineOf("N2BBB", "1"));
}

TEST(LogStore, AnEditorsChangeOfTheSameLengthIsSeen) {
    test::TempDir dir;
    const std::string path = dir.file("log.txt");
    ASSERT_TRUE(replaceAtomically(path, lineOf("K1ABC", "3")).ok);
    LogStore store(path);
    ASSERT_TRUE(store.load().ok);
    // Written in place, same length, same inode: only the time of writing differs.
    {
        std::FILE* f = std::fopen(path.c_str(), "r+b");
        ASSERT_NE(f, nullptr);
        std::fputs("\"K9ABC\"", f);
        std::fclose(f);
    }
    struct timespec times[2] = {{0, UTIME_OMIT}, {0, UTIME_NOW}};
    ::utimensat(AT_FDCWD, path.c_str(), times, 0);
    EXPECT_TRUE(store.changedOnDisk());
    EXPECT_FALSE(store.rewrite({}).ok);
    EXPECT_EQ(readWholeFile(path)->substr(0, 7), "\"K9ABC\"");
}

TEST(LogStore, ALogThatFailedToLoadIsNeverWritten) {
    test::TempDir dir;
    const std::string path = dir.file("log.txt");
    const std::string damaged = lineOf("K1ABC", "3") + "\"K2ABC\",\"1\"\r\n";
    ASSERT_TRUE(replaceAtomically(path, damaged).ok);
    LogStore store(path);
    ASSERT_FALSE(store.load().ok);
    EXPECT_FALSE(store.loaded());
    const auto appended = store.append(contact("W2XX", "4"));
    EXPECT_EQ(appended.status, LogStore::AppendStatus::Refused);
    EXPECT_EQ(appended.error, "log.txt could not be loaded (line 2: the line has 2 of the 10 fields of a contact), so "
                              "nothing is written to it: the contacts in it are kept as they are. Fix the file and "
                              "start the program again.");
    EXPECT_FALSE(store.rewrite({contact("W2XX", "4")}).ok);
    EXPECT_FALSE(store.clear().ok);
    EXPECT_EQ(*readWholeFile(path), damaged);

    // A store that never loaded the file will not write over contacts it never saw either.
    ASSERT_TRUE(replaceAtomically(path, lineOf("K1ABC", "3")).ok);
    LogStore unread(path);
    EXPECT_EQ(unread.append(contact("W2XX", "4")).status, LogStore::AppendStatus::Refused);
    EXPECT_FALSE(unread.clear().ok);
    EXPECT_EQ(*readWholeFile(path), lineOf("K1ABC", "3"));
}

TEST(LogStore, ALogRemovedAfterLoadingIsWrittenWholeWithTheNewContact) {
    test::TempDir dir;
    const std::string path = dir.file("log.txt");
    ASSERT_TRUE(replaceAtomically(path, lineOf("K1ABC", "3") + lineOf("K2ABC", "2")).ok);
    LogStore store(path);
    ASSERT_TRUE(store.load().ok);
    std::filesystem::remove(path);
    EXPECT_TRUE(store.changedOnDisk());
    ASSERT_EQ(store.append(contact("W2XX", "4")).status, LogStore::AppendStatus::Logged);
    EXPECT_EQ(*readWholeFile(path), lineOf("K1ABC", "3") + lineOf("K2ABC", "2") + lineOf("W2XX", "4"));
    EXPECT_FALSE(store.changedOnDisk());
}

TEST(LogStore, ARecordALineCannotCarryIsRefused) {
    test::TempDir dir;
    const std::string path = dir.file("log.txt");
    ASSERT_TRUE(replaceAtomically(path, "").ok);
    LogStore store(path);
    ASSERT_TRUE(store.load().ok);
    const auto appended = store.append(contact("K1\"ABC", "3"));
    EXPECT_EQ(appended.status, LogStore::AppendStatus::Refused);
    EXPECT_EQ(appended.error, "the contact cannot be written to log.txt: the call field holds a double quote");
    EXPECT_FALSE(store.rewrite({contact("K1\x1B", "3")}).ok);
    EXPECT_EQ(*readWholeFile(path), "");
    EXPECT_EQ(store.log().qsoCount(), 0);
}

TEST(LogStore, APipeOrFolderNamedLogTxtIsRefusedWithoutWaiting) {
    test::TempDir dir;
    const std::string path = dir.file("log.txt");
    ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
    LogStore pipe(path);
    const auto result = pipe.load(); // a blocking open would wait here for ever
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.problem, "the file cannot be read: not a regular file (it is a named pipe)");
    const auto appended = pipe.append(contact("K1ABC", "3"));
    EXPECT_EQ(appended.status, LogStore::AppendStatus::Refused);
    EXPECT_NE(appended.error.find("named pipe"), std::string::npos);
    // Not even a store that never loaded it writes into a pipe.
    LogStore unread(path);
    const auto written = unread.append(contact("K1ABC", "3"));
    EXPECT_EQ(written.status, LogStore::AppendStatus::WriteFailed);
    EXPECT_EQ(written.error, "not a regular file (it is a named pipe)");

    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    LogStore folder(path);
    EXPECT_EQ(folder.load().problem, "the file cannot be read: not a regular file (it is a folder)");
}

namespace {

// While it lives, no file of this process may grow beyond `limitBytes` (a disk that fills
// up): a write reaching past it writes what fits and then fails with "File too large".
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t limitBytes) {
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limit = m_old;
        limit.rlim_cur = limitBytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

} // namespace

// Fill, fail, free, log, restart: a contact the disk could not take leaves only complete
// lines, and once there is room again the next Enter logs without a restart.
TEST(LogStore, AfterAFullDiskIsFreedTheNextContactIsLogged) {
    test::TempDir dir;
    const std::string path = dir.file("log.txt");
    ASSERT_TRUE(replaceAtomically(path, lineOf("K1ABC", "1")).ok);
    LogStore store(path);
    ASSERT_TRUE(store.load().ok);
    const std::string before = *readWholeFile(path);
    for (const rlim_t room : {rlim_t{0}, rlim_t{20}}) { // no byte fits; part of the line fits
        SCOPED_TRACE(room);
        {
            const FileSizeLimit full(before.size() + room);
            const auto refused = store.append(contact("K2ABC", "2"));
            EXPECT_EQ(refused.status, LogStore::AppendStatus::WriteFailed);
            EXPECT_EQ(refused.error, std::strerror(EFBIG));
        }
        EXPECT_EQ(*readWholeFile(path), before);
        EXPECT_EQ(store.log().qsoCount(), 1);
        EXPECT_EQ(store.writeRefusal(), "");
    }
    ASSERT_EQ(store.append(contact("K2ABC", "2")).status, LogStore::AppendStatus::Logged);
    ASSERT_TRUE(store.rewrite(store.log().records()).ok); // an edit after it is allowed too
    LogStore restarted(path);
    ASSERT_TRUE(restarted.load().ok);
    EXPECT_EQ(*readWholeFile(path), before + lineOf("K2ABC", "2"));
}

// log.txt as a link to a file elsewhere: every write reaches the link's target, and the link
// stays a link.
TEST(LogStore, ALogThatIsALinkIsWrittenThroughTheLink) {
    test::TempDir dir;
    std::filesystem::create_directory(dir.file("elsewhere"));
    const std::string target = dir.file("elsewhere/contest.txt");
    const std::string path = dir.file("log.txt");
    ASSERT_TRUE(replaceAtomically(target, lineOf("K1ABC", "1")).ok);
    std::filesystem::create_symlink("elsewhere/contest.txt", path);
    LogStore store(path);
    ASSERT_TRUE(store.load().ok);
    ASSERT_EQ(store.append(contact("K2ABC", "2")).status, LogStore::AppendStatus::Logged);
    ASSERT_TRUE(store.rewrite({contact("K2ABC", "2")}).ok); // the first contact deleted
    ASSERT_EQ(store.append(contact("K3ABC", "3")).status, LogStore::AppendStatus::Logged);
    EXPECT_TRUE(std::filesystem::is_symlink(path));
    EXPECT_EQ(*readWholeFile(target), lineOf("K2ABC", "2") + lineOf("K3ABC", "3"));
    // The temporary file went to the target's folder and is gone again.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.file("elsewhere")), {}), 1);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}
