#include "export/CommandLine.h"

#include "ExportTestData.h"
#include "TempDir.h"
#include "core/DurableFile.h"
#include "export/Adif.h"
#include "export/Cabrillo.h"
#include "log/LogFile.h"
#include "log/station/Preferences.h"
#include "report/ReportHtml.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <sys/stat.h>
#include <vector>

using namespace corvane;
using corvane::test::k1abcContact;

namespace {

class FakeSettings final : public SettingsStore {
public:
    explicit FakeSettings(std::map<std::string, std::string> values) : m_values(std::move(values)) {}
    std::string get(const std::string& key) const override {
        const auto it = m_values.find(key);
        return it == m_values.end() ? std::string() : it->second;
    }
    void set(const std::string& key, const std::string& value) override { m_values[key] = value; }

private:
    std::map<std::string, std::string> m_values;
};

const std::map<std::string, std::string> kDetails{{"UserAddressName", "Pat Doe"},
                                                  {"UserAddressLine1", "1 Main St"},
                                                  {"UserAddressLine2", "Town"},
                                                  {"UserEMail", "pat@example.org"},
                                                  {"UserClubName", "YCCC"}};

class CommandLine : public ::testing::Test {
protected:
    void SetUp() override {
        m_oldDir = std::filesystem::current_path();
        std::filesystem::current_path(m_dir.path());
        m_records = {k1abcContact(), k1abcContact()};
        m_records[1].call = "N2DEF";
        m_records[1].points = "4";
        ASSERT_TRUE(replaceAtomically("log.txt", formatLog(m_records)).ok);
        m_prefs.ownCall = "W1XYZ";
        m_prefs.ownGrid = "FM19";
        m_prefs.powerCategory = 1;
        ASSERT_TRUE(replaceAtomically("cvnpref.txt", formatPreferences(m_prefs)).ok);
        m_env.openSettings = [this](const std::string& iniPath) {
            m_settingsPath = iniPath;
            return std::make_unique<FakeSettings>(kDetails);
        };
        m_env.exportDateText = [] { return std::string("2012-12-30 10:00:00"); };
    }
    void TearDown() override { std::filesystem::current_path(m_oldDir); }

    std::optional<int> run(std::vector<std::string> args) {
        args.insert(args.begin(), "corvane");
        std::vector<char*> argv;
        for (auto& a : args) {
            argv.push_back(a.data());
        }
        m_out.str("");
        m_err.str("");
        return runCommandLine(static_cast<int>(argv.size()), argv.data(), m_out, m_err, m_env);
    }

    corvane::test::TempDir m_dir;
    std::filesystem::path m_oldDir;
    std::vector<QsoRecord> m_records;
    Preferences m_prefs;
    CommandLineEnvironment m_env;
    std::string m_settingsPath = "(not opened)";
    std::ostringstream m_out;
    std::ostringstream m_err;
};

} // namespace

TEST_F(CommandLine, NoArgumentsOrTheToolkitsOwnOptionsOpenTheWindows) {
    EXPECT_EQ(run({}), std::nullopt);
    EXPECT_EQ(run({"-platform", "offscreen"}), std::nullopt);
    EXPECT_EQ(run({"--platform=offscreen", "-reverse", "-style", "Fusion"}), std::nullopt);
    EXPECT_EQ(m_err.str(), "");
}

TEST_F(CommandLine, AnUnknownCommandOrOptionPrintsTheUsage) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"bogus"}, {"log.txt"}, {"--bogus"}, {"-x"}, {"-platform"}, {"-reverse=1"}, {"-platform", "xcb", "now"}}) {
        EXPECT_EQ(run(args), 2) << args.front();
        EXPECT_EQ(m_out.str(), "");
        EXPECT_TRUE(m_err.str().starts_with("corvane: ")) << m_err.str();
        EXPECT_TRUE(m_err.str().ends_with(commandLineHelp()));
    }
    run({"bogus"});
    EXPECT_EQ(m_err.str(), "corvane: unknown command 'bogus'\n\n" + commandLineHelp());
    run({"--bogus"});
    EXPECT_EQ(m_err.str(), "corvane: unknown option '--bogus'\n\n" + commandLineHelp());
    // Help wins wherever it is asked for.
    EXPECT_EQ(run({"-platform", "offscreen", "--help"}), 0);
    EXPECT_EQ(m_out.str(), commandLineHelp());
}

TEST_F(CommandLine, DesktopOpensTheWindowsInTheContestFolder) {
    const auto desktop = [](std::vector<std::string> args) {
        args.insert(args.begin(), "corvane");
        std::vector<char*> argv;
        for (auto& a : args) {
            argv.push_back(a.data());
        }
        return desktopStart(static_cast<int>(argv.size()), argv.data());
    };
    EXPECT_EQ(run({"--desktop"}), std::nullopt);
    EXPECT_EQ(run({"-platform", "offscreen", "--desktop"}), std::nullopt);
    EXPECT_EQ(m_err.str(), "");
    EXPECT_TRUE(desktop({"--desktop"}));
    EXPECT_TRUE(desktop({"-desktop", "-style", "Fusion"}));
    EXPECT_FALSE(desktop({}));
    EXPECT_FALSE(desktop({"-platform", "offscreen"}));
    // Not for a command, and not with arguments that are wrong anyway.
    EXPECT_FALSE(desktop({"score", "--desktop"}));
    EXPECT_FALSE(desktop({"--desktop", "--bogus"}));
    EXPECT_EQ(run({"--desktop=yes"}), 2);
    EXPECT_NE(commandLineHelp().find("corvane --desktop"), std::string::npos);
}

TEST(CommandLineDisplay, TheWindowsNeedADisplayOrAPlatformWithoutOne) {
    const auto check = [](std::vector<std::string> args, std::map<std::string, std::string> env) {
        args.insert(args.begin(), "corvane");
        std::vector<char*> argv;
        for (auto& a : args) {
            argv.push_back(a.data());
        }
        return noDisplayMessage(static_cast<int>(argv.size()), argv.data(), [&env](const char* name) {
            const auto it = env.find(name);
            return it == env.end() ? std::string() : it->second;
        });
    };
    const auto none = check({}, {});
    ASSERT_TRUE(none.has_value());
    EXPECT_EQ(
        *none,
        "corvane: no display to open the windows on (neither DISPLAY nor WAYLAND_DISPLAY is set); "
        "without one, these commands work: corvane cabrillo, adif, report, history, score and check (corvane --help "
        "tells more).");
    EXPECT_EQ(none->find('\n'), std::string::npos);
    EXPECT_TRUE(check({}, {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}}).has_value());
    EXPECT_FALSE(check({}, {{"DISPLAY", ":0"}}).has_value());
    EXPECT_FALSE(check({}, {{"WAYLAND_DISPLAY", "wayland-0"}}).has_value());
    EXPECT_FALSE(check({}, {{"QT_QPA_PLATFORM", "offscreen"}}).has_value());
    EXPECT_FALSE(check({"-platform", "minimal"}, {}).has_value());
    EXPECT_TRUE(check({}, {{"QT_QPA_PLATFORM", "xcb"}}).has_value());
    EXPECT_TRUE(check({"-platform", "xcb:nograb"}, {{"QT_QPA_PLATFORM", "offscreen"}}).has_value());
    EXPECT_FALSE(check({"-platform", "xcb", "-display", ":1"}, {}).has_value());
}

TEST_F(CommandLine, CabrilloFileEqualsTheBuilderOutput) {
    ASSERT_EQ(run({"cabrillo", "--out", "W1XYZ.log", "--multi", "--operators", "w1xyz k1abc", "--soapbox=Fun!"}), 0)
        << m_err.str();
    EXPECT_EQ(m_settingsPath, "");
    CabrilloInput in;
    in.records = m_records;
    in.ownCall = "W1XYZ";
    in.powerCategory = 1;
    in.totalScoreText = "28";
    in.category = OperatorCategory::Multi;
    in.operators = "W1XYZ K1ABC";
    in.soapbox = "Fun!";
    in.name = "Pat Doe";
    in.addressLine1 = "1 Main St";
    in.addressLine2 = "Town";
    in.email = "pat@example.org";
    in.club = "YCCC";
    EXPECT_EQ(readWholeFile("W1XYZ.log"), buildCabrillo(in));
    EXPECT_EQ(m_out.str(), "wrote W1XYZ.log: 2 contacts\n");

    ASSERT_EQ(run({"cabrillo", "--out", "single.log", "--settings", "details.ini"}), 0);
    EXPECT_EQ(m_settingsPath, "details.ini");
    const std::string single = *readWholeFile("single.log");
    EXPECT_NE(single.find("CATEGORY: SINGLE-OP 160M QRP \r\nCLAIMED-SCORE: 28\r\nOPERATORS: W1XYZ\r\n"),
              std::string::npos);
}

TEST_F(CommandLine, AdifFileEqualsTheBuilderOutput) {
    ASSERT_EQ(run({"adif", "--out", "Corvane.adi", "--power", "100", "--comment", "Corvane Contest"}), 0)
        << m_err.str();
    AdifInput in;
    in.records = m_records;
    in.power = "100";
    in.comment = "Corvane Contest";
    in.exportDateText = "2012-12-30 10:00:00";
    EXPECT_EQ(readWholeFile("Corvane.adi"), buildAdif(in));

    // Command-line text is UTF-8; the file is 8-bit.
    ASSERT_EQ(run({"adif", "--out", "latin.adi", "--comment", "Caf\xC3\xA9"}), 0);
    EXPECT_NE(readWholeFile("latin.adi")->find("<Comment:4>Caf\xE9\r\n"), std::string::npos);

    // Left out, power and comment are the input boxes' defaults; empty texts leave them out.
    ASSERT_EQ(run({"adif", "--out", "defaults.adi"}), 0);
    EXPECT_EQ(readWholeFile("defaults.adi"), buildAdif(in));
    ASSERT_EQ(run({"adif", "--out", "bare.adi", "--power", "", "--comment", ""}), 0);
    in.power.clear();
    in.comment.clear();
    EXPECT_EQ(readWholeFile("bare.adi"), buildAdif(in));
}

TEST_F(CommandLine, ReportWritesThePageAndItsPictures) {
    std::vector<std::string> drawn;
    m_env.coastlineFile = [] { return std::string(); };
    m_env.writePicture = [&drawn](const Scene& picture, const std::string& path) {
        drawn.push_back(picture.name);
        return replaceAtomically(path, "png of " + picture.name);
    };
    ASSERT_EQ(run({"report", "--out", "report.html", "--png", "pictures/night"}), 0) << m_err.str();
    ContactLog log;
    log.assign(m_records);
    const Preferences prefs = parsePreferences(*readWholeFile("cvnpref.txt")).prefs;
    EXPECT_EQ(readWholeFile("report.html"), makeContestReport(log, prefs, loadCoastlines(""), kProgramTitle).html);
    EXPECT_EQ(drawn, (std::vector<std::string>{"map", "hours", "points"}));
    EXPECT_EQ(readWholeFile("pictures/night/hours.png"), "png of hours");
    EXPECT_EQ(m_out.str(),
              "wrote report.html: 2 contacts\nwrote pictures/night/map.png\nwrote pictures/night/hours.png\n"
              "wrote pictures/night/points.png\n");
    EXPECT_NE(m_err.str().find("corvane: note: Coastlines are not installed"), std::string::npos);

    // A picture that cannot be written is named; the page is whole.
    m_env.writePicture = [](const Scene&, const std::string&) {
        return FileResult::failure("No space left on device");
    };
    EXPECT_EQ(run({"report", "--out", "again.html", "--png", "pictures"}), 1);
    EXPECT_TRUE(m_err.str().ends_with("corvane: pictures/map.png: cannot be written: No space left on device\n"));
    EXPECT_TRUE(readWholeFile("again.html")->ends_with("</html>\r\n"));
    m_env.writePicture = nullptr;
    EXPECT_EQ(run({"report", "--out", "none.html", "--png", "pictures"}), 1);
    EXPECT_FALSE(fileExists("none.html"));
}

TEST_F(CommandLine, ScorePrintsOneValueALine) {
    ASSERT_EQ(run({"score"}), 0) << m_err.str();
    EXPECT_EQ(m_out.str(), "contacts: 2\ntotal points: 7\npower multiplier: 4\ntotal score: 28\n");
}

TEST_F(CommandLine, CheckReportsTheDamagedLine) {
    EXPECT_EQ(run({"check"}), 0);
    EXPECT_EQ(m_out.str(), "log.txt: good, 2 contacts\n");

    std::vector<QsoRecord> oddTimes = m_records;
    oddTimes[1].qsoDate = "2012/02/30";
    oddTimes[1].qsoTime = "2315";
    ASSERT_TRUE(replaceAtomically("log.txt", formatLog(oddTimes)).ok);
    EXPECT_EQ(run({"check"}), 0);
    EXPECT_EQ(m_out.str(), "log.txt line 2: warning: the date \"2012/02/30\" is not a date\n"
                           "log.txt line 2: warning: the time \"2315\" is not a time\n"
                           "log.txt: good, 2 contacts\n");

    std::string text = formatLog(m_records);
    text += "\"K9XX\",\"1\",\"FN31\"\r\n";
    ASSERT_TRUE(replaceAtomically("log.txt", text).ok);
    EXPECT_EQ(run({"check"}), 1);
    EXPECT_NE(m_err.str().find("log.txt line 3: the line has 3 of the 10 fields"), std::string::npos) << m_err.str();

    std::filesystem::remove("log.txt");
    EXPECT_EQ(run({"check"}), 1);
    EXPECT_NE(m_err.str().find("log.txt: cannot be read"), std::string::npos) << m_err.str();
}

TEST_F(CommandLine, CheckNamesControlCharactersAndRefusesAPipe) {
    std::vector<QsoRecord> escaped = m_records;
    escaped[1].call = "N2\x1B[31mDEF";
    ASSERT_TRUE(replaceAtomically("log.txt", formatLog(escaped)).ok);
    EXPECT_EQ(run({"check"}), 1);
    EXPECT_EQ(m_err.str(), "corvane: log.txt line 2: the call field holds a control character (byte 0x1B)\n");
    // ... and no Cabrillo file carries it on.
    EXPECT_EQ(run({"cabrillo", "--out", "out.log"}), 1);
    EXPECT_FALSE(fileExists("out.log"));

    std::filesystem::remove("log.txt");
    ASSERT_EQ(::mkfifo("log.txt", 0644), 0);
    EXPECT_EQ(run({"check"}), 1); // would wait for ever on a blocking open
    EXPECT_EQ(m_err.str(), "corvane: log.txt: cannot be read: not a regular file (it is a named pipe)\n");
    EXPECT_EQ(run({"score"}), 1);
}

TEST_F(CommandLine, DamagedInputWritesNoFile) {
    ASSERT_TRUE(replaceAtomically("out.log", "earlier file").ok);
    ASSERT_TRUE(replaceAtomically("log.txt", "\"K1ABC\",\"1\"\r\n").ok);
    EXPECT_EQ(run({"cabrillo", "--out", "out.log"}), 1);
    EXPECT_EQ(run({"adif", "--out", "new.adi"}), 1);
    EXPECT_EQ(readWholeFile("out.log"), "earlier file");
    EXPECT_FALSE(fileExists("new.adi"));
    // The report tells of a damaged log exactly as check does.
    EXPECT_EQ(run({"check"}), 1);
    const std::string checkSays = m_err.str();
    EXPECT_EQ(run({"report", "--out", "report.html", "--png", "pictures"}), 1);
    EXPECT_EQ(m_err.str(), checkSays);
    EXPECT_FALSE(fileExists("report.html"));
    EXPECT_FALSE(std::filesystem::exists("pictures"));

    ASSERT_TRUE(replaceAtomically("log.txt", formatLog(m_records)).ok);
    ASSERT_TRUE(replaceAtomically("cvnpref.txt", "\"W1XYZ\"\r\n").ok);
    EXPECT_EQ(run({"cabrillo", "--out", "out.log"}), 1);
    EXPECT_NE(m_err.str().find("cvnpref.txt"), std::string::npos);
    EXPECT_EQ(run({"score"}), 1);
    EXPECT_EQ(readWholeFile("out.log"), "earlier file");

    EXPECT_EQ(run({"cabrillo", "--out", "no-such-folder/out.log"}), 1);
}

TEST_F(CommandLine, BadUsageIsRefusedBeforeAnythingIsWritten) {
    const std::vector<std::vector<std::string>> bad{{"cabrillo"},
                                                    {"cabrillo", "--out"},
                                                    {"cabrillo", "--out", "a.log", "--power", "5"},
                                                    {"cabrillo", "--out", "a.log", "--out", "b.log"},
                                                    {"cabrillo", "--out", "a.log", "--multi=yes"},
                                                    {"adif", "--out", "a.log", "extra"},
                                                    {"adif", "--out="},
                                                    {"score", "--out", "a.log"},
                                                    {"report"},
                                                    {"report", "--png", "a.log"},
                                                    {"report", "--out", "a.log", "--png="},
                                                    {"check", "now"}};
    for (const auto& args : bad) {
        EXPECT_EQ(run(args), 2) << args.back();
        EXPECT_NE(m_err.str().find("Usage: corvane"), std::string::npos);
    }
    EXPECT_FALSE(fileExists("a.log"));
    EXPECT_FALSE(fileExists("b.log"));
}

TEST_F(CommandLine, HelpNamesEveryCommand) {
    ASSERT_EQ(run({"--help"}), 0);
    const std::string help = m_out.str();
    for (const char* word : {"cabrillo", "adif", "report", "score", "check", "--out", "--multi", "--operators",
                             "--soapbox", "--power", "--comment", "--settings", "--png", "Exit status"}) {
        EXPECT_NE(help.find(word), std::string::npos) << word;
    }
    EXPECT_EQ(run({"adif", "--help"}), 0);
    EXPECT_EQ(m_out.str(), help);
}
