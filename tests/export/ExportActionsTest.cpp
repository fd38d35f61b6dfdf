#include "export/ui/ExportActions.h"

#include "ExportTestData.h"
#include "TempDir.h"
#include "core/DurableFile.h"
#include "export/Adif.h"
#include "export/CommandLine.h"
#include "log/ContactLog.h"
#include "log/LogFile.h"
#include "log/station/Preferences.h"
#include "support/ManualClock.h"
#include "support/ScriptedDialogs.h"

#include <QClipboard>
#include <QGuiApplication>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

using namespace corvane;
using corvane::test::ScriptedDialogs;

namespace {

ContactLog oneContact() {
    ContactLog log;
    log.assign({corvane::test::k1abcContact()});
    return log;
}

} // namespace

TEST(ExportActions, AdifWithTheDefaultAnswersAndACancelledComment) {
    corvane::test::TempDir dir;
    ScriptedDialogs dialogs;
    const ManualClock clock(DateTime{2012, 12, 30, 10, 0, 0});
    const ContactLog log = oneContact();
    const std::string path = dir.file("export.adi");
    dialogs.inputAnswers = {QStringLiteral("100"), QString()}; // power typed, comment cancelled
    dialogs.fileAnswers = {QString::fromStdString(path)};
    ASSERT_TRUE(exportAdif(dialogs, clock, log, QStringLiteral("/data")));

    ASSERT_EQ(dialogs.proposedSavePaths().size(), 1u);
    EXPECT_EQ(dialogs.proposedSavePaths()[0], QStringLiteral("/data/Corvane.adi"));
    AdifInput expected;
    expected.records = log.records();
    expected.power = "100";
    expected.exportDateText = exportDateText(clock).toStdString();
    EXPECT_FALSE(expected.exportDateText.empty());
    EXPECT_EQ(readWholeFile(path), buildAdif(expected));
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].title, QStringLiteral("File Written Successfully."));
    EXPECT_EQ(dialogs.messages()[0].text, QString::fromStdString(adifWrittenMessage(path)));
    EXPECT_EQ(dialogs.beeps, 0);
}

TEST(ExportActions, AdifCancelledOrFailedWritesNothing) {
    corvane::test::TempDir dir;
    ScriptedDialogs dialogs;
    const ManualClock clock(DateTime{2012, 12, 30, 10, 0, 0});
    const ContactLog log = oneContact();
    EXPECT_FALSE(exportAdif(dialogs, clock, log, QString::fromStdString(dir.path().string())));
    EXPECT_TRUE(dialogs.messages().empty());

    dialogs.fileAnswers = {QString::fromStdString(dir.file("missing/x.adi"))};
    EXPECT_FALSE(exportAdif(dialogs, clock, log, QString::fromStdString(dir.path().string())));
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].title, QStringLiteral("Unable to write file."));
    EXPECT_EQ(dialogs.beeps, 1);
}

TEST(ExportActions, ClipboardGetsTheListOldestFirst) {
    copyListToClipboard(
        {QStringLiteral("Call"), QStringLiteral("Grid")},
        {{QStringLiteral("N2DEF"), QStringLiteral("FN32")}, {QStringLiteral("K1ABC"), QStringLiteral("FN31")}});
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("Call\tGrid\r\nK1ABC\tFN31\r\nN2DEF\tFN32\r\n"));
}

TEST(CommandLineWithQtSettings, CabrilloTakesTheDetailsFromTheIniFile) {
    corvane::test::TempDir dir;
    const auto oldDir = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    ASSERT_TRUE(replaceAtomically("log.txt", formatLog({corvane::test::k1abcContact()})).ok);
    Preferences prefs;
    prefs.ownCall = "W1XYZ";
    prefs.ownGrid = "FM19";
    ASSERT_TRUE(replaceAtomically("cvnpref.txt", formatPreferences(prefs)).ok);
    ASSERT_TRUE(replaceAtomically("details.ini", "[Settings]\nUserAddressName=Pat Doe\nUserClubName=YCCC\n").ok);

    std::string args[] = {"corvane", "cabrillo", "--out", "W1XYZ.log", "--settings", "details.ini"};
    char* argv[] = {args[0].data(), args[1].data(), args[2].data(), args[3].data(), args[4].data(), args[5].data()};
    std::ostringstream out;
    std::ostringstream err;
    const auto status = runCommandLine(6, argv, out, err);
    const auto written = readWholeFile("W1XYZ.log");
    std::filesystem::current_path(oldDir);

    ASSERT_EQ(status, 0) << err.str();
    ASSERT_TRUE(written.has_value());
    EXPECT_NE(written->find("\r\nCLUB: YCCC\r\nNAME: Pat Doe\r\n"), std::string::npos) << *written;
    EXPECT_NE(written->find("\r\nCLAIMED-SCORE: 6\r\n"), std::string::npos);
}
