// Archive and restore through the file menu, and the colour window.

#include "log/ui/LogFileMenu.h"

#include "PanelsTestLog.h"
#include "TempDir.h"
#include "log/ui/ColourWindow.h"
#include "support/ScriptedDialogs.h"

#include <QLabel>
#include <QPushButton>
#include <filesystem>
#include <gtest/gtest.h>

using namespace corvane;
using namespace corvane::test;
namespace fs = std::filesystem;

namespace {

const DateTime kLocal{2012, 12, 29, 23, 15, 2};

class FileMenu : public ::testing::Test {
protected:
    void SetUp() override {
        folders.userDataFolder = dir.file("Corvane");
        fs::create_directories(folders.userDataFolder);
        working = numberedRecords(10);
        writeLogFile(logPath(), working);
    }
    std::string logPath() const { return dir.file("log.txt"); }
    std::string backupFile(const std::string& name) const { return folders.backupFolder() + "/" + name; }
    std::vector<std::string> backupNames() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(folders.backupFolder())) {
            names.push_back(e.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    TempDir dir;
    UserFolders folders;
    std::vector<QsoRecord> working;
    ScriptedDialogs dialogs;
};

} // namespace

TEST_F(FileMenu, ArchiveCopiesTheLogUnderTheProposedName) {
    dialogs.fileAnswers.push_back(QString::fromStdString(backupFile("W1XYZ2012-12-29.log")));
    EXPECT_EQ(archiveCurrentLog(nullptr, dialogs, folders, logPath(), "w1xyz/p", kLocal), ArchiveOutcome::Written);
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("Archive Information"));
    EXPECT_EQ(dialogs.shown[0].text,
              QStringLiteral("This function is used to create a permanent copy of your currently open log file.  To "
                             "open your log file at a later date, click File > Restore from Archive or Backup."));
    EXPECT_EQ(dialogs.shown[1].kind, ShownBox::Kind::SaveFile);
    // The stem takes the leading letters and digits as they are: a lower-case call gives "YourCall".
    EXPECT_TRUE(dialogs.shown[1].text.endsWith(QStringLiteral("/BACKUP/YourCall2012-12-29.log")))
        << dialogs.shown[1].text.toStdString();
    EXPECT_EQ(bytesOf(backupFile("W1XYZ2012-12-29.log")), bytesOf(logPath()));
}

TEST_F(FileMenu, ArchiveProposesTheCallStemAndAddsTheExtension) {
    dialogs.fileAnswers.push_back(QString::fromStdString(backupFile("contest")));
    EXPECT_EQ(archiveCurrentLog(nullptr, dialogs, folders, logPath(), "W1XYZ/P", kLocal), ArchiveOutcome::Written);
    EXPECT_TRUE(dialogs.shown[1].text.endsWith(QStringLiteral("/BACKUP/W1XYZ2012-12-29.log")));
    EXPECT_EQ(bytesOf(backupFile("contest.log")), bytesOf(logPath()));
}

TEST_F(FileMenu, ArchiveCancelledSaysNothingAndAFailureShowsTheSystemText) {
    EXPECT_EQ(archiveCurrentLog(nullptr, dialogs, folders, logPath(), "W1XYZ", kLocal), ArchiveOutcome::Cancelled);
    EXPECT_EQ(dialogs.shown.size(), 2u);

    dialogs.shown.clear();
    dialogs.fileAnswers.push_back(QString::fromStdString(dir.file("no/such/folder/a.log")));
    EXPECT_EQ(archiveCurrentLog(nullptr, dialogs, folders, logPath(), "W1XYZ", kLocal), ArchiveOutcome::Failed);
    ASSERT_EQ(dialogs.shown.size(), 3u);
    EXPECT_EQ(dialogs.shown[2].title, QStringLiteral("Error Archiving Log"));
    EXPECT_FALSE(dialogs.shown[2].text.isEmpty());
}

TEST_F(FileMenu, RestoreRefusesAFileThatIsNotALogAndKeepsTheWorkingLog) {
    const std::string before = bytesOf(logPath());
    const std::string bad = dir.file("bad.log");
    replaceAtomically(bad, "\"K1ABC\",\"1,234\",\"FN31\"\r\n");
    dialogs.messageAnswers = {MsgAnswer::Ok, MsgAnswer::Yes};
    dialogs.fileAnswers.push_back(QString::fromStdString(bad));
    EXPECT_EQ(restoreFromArchive(nullptr, dialogs, folders, logPath(), kLocal, 10), RestoreOutcome::Refused);
    EXPECT_EQ(bytesOf(logPath()), before);
    ASSERT_EQ(dialogs.shown.size(), 4u);
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("Opening Archived Data Information"));
    EXPECT_EQ(dialogs.shown[1].title, QStringLiteral("Are your sure?"));
    EXPECT_EQ(dialogs.shown[1].text, QStringLiteral("Are you sure that you want to open an archived log?  This action "
                                                    "will clear and replace existing QSO data."));
    EXPECT_EQ(dialogs.shown[2].kind, ShownBox::Kind::OpenFile);
    EXPECT_EQ(dialogs.shown[3].title, QStringLiteral("File Error"));
    EXPECT_TRUE(dialogs.shown[3].text.contains(QStringLiteral("line 1")));
    EXPECT_TRUE(backupNames().empty()); // refused before anything was copied
}

TEST_F(FileMenu, RestoreReplacesTheLogAfterBackingUpTheWorkingOne) {
    const std::string before = bytesOf(logPath());
    const std::string chosen = dir.file("old.log");
    writeLogFile(chosen, numberedRecords(50));
    dialogs.messageAnswers = {MsgAnswer::Ok, MsgAnswer::Yes};
    dialogs.fileAnswers.push_back(QString::fromStdString(chosen));
    EXPECT_EQ(restoreFromArchive(nullptr, dialogs, folders, logPath(), kLocal, 10), RestoreOutcome::Restored);
    EXPECT_EQ(bytesOf(logPath()), bytesOf(chosen));
    ASSERT_EQ(backupNames(), std::vector<std::string>{"201212292315.log"});
    EXPECT_EQ(bytesOf(backupFile("201212292315.log")), before);
}

TEST_F(FileMenu, RestoreAsksOnlyWhenTheLogHoldsContactsAndStopsOnNoOrCancel) {
    const std::string before = bytesOf(logPath());
    dialogs.messageAnswers = {MsgAnswer::Ok, MsgAnswer::No};
    EXPECT_EQ(restoreFromArchive(nullptr, dialogs, folders, logPath(), kLocal, 10), RestoreOutcome::Declined);
    EXPECT_EQ(dialogs.shown.size(), 2u);

    dialogs.shown.clear();
    EXPECT_EQ(restoreFromArchive(nullptr, dialogs, folders, logPath(), kLocal, 0), RestoreOutcome::Cancelled);
    ASSERT_EQ(dialogs.shown.size(), 2u); // no question for an empty log; the cancelled dialog says nothing
    EXPECT_EQ(dialogs.shown[1].kind, ShownBox::Kind::OpenFile);
    EXPECT_EQ(bytesOf(logPath()), before);

    dialogs.shown.clear();
    dialogs.fileAnswers.push_back(QString::fromStdString(dir.file("missing.log")));
    EXPECT_EQ(restoreFromArchive(nullptr, dialogs, folders, logPath(), kLocal, 0), RestoreOutcome::Failed);
    EXPECT_EQ(dialogs.shown.back().title, QStringLiteral("Error Restoring Log"));
    EXPECT_EQ(bytesOf(logPath()), before);
}

TEST(ColourWindow, ChangesEachColourThroughTheChooserAndKeepsItOnCancel) {
    ScriptedDialogs dialogs;
    ColourWindow w(dialogs, 0x000000FF, 0x00000000);
    EXPECT_EQ(w.windowTitle(), QStringLiteral(" Modify Multiplier Color Selections"));
    auto* worked = w.findChild<QPushButton*>(QStringLiteral("cmdWorked"));
    auto* remaining = w.findChild<QPushButton*>(QStringLiteral("cmdRemaining"));
    ASSERT_TRUE(worked && remaining);
    EXPECT_EQ(worked->text(), QStringLiteral("Change \"Worked\" Color"));
    EXPECT_EQ(remaining->text(), QStringLiteral("Change \"Remaining\" Color"));
    auto* workedSample = w.findChild<QLabel*>(QStringLiteral("lblWorkedSample"));
    EXPECT_EQ(workedSample->text(), QStringLiteral("Appearance of multiplier worked"));
    EXPECT_EQ(workedSample->palette().color(QPalette::WindowText), QColor(255, 0, 0));

    dialogs.colourAnswers.push_back(0x00FF8000);
    worked->click();
    EXPECT_EQ(w.workedColour(), 0x00FF8000);
    EXPECT_EQ(workedSample->palette().color(QPalette::WindowText), QColor(0, 0x80, 0xFF));
    remaining->click(); // cancelled
    EXPECT_EQ(w.remainingColour(), 0x00000000);
    EXPECT_EQ(dialogs.shown.size(), 2u);

    w.show();
    w.findChild<QPushButton*>(QStringLiteral("cmdDone"))->click();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.result(), QDialog::Accepted);
}
