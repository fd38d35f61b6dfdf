#include "log/LogStore.h"

#include "TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace corvane;

namespace {

QsoRecord contact(const std::string& call, const std::string& points) {
    QsoRecord r;
    r.call = call;
    r.kilometers = "1,234";
    r.gridR = "FN31";
    r.gridS = "FM19";
    r.qsoDate = "2012/12/29";
    r.qsoTime = "23:15:02";
    r.points = points;
    r.mode = "CW";
    return r;
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
