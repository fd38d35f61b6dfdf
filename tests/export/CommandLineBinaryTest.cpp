// The built program run without a display writes the same files as the windows do.

#include "TempDir.h"
#include "core/Clock.h"
#include "core/DurableFile.h"
#include "core/SharedPrefs.h"
#include "export/Cabrillo.h"
#include "export/ui/CabrilloWindow.h"
#include "export/ui/ExportActions.h"
#include "log/LogStore.h"
#include "log/station/Preferences.h"
#include "platform/QtSettingsStore.h"
#include "support/ScriptedDialogs.h"

#include <QProcess>
#include <QStringList>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace corvane;

namespace {

struct Folder {
    test::TempDir dir;
    Preferences prefs;
    LogStore store{dir.file("log.txt")};

    Folder() {
        prefs.ownCall = "W1XYZ/P";
        prefs.ownGrid = "FN20";
        prefs.powerCategory = 2;
        replaceAtomically(dir.file("cvnpref.txt"), formatPreferences(prefs));
        std::vector<QsoRecord> records = {
            {"K1ABC", "202", "FN31", "", "FN20", "2012/12/29", "23:15:02", "1", "CW", ""},
            {"VE3ABCDEFGHIJKL", "1,234", "EN93", "", "FN20", "2012/12/29", "23:16", "3", "CW", "1830.000"},
        };
        replaceAtomically(dir.file("log.txt"), formatLog(records));
        store.load();
    }

    int run(const QStringList& args, std::string* err = nullptr, bool noPlatform = false, std::string* out = nullptr,
            const QString& display = {}) const {
        QProcess process;
        process.setWorkingDirectory(QString::fromStdString(dir.path().string()));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), QString::fromStdString(dir.path().string()));
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        if (!display.isEmpty()) {
            env.insert(QStringLiteral("DISPLAY"), display);
        }
        if (noPlatform) {
            env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        } else {
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("minimal"));
        }
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(CORVANE_BINARY), args);
        if (!process.waitForFinished(30000)) {
            process.kill();
            process.waitForFinished();
            return -2; // still running: it waited on something, or opened its windows
        }
        if (err) {
            *err = process.readAllStandardError().toStdString();
        }
        if (out) {
            *out = process.readAllStandardOutput().toStdString();
        }
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }
};

std::string withoutExportDate(const std::string& adif) {
    const auto start = adif.find("Log exported on: ");
    const auto end = adif.find("\r\n", start);
    return adif.substr(0, start) + adif.substr(end);
}

} // namespace

TEST(CommandLineBinary, CabrilloEqualsTheSummaryWindowsFile) {
    Folder f;
    const std::string ini = f.dir.file("details.ini");
    auto settings = makeFileSettingsStore(ini);
    settings->set("UserAddressName", "Pat Doe");
    settings->set("UserClubName", "YCCC");
    SharedPrefs shared;
    shared.load(f.dir.file("Shared.xml"));
    test::ScriptedDialogs dialogs;
    dialogs.fileAnswers.push_back(QString::fromStdString(f.dir.file("window.log")));
    CabrilloWindow window(dialogs, *settings, shared, f.store.log(), f.prefs,
                          QString::fromStdString(totalScoreText(f.store.log().totalPoints(), f.prefs.powerCategory)),
                          QString::fromStdString(f.dir.path().string()));
    ASSERT_TRUE(window.writeCabrillo());

    std::string err;
    ASSERT_EQ(f.run({"cabrillo", "--out", "cli.log", "--settings", QString::fromStdString(ini)}, &err), 0) << err;
    const auto fromWindow = readWholeFile(f.dir.file("window.log"));
    ASSERT_TRUE(fromWindow);
    EXPECT_EQ(readWholeFile(f.dir.file("cli.log")), fromWindow);
    EXPECT_NE(fromWindow->find("CLAIMED-SCORE: 8\r\n"), std::string::npos);
}

TEST(CommandLineBinary, AdifEqualsTheExportWithTheInputBoxDefaults) {
    Folder f;
    test::ScriptedDialogs dialogs;
    dialogs.inputAnswers.push_back(QStringLiteral("100"));
    dialogs.inputAnswers.push_back(QStringLiteral("Corvane Contest"));
    dialogs.fileAnswers.push_back(QString::fromStdString(f.dir.file("window.adi")));
    SystemClock clock;
    ASSERT_TRUE(exportAdif(dialogs, clock, f.store.log(), QString::fromStdString(f.dir.path().string()), nullptr));
    ASSERT_EQ(f.run({"adif", "--out", "cli.adi"}), 0);
    EXPECT_EQ(withoutExportDate(*readWholeFile(f.dir.file("cli.adi"))),
              withoutExportDate(*readWholeFile(f.dir.file("window.adi"))));
}

TEST(CommandLineBinary, CheckAndScoreAndUsage) {
    Folder f;
    EXPECT_EQ(f.run({"check"}), 0);
    EXPECT_EQ(f.run({"score"}), 0);
    replaceAtomically(f.dir.file("log.txt"), "\"K1ABC\",\"1\"\r\n");
    std::string err;
    EXPECT_EQ(f.run({"check"}, &err), 1);
    EXPECT_EQ(f.run({"cabrillo"}, &err), 2);
    EXPECT_FALSE(fileExists(f.dir.file("cli.log")));
}

TEST(CommandLineBinary, AnUnknownCommandOrOptionEndsWithTheUsage) {
    Folder f;
    for (const QString& wrong : {QStringLiteral("bogus"), QStringLiteral("--bogus"), QStringLiteral("-x")}) {
        std::string err;
        std::string out;
        EXPECT_EQ(f.run({wrong}, &err, false, &out), 2) << wrong.toStdString();
        EXPECT_TRUE(err.starts_with("corvane: unknown ")) << err;
        EXPECT_NE(err.find("Usage: corvane"), std::string::npos) << err;
        EXPECT_EQ(out, "");
    }
    EXPECT_EQ(*readWholeFile(f.dir.file("log.txt")), formatLog(f.store.log().records()));
}

TEST(CommandLineBinary, WithoutADisplayTheWindowsSayItInOneLine) {
    Folder f;
    std::string err;
    std::string out;
    EXPECT_EQ(f.run({}, &err, true, &out), 1); // the toolkit would abort (status 134) with its plugin text
    EXPECT_EQ(
        err,
        "corvane: no display to open the windows on (neither DISPLAY nor WAYLAND_DISPLAY is set); "
        "without one, these commands work: corvane cabrillo, adif, report, history, score and check (corvane --help "
        "tells more).\n");
    EXPECT_EQ(out, "");
    // The commands themselves need none.
    EXPECT_EQ(f.run({"score"}, &err, true, &out), 0) << err;
    EXPECT_NE(out.find("contacts: 2"), std::string::npos) << out;

    // A display named, but no server there.
    int unused = 7391;
    while (std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(unused))) {
        ++unused;
    }
    const std::string display = ":" + std::to_string(unused);
    EXPECT_EQ(f.run({}, &err, true, &out, QString::fromStdString(display)), 1);
    EXPECT_EQ(err, "corvane: the display " + display +
                       " cannot be opened (no display server answers there); without one, these commands work: "
                       "corvane cabrillo, adif, score and check (corvane --help tells more).\n");
    EXPECT_EQ(out, "");
}

TEST(CommandLineBinary, CheckRefusesALogThatIsAPipeWithoutWaiting) {
    Folder f;
    std::filesystem::remove(f.dir.file("log.txt"));
    ASSERT_EQ(::mkfifo(f.dir.file("log.txt").c_str(), 0644), 0);
    std::string err;
    EXPECT_EQ(f.run({"check"}, &err), 1);
    EXPECT_EQ(err, "corvane: log.txt: cannot be read: not a regular file (it is a named pipe)\n");
}
