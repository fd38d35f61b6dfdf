// The call history: its file format, merging grids from logs and ADIF files with the newest
// winning, portable calls, what a spot is worth, and the files it refuses.

#include "history/CallHistory.h"

#include "TempDir.h"
#include "core/DurableFile.h"
#include "export/AdifRead.h"
#include "history/HistoryCommand.h"
#include "history/HistorySources.h"
#include "history/HistoryWorth.h"
#include "support/Contacts.h"

#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>

using namespace corvane;

namespace {

std::string gridOf(const CallHistory& history, std::string_view call) {
    const HistoryEntry* entry = history.find(call);
    return entry != nullptr ? entry->grid : "-";
}

QsoRecord contact(std::string call, std::string grid, std::string date, std::string time) {
    return test::Contact(std::move(call)).grid(std::move(grid)).date(std::move(date)).time(std::move(time));
}

std::string logLine(const std::string& call, const std::string& grid, const std::string& date,
                    const std::string& time) {
    return "\"" + call + "\",\"100\",\"" + grid + "\",\"\",\"FN20\",\"" + date + "\",\"" + time +
           "\",\"1\",\"CW\",\"\"\r\n";
}

} // namespace

TEST(CallHistoryFile, ReadsEveryVariantOfTheFormat) {
    // Columns in another order, quoted fields (a comma inside one), a six-character locator,
    // comments, blank lines, LF and CR LF, a byte order mark, a station without a grid.
    const std::string text = "\xEF\xBB\xBF# a comment\r\n"
                             "!!Order!!,Name,Loc1,Call,Sect\r\n"
                             "Ann,FN42,k1abc,EMA\r\n"
                             "\"Smith, Bob\",\"EM10ab\",\"W5XX\",NTX\n"
                             "\n"
                             "  # indented comment\n"
                             "Joe,,N0CALL,MN\r\n"
                             "Lee , IO91 , G4AAA , \r\n";
    const HistoryReadResult read = parseCallHistory(text);
    EXPECT_EQ(read.problem, "");
    EXPECT_EQ(read.skippedLines, 0);
    EXPECT_EQ(read.entries,
              (std::vector<HistoryEntry>{{"K1ABC", "FN42", ""}, {"W5XX", "EM10", ""}, {"G4AAA", "IO91", ""}}));

    // Without an order line the columns are Call,Grid; "Grid" names the grid column too.
    EXPECT_EQ(parseCallHistory("K1ABC,FN42\nW1AW,FN31,extra\n").entries.size(), 2u);
    const auto named = parseCallHistory("!!order!!,GRID,CALL\r\nFN42,K1ABC\r\n");
    ASSERT_EQ(named.entries.size(), 1u);
    EXPECT_EQ(named.entries[0].call, "K1ABC");

    // A second order line changes the columns from there on.
    const auto twice = parseCallHistory("!!Order!!,Call,Loc1\nK1ABC,FN42\n!!Order!!,Loc1,Call\nEM10,W5XX\n");
    EXPECT_EQ(twice.entries.size(), 2u);
    EXPECT_EQ(twice.entries[1].grid, "EM10");
}

TEST(CallHistoryFile, DamagedLinesAreSkippedAndCountedAndAFileWithoutItsColumnsIsRefused) {
    const std::string longLine(kHistoryLongestLine + 1, 'A');
    const std::string text = "K1ABC,FN42\n"
                             "NOTACALL,FN42\n"      // no digit
                             "K2AAA,ZZ99\n"         // not a grid
                             "\"K3AAA,FN42\n"       // quote never closed
                             "K4A\"AA,FN42\n"       // quote inside a bare field
                             "K5AAA,FN42\x01\x02\n" // control bytes
                             + longLine + "\n" + std::string("\0\0\xff\xfe", 4) + "\n" + "W1AW,FN31";
    const HistoryReadResult read = parseCallHistory(text);
    EXPECT_EQ(read.skippedLines, 7);
    EXPECT_EQ(read.entries, (std::vector<HistoryEntry>{{"K1ABC", "FN42", ""}, {"W1AW", "FN31", ""}}));

    EXPECT_EQ(parseCallHistory("!!Order!!,Name,Loc1\nAnn,FN42\n").problem, "its !!Order!! line names no Call column");
    const auto noGrid = parseCallHistory("K1ABC,FN42\n!!Order!!,Call,Name\nK1ABC,Ann\n");
    EXPECT_EQ(noGrid.problem, "its !!Order!! line names no grid column (Loc1 or Grid)");
    EXPECT_TRUE(noGrid.entries.empty());

    // A million lines: every one read.
    std::string big;
    big.reserve(12'000'000);
    for (int i = 0; i < 1'000'000; ++i) {
        big += "K" + std::to_string(i % 10) + "A" + std::to_string(i) + ",FN42\r\n";
    }
    EXPECT_EQ(parseCallHistory(big).entries.size(), 1'000'000u);
}

TEST(CallHistoryMerge, TheNewestGridWinsAndPortableCallsFallBackToTheirBaseCall) {
    CallHistory history;
    // In a history file the later line is the newer.
    history.add(parseCallHistory("K1ABC,FN42\nK1ABC,FN43\nW1AW,FN31\n").entries);
    EXPECT_EQ(gridOf(history, "k1abc"), "FN43");
    // A logged contact is newer than the file; among contacts the later one wins, whatever the order read.
    history.addLog({contact("K1ABC", "FN44", "2012/12/29", "23:00:00"),
                    contact("K1ABC", "FN41", "2011/12/29", "23:00:00"),
                    contact("W1AW", "fn30", "2012/12/29", "22:00:00"), contact("BAD", "FN30", "2012/12/29", "22:00:00"),
                    contact("W9ZZ", "", "2012/12/29", "22:00:00")});
    EXPECT_EQ(gridOf(history, "K1ABC"), "FN44");
    EXPECT_EQ(gridOf(history, "W1AW"), "FN30");
    EXPECT_EQ(gridOf(history, "W9ZZ"), "-");
    // The same moment: the one added last.
    history.add(HistoryEntry{"W1AW", "FN29", "2012/12/29 22:00:00"});
    EXPECT_EQ(gridOf(history, "W1AW"), "FN29");

    // Portable: the base call only when the call itself is unknown.
    EXPECT_EQ(gridOf(history, "K1ABC/P"), "FN44");
    EXPECT_EQ(gridOf(history, "VE3/K1ABC"), "FN44");
    EXPECT_EQ(gridOf(history, "K1ABC/4"), "FN44");
    history.add(HistoryEntry{"K1ABC/P", "FN10", ""});
    EXPECT_EQ(gridOf(history, "K1ABC/P"), "FN10");
    EXPECT_EQ(gridOf(history, "K1AB"), "-");
    EXPECT_EQ(gridOf(history, "A/B/C"), "-");
    EXPECT_EQ(baseCall("PA/DL1ABC/P"), "DL1ABC");

    // Written back: exact bytes, and read again to the same history.
    const std::string bytes = formatCallHistory(history);
    EXPECT_EQ(bytes, "# Call history written by Varkel's Corvane Contest Log\r\n!!Order!!,Call,Loc1\r\n"
                     "K1ABC,FN44\r\nK1ABC/P,FN10\r\nW1AW,FN29\r\n");
    CallHistory again;
    again.add(parseCallHistory(bytes).entries);
    EXPECT_EQ(formatCallHistory(again), bytes);
}

TEST(AdifContacts, GoodRecordsAreReadAndBrokenLengthsCostOnlyTheirRecord) {
    const std::string text = "Exported by a logger\r\n<ADIF_VER:5>3.1.0 <EOH>\r\n"
                             "<CALL:5>k1abc <QSO_DATE:8:d>20121229 <TIME_ON:4>2315 <GRIDSQUARE:6>FN42ab <eor>\r\n"
                             "<CALL:3>W1AW<GRIDSQUARE:4>FN31 <EOR>\r\n"  // length too short: text left over
                             "<CALL:4>W5XX <GRIDSQUARE:x>EM10 <EOR>\r\n" // not a length
                             "<CALL:4>N0AA <GRIDSQUARE:4>EN34 <TIME_ON:6>010203 <QSO_DATE:8>20130101 <EOR>\r\n"
                             "<GRIDSQUARE:4>FN20 <EOR>\r\n"         // no call
                             "<CALL:4>G4AA <GRIDSQUARE:99999>IO91"; // runs past the end
    const AdifReadResult read = readAdifContacts(text);
    EXPECT_EQ(read.contacts, (std::vector<AdifContact>{{"K1ABC", "FN42AB", "2012/12/29 23:15:00"},
                                                       {"N0AA", "EN34", "2013/01/01 01:02:03"}}));
    EXPECT_EQ(read.skippedRecords, 4);
    // What the program's own export writes reads back.
    EXPECT_EQ(readAdifContacts("<Call:5>K1ABC <Qso_Date:8:d>20121229 <Band:4>160M\r\n<Mode:2>CW\r\n"
                               "<Time_On:4>2315 <Gridsquare:4>FN31 <eor>\r\n\r\n")
                  .contacts.size(),
              1u);
    EXPECT_TRUE(readAdifContacts("").contacts.empty());
    EXPECT_EQ(readAdifContacts("<CALL:5>K1ABC").skippedRecords, 1); // the file ends inside the record
}

TEST(HistorySourcesLoad, MergesTheHistoryFileBackupsAndAdifAndRefusesWhatIsNoFile) {
    test::TempDir dir;
    const std::string backups = dir.file("BACKUP");
    std::filesystem::create_directories(backups);
    replaceAtomically(dir.file("CallHistory.txt"), "!!Order!!,Call,Loc1\r\nK1ABC,FN42\r\nW1AW,FN31\r\nbad\r\n");
    replaceAtomically(backups + "/201212292315.log", logLine("K1ABC", "FN43", "2012/12/29", "23:15:02"));
    replaceAtomically(backups + "/W1XYZ2011-12-29.log", logLine("K1ABC", "FN41", "2011/12/29", "23:15:02"));
    replaceAtomically(backups + "/broken.log", "not a log\r\n");
    replaceAtomically(backups + "/notes.txt", logLine("W1AW", "AA00", "2020/01/01", "00:00:00"));
    replaceAtomically(dir.file("other.adi"), "<CALL:4>W1AW <QSO_DATE:8>20130101 <GRIDSQUARE:4>FN30 <EOR>\n"
                                             "<CALL:4>W5XX <GRIDSQUARE:44>EM10 <EOR>\n");
    HistorySources sources;
    sources.historyFile = findCallHistoryFile(dir.path().string(), "");
    EXPECT_EQ(sources.historyFile, dir.file("CallHistory.txt"));
    sources.backupFolder = backups;
    sources.adifFiles = {dir.file("other.adi")};
    const HistoryLoad load = loadHistory(sources);
    EXPECT_EQ(gridOf(load.history, "K1ABC"), "FN43");
    EXPECT_EQ(gridOf(load.history, "W1AW"), "FN30");
    ASSERT_EQ(load.problems.size(), 1u);
    EXPECT_NE(load.problems[0].find("broken.log: not a log (line 1"), std::string::npos);
    EXPECT_EQ(describeLoad(load), "2 calls from the call history (1 damaged line skipped), 3 contacts from 3 logs "
                                  "(1 damaged ADIF record skipped); 2 known calls; 1 file refused");

    // A folder, a named pipe and a file too large for a call history are refused at once.
    std::filesystem::create_directories(dir.file("folder"));
    ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0600), 0);
    ASSERT_TRUE(replaceAtomically(dir.file("huge"), "K1ABC,FN42\n").ok);
    std::filesystem::resize_file(dir.file("huge"), static_cast<std::uintmax_t>(kHistoryLargestFileBytes) + 1);
    for (const char* name : {"folder", "pipe", "huge", "missing"}) {
        HistorySources one;
        one.historyFile = dir.file(name);
        const HistoryLoad refused = loadHistory(one);
        ASSERT_EQ(refused.problems.size(), 1u) << name;
        EXPECT_EQ(refused.problems[0].rfind(dir.file(name) + ": ", 0), 0u) << refused.problems[0];
        EXPECT_TRUE(refused.history.empty());
    }
    HistorySources pipe;
    pipe.historyFile = dir.file("pipe");
    EXPECT_NE(loadHistory(pipe).problems[0].find("not a regular file"), std::string::npos);
    HistorySources huge;
    huge.historyFile = dir.file("huge");
    EXPECT_NE(loadHistory(huge).problems[0].find("too large for a call history"), std::string::npos);
}

TEST(SpotWorthOf, ADuplicateIsWorthNothingAKnownGridItsPointsAnUnknownOneNoFigure) {
    auto history = std::make_shared<CallHistory>();
    history->add(parseCallHistory("K1ABC,FN42\nJA1XX,PM95\nW1AW,FN20\n").entries);
    HistoryWorth worth;
    worth.setHistory(history);
    const auto own = gridCorner("FN20");
    ASSERT_TRUE(own);
    worth.setStation("FN20", *own);
    worth.setLog(
        {contact("W1AW", "FN20", "2012/12/29", "23:00:00"), contact("N0AA", "EN34", "2012/12/29", "23:01:00")});

    // The points are what the entry line shows when that grid is typed.
    const auto expectPoints = [&](const char* grid) {
        return std::stoi(computeGridDisplay(grid, "FN20", *own, "").points);
    };
    EXPECT_EQ(worth.worthOf("k1abc"), (SpotWorth{false, expectPoints("FN42"), "FN42"}));
    EXPECT_EQ(worth.worthOf("JA1XX").points, expectPoints("PM95"));
    EXPECT_GT(worth.worthOf("JA1XX").points, 10);
    EXPECT_EQ(worth.worthOf("K1ABC/P").grid, "FN42");
    EXPECT_EQ(worth.worthOf("W1AW"), (SpotWorth{true, 0, ""}));
    EXPECT_EQ(worth.worthOf("W1AW").columnText(), "dupe");
    EXPECT_EQ(worth.worthOf("ZZ9ZZ"), SpotWorth{});
    EXPECT_EQ(worth.worthOf("ZZ9ZZ").columnText(), "");
    // A grid from this log's own contacts counts for a portable station of that call.
    EXPECT_EQ(worth.worthOf("N0AA/P").grid, "EN34");

    // Logged now: a duplicate at once.
    worth.addLogged(contact("K1ABC", "FN42", "2012/12/29", "23:05:00"));
    EXPECT_TRUE(worth.worthOf("K1ABC").duplicate);
    // Deleted again (the log is read anew): worth its points again.
    worth.setLog({});
    EXPECT_EQ(worth.worthOf("K1ABC").points, expectPoints("FN42"));

    // The received grid against the history's.
    const HistoryEntry known{"K1ABC", "FN42", ""};
    EXPECT_EQ(HistoryWorth::mismatchMessage(contact("K1ABC", "FN42", "", ""), &known), std::nullopt);
    EXPECT_EQ(HistoryWorth::mismatchMessage(contact("K1ABC", "FN43", "", ""), &known),
              "Check grid: K1ABC sent FN43, history has FN42");
    EXPECT_EQ(HistoryWorth::mismatchMessage(contact("K1ABC", "FN43", "", ""), nullptr), std::nullopt);
    EXPECT_EQ(HistoryWorth::mismatchMessage(contact("K1ABC/P", "FN43", "", ""), &known), std::nullopt);
}

TEST(HistoryCommand, WritesTheMergedHistoryOfTheLogAndAdifFiles) {
    test::TempDir dir;
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    replaceAtomically("log.txt", logLine("K1ABC", "FN42", "2012/12/29", "23:15:02") +
                                     logLine("W1AW", "FN31", "2012/12/29", "23:16:02"));
    replaceAtomically("a.adi", "<CALL:4>W1AW <QSO_DATE:8>20130101 <GRIDSQUARE:4>FN30 <EOR>\n");
    replaceAtomically("b.adi", "<CALL:4>N0AA <GRIDSQUARE:4>EN34 <EOR>\n");
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(runHistoryCommand({"--out", "shared.txt", "--adif", "a.adi", "b.adi"}, out, err), 0) << err.str();
    EXPECT_EQ(readWholeFile("shared.txt").value_or(""),
              "# Call history written by Varkel's Corvane Contest Log\r\n!!Order!!,Call,Loc1\r\n"
              "K1ABC,FN42\r\nN0AA,EN34\r\nW1AW,FN30\r\n");
    EXPECT_NE(out.str().find("wrote shared.txt: 3 calls"), std::string::npos);

    // Wrong usage and a file that cannot be read: nothing written.
    std::ostringstream ignored;
    EXPECT_EQ(runHistoryCommand({}, ignored, ignored), 2);
    EXPECT_EQ(runHistoryCommand({"--out", "x.txt", "stray"}, ignored, ignored), 2);
    EXPECT_EQ(runHistoryCommand({"--out", "x.txt", "--bogus"}, ignored, ignored), 2);
    std::ostringstream missing;
    EXPECT_EQ(runHistoryCommand({"--out", "x.txt", "--adif", "nowhere.adi"}, ignored, missing), 1);
    EXPECT_NE(missing.str().find("nowhere.adi"), std::string::npos);
    EXPECT_FALSE(fileExists("x.txt"));
    std::filesystem::current_path(previous);
}
