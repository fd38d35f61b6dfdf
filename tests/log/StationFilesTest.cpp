#include "TempDir.h"
#include "core/SharedPrefs.h"
#include "core/UserFolders.h"
#include "log/Entry.h"
#include "log/WorkingFolder.h"
#include "log/station/Preferences.h"
#include "log/station/UtcOffset.h"
#include "voice/VoiceSettings.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace corvane;

namespace {

Preferences sample() {
    Preferences p;
    p.ownCall = "W1XYZ";
    p.ownGrid = "FN20";
    p.utcOffsetHours = 5.5f;
    p.timeOnAccumulatedSeconds = 3723.0f;
    p.powerCategory = 1;
    p.formSizePercent = 90;
    p.ownLongitude = 76.0;
    p.ownLatitude = 40.0;
    p.gridViewCaption = "View Bands";
    p.workedColour = 0x00FF00;
    p.remainingColour = 0x808080;
    p.taskbar = 1;
    p.listPrevious = 1;
    return p;
}

} // namespace

// The items voice navigation and rig control keep in the file.
FeaturePreferences sampleFeatures() {
    return FeaturePreferences{2, "Kenwood TS-570"};
}

TEST(Preferences, NineteenItemsByteExactAndRoundTrip) {
    const std::string bytes = formatPreferences(sample(), sampleFeatures());
    EXPECT_EQ(bytes, "\"W1XYZ\"\r\n\"FN20\"\r\n5.5\r\n\"CW\"\r\n\"160\"\r\n3723\r\n1\r\n1\r\n90\r\n0\r\n76\r\n40\r\n"
                     "\"View Bands\"\r\n65280\r\n8421504\r\n2\r\n\"Kenwood TS-570\"\r\n1\r\n1\r\n");
    const auto read = parsePreferences(bytes);
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(read.itemsRead, 19);
    EXPECT_EQ(formatPreferences(read.prefs, read.features), bytes);
    EXPECT_EQ(read.prefs.utcOffsetHours, 5.5f);
    EXPECT_EQ(read.features.selectedRig, "Kenwood TS-570");
    EXPECT_EQ(read.features.voiceNavLevel, 2);
}

TEST(Preferences, ShortOrMistypedFilesFail) {
    const std::string bytes = formatPreferences(sample());
    const auto cut = bytes.substr(0, bytes.rfind("1\r\n"));
    EXPECT_FALSE(parsePreferences(cut).ok);
    EXPECT_EQ(parsePreferences(cut).itemsRead, 18);
    std::string textForNumber = bytes;
    textForNumber.replace(textForNumber.find("5.5"), 3, "\"x\"");
    EXPECT_FALSE(parsePreferences(textForNumber).ok);
    std::string byteTooLarge = bytes;
    byteTooLarge.replace(byteTooLarge.find("\r\n90\r\n"), 6, "\r\n300\r\n");
    EXPECT_FALSE(parsePreferences(byteTooLarge).ok);
    EXPECT_FALSE(parsePreferences("").ok);
}

TEST(SharedPrefs, SetReplacesTheFirstElementOrAppendsOne) {
    test::TempDir dir;
    SharedPrefs prefs;
    prefs.load(dir.file("SharedUserPreferences.xml"));
    EXPECT_EQ(prefs.buffer(), "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>");
    prefs.set("own_call", "W1AB", false);
    prefs.set("OWN_CALL", "W1XYZ", false);
    ASSERT_TRUE(prefs.set("OWN_GRID", "FN20", true).ok);
    const std::string expected =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n<OWN_CALL>W1XYZ</OWN_CALL>\r\n<OWN_GRID>FN20</OWN_GRID>\r\n";
    EXPECT_EQ(readWholeFile(dir.file("SharedUserPreferences.xml")), expected);

    // Loading drops the line end that saving added, so the next save does not grow.
    SharedPrefs again;
    again.load(dir.file("SharedUserPreferences.xml"));
    ASSERT_TRUE(again.set("OWN_GRID", "FN31", true).ok);
    EXPECT_EQ(
        readWholeFile(dir.file("SharedUserPreferences.xml")),
        "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n<OWN_CALL>W1XYZ</OWN_CALL>\r\n<OWN_GRID>FN31</OWN_GRID>\r\n");
}

TEST(UtcOffset, AskedOnlyWhenTheClockDisagrees) {
    const DateTime local{2012, 12, 29, 18, 0, 0};
    const DateTime utc{2012, 12, 29, 23, 0, 0};
    EXPECT_EQ(recommendedUtcOffset(utc, local), 5.0);
    EXPECT_FALSE(utcOffsetQuestion(5.0f, utc, local));
    const auto q = utcOffsetQuestion(4.0f, utc, local);
    ASSERT_TRUE(q);
    EXPECT_EQ(q->defaultAnswer, "5");
    EXPECT_EQ(q->prompt, "Would you like to adjust the UTC offset in this program for your local time setting?\r\n\r\n"
                         "Current System Time: 23:00\r\n\r\nCurrent Local Time: 18:00\r\n\r\n"
                         "Recommended Offset Setting: 5\r\n\r\nCurrent Offset Setting: 4\r\n\r\n"
                         "Please click OK to accept the recommended change or Cancel to keep the current setting.");
    // India: UTC is local - 5:30.
    EXPECT_EQ(recommendedUtcOffset(DateTime{2012, 12, 29, 12, 30, 0}, DateTime{2012, 12, 29, 18, 0, 0}), -5.5);
}

TEST(VoiceSettings, ThirteenItemsReadAndWritten) {
    VoiceSettings s;
    s.recordingPaths[0] = "/home/op/cq.wav";
    s.pttPort = "2";
    s.pttLine = PttLine::Dtr;
    s.loopSeconds = "2.5";
    const std::string bytes = formatVoiceSettings(s);
    EXPECT_EQ(bytes,
              "\"/home/op/cq.wav\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"2\"\r\n1\r\n"
              "\"2.5\"\r\n\"&H378\"\r\n");
    const auto read = parseVoiceSettings(bytes);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->pttLine, PttLine::Dtr);
    EXPECT_EQ(read->repeatIntervalMs(), 2500);
    EXPECT_EQ(formatVoiceSettings(*read), bytes);

    // An empty line choice leaves the default; a short file fails.
    std::string empty = bytes;
    empty.replace(empty.find("\r\n1\r\n"), 5, "\r\n\r\n");
    ASSERT_TRUE(parseVoiceSettings(empty));
    EXPECT_FALSE(parseVoiceSettings(empty)->pttLine);
    EXPECT_FALSE(parseVoiceSettings(bytes.substr(0, bytes.rfind("\"&H378\""))));
}

TEST(WorkingFolder, SeededOnlyWhenItHoldsNoneOfTheFiles) {
    test::TempDir defaults;
    for (const auto& name : workingFolderFiles()) {
        replaceAtomically(defaults.file(name), name + " default");
    }
    test::TempDir fresh;
    EXPECT_EQ(seedWorkingFolder(fresh.path().string(), defaults.path().string()).result, SeedResult::Seeded);
    EXPECT_EQ(readWholeFile(fresh.file("cw.txt")), "cw.txt default");

    test::TempDir partial;
    replaceAtomically(partial.file("log.txt"), "mine");
    EXPECT_EQ(seedWorkingFolder(partial.path().string(), defaults.path().string()).result, SeedResult::AlreadyPrepared);
    EXPECT_FALSE(fileExists(partial.file("cvnpref.txt")));
    EXPECT_EQ(readWholeFile(partial.file("log.txt")), "mine");

    test::TempDir noDefaults;
    test::TempDir target;
    EXPECT_EQ(seedWorkingFolder(target.path().string(), noDefaults.file("missing")).result, SeedResult::Failed);
}

TEST(Folders, DocumentsFolderOrTheDataFolder) {
    test::TempDir home;
    std::vector<std::string> reports;
    const FolderReport report = [&](const std::string& title, const std::string&) { reports.push_back(title); };
    FolderBases bases{home.file("Documents"), home.file(".local/share")};
    const UserFolders folders = locateUserFolders(bases, report);
    EXPECT_EQ(folders.userDataFolder, home.file("Documents") + "/Varkel Software/Corvane");
    EXPECT_EQ(folders.sharedFolder, home.file("Documents") + "/Varkel Software/Shared");
    EXPECT_TRUE(std::filesystem::is_directory(folders.sharedFolder));
    EXPECT_TRUE(reports.empty());

    // A documents "folder" that is a file cannot be used: the data folder stands in.
    test::TempDir other;
    replaceAtomically(other.file("Documents"), "not a folder");
    const UserFolders fallback = locateUserFolders({other.file("Documents"), other.file("data")}, report);
    EXPECT_EQ(fallback.userDataFolder, other.file("data") + "/Varkel Software/Corvane");
    EXPECT_TRUE(std::filesystem::is_directory(fallback.userDataFolder));

    EXPECT_FALSE(ensureFolder("", true, report));
    EXPECT_EQ(reports.back(), "Unable to Create Directory");
}

TEST(Entry, ClockTextsAndCompleteness) {
    EXPECT_EQ(formatDuration(3723), "01:02:03");
    EXPECT_EQ(formatDuration(360000 + 59), "100:00:59");
    EXPECT_EQ(timeOnTotalSeconds({2012, 12, 29, 23, 0, 0}, {2012, 12, 30, 0, 0, 1}, 10), 3611.0f);
    EXPECT_EQ(formatLocalClock({2012, 12, 29, 0, 5, 9}), "12:05:09");
    EXPECT_EQ(formatLocalClock({2012, 12, 29, 21, 30, 0}), "9:30:00");
    const auto both = checkCompleteness("", "");
    EXPECT_EQ(both.beeps, 2);
    EXPECT_EQ(both.message, "Need Call Sign!");
    EXPECT_EQ(both.focus, EntryFocus::Call);
    EXPECT_EQ(checkCompleteness("K1ABC", "").message, "Need Grid!");
    EXPECT_FALSE(checkCompleteness("K1A", "FN31").incomplete);
    const auto stamp = stampPostContest("12/29/2012", "915");
    EXPECT_TRUE(stamp.ok);
    EXPECT_EQ(stamp.dateText, "2012/12/29");
    EXPECT_EQ(stamp.timeText, "09:15");
    EXPECT_EQ(stamp.fault, StampFault::None);
    // The fault says which field is wrong; a bad date leaves the time as typed.
    const auto badDate = stampPostContest("2012/13/01", "915");
    EXPECT_EQ(badDate.fault, StampFault::Date);
    EXPECT_EQ(badDate.timeText, "915");
    const auto badTime = stampPostContest("2012/12/28", "25:00");
    EXPECT_EQ(badTime.fault, StampFault::Time);
    EXPECT_EQ(badTime.dateText, "2012/12/28");
    EXPECT_FALSE(badDate.ok || badTime.ok);
}

TEST(Preferences, AnItemBeyondTheRangeOfItsTypeIsAReadError) {
    // The short file a fuzzer found: the seventh item, a byte, holds 1e308.
    const std::string huge = "\"\"\r\n\"\"\r\n0\r\n\"\"\r\n\"\"\r\n0\r\n1e308\r\n";
    PreferencesReadResult read = parsePreferences(huge);
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(read.itemsRead, 6);

    Preferences p;
    std::string bytes = formatPreferences(p);
    const auto replaceItem = [&bytes](int item, const std::string& with) {
        std::size_t start = 0;
        for (int i = 1; i < item; ++i) {
            start = bytes.find("\r\n", start) + 2;
        }
        const std::size_t end = bytes.find("\r\n", start);
        std::string changed = bytes;
        changed.replace(start, end - start, with);
        return changed;
    };
    EXPECT_FALSE(parsePreferences(replaceItem(3, "1e39")).ok); // a single holds at most 3.4e38
    EXPECT_TRUE(parsePreferences(replaceItem(3, "-3e38")).ok);
    EXPECT_FALSE(parsePreferences(replaceItem(9, "256")).ok); // a byte
    EXPECT_TRUE(parsePreferences(replaceItem(9, "255.4")).ok);
    EXPECT_FALSE(parsePreferences(replaceItem(14, "2147483648")).ok); // a long
    EXPECT_FALSE(parsePreferences(replaceItem(14, "-1e41")).ok);
    EXPECT_EQ(parsePreferences(replaceItem(14, "-2147483648")).prefs.workedColour, -2147483648L);
}
